#pragma once
// How much text the shell can be handed, and whether a plan stays within it.
// Text past these limits is never passed on: the shell would refuse it at
// best, and under Wine it overruns its stack and ends the process.

#include <cstddef>
#include <string>
#include <string_view>

class CodePage;
struct LaunchPlan;

struct ShellLimits {
    std::size_t file;         // a program, document or folder name
    std::size_t address;      // a web address ("scheme:...")
    std::size_t commandLine;  // what a new process is started with
};

// The system's: MAX_PATH less the terminator for a file, the longest
// address the system's URL functions accept, and CreateProcess's 32,767
// characters less the terminator.
inline constexpr ShellLimits kWindowsShellLimits{259, 2083, 32766};
// Wine's shell crashes on any file part of 997 characters or more, web
// addresses included (measured with Wine 8: 996 fails cleanly, 997 faults).
inline constexpr ShellLimits kWineShellLimits{259, 996, 32766};

// Longer than any text the shell takes: a parameter expansion stops here. Cut
// there, it still holds more characters than any file or address may.
inline constexpr std::size_t kLongestShellText = kWindowsShellLimits.commandLine;

enum class LaunchRefusal { None, FileTooLong, AddressTooLong, ParametersTooLong };

// Why the plan must not go to the shell, or None. Lengths are counted in
// characters as the shell receives them, not in bytes.
LaunchRefusal CheckLaunchPlan(const LaunchPlan& plan, const ShellLimits& limits, const CodePage& page);

// What the user is told, in the program's own words.
std::string RefusalText(LaunchRefusal refusal, const ShellLimits& limits);

// The longest parameters: the program the shell finds (a whole path at most)
// goes before them, quoted and followed by a blank.
std::size_t LongestParameters(const ShellLimits& limits);

// True when text begins with a scheme of two or more characters and a colon
// ("http:", "mailto:"), which the shell opens as an address; "C:" is a drive.
bool HasAddressScheme(std::string_view text);
