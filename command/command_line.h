#pragma once
// Reading a command as the Run dialog does: %NAME% replaced by the variable's
// value, and the program told from its arguments as the system tells them.

#include <cstddef>
#include <optional>
#include <string>

class CodePage;

// What the machine has, asked while a command is read. The Win32 side answers
// from the file system and the environment; tests answer from tables.
class CommandProbe {
public:
    virtual ~CommandProbe() = default;
    // True when path names an existing file or folder.
    virtual bool NamesFileOrFolder(const std::string& path) const = 0;
    // True when starting name would find a program file: ".exe" appended when
    // it has no extension, looked for where the system looks for programs.
    virtual bool NamesProgram(const std::string& name) const = 0;
    // The value of the environment variable, or nothing when it is not set.
    virtual std::optional<std::string> Variable(const std::string& name) const = 0;
};

struct ProgramAndArguments {
    std::string program;
    std::string arguments;
};

// The program that command starts and its arguments, with parameters after
// them. Both texts have their variables expanded first; then a quoted program
// ends at its closing quote, an unquoted command that names a file or folder
// as a whole stays whole, and otherwise the program is the first part ending
// before a blank that names a program. With none (an address, a program that
// is not there), the command stays whole for the shell to open or refuse.
ProgramAndArguments ReadCommand(const std::string& command, const std::string& parameters,
                                const CommandProbe& probe, const CodePage& page);

// Every %NAME% of text whose variable is set replaced by its value, left to
// right; an unknown name stays as written, and its closing '%' may open the
// next name. A result longer than limit is cut to limit + 1 bytes, and a text
// already longer than limit is returned as it is: it is refused either way.
std::string ExpandVariables(const std::string& text, const CommandProbe& probe, const CodePage& page,
                            std::size_t limit);
