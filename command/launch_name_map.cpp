#include "command/launch_name_map.h"

#include "text/code_page.h"

std::string LaunchNameMap::KeyOf(const std::string& name) {
    std::string key = name;
    for (char& c : key) c = AsciiUpper(c);
    return key;
}

void LaunchNameMap::Put(const std::string& name, const std::string& target) {
    entries_.insert_or_assign(KeyOf(name), target);
}

std::optional<std::string> LaunchNameMap::Find(const std::string& name) const {
    auto it = entries_.find(KeyOf(name));
    if (it == entries_.end()) return std::nullopt;
    return it->second;
}

LaunchNameMap& LaunchNameMap::Instance() {
    static LaunchNameMap map;
    return map;
}
