#include "command/command_runner.h"

#include <shellapi.h>

#include "command/command_line.h"
#include "command/launch_name_map.h"
#include "command/launch_plan.h"
#include "command/registry_jump.h"
#include "command/system_probe.h"
#include "text/system_code_page.h"

namespace {
// The one place Brisq asks whether it runs on Wine. Wine's shell differs from
// Windows' in two ways that matter to a launch, and neither can be found out by
// trying it: it overruns its stack and ends the process on a file part of 997
// characters or more (measured with Wine 8), where Windows refuses the call;
// and it expands %NAME% in the file part once more, which Windows never does
// unasked. Holding Windows to Wine's shorter limit would refuse long web
// addresses that Windows opens, so the limits follow the shell. Wine's ntdll
// says who it is.
bool ShellIsWine() {
    static const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}
}  // namespace

LaunchNameMap& LaunchNameMap::Instance() {
    static LaunchNameMap map(SystemCodePage());
    return map;
}

const ShellLimits& CommandRunner::Limits() { return ShellIsWine() ? kWineShellLimits : kWindowsShellLimits; }

bool CommandRunner::Run(const std::string& line, HWND owner, bool elevated) {
    SystemProbe probe;
    LaunchPlan plan = PlanLaunch(line, LaunchNameMap::Instance(), probe, SystemCodePage());
    if (plan.kind == LaunchPlan::Kind::RegistryPath) {
        RegistryJump::JumpToKey(line);
        return true;
    }
    LaunchPlan seenByShell = plan;  // what the shell will work on, its own expansion included
    if (ShellIsWine()) seenByShell.file = ExpandVariables(plan.file, probe, SystemCodePage(), kLongestShellText);
    if (LaunchRefusal refusal = CheckLaunchPlan(seenByShell, Limits(), SystemCodePage()); refusal != LaunchRefusal::None) {
        MessageBoxA(owner, RefusalText(refusal, Limits()).c_str(), "Error", MB_OK | MB_ICONINFORMATION);
        return false;
    }

    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NO_CONSOLE;  // no other flag: the shell reports its own failures
    info.hwnd = GetDesktopWindow();
    info.lpVerb = elevated ? "runas" : "open";
    info.lpFile = plan.file.c_str();
    info.lpParameters = plan.parameters.c_str();
    info.lpDirectory = plan.directory.empty() ? nullptr : plan.directory.c_str();
    info.nShow = SW_SHOW;
    return ShellExecuteExA(&info) != FALSE;
}
