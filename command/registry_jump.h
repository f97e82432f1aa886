#pragma once
#include <string>

class RegistryJump {
public:
    // Opens the registry editor (starting it when none runs) and selects the
    // key the path names, or the deepest existing key on the way. True when
    // the editor's tree was reached.
    static bool JumpToKey(const std::string& path);
};
