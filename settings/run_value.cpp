#include "settings/run_value.h"

#include "text/code_page.h"

namespace {
// The registry's type numbers, fixed by the platform.
constexpr std::uint32_t kString = 1, kExpandableString = 2;
}  // namespace

std::string QuotedCommand(std::string_view modulePath) {
    std::string command = "\"";
    command += modulePath;
    command += '"';
    return command;
}

bool RunValueIsCurrent(std::uint32_t type, std::string_view data, std::string_view command) {
    if (type != kString && type != kExpandableString) return false;
    if (data.empty() || data.back() != '\0') return false;
    std::string_view text = data.substr(0, data.find('\0'));
    if (text.size() != command.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (AsciiLower(text[i]) != AsciiLower(command[i])) return false;
    return true;
}
