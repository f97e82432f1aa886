#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "settings/file_sync.h"

class AnsiUtf8Converter;

struct AliasEntry {
    std::string name;
    std::string command;  // may hold $param
    bool operator==(const AliasEntry&) const = default;
};

// The user's aliases in file order. Never sorted, never searched by name:
// duplicates (also by case) stay, and the later one wins where names meet.
class AliasTable {
public:
    void Clear() {
        file_.BeforeChange(entries_);
        entries_.clear();
    }
    void Append(std::string name, std::string command) {
        file_.BeforeChange(entries_);
        entries_.push_back({std::move(name), std::move(command)});
    }
    void Assign(std::vector<AliasEntry> entries) {
        file_.BeforeChange(entries_);
        entries_ = std::move(entries);
    }
    std::size_t Count() const { return entries_.size(); }
    const AliasEntry& operator[](std::size_t i) const { return entries_[i]; }
    std::vector<AliasEntry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<AliasEntry>::const_iterator end() const { return entries_.end(); }
    const std::vector<AliasEntry>& Entries() const { return entries_; }

    // aliases.xml beside the executable. Load always empties the table first and
    // returns true when the file parsed and had a root; Save returns true.
    bool LoadFromFile();
    bool SaveToFile(SaveKind kind = SaveKind::kUnsaved);
    FileCheck ReloadFromFile();

    // The same on any disk (see FileSync).
    bool Load(const SettingsDisk& disk, const AnsiUtf8Converter& converter);
    void Save(SettingsDisk& disk, const AnsiUtf8Converter& converter, SaveKind kind);
    FileCheck Reload(SettingsDisk& disk, const AnsiUtf8Converter& converter);
    bool Unsaved() const { return file_.Unsaved(entries_); }
    unsigned RetryAfterMs() const { return file_.RetryAfterMs(); }

private:
    std::vector<AliasEntry> entries_;
    FileSync<std::vector<AliasEntry>> file_{"aliases.xml", false};
};
