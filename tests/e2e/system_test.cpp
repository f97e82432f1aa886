// The launcher in the system: the global hot key, the Run value, the tray
// icon's messages and the registry-editor jump, seen from outside.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <thread>

#include "common/registry_editor.h"
#include "driver.h"

using namespace e2e;

namespace {
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const UINT kTrayIconId = 1;

bool PressCtrlR() { return PressChord(VK_CONTROL, 'R'); }

bool ShownInFrontWithFocus(const Brisq& brisq) {
    return brisq.IsShown() && brisq.IsForeground() && brisq.FocusWindow() == brisq.CommandEdit();
}

// The shell keeps an icon for a window and id; a modify succeeds only for one it holds.
bool TrayIconPresent(HWND owner) {
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V2_SIZE;
    probe.hWnd = owner;
    probe.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

HWND MenuOf(const Brisq& brisq) {
    for (HWND window : WindowsOf(brisq.ProcessId(), "#32768"))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

struct RunValue {
    DWORD type = 0;
    std::string data;
};

std::optional<RunValue> ReadRunValue() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    char data[4096];
    DWORD type = 0, size = sizeof(data);
    LONG status = RegQueryValueExA(key, "Brisq", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return {};
    return RunValue{type, std::string(data, size)};
}

void WriteRunValue(const std::optional<RunValue>& value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    if (value)
        RegSetValueExA(key, "Brisq", 0, value->type, reinterpret_cast<const BYTE*>(value->data.data()),
                       DWORD(value->data.size()));
    else
        RegDeleteValueA(key, "Brisq");
    RegCloseKey(key);
}

// Every start of Brisq brings the Run value in line with its settings, in
// every test of this program: the prefix gets its own value back at the end.
class KeepRunValue : public testing::Environment {
public:
    void SetUp() override { saved_ = ReadRunValue(); }
    void TearDown() override { WriteRunValue(saved_); }

private:
    std::optional<RunValue> saved_;
};
testing::Environment* const keepRunValue = testing::AddGlobalTestEnvironment(new KeepRunValue);

// Built by appending: GCC 12 warns wrongly about "\"" + string.
std::string Quoted(const std::string& path) {
    std::string quoted = "\"";
    quoted += path;
    quoted += '"';
    return quoted;
}

std::string Upper(std::string text) {
    CharUpperBuffA(text.data(), DWORD(text.size()));
    return text;
}
}  // namespace

TEST(HotKey, ShowsTheLauncherAndHidesItWhenInFront) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(WaitUntil([&] { return ShownInFrontWithFocus(brisq); })) << brisq.Describe();
    ASSERT_TRUE(PressCtrlR());
    ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); })) << brisq.Describe();
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(PressCtrlR());
        ASSERT_TRUE(WaitUntil([&] { return ShownInFrontWithFocus(brisq); })) << round << " " << brisq.Describe();
        ASSERT_TRUE(PressCtrlR());
        ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); })) << round << " " << brisq.Describe();
    }
}

TEST(HotKey, DoesNothingWhileTheExitQuestionIsOpen) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    brisq.Toggle();
    ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
    // The tray menu's Exit, while the window is hidden.
    PostMessageA(brisq.Launcher(), WM_COMMAND, 32777, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = DialogWithCaption(brisq.ProcessId(), "Exit")) != nullptr; }));
    ASSERT_TRUE(PressCtrlR());
    // The hot key's message is queued before the press returns: once what was posted is handled, so is it.
    ASSERT_TRUE(brisq.HandledAllPosted());
    EXPECT_FALSE(brisq.IsShown());
    EXPECT_TRUE(IsWindow(question));
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_FALSE(brisq.IsShown());

    ASSERT_TRUE(PressCtrlR());
    EXPECT_TRUE(WaitUntil([&] { return ShownInFrontWithFocus(brisq); })) << brisq.Describe();
}

