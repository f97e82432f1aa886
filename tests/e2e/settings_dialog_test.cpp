// The Settings dialog of the real Brisq.exe, driven from outside: opened from
// the wrench and the tray menu, aliases added (with the file dialog), deleted
// and cancelled, the hot key and the tray option changed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <thread>

#include "driver.h"

using namespace e2e;

namespace {
const int kSettingsButton = 1021;
const int kIconInTray = 1011, kHotKey = 1012, kAliasList = 1013, kAddAlias = 1018, kDeleteAlias = 1019;
const int kAliasName = 1020, kAliasCommand = 1021, kBrowse = 1022;
const int kFileName = 1148;  // the file dialog's name box

const char kAliasesHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<aliases>\r\n";

bool ShownInFrontWithFocus(const Brisq& brisq) {
    return brisq.IsShown() && brisq.IsForeground() && brisq.FocusWindow() == brisq.CommandEdit();
}

// Free for anyone to take: nobody, Brisq included, holds the combination.
bool HotKeyFree(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 7, modifiers, key)) return false;
    UnregisterHotKey(nullptr, 7);
    return true;
}

bool TrayIconPresent(HWND owner) {
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V2_SIZE;
    probe.hWnd = owner;
    probe.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// Icons the taskbar draws, counted from the right: 20 pixels a slot, up to the first empty one.
int TrayIconsDrawn() {
    HDC screen = GetDC(nullptr);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    COLORREF bar = GetPixel(screen, width / 2, height - 4);
    int icons = 0;
    for (; icons < 10; ++icons) {
        bool drawn = false;
        for (int y = height - 18; y < height - 2 && !drawn; ++y)
            for (int x = width - 20 * (icons + 1) + 2; x < width - 20 * icons - 2 && !drawn; ++x)
                drawn = GetPixel(screen, x, y) != bar;
        if (!drawn) break;
    }
    ReleaseDC(nullptr, screen);
    return icons;
}

// A click with the button's own mouse messages, the real pointer at its rest.
void ClickFlatButton(HWND button) {
    EXPECT_TRUE(testkit::ParkPointer());
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

void PressDialogButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SetText(HWND control, const std::string& text) {
    testkit::Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND OpenSettings(const Brisq& brisq) {
    if (!brisq.BringUp()) return nullptr;
    ClickFlatButton(GetDlgItem(brisq.Launcher(), kSettingsButton));
    return WaitForDialog(brisq, "Settings");
}

// The dialog is gone, the launcher is shown again, in front, with the focus in
// its box, and the work that follows (files, completion, hot key) is done: Brisq
// answers a sent message only once that is over. The tray and the Run value may
// still be on their way (the shell call lets sent messages through).
bool ClosedBackToTheLauncher(const Brisq& brisq, HWND settings) {
    return WaitUntil([&] { return !IsWindow(settings) && ShownInFrontWithFocus(brisq); }) &&
           testkit::Ask(brisq.Launcher(), WM_NULL, 0, 0) == 0;
}

// Selects the list's first row with the keys a user would press.
bool SelectFirstRow(HWND settings) {
    HWND list = GetDlgItem(settings, kAliasList);
    PostMessageA(settings, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    if (!WaitUntil([&] { return GetForegroundWindow() == settings; })) return false;
    PressKey(VK_HOME);
    PressKey(VK_SPACE);
    return WaitUntil([&] {
        return testkit::Ask(list, LVM_GETITEMSTATE, 0, LVIS_SELECTED) == LVIS_SELECTED;
    });
}

std::string AliasLine(const std::string& name, const std::string& command) {
    return "    <alias alias=\"" + name + "\" cmd=\"" + command + "\" />\r\n";
}

void TypeAndRun(const Brisq& brisq, const std::string& typed) {
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    SetText(brisq.CommandEdit(), "");  // a line that failed stays in the box
    brisq.RunLine(typed);
}
}  // namespace

TEST(SettingsDialog, OpensFromTheWrenchAndFromTheTrayMenuAndGivesTheLauncherBack) {
    Brisq brisq;
    WriteFile(brisq.Folder().File("aliases.xml"),
              std::string(kAliasesHead) + AliasLine("np", "C:\\windows\\notepad.exe") +
                  AliasLine("web", "example.com") + "</aliases>\r\n");
    ASSERT_TRUE(brisq.Start());
    HWND settings = OpenSettings(brisq);
    ASSERT_NE(settings, nullptr) << brisq.Describe();
    EXPECT_FALSE(IsWindowEnabled(brisq.Launcher()));
    EXPECT_TRUE(HotKeyFree(MOD_CONTROL, 'R'));  // let go while the dialog is open
    EXPECT_EQ(testkit::Ask(GetDlgItem(settings, kAliasList), LVM_GETITEMCOUNT, 0, 0), 2);
    RECT owner{}, dialog{};
    GetWindowRect(brisq.Launcher(), &owner);
    GetWindowRect(settings, &dialog);
    EXPECT_NEAR((dialog.left + dialog.right) / 2, (owner.left + owner.right) / 2, 1);
    // The tray menu's "Settings" meanwhile opens no second dialog inside the first
    // (which would block this call until it closed).
    SendMessageTimeoutA(brisq.Launcher(), WM_COMMAND, kSettingsButton, 0, SMTO_BLOCK, 3000, nullptr);
    EXPECT_EQ(WindowsOf(brisq.ProcessId(), "#32770").size(), 2u);  // the launcher and one dialog

    // The pointer on the add button lights it, and its tooltip follows.
    RECT add{};
    GetWindowRect(GetDlgItem(settings, kAddAlias), &add);
    ASSERT_TRUE(testkit::MovePointer(POINT{(add.left + add.right) / 2, (add.top + add.bottom) / 2}));
    HWND tip = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND window : WindowsOf(brisq.ProcessId(), TOOLTIPS_CLASSA))
            if (IsWindowVisible(window)) tip = window;
        return tip != nullptr;
    }));
    if (tip) {
        EXPECT_EQ(WindowText(tip), "Add New Alias");
    }
    SaveScreenshot("settings-dialog-lit-button", settings);
    EXPECT_TRUE(testkit::ParkPointer());

    PressDialogButton(settings, IDCANCEL);
    ASSERT_TRUE(ClosedBackToTheLauncher(brisq, settings)) << brisq.Describe();
    EXPECT_FALSE(HotKeyFree(MOD_CONTROL, 'R'));

    // The tray menu's "Settings", while the launcher is hidden; Escape closes it.
    brisq.Toggle();
    ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
    PostMessageA(brisq.Launcher(), RegisterWindowMessageA("TaskbarNotifyMsg"), 1, WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND menu : WindowsOf(brisq.ProcessId(), "#32768"))
            if (IsWindowVisible(menu)) return true;
        return false;
    }));
    PressKey(VK_DOWN);  // "Show"
    PressKey(VK_DOWN);  // "Settings"
    PressKey(VK_RETURN);
    settings = WaitForDialog(brisq, "Settings");
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == settings; }));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(ClosedBackToTheLauncher(brisq, settings)) << brisq.Describe();
}

