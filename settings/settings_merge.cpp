#include "settings/settings_merge.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>

namespace {

constexpr std::size_t kNone = SIZE_MAX;

// For each entry of |from|, the index of its partner in |to|, or kNone: the same
// name and command first, then the same name, each pairing in order.
std::vector<std::size_t> Pair(const std::vector<AliasEntry>& from, const std::vector<AliasEntry>& to) {
    std::vector<std::size_t> partner(from.size(), kNone);
    std::vector<bool> taken(to.size(), false);
    std::map<std::pair<std::string, std::string>, std::deque<std::size_t>> byEntry;
    for (std::size_t j = 0; j < to.size(); ++j) byEntry[{to[j].name, to[j].command}].push_back(j);
    for (std::size_t i = 0; i < from.size(); ++i) {
        auto found = byEntry.find({from[i].name, from[i].command});
        if (found == byEntry.end() || found->second.empty()) continue;
        partner[i] = found->second.front();
        taken[partner[i]] = true;
        found->second.pop_front();
    }
    std::map<std::string, std::deque<std::size_t>> byName;
    for (std::size_t j = 0; j < to.size(); ++j)
        if (!taken[j]) byName[to[j].name].push_back(j);
    for (std::size_t i = 0; i < from.size(); ++i) {
        if (partner[i] != kNone) continue;
        auto found = byName.find(from[i].name);
        if (found == byName.end() || found->second.empty()) continue;
        partner[i] = found->second.front();
        found->second.pop_front();
    }
    return partner;
}

}  // namespace

std::vector<AliasEntry> MergeAliases(const std::vector<AliasEntry>& base, const std::vector<AliasEntry>& mine,
                                     const std::vector<AliasEntry>& disk) {
    if (disk == base) return mine;
    if (mine == base) return disk;
    const std::vector<std::size_t> mineOf = Pair(base, mine), diskOf = Pair(base, disk);

    // What stands at each place of the disk's list: its own entry, one of mine, or nothing.
    constexpr std::size_t kOwn = SIZE_MAX, kDropped = SIZE_MAX - 1;
    std::vector<std::size_t> atDisk(disk.size(), kOwn);
    std::vector<bool> diskFromBase(disk.size(), false), mineFromBase(mine.size(), false);
    // Where each of mine stands in the disk's list, and which of mine have no place yet.
    std::vector<std::size_t> placeOf(mine.size(), kNone);
    std::vector<bool> toInsert(mine.size(), false);
    for (std::size_t i = 0; i < base.size(); ++i) {
        std::size_t m = mineOf[i], d = diskOf[i];
        if (d != kNone) diskFromBase[d] = true;
        if (m == kNone) {  // deleted by Brisq: gone, whatever the disk did to it
            if (d != kNone) atDisk[d] = kDropped;
            continue;
        }
        mineFromBase[m] = true;
        if (d == kNone) {  // deleted on disk: back only if Brisq changed it
            toInsert[m] = !(mine[m] == base[i]);
            continue;
        }
        placeOf[m] = d;
        if (!(mine[m] == base[i])) atDisk[d] = m;
    }
    // Added on both sides under one name: the same alias, Brisq's command.
    std::map<std::string, std::deque<std::size_t>> addedOnDisk;
    for (std::size_t d = 0; d < disk.size(); ++d)
        if (!diskFromBase[d]) addedOnDisk[disk[d].name].push_back(d);
    for (std::size_t m = 0; m < mine.size(); ++m) {
        if (mineFromBase[m]) continue;
        auto found = addedOnDisk.find(mine[m].name);
        if (found == addedOnDisk.end() || found->second.empty()) {
            toInsert[m] = true;
            continue;
        }
        placeOf[m] = found->second.front();
        atDisk[placeOf[m]] = m;
        found->second.pop_front();
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
