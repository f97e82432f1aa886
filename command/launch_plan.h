#pragma once
#include <cstddef>
#include <string>

class CodePage;
class LaunchNameMap;

// What a typed line turns into: a registry path for the registry editor, or a
// file and parameters for the shell's "open".
struct LaunchPlan {
    enum class Kind { Shell, RegistryPath };
    Kind kind = Kind::Shell;
    std::string file;
    std::string parameters;
};

LaunchPlan PlanLaunch(const std::string& line, const LaunchNameMap& names, const CodePage& page);

// Every "$param" of text replaced by value, left to right; occurrences that
// value itself brings in are not replaced again. A result longer than limit
// is cut to limit + 1 bytes, so a hostile alias costs no more than that.
std::string ReplaceParam(const std::string& text, const std::string& value,
                         std::size_t limit = std::string::npos);