TEST(SettingsDialog, AnAliasAddedWithTheFileDialogIsSavedCompletesAndRuns) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    const std::string recorder = brisq.Folder().File("recorder.exe");
    HWND settings = OpenSettings(brisq);
    ASSERT_NE(settings, nullptr) << brisq.Describe();
    ClickFlatButton(GetDlgItem(settings, kAddAlias));
    HWND alias = WaitForDialog(brisq, "Alias");
    ASSERT_NE(alias, nullptr);
    EXPECT_EQ(DialogItemText(alias, kAliasName), "");
    EXPECT_EQ(DialogItemText(alias, kAliasCommand), "");

    PressDialogButton(alias, kBrowse);
    HWND open = WaitForDialog(brisq, "Open");
    ASSERT_NE(open, nullptr);
    HWND lookIn = GetDlgItem(open, 1137);
    EXPECT_EQ(WindowText(lookIn), "Program Files");  // the folder it opens in
    HWND name = FindWindowExA(FindWindowExA(GetDlgItem(open, kFileName), nullptr, "ComboBox", nullptr), nullptr,
                              "Edit", nullptr);
    ASSERT_NE(name, nullptr);
    SaveScreenshot("file-dialog", open);
    SetText(name, recorder);
    PressDialogButton(open, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open) && DialogItemText(alias, kAliasCommand) == recorder; }))
        << DialogItemText(alias, kAliasCommand);
    EXPECT_EQ(DialogItemText(alias, kAliasName), "recorder");
    // What the file dialog covered is painted again before the picture is taken.
    RedrawWindow(GetDesktopWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveScreenshot("alias-dialog", settings);

    PressDialogButton(alias, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(alias) && IsWindowEnabled(settings); }));
    PressDialogButton(settings, IDOK);
    ASSERT_TRUE(ClosedBackToTheLauncher(brisq, settings)) << brisq.Describe();

    // Both files hold what was confirmed at once: killing Brisq now loses nothing.
    std::string aliases = ReadFile(brisq.Folder().File("aliases.xml"));
    EXPECT_EQ(aliases, kAliasesHead + AliasLine("recorder", recorder) + "</aliases>\r\n");
    EXPECT_TRUE(FileExists(brisq.Folder().File("settings.xml")));

    TypeAndRun(brisq, "reco");  // completes to the alias
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    EXPECT_NE(brisq.RecordedCommandLine().find("recorder.exe"), std::string::npos);
    EXPECT_EQ(brisq.DropDownEntries().front(), "recorder");
}

