#pragma once
#include <windows.h>

#include <string>

// The user's Run key, under HKEY_CURRENT_USER.
constexpr const char* kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Brings the Run value valueName in line: holding command when on, absent when
// off. An equal value (see RunValueIsCurrent) is left as it is; failures are ignored.
void ApplyRunValue(const std::string& valueName, bool on, const std::string& command);
