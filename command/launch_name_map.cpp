#include "command/launch_name_map.h"

void LaunchNameMap::Put(const std::string& name, const std::string& target) {
    entries_.insert_or_assign(KeyOf(name), target);
}

std::optional<std::string> LaunchNameMap::Find(const std::string& name) const {
    auto it = entries_.find(KeyOf(name));
    if (it == entries_.end()) return std::nullopt;
    return it->second;
}
