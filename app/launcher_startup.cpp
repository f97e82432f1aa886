// The launcher's start-up, in two halves: the dialog's initialisation makes
// only what shows, and the rest follows once the launcher is on screen.
#include "app/launcher_layout.h"
#include "app/launcher_window.h"
#include "app/trace.h"
#include "framework/center_window.h"
#include "framework/dpi.h"
#include "res/resource.h"
#include "settings/app_settings.h"

namespace {
// Uniform translucency of the skinned window, out of 255.
const BYTE kLauncherAlpha = 230;
const UINT kTrayIconId = 1;
}  // namespace

// Only what shows: everything else waits until the launcher is on screen.
void LauncherWindow::OnInitDialog(Message& m) {
    TraceMark("dialog and controls created");
    CenterWindow(window_);
    KeepDialogLayoutOnDpiChange(window_);  // ApplyDpi does it, by the skin
    dpi_ = templateDpi_ = SaneDpi(WindowDpi(window_));
    skin_.SetBitmap(SkinPainter::SkinBitmap(dpi_));
    skin_.ApplySkin(window_);  // without the bitmap the plain dialog stays
    TraceMark("skin and region");
    SetCommandFont(dpi_);
    TraceMark("command box font");
    LayOutControls(LayOutLauncher(dpi_));
    TraceMark("layout");
    SetWindowLongPtrA(window_, GWL_EXSTYLE, GetWindowLongPtrA(window_, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window_, RGB(0xFF, 0xFF, 0xFF), kLauncherAlpha, LWA_ALPHA);
    TraceMark("translucency");
    commandBox_.Attach(CommandBox());
    TraceMark("command box");

    if (settingsButton_.Attach(GetDlgItem(window_, IDC_SETTINGS_BUTTON)))
        settingsButton_.SetImageFromBitmap(16, IDB_TOOL, RGB(0xFF, 0xFF, 0xFF));
    aboutButton_.Attach(GetDlgItem(window_, IDC_ABOUT_BUTTON));
    closeButton_.Attach(GetDlgItem(window_, IDC_CLOSE_BUTTON));
    // Their texts are glyphs; a screen reader says what they do.
    settingsButton_.SetAccessibleName("Settings");
    aboutButton_.SetAccessibleName("About");
    closeButton_.SetAccessibleName("Close");
    TraceMark("caption buttons");
    // Ahead of any input: the dialog manager focuses the command box first.
    PostMessageA(window_, kFinishStartupMessage, 0, 0);
    m.result = TRUE;  // the dialog manager focuses the first tab stop, the command box
}

// Shows the launcher as the dialog manager would once idle, painted, and then
// does the rest of the start-up, which changes nothing on screen. Input that
// came meanwhile waits behind it.
void LauncherWindow::OnFinishStartup(Message&) {
    if (startupBegun_) return;  // one posted from outside later
    if (!IsWindowVisible(window_)) {
        ShowWindow(window_, SW_SHOWNORMAL);
        RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        TraceMark("shown");
    }
    FinishStartup();
}

// Also run first by whatever needs the settings before the posted message
// came (a message from outside, or a nested loop that took it early).
void LauncherWindow::FinishStartup() {
    if (startupBegun_) return;
    startupBegun_ = true;
    // COM (and the shell, which a first call loads) only now: loading them at
    // start cost the launcher a good part of its time to show.
    com_.emplace();
    AppSettings& settings = AppSettings::Instance();
    settingsWatch_.Start(window_);  // first, so that no change after the load is missed
    settings.Load();                // missing or broken files leave the defaults
    settingsWatch_.ReadAfter(settings.RetryAfterMs());  // a file locked at start, in the background
    TraceMark("settings and aliases loaded");
    RegisterHotKeyOrAskForAnother();
    TraceMark("hot key");
    // From empty: a Settings dialog the hot-key question opened may have filled it already.
    RefillCompletion();
    TraceMark("completion fill");
    tray_.Install(window_, kTrayIconId, IDI_BRISQ, settings.icon_in_tray != 0);
    TraceMark("tray icon");
    ApplyStartWithWindows();
    TraceMark("Run value");
}
