#pragma once
// What the tests and benchmarks of hostile Start menus share: shortcut
// files saved by the shell, and folder links made with the Unix host's own
// programs (Wine shows a symbolic link as a folder; its CreateSymbolicLink
// makes nothing).

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "framework/owners.h"

namespace fixtures {

// With every part set, the shell writes every part of the file format it knows.
// The file is named in UTF-16, so its name may hold any script.
inline bool SaveShortcut(const std::wstring& file, const std::string& target, bool everyPart = false) {
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Out())))
        return false;
    if (everyPart) {
        link->SetDescription("A tool");
        link->SetArguments("/x \"y z\"");
        link->SetWorkingDirectory("C:\\windows");
        link->SetIconLocation("%windir%\\notepad.exe", 1);
        link->SetHotkey(MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_ALT));
    }
    ComPtr<IPersistFile> persist;
    return SUCCEEDED(link->SetPath(target.c_str())) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, persist.Out())) &&
           SUCCEEDED(persist->Save(file.c_str(), TRUE));
}

inline bool SaveShortcut(const std::string& file, const std::string& target, bool everyPart = false) {
    wchar_t wide[MAX_PATH];
    return MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH) > 0 && SaveShortcut(std::wstring(wide), target, everyPart);
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Runs a program of the Unix host (/bin/<program>) in a folder and waits, with
// a deadline, until path exists or is gone as wanted. Wine starts such a
// program on its own, without a handle to wait on, so its effect is waited for.
inline bool RunUnixUntil(const std::string& program, const std::string& arguments, const std::string& folder,
                         const std::string& path, bool exists) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string line = program + " " + arguments;
    if (!CreateProcessA(("Z:\\bin\\" + program).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return false;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    for (DWORD start = GetTickCount(); Exists(path) != exists; Sleep(5))
        if (GetTickCount() - start > 10000) return false;
    return true;
}

// A symbolic link named name in folder, to target (a Unix path, relative to folder).
inline bool LinkFolder(const std::string& folder, const std::string& name, const std::string& target) {
    return RunUnixUntil("ln", "-sfn " + target + " " + name, folder, folder + "\\" + name, true);
}

// Removes name in folder with everything under it; links are removed, never
// followed (deleting through a link to a parent would empty the parent).
inline bool RemoveTree(const std::string& folder, const std::string& name) {
    std::string path = folder + "\\" + name;
    return !Exists(path) || RunUnixUntil("rm", "-rf \"" + name + "\"", folder, path, false);
}

}  // namespace fixtures
