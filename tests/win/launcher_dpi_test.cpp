#include <gtest/gtest.h>

#include <windows.h>

#include "app/launcher_window.h"
#include "canvas.h"
#include "framework/dpi.h"
#include "modal_script.h"
#include "res/resource.h"
#include "settings/app_settings.h"

namespace {
SIZE SizeOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// WM_DPICHANGED as the system sends it: the new DPI, and where it suggests the window go.
void ChangeDpi(HWND window, int dpi) {
    RECT suggested{};
    GetWindowRect(window, &suggested);
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}
}  // namespace

// Moved between monitors of 96 and 144 DPI again and again, the launcher takes
// each DPI's size every time and keeps no font, picture or region it replaced.
TEST(LauncherDpi, RebuildsForEachChangeAndKeepsNothingItReplaced) {
    AppSettings::Instance().start_with_windows = 0;  // no Run value for the test program
    LauncherWindow launcher;
    SIZE at144{}, at96{}, box144{};
    DWORD before = 0, after = 0;
    ModalScript script({[&] {
        HWND window = launcher.Handle();
        if (!window || !IsWindowVisible(window)) return false;
        ChangeDpi(window, 144);
        ChangeDpi(window, 96);  // every font and picture both DPIs need, made once
        before = LiveGdiObjects();
        for (int i = 0; i < 100; ++i) {
            ChangeDpi(window, 144);
            at144 = SizeOf(window);
            box144 = SizeOf(GetDlgItem(window, IDC_COMMAND_BOX));
            ChangeDpi(window, 96);
        }
        after = LiveGdiObjects();
        at96 = SizeOf(window);
        EndDialog(window, IDC_CLOSE_BUTTON);
        return true;
    }});
    launcher.RunModal(GetModuleHandleA(nullptr), IDD_LAUNCHER, nullptr);
    ASSERT_TRUE(script.Finished()) << "step " << script.StepReached();
    EXPECT_EQ(at144.cx, 737);  // 491 x 1.5, the skin drawn for the DPI
    EXPECT_EQ(at144.cy, 93);
    EXPECT_EQ(box144.cy, 32);  // its field 21 x 1.5
    EXPECT_EQ(at96.cx, 491);
    EXPECT_EQ(at96.cy, 62);
    EXPECT_EQ(after, before);
}
