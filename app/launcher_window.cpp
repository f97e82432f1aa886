#include "app/launcher_window.h"

#include <utility>

#include "about/about_dialog.h"
#include "app/launcher_layout.h"
#include "app/single_instance.h"
#include "app/trace.h"
#include "command/command_runner.h"
#include "command/launch_name_map.h"
#include "command/session_environment.h"
#include "completion/completion_sources.h"
#include "framework/accessible_name.h"
#include "framework/center_window.h"
#include "framework/dpi.h"
#include "framework/module.h"
#include "res/resource.h"
#include "settings/app_settings.h"
#include "settings/autostart.h"
#include "settings/hot_key.h"
#include "settings/run_value.h"
#include "settings/settings_dialog.h"
#include "text/system_code_page.h"

namespace {
const char kHotKeyFailure[] =
    "Can't register Hot Key for application! It maybe because this hot keys combination is used for anothre "
    "application.\nPlease select another Hot Key.";
}  // namespace

const MessageEntry<LauncherWindow> LauncherWindow::kMessages[] = {
    OnMessage(kShowLauncherMessage, &LauncherWindow::OnToggle),
    OnMessage(WM_INITDIALOG, &LauncherWindow::OnInitDialog),
    OnMessage(kFinishStartupMessage, &LauncherWindow::OnFinishStartup),
    OnMessage(WM_DESTROY, &LauncherWindow::OnDestroy),
    OnMessage(WM_HOTKEY, &LauncherWindow::OnToggle),
    OnMessage(WM_ACTIVATEAPP, &LauncherWindow::OnActivateApp),
    OnCommand(IDOK, &LauncherWindow::OnRunTypedLine),
    OnCommand(IDCANCEL, &LauncherWindow::OnHide),
    OnCommand(IDC_SETTINGS_BUTTON, &LauncherWindow::OnShowSettings),
    OnCommand(IDC_COMMAND_BOX, CBN_SELCHANGE, &LauncherWindow::OnSelectEntry),
    OnCommand(IDC_CLOSE_BUTTON, &LauncherWindow::OnConfirmExit),
    OnCommand(IDC_ABOUT_BUTTON, &LauncherWindow::OnShowAbout),
    OnCommand(ID_TRAY_SHOW, &LauncherWindow::OnShow),
    OnCommand(ID_TRAY_EXIT, &LauncherWindow::OnConfirmExit),
    OnMessageOf(&LauncherWindow::TrayCallbackOf, &LauncherWindow::OnTrayLeftButton),
    OnMessageOf(&LauncherWindow::TaskbarCreatedOf, &LauncherWindow::OnTaskbarCreated),
    OnMessageOf(&LauncherWindow::TrayCallbackOf, &LauncherWindow::OnTrayRightButton),
    OnMessage(WM_TIMER, &LauncherWindow::OnSettingsTimer),
    OnMessage(WM_DPICHANGED, &LauncherWindow::OnDpiChanged),
    OnMessage(WM_GETOBJECT, &LauncherWindow::OnGetObject),
    OnMessage(WM_SETTINGCHANGE, &LauncherWindow::OnSettingChange),
    ChainTo<&LauncherWindow::skin_>(),
};

bool LauncherWindow::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

// The system moved the window to a monitor of another DPI, or the DPI changed:
// the rectangle it suggests keeps the window where the user sees it.
void LauncherWindow::OnDpiChanged(Message& m) {
    ApplyDpi(SaneDpi(LOWORD(m.wParam)));
    const auto* suggested = reinterpret_cast<const RECT*>(m.lParam);  // a forged message may point anywhere
    if (IsReadableMemory(suggested, sizeof(RECT)))
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m.result = 0;
}

