#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct AliasEntry {
    std::string name;
    std::string command;
};

// The user's aliases in their stored order; names may repeat.
class AliasTable {
public:
    void Clear() { entries_.clear(); }
    void Append(const std::string& name, const std::string& command) { entries_.push_back({name, command}); }
    std::size_t Count() const { return entries_.size(); }
    const AliasEntry& operator[](std::size_t i) const { return entries_[i]; }

private:
    std::vector<AliasEntry> entries_;
};
