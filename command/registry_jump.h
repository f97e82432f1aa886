#pragma once
#include <string>

class RegistryJump {
public:
    // Opens the registry editor at the key the path names. True when the
    // editor's tree was reached.
    static bool JumpToKey(const std::string& path);
};