// The settings and aliases load once the launcher has shown. Settings asked for
// as soon as its window exists, likely before that, still edits what the files
// hold: OK must not save an empty list over them.
TEST(SettingsDialog, AskedForBeforeTheStartUpFinishedItEditsTheLoadedAliases) {
    Brisq brisq;
    const std::string aliases = std::string(kAliasesHead) + AliasLine("np", "C:\\windows\\notepad.exe") +
                                AliasLine("web", "example.com") + "</aliases>\r\n";
    WriteFile(brisq.Folder().File("aliases.xml"), aliases);
    bool started = false;
    std::thread start([&] { started = brisq.StartUntilShown(); });
    // Sent, not posted: it is taken before anything the launcher posted to itself.
    HWND asked = nullptr;
    bool found = WaitUntil([&] {
        while ((asked = FindWindowExA(nullptr, asked, "#32770", nullptr)) != nullptr)
            if (GetDlgItem(asked, 1000)) {
                SendNotifyMessageA(asked, WM_COMMAND, kSettingsButton, 0);
                return true;
            }
        return false;
    });
    // Taken that early, the dialog comes before the launcher shows.
    DWORD process = 0;
    if (found) GetWindowThreadProcessId(asked, &process);
    HWND settings = nullptr;
    if (found) WaitUntil([&] { return (settings = DialogWithCaption(process, "Settings")) != nullptr; });
    int rows = settings ? int(testkit::Ask(GetDlgItem(settings, kAliasList), LVM_GETITEMCOUNT, 0, 0)) : -1;
    if (settings) PressDialogButton(settings, IDOK);
    start.join();
    ASSERT_TRUE(found && started && settings) << brisq.Describe();
    EXPECT_EQ(rows, 2);
    ASSERT_TRUE(ClosedBackToTheLauncher(brisq, settings)) << brisq.Describe();
    EXPECT_EQ(ReadFile(brisq.Folder().File("aliases.xml")), aliases);
}

// OK applies the dialog's changes to the file as it is by then: the alias deleted
// in the dialog stays deleted, one added by hand while the dialog was open stays.
TEST(SettingsDialog, ADeletedAliasNoLongerCompletesNorRunsAndOneAddedByHandMeanwhileStays) {
    Brisq brisq;
    const std::string recorder = brisq.Folder().File("recorder.exe");
    const std::string path = brisq.Folder().File("aliases.xml");
    const std::string both = std::string(kAliasesHead) + AliasLine("zebra", recorder) + AliasLine("yak", recorder);
    WriteFile(path, both + "</aliases>\r\n");
    ASSERT_TRUE(brisq.Start());
    HWND settings = OpenSettings(brisq);
    ASSERT_NE(settings, nullptr) << brisq.Describe();
    ASSERT_TRUE(SelectFirstRow(settings));
    ClickFlatButton(GetDlgItem(settings, kDeleteAlias));
    EXPECT_TRUE(
        WaitUntil([&] { return testkit::Ask(GetDlgItem(settings, kAliasList), LVM_GETITEMCOUNT, 0, 0) == 1; }));
    WriteFile(path, both + AliasLine("hand", recorder) + "</aliases>\r\n");
    PressDialogButton(settings, IDOK);
    ASSERT_TRUE(ClosedBackToTheLauncher(brisq, settings)) << brisq.Describe();
    EXPECT_EQ(ReadFile(path),
              kAliasesHead + AliasLine("yak", recorder) + AliasLine("hand", recorder) + "</aliases>\r\n");
    EXPECT_EQ(brisq.DropDownEntries(), (std::vector<std::string>{"yak", "hand"}));

    // Typed whole it is no name any more: the shell cannot open it.
    TypeAndRun(brisq, "zebra");
    HWND failure = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (failure = DialogWithCaption(brisq.ProcessId(), "Error")) != nullptr; }));
    PostMessageA(failure, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(failure); }));
    EXPECT_TRUE(brisq.RecordedCommandLine().empty());
    // The other one still completes and runs.
    TypeAndRun(brisq, "y");
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    EXPECT_EQ(brisq.DropDownEntries().front(), "yak");
}

