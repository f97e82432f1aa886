#include "command/launch_limits.h"

#include "command/launch_plan.h"
#include "text/code_page.h"

namespace {
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool HasAddressScheme(std::string_view text) {
    if (text.empty() || !IsAsciiLetter(text[0])) return false;
    std::size_t i = 1;
    while (i < text.size() && (IsAsciiLetter(text[i]) || IsAsciiDigit(text[i]) || text[i] == '+' ||
                               text[i] == '-' || text[i] == '.'))
        ++i;
    return i >= 2 && i < text.size() && text[i] == ':';
}

std::size_t LongestParameters(const ShellLimits& limits) {
    std::size_t program = limits.file + 3;  // two quotes and a blank
    return limits.commandLine > program ? limits.commandLine - program : 0;
}

LaunchRefusal CheckLaunchPlan(const LaunchPlan& plan, const ShellLimits& limits, const CodePage& page) {
    if (plan.kind != LaunchPlan::Kind::Shell) return LaunchRefusal::None;
    std::size_t file = CountCharacters(plan.file, page);
    if (HasAddressScheme(plan.file)) {
        if (file > limits.address) return LaunchRefusal::AddressTooLong;
    } else if (file > limits.file) {
        return LaunchRefusal::FileTooLong;
    }
    if (CountCharacters(plan.parameters, page) > LongestParameters(limits)) return LaunchRefusal::ParametersTooLong;
    return LaunchRefusal::None;
}

std::string RefusalText(LaunchRefusal refusal, const ShellLimits& limits) {
    switch (refusal) {
    case LaunchRefusal::None: return {};
    case LaunchRefusal::FileTooLong:
        return "Command can not be run! Its program or file name is longer than " + std::to_string(limits.file) +
               " characters.";
    case LaunchRefusal::AddressTooLong:
        return "Command can not be run! Its web address is longer than " + std::to_string(limits.address) +
               " characters.";
    case LaunchRefusal::ParametersTooLong:
        return "Command can not be run! Its parameters are longer than " +
               std::to_string(LongestParameters(limits)) + " characters.";
    }
    return {};
}
