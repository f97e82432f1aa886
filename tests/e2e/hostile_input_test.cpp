#include <gtest/gtest.h>

#include <windows.h>

#include "driver.h"
#include "common/start_menu_fixtures.h"

using namespace e2e;
using testkit::Ask;

namespace {
const int kCloseButton = 1019;
const char kFileTooLong[] = "Command can not be run! Its program or file name is longer than 259 characters.";

// Brisq's own refusal: a box owned by the launcher, caption "Error" (the
// shell's own box has the caption too, but the desktop owns it).
HWND RefusalBox(const Brisq& brisq) {
    for (HWND box : WindowsOf(brisq.ProcessId(), "#32770"))
        if (IsWindowVisible(box) && WindowText(box) == "Error" && GetWindow(box, GW_OWNER) == brisq.Launcher())
            return box;
    return nullptr;
}

// Puts a line into the field as a paste would, and presses Enter.
void PasteAndRun(const Brisq& brisq, const std::string& line) {
    Ask(brisq.CommandBox(), WM_SETTEXT, 0, LPARAM(line.c_str()));
    PressKey(VK_RETURN);
}

// Runs a line Brisq must refuse; returns what the refusal said, once dismissed.
std::string RefusalOf(const Brisq& brisq, const std::string& line, const std::string& screenshot = "") {
    PasteAndRun(brisq, line);
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = RefusalBox(brisq)) != nullptr; })) return "<no refusal> " + brisq.Describe();
    std::string text = DialogItemText(box, 0xFFFF);
    if (!screenshot.empty()) SaveScreenshot(screenshot, box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
}

// A folder of the user's Start menu whose subfolders link back to it, across
// to each other and up to the menu's root, with a good shortcut and a
// truncated one. Removed again, links first and never followed.
class LoopingStartMenu {
public:
    explicit LoopingStartMenu(const std::string& target) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        char menu[MAX_PATH] = "";
        SHGetSpecialFolderPathA(nullptr, menu, CSIDL_STARTMENU, TRUE);
        menu_ = menu;
        std::string root = menu_ + "\\" + kName, a = root + "\\a", b = root + "\\b";
        built_ = fixtures::RemoveTree(menu_, kName) && CreateDirectoryA(root.c_str(), nullptr) &&
                 CreateDirectoryA(a.c_str(), nullptr) && CreateDirectoryA(b.c_str(), nullptr) &&
                 fixtures::SaveShortcut(a + "\\BrisqLoopTool.lnk", target) &&
                 fixtures::LinkFolder(a, "up", "..") && fixtures::LinkFolder(b, "again", "../a") &&
                 fixtures::LinkFolder(b, "top", "../..");
        WriteFile(b + "\\BrisqLoopCut.lnk", ReadFile(a + "\\BrisqLoopTool.lnk").substr(0, 120));
    }
    ~LoopingStartMenu() {
        fixtures::RemoveTree(menu_, kName);
        CoUninitialize();
    }
    bool Built() const { return built_; }

private:
    static constexpr const char* kName = "Brisq E2E Loop";
    std::string menu_;
    bool built_ = false;
};
}  // namespace

