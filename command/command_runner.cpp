#include "command/command_runner.h"

#include <windows.h>
#include <shellapi.h>

#include "command/launch_name_map.h"
#include "command/launch_plan.h"
#include "command/registry_jump.h"
#include "text/system_code_page.h"

bool CommandRunner::Run(const std::string& line) {
    LaunchPlan plan = PlanLaunch(line, LaunchNameMap::Instance(), SystemCodePage());
    if (plan.kind == LaunchPlan::Kind::RegistryPath) {
        RegistryJump::JumpToKey(line);
        return true;
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