// The box, then the Settings dialog; Cancel brings the box back, until the
// combination is free.
TEST(HotKey, ACombinationHeldByAnotherProgramGivesTheErrorBoxThenSettingsUntilItIsFree) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL, 'R')) << GetLastError();
    Brisq brisq;
    bool started = false;
    // The box comes while the launcher initialises, before its window shows;
    // the second one comes in front of the launcher.
    std::thread start([&] { started = brisq.StartUntilShown(); });
    auto answerBox = [&](int round) {
        HWND error = nullptr;
        bool appeared = WaitUntil([&] { return (error = FindWindowA("#32770", "Error")) != nullptr; });
        if (!appeared) return false;
        DWORD owner = 0;
        GetWindowThreadProcessId(error, &owner);
        EXPECT_EQ(owner, brisq.ProcessId()) << round;
        EXPECT_EQ(DialogItemText(error, 0xFFFF),
                  "Can't register Hot Key for application! It maybe because this hot keys combination is used for "
                  "anothre application.\nPlease select another Hot Key.")
            << round;
        EXPECT_NE(GetDlgItem(error, IDOK), nullptr);
        for (int other : {IDCANCEL, IDYES, IDNO, IDRETRY}) EXPECT_EQ(GetDlgItem(error, other), nullptr) << other;
        if (round == 0) SaveScreenshot("hot-key-error", error);
        PostMessageA(error, WM_COMMAND, IDOK, 0);
        return true;
    };
    auto settingsDialog = [&] {
        HWND settings = nullptr;
        WaitUntil([&] { return (settings = FindWindowA("#32770", "Settings")) != nullptr; });
        return settings;
    };
    bool box1 = answerBox(0);
    HWND settings = box1 ? settingsDialog() : nullptr;
    bool settings1 = settings != nullptr;
    // Cancelled, the launcher shows, and the box asks again in front of it.
    if (settings1) PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    start.join();
    bool box2 = settings1 && started && answerBox(1);
    settings = box2 ? settingsDialog() : nullptr;
    bool settings2 = settings != nullptr;
    UnregisterHotKey(nullptr, 1);
    if (settings2) {
        PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
        // Gone, and what followed its closing is done once Brisq answers again.
        WaitUntil([&] { return !IsWindow(settings); });
        testkit::Ask(brisq.Launcher(), WM_NULL, 0, 0);
    }
    EXPECT_TRUE(box1);
    EXPECT_TRUE(settings1);
    EXPECT_TRUE(box2) << "Cancel brings the box back";
    EXPECT_TRUE(settings2);
    EXPECT_TRUE(started);
    EXPECT_TRUE(brisq.IsShown());
    EXPECT_EQ(FindWindowA("#32770", "Error"), nullptr);
    bool free = RegisterHotKey(nullptr, 1, MOD_CONTROL, 'R');
    if (free) UnregisterHotKey(nullptr, 1);
    EXPECT_FALSE(free) << "Brisq holds the combination now";
}

TEST(RunValueAtStart, HoldsTheQuotedPathOfTheExecutable) {
    WriteRunValue(std::nullopt);
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    std::optional<RunValue> value = ReadRunValue();
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, DWORD(REG_SZ));
    std::string expected = Quoted(brisq.Folder().File("Brisq.exe"));
    EXPECT_EQ(lstrcmpiA(value->data.c_str(), expected.c_str()), 0) << value->data;
    EXPECT_EQ(value->data.size(), expected.size() + 1);  // with its NUL
}

