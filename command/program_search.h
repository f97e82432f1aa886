#pragma once
// Where the shell finds what a name stands for, decided here and asked of a
// probe: the user's folder first, as the working folder of every launch;
// then the system's folders and PATH, each name with the PATHEXT extensions;
// then App Paths, the user's before the machine's; last Brisq's own folder,
// so a tool kept beside a portable Brisq is found but never shadows a system one.

#include <optional>
#include <string>
#include <vector>

#include "command/command_line.h"

class CodePage;

class ProgramSearch {
public:
    // Reads the folders and variables once; the search then asks only about files.
    ProgramSearch(const CommandProbe& probe, const CodePage& page);

    // %USERPROFILE%: where launches start and relative names resolve; empty when unset.
    const std::string& UserFolder() const { return user_; }
    const VariableSource& Variables() const { return probe_; }

    // The full path of an existing file or folder: an absolute name as it is,
    // a relative one in the user's folder.
    std::optional<std::string> FindFileOrFolder(const std::string& name) const;
    // The full path of the program file that starting name runs. A name with a
    // folder in it is looked for there alone.
    std::optional<std::string> FindProgram(const std::string& name) const;

private:
    std::optional<std::string> FileIn(const std::string& folder, const std::vector<std::string>& names) const;
    std::optional<std::string> RegisteredProgram(const std::vector<std::string>& names) const;
    // name itself when its extension is a program's, else name with each of them.
    std::vector<std::string> ProgramNames(const std::string& name) const;
    std::string InUserFolder(const std::string& name) const;

    const CommandProbe& probe_;
    const CodePage& page_;
    std::string user_;
    std::vector<std::string> folders_;     // searched after the user's, in order
    std::vector<std::string> extensions_;  // ".exe", lower case
    std::string own_;
};

// The parts of a PATH-like list: split at ';', quotes removed, empty parts dropped.
std::vector<std::string> PathListParts(const std::string& list, const CodePage& page);