void LauncherWindow::ApplyDpi(int dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    LauncherLayout layout = LayOutLauncher(dpi);
    if (skin_.Skinned()) {
        skin_.ChangeBitmap(window_, SkinPainter::SkinBitmap(dpi));
        SIZE size = skin_.BitmapSize();
        SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetCommandFont(dpi);
    LayOutControls(layout);
    for (GlyphButton* button : {&settingsButton_, &aboutButton_, &closeButton_}) button->SetDpi(dpi);
    InvalidateRect(window_, nullptr, TRUE);
}

// The template's font at the DPI, in the system's dialog face: the template's
// MS Sans Serif is a raster font of one script, and names in any other drew as
// bars in the drop-down. "MS Shell Dlg" is a TrueType face the system links to
// fonts of the other scripts.
void LauncherWindow::SetCommandFont(int dpi) {
    HWND box = CommandBox();
    auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
    Font font;
    LOGFONTA description{};
    if (dialogFont && GetObjectA(dialogFont, sizeof(description), &description)) {
        description.lfHeight = MulDiv(description.lfHeight, dpi, templateDpi_);
        description.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(description.lfFaceName, "MS Shell Dlg", LF_FACESIZE);
        font.Reset(CreateFontIndirectA(&description));
    }
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font.get() : dialogFont), TRUE);
    commandFont_ = std::move(font);  // the old one goes once the box has let it go
}

