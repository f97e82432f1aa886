#include "command/command_line.h"

#include <string_view>

#include "command/launch_limits.h"
#include "command/program_search.h"
#include "command/web_address.h"
#include "text/code_page.h"

namespace {
// No file or program name is longer: longer texts are never probed, which
// also bounds the probes a command of many blanks costs.
constexpr std::size_t kLongestName = kWindowsShellLimits.file;

ProgramAndArguments Split(const std::string& command, const ProgramSearch& search, const CodePage& page) {
    if (BeginsWithScheme(command)) return {command, {}};
    auto found = [&](const std::string& name) {
        std::optional<std::string> path = search.FindFileOrFolder(name);
        return path ? path : search.FindProgram(name);
    };
    if (!command.empty() && command[0] == '"') {
        std::size_t close = FindCharacter(command, '"', 1, page);
        if (close == std::string::npos) return {command.substr(1), {}};
        std::size_t rest = close + 1;
        if (rest < command.size() && command[rest] == ' ') ++rest;
        std::string program = command.substr(1, close - 1);
        return {found(program).value_or(program), command.substr(rest)};
    }
    if (auto whole = found(command)) return {*whole, {}};
    // As the system reads an unquoted command line: the first part ending
    // before a blank that names a program.
    for (std::size_t blank = FindCharacter(command, ' ', 0, page); blank != std::string::npos && blank <= kLongestName;
         blank = FindCharacter(command, ' ', blank + 1, page)) {
        if (auto program = search.FindProgram(command.substr(0, blank))) return {*program, command.substr(blank + 1)};
    }
    return {command, {}};
}

std::string Joined(std::string first, const std::string& second) {
    if (first.empty()) return second;
    if (!second.empty()) first.append(1, ' ').append(second);
    return first;
}
}  // namespace

std::string ExpandVariables(const std::string& text, const VariableSource& variables, const CodePage& page,
                            std::size_t limit) {
    if (text.size() > limit) return text;
    const std::size_t cap = limit == std::string::npos ? limit : limit + 1;
    const std::string_view source = text;
    std::string result;
    auto append = [&](std::string_view part) { result.append(part.substr(0, cap - result.size())); };
    std::size_t copied = 0;
    std::size_t open = FindCharacter(text, '%', 0, page);
    while (open != std::string::npos && result.size() < cap) {
        std::size_t close = FindCharacter(text, '%', open + 1, page);
        if (close == std::string::npos) break;
        std::optional<std::string> value;
        if (close > open + 1) value = variables.Variable(text.substr(open + 1, close - open - 1));
        if (!value) {
            open = close;
            continue;
        }
        append(source.substr(copied, open - copied));
        append(*value);
        copied = close + 1;
        open = FindCharacter(text, '%', copied, page);
    }
    append(source.substr(copied));
    return result;
}

ProgramAndArguments ReadCommand(const std::string& command, const std::string& parameters,
                                const ProgramSearch& search, const CodePage& page) {
    const VariableSource& variables = search.Variables();
    std::string expanded = ExpandVariables(command, variables, page, kLongestShellText);
    // A text cut short by expansion must not lose its cut tail to the
    // arguments: whole, it is refused.
    bool cut = expanded.size() > kLongestShellText && expanded != command;
    ProgramAndArguments read = cut ? ProgramAndArguments{expanded, {}} : Split(expanded, search, page);
    read.arguments = Joined(std::move(read.arguments), ExpandVariables(parameters, variables, page, kLongestShellText));
    return read;
}