TEST(RunValueAtStart, AnEqualValueIsLeftAndAnotherPathReplaced) {
    struct Case {
        const char* what;
        DWORD type;
        bool otherPath, upper;
        DWORD typeAfter;
        bool changed;
    };
    for (const Case& c : {Case{"other letter case", REG_SZ, false, true, REG_SZ, false},
                          Case{"expandable", REG_EXPAND_SZ, false, false, REG_EXPAND_SZ, false},
                          Case{"moved program", REG_SZ, true, false, REG_SZ, true}}) {
        Brisq brisq;
        std::string command = Quoted(brisq.Folder().File("Brisq.exe"));
        std::string present = c.otherPath ? "\"C:\\Moved\\Brisq.exe\"" : c.upper ? Upper(command) : command;
        WriteRunValue(RunValue{c.type, present + '\0'});
        ASSERT_TRUE(brisq.Start()) << c.what;
        std::optional<RunValue> value = ReadRunValue();
        ASSERT_TRUE(value) << c.what;
        EXPECT_EQ(value->type, c.typeAfter) << c.what;
        if (c.changed) EXPECT_EQ(lstrcmpiA(value->data.c_str(), command.c_str()), 0) << c.what << ": " << value->data;
        else EXPECT_EQ(value->data, present + '\0') << c.what;
    }
}

namespace {
// The icon's own messages, as the shell sends them for clicks on it.
void PostTrayEvent(const Brisq& brisq, UINT id, UINT mouse) {
    PostMessageA(brisq.Launcher(), RegisterWindowMessageA("TaskbarNotifyMsg"), id, mouse);
}
}  // namespace

TEST(Tray, NoIconWithTheSettingOffNotEvenAfterTheTaskbarRestarts) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    EXPECT_FALSE(TrayIconPresent(brisq.Launcher()));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, testkit::kReplyTimeoutMs,
                        &result);
    // The launcher has handled the broadcast once it answers a message sent after it.
    ASSERT_EQ(testkit::Ask(brisq.Launcher(), WM_NULL, 0, 0), 0);
    EXPECT_FALSE(TrayIconPresent(brisq.Launcher()));
    EXPECT_FALSE(brisq.HasExited());
}

TEST(Tray, LeftClickShowsTheHiddenLauncherAndRightClickOffersExit) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(WaitUntil([&] { return ShownInFrontWithFocus(brisq); })) << brisq.Describe();
    brisq.Toggle();
    ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));

    PostTrayEvent(brisq, kTrayIconId, WM_MOUSEMOVE);
    PostTrayEvent(brisq, kTrayIconId, WM_LBUTTONUP);
    PostTrayEvent(brisq, kTrayIconId + 1, WM_LBUTTONDOWN);  // not our icon
    ASSERT_TRUE(brisq.HandledAllPosted());
    EXPECT_FALSE(brisq.IsShown());
    PostTrayEvent(brisq, kTrayIconId, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return ShownInFrontWithFocus(brisq); })) << brisq.Describe();

    PostTrayEvent(brisq, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = MenuOf(brisq)) != nullptr; }));
    SaveScreenshot("tray-menu", menu);
    PressKey(VK_UP);  // from no selection to the last item, "Exit"
    PressKey(VK_RETURN);
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = DialogWithCaption(brisq.ProcessId(), "Exit")) != nullptr; }));
    EXPECT_EQ(MenuOf(brisq), nullptr);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(brisq.WaitForExit(), 32777u);
}

namespace {
using testkit::RegistryEditor;
using testkit::RegistryEditorStatus;

bool StatusNames(const std::string& path) {
    std::string status = RegistryEditorStatus();
    return status.size() > path.size() && status.compare(status.size() - path.size(), path.size(), path) == 0 &&
           status[status.size() - path.size() - 1] == '\\';
}

// The launcher's thread is held for the whole jump, the editor's cold start
// included; every wait of the jump is bounded, and together they stay well below this.
const auto kJumpDeadline = std::chrono::seconds(60);

class RegistryJumpLine : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegistryEditor(), nullptr) << "a registry editor is already open on this desktop";
    }
    void TearDown() override { EXPECT_TRUE(testkit::CloseRegistryEditor()); }
    // Types the line as a user would; the launcher hides as after any run.
    void Jump(const Brisq& brisq, const std::string& line) const {
        ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
        brisq.RunLine(line);
        // The run is over once the line heads the drop-down, which the launcher
        // cannot be asked about before its thread is back from the jump.
        ASSERT_TRUE(WaitUntil([&] {
            if (!SendMessageTimeoutA(brisq.Launcher(), WM_NULL, 0, 0, SMTO_BLOCK, 1000, nullptr)) return false;
            std::vector<std::string> entries = brisq.DropDownEntries();
            // Completion gives typed letters the case of an earlier line that begins alike.
            return !entries.empty() && lstrcmpiA(entries.front().c_str(), line.c_str()) == 0;
        }, kJumpDeadline)) << brisq.Describe();
        EXPECT_FALSE(brisq.IsShown());
        EXPECT_TRUE(WaitUntil([&] { return RegistryEditor() && GetForegroundWindow() == RegistryEditor(); }));
    }
};
}  // namespace

