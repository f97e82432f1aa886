#include "app/launcher_window.h"

#include "app/single_instance.h"
#include "command/command_runner.h"
#include "command/launch_name_map.h"
#include "completion/completion_sources.h"
#include "framework/center_window.h"
#include "res/resource.h"
#include "settings/app_settings.h"
#include "settings/hot_key.h"

namespace {
// The drop-down keeps fewer run lines than this.
const LRESULT kDropDownLimit = 20;
const int kMaxLineLength = 1023;
}  // namespace

const MessageEntry<LauncherWindow> LauncherWindow::kMessages[] = {
    OnMessage(kShowLauncherMessage, &LauncherWindow::OnToggle),
    OnMessage(WM_INITDIALOG, &LauncherWindow::OnInitDialog),
    OnMessage(WM_HOTKEY, &LauncherWindow::OnToggle),
    OnMessage(WM_ACTIVATEAPP, &LauncherWindow::OnActivateApp),
    OnCommand(IDOK, &LauncherWindow::OnRunTypedLine),
    OnCommand(IDCANCEL, &LauncherWindow::OnHide),
    OnCommand(IDC_COMMAND_BOX, CBN_SELCHANGE, &LauncherWindow::OnSelectEntry),
    OnCommand(IDC_CLOSE_BUTTON, &LauncherWindow::OnConfirmExit),
    OnCommand(ID_TRAY_SHOW, &LauncherWindow::OnShow),
    OnCommand(ID_TRAY_EXIT, &LauncherWindow::OnConfirmExit),
};

bool LauncherWindow::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

void LauncherWindow::OnInitDialog(Message& m) {
    CenterWindow(window_);
    commandBox_.Attach(CommandBox());
    FillCompletion();
    m.result = TRUE;  // the dialog manager focuses the first tab stop, the command box
}

void LauncherWindow::OnToggle(Message& m) {
    ToggleLauncher();
    m.result = m.id == kShowLauncherMessage ? kShowLauncherMessage : 0;
}

void LauncherWindow::OnActivateApp(Message& m) { HideOnDeactivate(m.wParam != FALSE); }
void LauncherWindow::OnRunTypedLine(Message&) { RunTypedLine(IDOK); }
void LauncherWindow::OnHide(Message&) { ShowWindow(window_, SW_HIDE); }
void LauncherWindow::OnSelectEntry(Message&) { SendMessageA(window_, WM_COMMAND, IDOK, 0); }
void LauncherWindow::OnConfirmExit(Message& m) { ConfirmExit(m.CommandId()); }
void LauncherWindow::OnShow(Message&) { ShowLauncher(); }

HWND LauncherWindow::CommandBox() const { return GetDlgItem(window_, IDC_COMMAND_BOX); }

void LauncherWindow::ShowLauncher() {
    ShowWindow(window_, SW_SHOW);
    CenterWindow(window_);
    SetForegroundWindow(window_);
    SetFocus(CommandBox());
}

void LauncherWindow::ToggleLauncher() {
    if (GetForegroundWindow() == window_) ShowWindow(window_, SW_HIDE);
    else if (IsWindowEnabled(window_)) ShowLauncher();
}

void LauncherWindow::HideOnDeactivate(bool active) {
    if (!active && IsWindowVisible(window_)) ShowWindow(window_, SW_HIDE);
}

void LauncherWindow::FillCompletion() {
    CompletionSources(commandBox_, LaunchNameMap::Instance(), AppSettings::Instance(), SystemCodePage())
        .FillCompletion();
}

void LauncherWindow::RefillCompletion() {
    CompletionSources(commandBox_, LaunchNameMap::Instance(), AppSettings::Instance(), SystemCodePage())
        .RefillCompletion(runLines_.MostRecentFirst());
}

std::string LauncherWindow::ReadLine() const {
    HWND box = CommandBox();
    LRESULT selected = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) {
        return commandBox_.ItemText(selected).value_or(std::string());
    }
    char text[kMaxLineLength + 1];
    int got = GetWindowTextA(box, text, sizeof(text));
    return std::string(text, got > 0 ? got : 0);
}

void LauncherWindow::RunTypedLine(int id) {
    if (id != IDOK) {
        ShowWindow(window_, SW_HIDE);
        return;
    }
    std::string line = ReadLine();
    if (line.empty()) return;
    if (!CommandRunner::Run(line)) return;  // stays shown: the user corrects the line

    HWND box = CommandBox();
    SendMessageA(box, CB_SETCURSEL, WPARAM(-1), 0);
    LRESULT same = SendMessageA(box, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(line.c_str()));
    if (same != CB_ERR) SendMessageA(box, CB_DELETESTRING, same, 0);
    if (SendMessageA(box, CB_GETCOUNT, 0, 0) == 1 && SendMessageA(box, CB_GETLBTEXTLEN, 0, 0) == 0)
        SendMessageA(box, CB_DELETESTRING, 0, 0);
    SendMessageA(box, CB_INSERTSTRING, 0, LPARAM(line.c_str()));
    commandBox_.AddItem(line.c_str());  // once, at the end of the list
    runLines_.Note(line);
    LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    if (count >= kDropDownLimit) SendMessageA(box, CB_DELETESTRING, count - 1, 0);
    ShowWindow(window_, SW_HIDE);
}

void LauncherWindow::ConfirmExit(int id) {
    const AppSettings& settings = AppSettings::Instance();
    std::string question =
        "Are you sure you want to close application?\n\n(To hide application window just press Hot Keys - " +
        FormatHotKeyText(settings.hot_key_key, settings.hot_key_mod) + ")";
    if (MessageBoxA(window_, question.c_str(), "Exit", MB_YESNO | MB_ICONQUESTION) == IDYES) End(id);
}