void LauncherWindow::LayOutControls(const LauncherLayout& layout) {
    const struct {
        int id;
        const PixelRect& place;
    } controls[] = {{IDC_COMMAND_BOX, layout.commandBox},
                    {IDC_CLOSE_BUTTON, layout.closeButton},
                    {IDC_ABOUT_BUTTON, layout.aboutButton},
                    {IDC_SETTINGS_BUTTON, layout.settingsButton}};
    for (const auto& control : controls)
        SetWindowPos(GetDlgItem(window_, control.id), nullptr, control.place.left, control.place.top,
                     control.place.Width(), control.place.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    // The box sizes its field by its font, which grows less than the DPI; the
    // field takes the height laid out for it, as the skin expects. The field is
    // the item height it is given and a frame of the box's own, measured: this
    // Wine reports an item height two more than the one it was given.
    HWND box = CommandBox();
    auto fieldHeight = [box] {
        RECT field{};
        GetWindowRect(box, &field);
        return int(field.bottom - field.top);
    };
    LRESULT reported = SendMessageA(box, CB_GETITEMHEIGHT, WPARAM(-1), 0);
    if (reported <= 0) return;
    SendMessageA(box, CB_SETITEMHEIGHT, WPARAM(-1), reported);
    int frame = fieldHeight() - int(reported);
    if (layout.commandFieldHeight > frame)
        SendMessageA(box, CB_SETITEMHEIGHT, WPARAM(-1), layout.commandFieldHeight - frame);
}

void LauncherWindow::OnToggle(Message& m) {
    TraceMark("hot key received");
    ToggleLauncher();
    m.result = m.id == kShowLauncherMessage ? kShowLauncherMessage : 0;
}

void LauncherWindow::OnActivateApp(Message& m) { HideOnDeactivate(m.wParam != FALSE); }
void LauncherWindow::OnRunTypedLine(Message&) { RunTypedLine(); }
void LauncherWindow::OnHide(Message&) { ShowWindow(window_, SW_HIDE); }
void LauncherWindow::OnSelectEntry(Message&) { SendMessageA(window_, WM_COMMAND, IDOK, 0); }
void LauncherWindow::OnConfirmExit(Message& m) { ConfirmExit(m.CommandId()); }
void LauncherWindow::OnShow(Message&) { ShowLauncher(); }
// The tray menu still works while the dialog is open; a second dialog inside the
// first would have the first's OK overwrite what the second saved.
void LauncherWindow::OnShowSettings(Message&) {
    if (!settingsOpen_) ShowSettings();
}
void LauncherWindow::OnShowAbout(Message&) { ShowAbout(); }

// The window has no caption text: the skin draws the product's name.
void LauncherWindow::OnGetObject(Message& m) {
    m.handled = AnswerAccessibleName(m, LoadResourceString(IDS_PRODUCT_NAME));
}

// System Properties changed a variable: what Brisq runs from now on sees it,
// as from the shell. The dialog's default handling sees the message too.
void LauncherWindow::OnSettingChange(Message& m) {
    if (NamesEnvironment(m.lParam)) ReloadSessionEnvironment();
    m.handled = false;
}

// The icon goes while its window still exists, so the shell can match it.
void LauncherWindow::OnDestroy(Message& m) {
    settingsWatch_.Stop();
    UnregisterLaunchHotKey();
    tray_.Remove();
    m.result = 0;
}

bool LauncherWindow::IsTrayClick(const Message& m, UINT button) const {
    return m.wParam == tray_.IconId() && UINT(m.lParam) == button;
}

void LauncherWindow::OnTrayLeftButton(Message& m) {
    if (!IsTrayClick(m, WM_LBUTTONDOWN)) {
        m.handled = false;
        return;
    }
    if (!IsWindowVisible(window_)) ShowLauncher();
}

// The shell restarted; the later entries see the message too.
void LauncherWindow::OnTaskbarCreated(Message& m) {
    tray_.Readd();
    m.handled = false;
}

void LauncherWindow::OnTrayRightButton(Message& m) {
    if (!IsTrayClick(m, WM_RBUTTONDOWN) || !tray_.ShowTrayMenu()) m.handled = false;
}

bool LauncherWindow::RegisterLaunchHotKey() {
    const AppSettings& settings = AppSettings::Instance();
    hotKeyRegistered_ = RegisterHotKey(window_, kLaunchHotKeyId, TranslateHotKeyModifiers(settings.hot_key_mod),
                                       settings.hot_key_key) != FALSE;
    return hotKeyRegistered_;
}

// A taken hot key: the question, then the Settings dialog, which registers the
// hot key again as it closes, until one is free. A loop here rather than
// ShowSettings calling back in, so asking again and again does not deepen the stack.
void LauncherWindow::RegisterHotKeyOrAskForAnother() {
    if (RegisterLaunchHotKey() || askingForHotKey_) return;
    askingForHotKey_ = true;
    while (!hotKeyRegistered_ && IsWindow(window_)) {
        MessageBoxA(window_, kHotKeyFailure, "Error", MB_OK | MB_ICONINFORMATION);
        ShowSettings();
    }
    askingForHotKey_ = false;
}

void LauncherWindow::UnregisterLaunchHotKey() {
    UnregisterHotKey(window_, kLaunchHotKeyId);
    hotKeyRegistered_ = false;
}

// Owned by this window, so the launcher is disabled (the hot key and a second
// copy do nothing) while the dialog is open.
void LauncherWindow::ShowSettings() {
    FinishStartup();  // the dialog edits the settings as loaded
    UnregisterLaunchHotKey();
    AppSettings& settings = AppSettings::Instance();
    settingsOpen_ = true;
    bool confirmed = SettingsDialog(settings).Run(window_) == IDOK;
    settingsOpen_ = false;
    settingsWatch_.Resume();  // what changed on disk meanwhile; after OK, once it is saved
    if (!confirmed) {
        RegisterHotKeyOrAskForAnother();
        ShowLauncher();
        return;
    }
    ShowLauncher();
    settings.Save(SaveKind::kFromSettings);  // merged into what the files hold by now
    ApplySettings(SettingsEffects::All());
}

// In the order the start-up first applied them.
void LauncherWindow::ApplySettings(const SettingsEffects& changed) {
    const AppSettings& settings = AppSettings::Instance();
    if (changed.completion) RefillCompletion();
    if (changed.hotKey) {
        UnregisterLaunchHotKey();
        RegisterHotKeyOrAskForAnother();
    }
    if (changed.tray) {
        if (settings.icon_in_tray) tray_.Show();
        else tray_.Hide();
    }
    if (changed.autostart) ApplyStartWithWindows();
}

HANDLE LauncherWindow::SignalToWaitFor() const { return settingsWatch_.ChangeSignal(); }
void LauncherWindow::OnSignalled() { settingsWatch_.OnChanged(); }

// What others wrote to the files takes effect as if applied through Settings.
// The dialog edits the record as it was when it opened; it reads the files
// again once it is closed.
void LauncherWindow::OnSettingsTimer(Message& m) {
    if (m.wParam != SettingsWatch::kTimerId) {
        m.handled = false;
        return;
    }
    if (settingsOpen_) {
        settingsWatch_.Hold();
        return;
    }
    SettingsWatch::Outcome read = settingsWatch_.Read();
    ApplySettings(read.effects);
    if (read.notice.empty()) return;
    notice_ += (notice_.empty() ? "" : "\n\n") + read.notice;
    if (IsWindowVisible(window_)) ShowNotice();
}

// Once, when the user can see what it is about: with the launcher, not over
// another dialog of Brisq's.
void LauncherWindow::ShowNotice() {
    if (notice_.empty() || !IsWindowEnabled(window_)) return;
    std::string text = std::exchange(notice_, std::string());
    MessageBoxA(window_, text.c_str(), "Error", MB_OK | MB_ICONWARNING);
}

void LauncherWindow::ApplyStartWithWindows() {
    std::string path = ModuleFileName();
    if (path.empty()) return;
    ApplyRunValue(LoadResourceString(IDS_PRODUCT_NAME), AppSettings::Instance().start_with_windows != 0,
                  QuotedCommand(path));
}

HWND LauncherWindow::CommandBox() const { return GetDlgItem(window_, IDC_COMMAND_BOX); }

// Placed before it shows, so it never appears where it was and then jumps.
void LauncherWindow::ShowLauncher() {
    CenterWindow(window_);
    TraceMark("centred");
    ShowWindow(window_, SW_SHOW);
    TraceMark("shown");
    SetForegroundWindow(window_);
    TraceMark("in front");
    SetFocus(CommandBox());
    TraceMark("focused");
    ShowNotice();
}

// A hidden window can still be the foreground one (its message box just
// closed); the hot key must then show it, not hide it again.
void LauncherWindow::ToggleLauncher() {
    if (GetForegroundWindow() == window_ && IsWindowVisible(window_)) ShowWindow(window_, SW_HIDE);
    else if (IsWindowEnabled(window_)) ShowLauncher();
}

void LauncherWindow::HideOnDeactivate(bool active) {
    if (!active && IsWindowVisible(window_)) ShowWindow(window_, SW_HIDE);
}

void LauncherWindow::RefillCompletion() {
    CompletionSources(commandBox_, LaunchNameMap::Instance(), AppSettings::Instance(), SystemCodePage())
        .RefillCompletion(commandBox_.RunHistory().MostRecentFirst());
}

std::string LauncherWindow::ReadLine() const {
    HWND box = CommandBox();
    LRESULT selected = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) {
        return commandBox_.ItemText(selected).value_or(std::string());
    }
    // Whole: a cut line could open the wrong page. What the shell cannot take
    // is refused when it is run.
    return WindowText(box);
}

