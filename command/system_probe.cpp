#include "command/system_probe.h"

#include <windows.h>

#include <vector>

#include "framework/module.h"
#include "settings/paths.h"
#include "text/system_code_page.h"

namespace {
const char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// A folder the system names into a buffer it sizes itself.
std::string SystemFolder(UINT (WINAPI* get)(LPSTR, UINT)) {
    char folder[MAX_PATH];
    UINT length = get(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}
}  // namespace

PathKind SystemProbe::KindOf(const std::string& path) const {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::Folder : PathKind::File;
}

std::optional<std::string> SystemProbe::AppPath(AppPathsHive hive, const std::string& fileName) const {
    HKEY key = nullptr;
    HKEY root = hive == AppPathsHive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    if (RegOpenKeyExA(root, (kAppPaths + fileName).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::string> path;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0 && size <= 32768) {
        std::vector<char> value(size + 1, '\0');  // stored without its terminator, it still ends
        if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) ==
            ERROR_SUCCESS)
            path = std::string(value.data());
    }
    RegCloseKey(key);
    return path;
}

SystemFolders SystemProbe::Folders() const {
    SystemFolders folders;
    folders.system = SystemFolder(GetSystemDirectoryA);
    folders.windows = SystemFolder(GetWindowsDirectoryA);
    if (!folders.windows.empty()) folders.system16 = PathInFolderOf(folders.windows + "\\", "System", SystemCodePage());
    std::string own = ModuleFileName();
    if (!own.empty()) folders.own = PathInFolderOf(own, "", SystemCodePage());
    return folders;
}

std::optional<std::string> SystemProbe::Variable(const std::string& name) const {
    DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::string value(size, '\0');
    DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), size);
    if (length >= size) return std::nullopt;
    value.resize(length);
    return value;
}