TEST(HostileInput, LinesTooLongForTheShellAreRefusedAndNothingIsLost) {
    Brisq brisq;
    const std::string huge(1000000, 'h');
    WriteFile(brisq.Folder().File("aliases.xml"),
              "<aliases><alias alias=\"pp\" cmd=\"$param$param$param\" />"
              "<alias alias=\"huge\" cmd=\"" + huge + "\" /></aliases>");
    // Under Wine the shell expands the file once more: a variable that names a long one.
    SetEnvironmentVariableA("BRISQ_E2E_NAMES_LONG", "%BRISQ_E2E_LONG%");
    SetEnvironmentVariableA("BRISQ_E2E_LONG", std::string(1100, 'v').c_str());
    bool started = brisq.Start();
    SetEnvironmentVariableA("BRISQ_E2E_NAMES_LONG", nullptr);
    SetEnvironmentVariableA("BRISQ_E2E_LONG", nullptr);
    ASSERT_TRUE(started);
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    const std::vector<std::string> before = brisq.DropDownEntries();

    // 997 characters without a blank crashed the shell; so did an alias's
    // $param filled past a thousand, an alias command of a million, and a
    // variable whose value the shell would expand past its limit.
    for (const std::string& line : {std::string(997, 'x'), "pp " + std::string(333, 'p'), std::string("huge"),
                                    std::string(1000000, 'm'), std::string("%BRISQ_E2E_NAMES_LONG%")}) {
        EXPECT_EQ(RefusalOf(brisq, line), kFileTooLong) << line.size();
        // It failed like any failing line: still shown, in the field, the lists untouched.
        EXPECT_TRUE(brisq.IsShown());
        EXPECT_EQ(Ask(brisq.CommandBox(), WM_GETTEXTLENGTH, 0, 0), LRESULT(line.size()));
        EXPECT_EQ(brisq.DropDownEntries(), before);
    }
    EXPECT_EQ(RefusalOf(brisq, "http://example.com/?q=" + std::string(1100, 'q'), "long-address-refused"),
              "Command can not be run! Its web address is longer than 996 characters.");
    ASSERT_FALSE(brisq.HasExited());

    // It ends normally, and saves the aliases whole.
    PostMessageA(GetDlgItem(brisq.Launcher(), kCloseButton), BM_CLICK, 0, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = DialogWithCaption(brisq.ProcessId(), "Exit")) != nullptr; }));
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(brisq.WaitForExit(), DWORD(kCloseButton));
    EXPECT_NE(ReadFile(brisq.Folder().File("aliases.xml")).find("cmd=\"" + huge + "\""), std::string::npos);
}

TEST(HostileInput, AStartMenuThatLinksBackToItselfIsWalkedOnce) {
    Brisq brisq;
    LoopingStartMenu menu(brisq.Folder().File("recorder.exe"));
    ASSERT_TRUE(menu.Built());
    // Two loops, one through the whole menu: the walk never ended before.
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    TypeText("brisqloopt");
    ASSERT_TRUE(WaitUntil([&] { return brisq.FieldText() == "brisqlooptool"; })) << brisq.Describe();
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
}

TEST(HostileInput, MessagesFromAnotherProgramCannotCrashIt) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    HWND box = brisq.CommandBox(), edit = brisq.CommandEdit(), launcher = brisq.Launcher();

    // Posted notifications carry addresses of this process, not of Brisq.
    for (HWND target : {box, edit, launcher}) {
        PostMessageA(target, WM_NOTIFY, 0, 0);
        PostMessageA(target, WM_NOTIFY, 1000, 0x10);
        PostMessageA(target, WM_NOTIFY + 0x2000, 0, 0);
    }
    PostMessageA(launcher, WM_INITDIALOG, 0, 0x10);
    // A window of this process carrying the property Brisq's framework once
    // kept its objects in, named as a command's sender, sent and posted.
    HWND decoy = CreateWindowExA(0, "STATIC", "decoy", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetPropA(decoy, "Brisq.WindowObject", HANDLE(0x10));
    Ask(box, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), LPARAM(decoy));
    PostMessageA(launcher, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), LPARAM(decoy));
    // And the same property put on Brisq's own command box.
    SetPropA(box, "Brisq.WindowObject", HANDLE(0x10));

    // All of them are behind Brisq once a later message has come back.
    EXPECT_EQ(Ask(launcher, WM_NULL, 0, 0), 0);
    EXPECT_FALSE(brisq.HasExited());
    DestroyWindow(decoy);
    // And it still works.
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    brisq.RunLine("recorder.exe foreign");
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    EXPECT_NE(brisq.RecordedCommandLine().find(" foreign"), std::string::npos) << brisq.RecordedCommandLine();
}
