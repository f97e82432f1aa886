#include "settings/autostart.h"

#include <vector>

#include "framework/module.h"
#include "framework/owners.h"
#include "settings/run_value.h"

namespace {
// A value longer than command plus its NUL cannot equal it, so the buffer needs
// no more room than that; one spare byte tells "fits exactly" from "longer".
bool HoldsCommand(HKEY key, const std::string& name, const std::string& command) {
    std::vector<char> data(command.size() + 2);
    DWORD type = 0, size = DWORD(data.size());
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    return RunValueIsCurrent(type, std::string_view(data.data(), size), command);
}
}  // namespace

void ApplyRunValue(const std::string& valueName, bool on, const std::string& command) {
    RegistryKey run = OpenRegistryKey(HKEY_CURRENT_USER, kRunKeyPath, KEY_READ | KEY_WRITE);
    if (!run.get()) return;
    if (!on) {
        RegDeleteValueA(run.get(), valueName.c_str());
        return;
    }
    if (HoldsCommand(run.get(), valueName, command)) return;
    RegSetValueExA(run.get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   DWORD(command.size() + 1));
}
