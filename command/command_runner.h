#pragma once
#include <windows.h>

#include <string>

#include "command/launch_limits.h"

class CommandRunner {
public:
    // True when the shell took the line or it was a registry path; false when
    // the shell could not open it (the shell has shown its own message then),
    // or when the line is longer than the shell takes (owner shows why).
    // Elevated runs it with the "runas" verb: Windows asks for consent.
    static bool Run(const std::string& line, HWND owner, bool elevated = false);

    // The limits of the shell this process runs on.
    static const ShellLimits& Limits();
};
