#pragma once
#include <windows.h>

#include <string>

// The user's Run key, under HKEY_CURRENT_USER.
constexpr const char* kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Brings the Run value valueName in line: holding command when on, absent when
// off. An equal value (see RunValueIsCurrent) is left as it is; failures are ignored.
void ApplyRunValue(const std::string& valueName, bool on, const std::string& command);

// The full path of a module, however long; empty when the system gives none.
// firstCapacity only sets where the growing buffer starts.
std::string ModuleFileName(HMODULE module = nullptr, DWORD firstCapacity = MAX_PATH);

// A string resource of the executable, empty when missing.
std::string LoadResourceString(UINT id);
