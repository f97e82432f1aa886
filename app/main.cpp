#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/dll_search.h"
#include "app/launcher_window.h"
#include "app/single_instance.h"
#include "controls/skin_palette.h"
#include "framework/module.h"
#include "res/resource.h"
#include "settings/app_settings.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RemoveCurrentDirectoryFromDllSearch();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // shell links need it; failure is ignored
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    Module::Init(instance);

    if (EnsureSingleInstance()) {
        Module::Term();
        CoUninitialize();
        return 0;
    }
    INT_PTR result = -1;
    try {  // nothing may unwind out of the entry routine; what was not saved stays on disk as it was
        AppSettings::Instance().Load();  // missing or broken files leave the defaults

        InitSkinPalette();

        {
            LauncherWindow launcher;
            result = launcher.RunModal(instance, IDD_LAUNCHER, GetActiveWindow());
        }
        AppSettings::Instance().Save();  // at every exit, changed or not
    } catch (...) {
    }

    CloseSingleInstanceMutex();
    Module::Term();
    CoUninitialize();
    return static_cast<int>(result);
}
