#include "command/launch_plan.h"

#include <algorithm>

#include "command/command_line.h"
#include "command/launch_limits.h"
#include "command/launch_name_map.h"
#include "command/program_search.h"
#include "command/web_address.h"
#include "text/code_page.h"

namespace {
const char kRegistryPrefix[] = "HKEY_";
const char kParam[] = "$param";
const std::size_t kParamLength = sizeof(kParam) - 1;

bool IsDrivePath(const std::string& line) {
    return line.size() >= 3 && line[1] == ':' && line[2] == '\\';
}

// A bare host name is opened as an http address. A text that names a scheme
// ("ftp://...", "mailto:...") goes to the shell as it is, and so does anything
// the reader found on disk (it is a full path by then).
bool NeedsHttpPrefix(const std::string& target, const CodePage& page) {
    return target.find('.') != std::string::npos && target.find("http") == std::string::npos &&
           target.find("://") == std::string::npos && !BeginsWithScheme(target) && IsWebAddress(target, page);
}
}  // namespace

std::string ReplaceParam(const std::string& text, const std::string& value, std::size_t limit) {
    const std::size_t cap = limit == std::string::npos ? limit : limit + 1;
    std::string result;
    auto append = [&](const std::string& part, std::size_t at, std::size_t count) {
        result.append(part, at, std::min(count, cap - result.size()));
    };
    std::size_t from = 0;
    for (std::size_t at; result.size() < cap && (at = text.find(kParam, from)) != std::string::npos;
         from = at + kParamLength) {
        append(text, from, at - from);
        append(value, 0, value.size());
    }
    if (result.size() < cap) append(text, from, text.size() - from);
    return result;
}

LaunchPlan PlanLaunch(const std::string& line, const LaunchNameMap& names, const CommandProbe& probe,
                      const CodePage& page) {
    LaunchPlan plan;
    std::string target = line, parameters;

    if (auto whole = names.Find(line)) {
        target = *whole;
    } else if (line.compare(0, sizeof(kRegistryPrefix) - 1, kRegistryPrefix) == 0) {
        plan.kind = LaunchPlan::Kind::RegistryPath;
        return plan;
    } else if (line.size() > 3 && !IsDrivePath(line)) {
        std::size_t blank = FindCharacter(line, ' ', 0, page);
        std::optional<std::string> stored;
        if (blank != std::string::npos) stored = names.Find(line.substr(0, blank));
        if (stored) {
            parameters = line.substr(blank + 1);
            target = *stored;
            if (stored->find(kParam) != std::string::npos) {
                target = ReplaceParam(*stored, parameters, kLongestShellText);
                parameters.clear();
            }
        }
    }

    // Variables are expanded before anything looks at the text, so the host
    // name test sees what they stand for.
    ProgramSearch search(probe, page);
    ProgramAndArguments command = ReadCommand(target, parameters, search, page);
    plan.file = std::move(command.program);
    plan.parameters = std::move(command.arguments);
    plan.directory = search.UserFolder();
    if (NeedsHttpPrefix(plan.file, page)) plan.file = "http://" + plan.file;
    return plan;
}
