#pragma once
#include <map>
#include <optional>
#include <string>

#include "text/code_page.h"

// Launch name -> the command line, address or shortcut it stands for. Names
// that differ only in letter case, in any script the page folds, share one entry.
class LaunchNameMap {
public:
    explicit LaunchNameMap(const CodePage& page = AsciiOnlyCodePage()) : page_(&page) {}

    void Put(const std::string& name, const std::string& target);
    std::optional<std::string> Find(const std::string& name) const;
    void Clear() { entries_.clear(); }
    std::size_t Count() const { return entries_.size(); }

    std::string KeyOf(const std::string& name) const { return FoldCase(name, *page_); }

    // The process-wide map the completion sources fill and the runner reads,
    // folding as the system does.
    static LaunchNameMap& Instance();

private:
    const CodePage* page_;
    std::map<std::string, std::string> entries_;
};
