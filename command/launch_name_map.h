#pragma once
#include <map>
#include <optional>
#include <string>

// Launch name -> the command line, address or shortcut it stands for. Names
// that differ only in ASCII letter case share one entry.
class LaunchNameMap {
public:
    void Put(const std::string& name, const std::string& target);
    std::optional<std::string> Find(const std::string& name) const;
    void Clear() { entries_.clear(); }
    std::size_t Count() const { return entries_.size(); }

    static std::string KeyOf(const std::string& name);

    // The process-wide map the completion sources fill and the runner reads.
    static LaunchNameMap& Instance();

private:
    std::map<std::string, std::string> entries_;
};
