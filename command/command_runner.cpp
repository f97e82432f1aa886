#include "command/command_runner.h"

#include <shellapi.h>

#include "command/launch_name_map.h"
#include "command/launch_plan.h"
#include "command/registry_jump.h"
#include "text/system_code_page.h"

const ShellLimits& CommandRunner::Limits() {
    // Wine's own shell has the shorter limit; its ntdll says who it is.
    static const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return wine ? kWineShellLimits : kWindowsShellLimits;
}

bool CommandRunner::Run(const std::string& line, HWND owner) {
    LaunchPlan plan = PlanLaunch(line, LaunchNameMap::Instance(), SystemCodePage());
    if (plan.kind == LaunchPlan::Kind::RegistryPath) {
        RegistryJump::JumpToKey(line);
        return true;
    }
    if (LaunchRefusal refusal = CheckLaunchPlan(plan, Limits(), SystemCodePage()); refusal != LaunchRefusal::None) {
        MessageBoxA(owner, RefusalText(refusal, Limits()).c_str(), "Error", MB_OK | MB_ICONINFORMATION);
        return false;
    }

    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NO_CONSOLE;  // no other flag: the shell reports its own failures
    info.hwnd = GetDesktopWindow();
    info.lpVerb = "open";
    info.lpFile = plan.file.c_str();
    info.lpParameters = plan.parameters.c_str();
    info.nShow = SW_SHOW;
    return ShellExecuteExA(&info) != FALSE;
}
