#include "settings/settings_merge.h"

#include <algorithm>
#include <compare>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <string_view>

namespace {

constexpr std::size_t kNone = SIZE_MAX;

struct Key {
    std::string_view name, command;
    std::size_t index;
    auto operator<=>(const Key&) const = default;
};

// The C library's sort: std::sort's instantiation would make Brisq.exe a few
// kilobytes larger for lists a user edits by hand.
int CompareKeys(const void* a, const void* b) {
    std::strong_ordering order = *static_cast<const Key*>(a) <=> *static_cast<const Key*>(b);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

// Gives each entry of |from| that has no partner yet the first free entry of |to|
// with the same name (and command, when |withCommand|): in order, one to one.
void PairUp(const std::vector<AliasEntry>& from, const std::vector<AliasEntry>& to, bool withCommand,
            std::vector<std::size_t>& partner, std::vector<bool>& taken) {
    std::vector<Key> free;
    for (std::size_t j = 0; j < to.size(); ++j)
        if (!taken[j]) free.push_back({to[j].name, withCommand ? std::string_view(to[j].command) : "", j});
    if (!free.empty()) std::qsort(free.data(), free.size(), sizeof(Key), CompareKeys);
    std::vector<std::size_t> next(free.size());  // per run of one key: its first entry not given yet
    std::iota(next.begin(), next.end(), std::size_t(0));
    for (std::size_t i = 0; i < from.size(); ++i) {
        if (partner[i] != kNone) continue;
        Key wanted{from[i].name, withCommand ? std::string_view(from[i].command) : "", 0};
        std::size_t run = std::size_t(std::lower_bound(free.begin(), free.end(), wanted) - free.begin());
        if (run == free.size()) continue;
        std::size_t& at = next[run];
        if (at == free.size() || free[at].name != wanted.name || free[at].command != wanted.command) continue;
        partner[i] = free[at].index;
        taken[partner[i]] = true;
        ++at;
    }
}

}  // namespace

std::vector<AliasEntry> MergeAliases(const std::vector<AliasEntry>& base, const std::vector<AliasEntry>& mine,
                                     const std::vector<AliasEntry>& disk) {
    if (disk == base) return mine;
    if (mine == base) return disk;
    // Who is who: base's entries in mine and on disk, the same name and command
    // first; then what was added on both sides under one name, the same alias.
    std::vector<std::size_t> mineOf(base.size(), kNone), diskOf(base.size(), kNone);
    std::vector<bool> mineFromBase(mine.size(), false), diskTaken(disk.size(), false);
    for (bool withCommand : {true, false}) {
        PairUp(base, mine, withCommand, mineOf, mineFromBase);
        PairUp(base, disk, withCommand, diskOf, diskTaken);
    }
    constexpr std::size_t kFromBase = kNone - 1;
    std::vector<std::size_t> addedOnDisk(mine.size(), kNone);
    for (std::size_t m = 0; m < mine.size(); ++m)
        if (mineFromBase[m]) addedOnDisk[m] = kFromBase;
    PairUp(mine, disk, false, addedOnDisk, diskTaken);

    // What stands at each place of the disk's list: its own entry, one of mine
    // (by index), or nothing; where each of mine stands there, and which of mine
    // have no place yet.
    constexpr std::size_t kOwn = kNone, kDropped = kNone - 1;
    std::vector<std::size_t> atDisk(disk.size(), kOwn), placeOf(mine.size(), kNone);
    std::vector<bool> toInsert(mine.size(), false);
    for (std::size_t i = 0; i < base.size(); ++i) {
        std::size_t m = mineOf[i], d = diskOf[i];
        if (m == kNone) {  // deleted by Brisq: gone, whatever the disk did to it
            if (d != kNone) atDisk[d] = kDropped;
        } else if (d == kNone) {  // deleted on disk: back only if Brisq changed it
            toInsert[m] = !(mine[m] == base[i]);
        } else {
            placeOf[m] = d;
            if (!(mine[m] == base[i])) atDisk[d] = m;
        }
    }
    for (std::size_t m = 0; m < mine.size(); ++m) {
        if (mineFromBase[m]) continue;
        if (addedOnDisk[m] == kNone) {
            toInsert[m] = true;
        } else {
            placeOf[m] = addedOnDisk[m];
            atDisk[placeOf[m]] = m;
        }
    }

    // Insertions by the disk entry before which they go (disk.size(): last). One
    // goes after the entry that came before it in |mine|, or, when none did,
    // before the one that came after it.
    std::vector<std::vector<std::size_t>> insertBefore(disk.size() + 1);
    std::vector<std::size_t> leading;
    std::size_t before = kNone;
    for (std::size_t m = 0; m < mine.size(); ++m) {
        if (placeOf[m] != kNone) {
            if (before == kNone) insertBefore[placeOf[m]] = std::move(leading);
            before = placeOf[m] + 1;
        } else if (toInsert[m]) {
            (before == kNone ? leading : insertBefore[before]).push_back(m);
        }
    }
    if (before == kNone) insertBefore[disk.size()] = std::move(leading);
    std::vector<AliasEntry> merged;
    merged.reserve(disk.size() + mine.size());
    for (std::size_t d = 0; d <= disk.size(); ++d) {
        for (std::size_t m : insertBefore[d]) merged.push_back(mine[m]);
        if (d == disk.size() || atDisk[d] == kDropped) continue;
        merged.push_back(atDisk[d] == kOwn ? disk[d] : mine[atDisk[d]]);
    }
    return merged;
}

SettingsOptions MergeOptions(const SettingsOptions& base, const SettingsOptions& mine, const SettingsOptions& disk) {
    SettingsOptions merged = disk;
    for (std::int32_t SettingsOptions::*option :
         {&SettingsOptions::start_with_windows, &SettingsOptions::icon_in_tray, &SettingsOptions::run_history,
          &SettingsOptions::typed_urls, &SettingsOptions::start_menu}) {
        if (mine.*option != base.*option) merged.*option = mine.*option;
    }
    if (mine.hot_key_key != base.hot_key_key || mine.hot_key_mod != base.hot_key_mod) {
        merged.hot_key_key = mine.hot_key_key;
        merged.hot_key_mod = mine.hot_key_mod;
    }
    return merged;
}
