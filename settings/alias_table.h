#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct AliasEntry {
    std::string name;
    std::string command;  // may hold $param
};

// The user's aliases in file order. Never sorted, never searched by name:
// duplicates (also by case) stay, and the later one wins where names meet.
class AliasTable {
public:
    void Clear() { entries_.clear(); }
    void Append(std::string name, std::string command) {
        entries_.push_back({std::move(name), std::move(command)});
    }
    std::size_t Count() const { return entries_.size(); }
    const AliasEntry& operator[](std::size_t i) const { return entries_[i]; }
    std::vector<AliasEntry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<AliasEntry>::const_iterator end() const { return entries_.end(); }

    // aliases.xml beside the executable. Load always empties the table first and
    // returns true when the file parsed and had a root; Save returns true.
    bool LoadFromFile();
    bool SaveToFile();

private:
    std::vector<AliasEntry> entries_;
    // The file found at load time could not be read as it was (broken, unreadable,
    // or holding text the code page cannot show): keep it aside before replacing it.
    // Clear and Append leave this alone, so refilling the table keeps the promise.
    bool keepOldFile_ = false;
};
