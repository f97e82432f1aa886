#pragma once
// Reading a command as the Run dialog does: %NAME% replaced by the variable's
// value, and the program told from its arguments as the system tells them.

#include <cstddef>
#include <optional>
#include <string>

class CodePage;
class ProgramSearch;

// Where %NAME% finds its value.
class VariableSource {
public:
    virtual ~VariableSource() = default;
    // The value of the environment variable, or nothing when it is not set.
    virtual std::optional<std::string> Variable(const std::string& name) const = 0;
};

enum class PathKind { Missing, File, Folder };
enum class AppPathsHive { CurrentUser, LocalMachine };

// The folders the system searches for a program besides the user's and PATH's,
// and Brisq's own, searched last.
struct SystemFolders {
    std::string system;    // System32
    std::string system16;  // "System" in the Windows folder
    std::string windows;
    std::string own;
};

// What the machine has, asked while a command is read. The Win32 side answers
// from the file system, the registry and the environment; tests answer from tables.
class CommandProbe : public VariableSource {
public:
    virtual PathKind KindOf(const std::string& path) const = 0;
    // The default value of the program's key under App Paths, as stored; nothing without one.
    virtual std::optional<std::string> AppPath(AppPathsHive hive, const std::string& fileName) const = 0;
    virtual SystemFolders Folders() const = 0;
};

struct ProgramAndArguments {
    std::string program;
    std::string arguments;
};

// The program that command starts and its arguments, with parameters after
// them. Both texts have their variables expanded first. An address that
// begins with a scheme stays whole. Otherwise a quoted program ends at its
// closing quote, an unquoted command that names a file or folder as a whole
// stays whole, and else the program is the first part ending before a blank
// that names a program. What is found is given by its full path. With nothing
// found (an address, a program that is not there), the command stays whole
// for the shell to open or refuse.
ProgramAndArguments ReadCommand(const std::string& command, const std::string& parameters,
                                const ProgramSearch& search, const CodePage& page);

// Every %NAME% of text whose variable is set replaced by its value, left to
// right; an unknown name stays as written, and its closing '%' may open the
// next name. A result longer than limit is cut to limit + 1 bytes, and a text
// already longer than limit is returned as it is: it is refused either way.
std::string ExpandVariables(const std::string& text, const VariableSource& variables, const CodePage& page,
                            std::size_t limit);
