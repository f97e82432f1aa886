#pragma once
#include <string>

class CommandRunner {
public:
    // True when the shell took the line or it was a registry path; false when
    // the shell could not open it (the shell has shown its own message then).
    static bool Run(const std::string& line);
};
