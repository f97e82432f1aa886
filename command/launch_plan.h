#pragma once
#include <cstddef>
#include <string>

class CodePage;
class CommandProbe;
class LaunchNameMap;

// What a typed line turns into: a registry path for the registry editor, or a
// file and parameters for the shell, started in a working folder.
struct LaunchPlan {
    enum class Kind { Shell, RegistryPath };
    Kind kind = Kind::Shell;
    std::string file;
    std::string parameters;
    std::string directory;  // the user's folder, as the Run dialog starts programs; empty when unknown
};

// The probe answers what the machine has: which names are files, folders or
// programs, and what the environment variables hold. The first word of the
// line is looked at only as a launch name; otherwise the line is read whole.
LaunchPlan PlanLaunch(const std::string& line, const LaunchNameMap& names, const CommandProbe& probe,
                      const CodePage& page);

// Every "$param" of text replaced by value, left to right; occurrences that
// value itself brings in are not replaced again. A result longer than limit
// is cut to limit + 1 bytes, so a hostile alias costs no more than that.
std::string ReplaceParam(const std::string& text, const std::string& value,
                         std::size_t limit = std::string::npos);