TEST_F(RegistryJumpLine, StartsTheEditorAndThenMovesItFromAnotherDeepKey) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_NO_FATAL_FAILURE(Jump(brisq, "HKEY_CURRENT_USER\\Software\\Wine"));
    ASSERT_TRUE(WaitUntil([&] { return StatusNames("HKEY_CURRENT_USER\\Software\\Wine"); })) << RegistryEditorStatus();
    SaveScreenshot("registry-jump", RegistryEditor());

    ASSERT_NO_FATAL_FAILURE(Jump(brisq, "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion"));
    ASSERT_TRUE(WaitUntil([&] { return StatusNames("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion"); }))
        << RegistryEditorStatus();
    ASSERT_NO_FATAL_FAILURE(Jump(brisq, "HKEY_CURRENT_USER\\Software\\Wine"));
    EXPECT_TRUE(WaitUntil([&] { return StatusNames("HKEY_CURRENT_USER\\Software\\Wine"); })) << RegistryEditorStatus();
    EXPECT_EQ(WindowsOf(0, "RegEdit_RegEdit").size(), 0u);  // the driver owns none
}

TEST_F(RegistryJumpLine, LowerCaseNamesAndAMissingKey) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_NO_FATAL_FAILURE(Jump(brisq, "HKEY_current_user\\software\\wine"));
    ASSERT_TRUE(WaitUntil([&] { return StatusNames("HKEY_CURRENT_USER\\Software\\Wine"); })) << RegistryEditorStatus();
    ASSERT_NO_FATAL_FAILURE(Jump(brisq, "HKEY_CURRENT_USER\\Software\\NoSuchBrisqKey\\Deeper"));
    EXPECT_TRUE(WaitUntil([&] { return StatusNames("HKEY_CURRENT_USER\\Software"); })) << RegistryEditorStatus();
}

// Brisq on UTF-8, the editor on the system's code page: the labels are read as
// UTF-16, whole, and the key's path is typed in any script. (The source is UTF-8.)
TEST_F(RegistryJumpLine, KeysWithNamesInOtherScripts) {
    const std::wstring top = L"Software\\Brisq E2E Ключи", key = top + L"\\日本語\\Ελληνικά";
    HKEY made = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &made, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(made);
    struct Remove {
        std::wstring key;
        ~Remove() { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); }
    } remove{top};
    const std::string path = "HKEY_CURRENT_USER\\" + testkit::Utf8(key);
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_NO_FATAL_FAILURE(Jump(brisq, path));
    EXPECT_TRUE(WaitUntil([&] { return StatusNames(path); })) << RegistryEditorStatus();
    SaveScreenshot("registry-jump-names-in-other-scripts", RegistryEditor());
}

namespace {
void WriteSettings(const Brisq& brisq, const std::string& general) {
    WriteFile(brisq.Folder().File("settings.xml"), "<settings><general>" + general + "</general></settings>");
}

// A click where the shell draws the first icon, as the mouse would give it.
void ClickFirstTrayIcon(UINT down, UINT up) {
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    PostMessageA(tray, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(1013, 10));
    PostMessageA(tray, up, 0, MAKELPARAM(1013, 10));
}
}  // namespace

