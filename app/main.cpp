#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "app/launcher_window.h"
#include "app/single_instance.h"
#include "app/trace.h"
#include "controls/skin_palette.h"
#include "framework/dll_search.h"
#include "framework/module.h"
#include "res/resource.h"
#include "settings/app_settings.h"

// Replaces the runtime's default, which would print the exception's demangled
// type to a console the program does not have; its demangler alone is a tenth
// of the executable. An exception that escapes ends the program all the same.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RestrictDllSearchToSystem();
    TraceMark("loader and runtime");
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    Module::Init(instance);
    TraceMark("common controls");

    if (EnsureSingleInstance()) {
        Module::Term();
        return 0;
    }
    TraceMark("single instance");
    INT_PTR result = -1;
    try {  // nothing may unwind out of the entry routine; what was not saved stays on disk as it was
        InitSkinPalette();
        TraceMark("palette");
        LauncherWindow launcher;
        result = launcher.RunModalWaiting(instance, IDD_LAUNCHER, GetActiveWindow());
        // At every exit, changed or not; never settings that were not loaded.
        if (launcher.StartupBegun()) AppSettings::Instance().Save();
    } catch (...) {
    }

    CloseSingleInstanceMutex();
    Module::Term();
    return static_cast<int>(result);
}
