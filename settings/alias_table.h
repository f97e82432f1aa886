#pragma once
#include <cstddef>
#include <optional>
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
        BeforeChange();
        entries_.clear();
    }
    void Append(std::string name, std::string command) {
        BeforeChange();
        entries_.push_back({std::move(name), std::move(command)});
    }
    void Assign(std::vector<AliasEntry> entries) {
        BeforeChange();
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
    bool SaveToFile();

    // The same on any disk (see FileSync).
    bool Load(const SettingsDisk& disk, const AnsiUtf8Converter& converter);
    void Save(SettingsDisk& disk, const AnsiUtf8Converter& converter, SaveKind kind);
    FileCheck Reload(SettingsDisk& disk, const AnsiUtf8Converter& converter);
    unsigned RetryAfterMs() const { return file_.RetryAfterMs(); }

private:
    friend class AliasRecord;
    // Keeps what the file held, as the table is about to change.
    void BeforeChange();

    std::vector<AliasEntry> entries_;
    // What the file held when last read or written whole; none while the table
    // holds just that, so that a long list is not held twice.
    std::optional<std::vector<AliasEntry>> saved_;
    FileSync file_{"aliases.xml"};
};