TEST(HotKey, AChangedCombinationInTheSettingsWorksAndTheOldOneIsFree) {
    Brisq brisq;
    WriteSettings(brisq, "<hot_key key=\"75\" mod=\"4\"/>");  // Alt+K
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(RegisterHotKey(nullptr, 2, MOD_CONTROL, 'R')) << "Brisq still holds Ctrl+R";
    UnregisterHotKey(nullptr, 2);
    EXPECT_FALSE(RegisterHotKey(nullptr, 2, MOD_ALT, 'K')) << "Brisq does not hold Alt+K";

    ASSERT_TRUE(WaitUntil([&] { return ShownInFrontWithFocus(brisq); })) << brisq.Describe();
    PressChord(VK_MENU, 'K');
    ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); })) << brisq.Describe();
    PressChord(VK_MENU, 'K');
    ASSERT_TRUE(WaitUntil([&] { return ShownInFrontWithFocus(brisq); })) << brisq.Describe();

    PostMessageA(brisq.Launcher(), WM_COMMAND, 32777, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = DialogWithCaption(brisq.ProcessId(), "Exit")) != nullptr; }));
    EXPECT_NE(DialogItemText(question, 0xFFFF).find("Hot Keys - ALT + K)"), std::string::npos);
    PostMessageA(question, WM_COMMAND, IDNO, 0);
}

TEST(RunValueAtStart, TheSettingOffDeletesTheValue) {
    WriteRunValue(RunValue{REG_SZ, std::string("\"C:\\Old\\Brisq.exe\"") + '\0'});
    Brisq brisq;
    WriteSettings(brisq, "<start_with_windows val=\"0\"/>");
    ASSERT_TRUE(brisq.Start());
    EXPECT_FALSE(ReadRunValue());
}

TEST(TrayShown, OneIconThatClicksShowTheLauncherAndOfferTheMenu) {
    Brisq brisq;
    WriteSettings(brisq, "<icon_in_tray val=\"1\"/>");
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(brisq.Launcher()); }));
    SaveScreenshot("tray-icon");

    brisq.Toggle();
    ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
    ClickFirstTrayIcon(WM_LBUTTONDOWN, WM_LBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return ShownInFrontWithFocus(brisq); })) << brisq.Describe();
    // Somewhere no show would put it, so a second show would be seen.
    SetWindowPos(brisq.Launcher(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT before{}, after{};
    GetWindowRect(brisq.Launcher(), &before);
    ClickFirstTrayIcon(WM_LBUTTONDOWN, WM_LBUTTONUP);  // already shown: nothing changes
    ASSERT_EQ(testkit::Ask(brisq.Launcher(), WM_NULL, 0, 0), 0);
    // The shell hands the clicks on in order, so once the right click's menu is
    // open the left click has been handled.
    ClickFirstTrayIcon(WM_RBUTTONDOWN, WM_RBUTTONUP);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = MenuOf(brisq)) != nullptr; }));
    GetWindowRect(brisq.Launcher(), &after);
    EXPECT_TRUE(brisq.IsShown());
    EXPECT_TRUE(EqualRect(&before, &after)) << before.left << "," << before.top << " -> " << after.left << ","
                                            << after.top;
    PressKey(VK_UP);
    PressKey(VK_RETURN);
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = DialogWithCaption(brisq.ProcessId(), "Exit")) != nullptr; }));
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(brisq.WaitForExit(), 32777u);
}

TEST(TrayShown, ATaskbarRestartBringsTheIconBack) {
    Brisq brisq;
    WriteSettings(brisq, "<icon_in_tray val=\"1\"/>");
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(brisq.Launcher()); }));
    NOTIFYICONDATAA forget{};
    forget.cbSize = NOTIFYICONDATAA_V2_SIZE;
    forget.hWnd = brisq.Launcher();
    forget.uID = kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &forget));  // what a restarted shell has lost
    ASSERT_FALSE(TrayIconPresent(brisq.Launcher()));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, testkit::kReplyTimeoutMs,
                        &result);
    EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(brisq.Launcher()); }));
    EXPECT_FALSE(brisq.HasExited());
}
