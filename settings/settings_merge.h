#pragma once
// Three-way merges of what Brisq changed into what the files hold now: from the
// record Brisq's change started from (base), the record it ended with (mine)
// and the record on disk now (disk). Where both sides changed the same thing,
// Brisq's change wins: it was made last.
#include <vector>

#include "settings/alias_table.h"
#include "settings/app_settings.h"

// By alias name: aliases Brisq added, deleted or edited are applied to the disk's
// list, in the disk's order; everything else is the disk's. An added alias goes
// after the alias that came before it in |mine| (when none did, before the one
// after it; last when neither is on disk). Names that occur more than once pair
// up with the same command first, then in order.
std::vector<AliasEntry> MergeAliases(const std::vector<AliasEntry>& base, const std::vector<AliasEntry>& mine,
                                     const std::vector<AliasEntry>& disk);

// Option by option; the hot key's key and modifiers are one option.
SettingsOptions MergeOptions(const SettingsOptions& base, const SettingsOptions& mine, const SettingsOptions& disk);