void LauncherWindow::RunTypedLine() {
    FinishStartup();  // the aliases are launch names
    std::string line = ReadLine();
    if (line.empty()) return;
    // Ctrl+Shift+Enter runs it as administrator, as in the Run dialog.
    bool elevated = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) < 0;
    if (!CommandRunner::Run(line, window_, elevated)) return;  // stays shown: the user corrects the line
    commandBox_.AddRunLine(line);
    ShowWindow(window_, SW_HIDE);
}

// The active window owns the dialog. With none (the launcher hidden, the tray
// menu used) the launcher does, so that it is disabled and the hot key does
// nothing while the dialog is open.
void LauncherWindow::ShowAbout() {
    HWND owner = GetActiveWindow();
    AboutDialog().Run(owner ? owner : window_);
}

void LauncherWindow::ConfirmExit(int id) {
    FinishStartup();  // the question names the hot key; the exit save writes what was loaded
    const AppSettings& settings = AppSettings::Instance();
    std::string question =
        "Are you sure you want to close application?\n\n(To hide application window just press Hot Keys - " +
        FormatHotKeyText(settings.hot_key_key, settings.hot_key_mod) + ")";
    if (MessageBoxA(window_, question.c_str(), "Exit", MB_YESNO | MB_ICONQUESTION) == IDYES) End(id);
}