TEST(SettingsDialog, CancelAfterChangesLeavesBothFilesAndTheLauncherAsTheyWere) {
    Brisq brisq;
    const std::string recorder = brisq.Folder().File("recorder.exe");
    // Hand-written, so that any save by the program would show in the bytes.
    const std::string aliases = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<aliases><alias alias=\"zebra\" cmd=\"" +
                                recorder + "\"/>\n\n<alias alias=\"yak\" cmd=\"notepad.exe\"/></aliases>";
    const std::string settingsXml =
        "<settings>\n<general><hot_key key=\"82\" mod=\"2\"/></general>\n<show><start_menu val=\"0\"/></show></settings>";
    WriteFile(brisq.Folder().File("aliases.xml"), aliases);
    WriteFile(brisq.Folder().File("settings.xml"), settingsXml);
    ASSERT_TRUE(brisq.Start());
    for (int way = 0; way < 3; ++way) {
        HWND settings = OpenSettings(brisq);
        ASSERT_NE(settings, nullptr) << way << " " << brisq.Describe();
        ASSERT_TRUE(SelectFirstRow(settings)) << way;
        ClickFlatButton(GetDlgItem(settings, kDeleteAlias));
        PostMessageA(GetDlgItem(settings, kIconInTray), BM_CLICK, 0, 0);
        PostMessageA(GetDlgItem(settings, kHotKey), HKM_SETHOTKEY, MAKEWORD('K', HOTKEYF_ALT), 0);
        ClickFlatButton(GetDlgItem(settings, kAddAlias));
        HWND alias = WaitForDialog(brisq, "Alias");
        ASSERT_NE(alias, nullptr) << way;
        SetText(GetDlgItem(alias, kAliasName), "added");
        SetText(GetDlgItem(alias, kAliasCommand), "added.exe");
        PressDialogButton(alias, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(alias) && IsWindowEnabled(settings); })) << way;
        // The button, the close box, the Escape key.
        if (way == 0) PressDialogButton(settings, IDCANCEL);
        else if (way == 1) PostMessageA(settings, WM_CLOSE, 0, 0);
        else if (WaitUntil([&] { return GetForegroundWindow() == settings; })) PressKey(VK_ESCAPE);
        ASSERT_TRUE(ClosedBackToTheLauncher(brisq, settings)) << way << " " << brisq.Describe();
        EXPECT_EQ(ReadFile(brisq.Folder().File("aliases.xml")), aliases) << way;
        EXPECT_EQ(ReadFile(brisq.Folder().File("settings.xml")), settingsXml) << way;
        EXPECT_FALSE(TrayIconPresent(brisq.Launcher())) << way;
        EXPECT_TRUE(HotKeyFree(MOD_ALT, 'K')) << way;
        EXPECT_FALSE(HotKeyFree(MOD_CONTROL, 'R')) << way;
    }
    // The deleted alias still runs: the table in memory is untouched as well.
    TypeAndRun(brisq, "zebra");
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    // And the old hot key still works.
    PressChord(VK_CONTROL, 'R');
    EXPECT_TRUE(WaitUntil([&] { return ShownInFrontWithFocus(brisq); })) << brisq.Describe();
}

TEST(SettingsDialog, ANewHotKeyShowsTheLauncherAndTheOldOneNoLonger) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    HWND settings = OpenSettings(brisq);
    ASSERT_NE(settings, nullptr) << brisq.Describe();
    PostMessageA(GetDlgItem(settings, kHotKey), HKM_SETHOTKEY, MAKEWORD('K', HOTKEYF_ALT), 0);
    PressDialogButton(settings, IDOK);
    ASSERT_TRUE(ClosedBackToTheLauncher(brisq, settings)) << brisq.Describe();
    EXPECT_TRUE(HotKeyFree(MOD_CONTROL, 'R'));
    EXPECT_FALSE(HotKeyFree(MOD_ALT, 'K'));
    EXPECT_NE(ReadFile(brisq.Folder().File("settings.xml")).find("<hot_key key=\"75\" mod=\"4\" />"),
              std::string::npos);

    PressChord(VK_MENU, 'K');
    ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); })) << brisq.Describe();
    // Hidden: Ctrl+R first, then Alt+K. Had Ctrl+R shown it, Alt+K would hide it again.
    PressChord(VK_CONTROL, 'R');
    PressChord(VK_MENU, 'K');
    EXPECT_TRUE(WaitUntil([&] { return ShownInFrontWithFocus(brisq); })) << brisq.Describe();
}

TEST(SettingsDialog, TheTrayOptionAddsAndRemovesTheOneIconAtOnce) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    const int others = TrayIconsDrawn();
    for (int round = 0; round < 4; ++round) {
        bool on = round % 2 == 0;
        HWND settings = OpenSettings(brisq);
        ASSERT_NE(settings, nullptr) << round << " " << brisq.Describe();
        PostMessageA(GetDlgItem(settings, kIconInTray), BM_CLICK, 0, 0);
        PressDialogButton(settings, IDOK);
        ASSERT_TRUE(ClosedBackToTheLauncher(brisq, settings)) << round << " " << brisq.Describe();
        EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(brisq.Launcher()) == on; })) << round;
        EXPECT_TRUE(WaitUntil([&] { return TrayIconsDrawn() == others + (on ? 1 : 0); }))
            << round << ": " << TrayIconsDrawn() << " icons, " << others << " before";
        if (on && round == 0) SaveScreenshot("tray-icon-from-settings");
    }
}
