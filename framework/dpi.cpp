#include "framework/dpi.h"

namespace {
const int kDefaultDpi = 96;

// Functions of newer systems, looked up once; null where they do not exist.
template <class Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}
}  // namespace

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (UINT dpi = getDpiForWindow(window)) return int(dpi);
    }
    return SystemDpi();
}

int SystemMetricAtDpi(int index, int dpi) {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto getSystemMetricsForDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi) {
        if (int metric = getSystemMetricsForDpi(index, UINT(dpi))) return metric;
    }
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

void KeepDialogLayoutOnDpiChange(HWND dialog) {
    using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehaviour = User32Function<SetDialogDpiChangeBehaviorFunction>("SetDialogDpiChangeBehavior");
    const int disableAll = 1;  // DDC_DISABLE_ALL
    if (setBehaviour) setBehaviour(dialog, disableAll, disableAll);
}
