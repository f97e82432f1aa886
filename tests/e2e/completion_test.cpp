#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <commctrl.h>

#include "common/start_menu_fixtures.h"
#include "driver.h"

using namespace e2e;

namespace {
std::pair<DWORD, DWORD> Selection(HWND edit) {
    LRESULT result = testkit::Ask(edit, EM_GETSEL, 0, 0, 0);
    return {LOWORD(result), HIWORD(result)};
}

// A shortcut in the user's Start menu for the length of a test; folder and
// name in UTF-8, in any script.
class StartMenuShortcut {
public:
    StartMenuShortcut(const std::string& name, const std::string& target, const std::string& folder = "Brisq E2E") {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        wchar_t menu[MAX_PATH] = L"";
        SHGetSpecialFolderPathW(nullptr, menu, CSIDL_STARTMENU, TRUE);
        folder_ = std::wstring(menu) + L"\\" + testkit::Utf16(folder);
        CreateDirectoryW(folder_.c_str(), nullptr);
        file_ = folder_ + L"\\" + testkit::Utf16(name);
        saved_ = fixtures::SaveShortcut(file_, target);
    }
    ~StartMenuShortcut() {
        DeleteFileW(file_.c_str());
        RemoveDirectoryW(folder_.c_str());
        CoUninitialize();
    }
    bool Saved() const { return saved_; }

private:
    std::wstring folder_, file_;
    bool saved_ = false;
};

// Positions in the field's characters (UTF-16 units), as the user sees them.
using Chars = std::pair<DWORD, DWORD>;

bool Shows(const Brisq& brisq, const std::string& text, Chars selected) {
    return brisq.FieldText() == text && Selection(brisq.CommandEdit()) == selected;
}

std::string Described(const Brisq& brisq) {
    Chars selected = Selection(brisq.CommandEdit());
    return brisq.Describe() + " selected " + std::to_string(selected.first) + "-" + std::to_string(selected.second);
}

const char kAliasesHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<aliases>\r\n";
}  // namespace

TEST(Completion, AnAliasCompletesAndRunsWithItsParameter) {
    Brisq brisq;
    WriteFile(brisq.Folder().File("aliases.xml"), "<aliases><alias alias=\"np\" cmd=\"recorder.exe\" /></aliases>");
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    TypeText("n");
    ASSERT_TRUE(WaitUntil([&] { return brisq.FieldText() == "np"; })) << brisq.Describe();
    EXPECT_EQ(Selection(brisq.CommandEdit()), std::make_pair(DWORD(1), DWORD(2)));
    TypeText("p readme.txt");
    ASSERT_TRUE(WaitUntil([&] { return brisq.FieldText() == "np readme.txt"; })) << brisq.Describe();
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    std::string recorded = brisq.RecordedCommandLine();
    EXPECT_NE(recorded.find("recorder.exe"), std::string::npos) << recorded;
    EXPECT_EQ(recorded.substr(recorded.size() - 11), " readme.txt") << recorded;
    EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
}

TEST(Completion, AStartMenuShortcutRunsByItsName) {
    Brisq brisq;
    StartMenuShortcut shortcut("Brisq E2E Tool.lnk", brisq.Folder().File("recorder.exe"));
    ASSERT_TRUE(shortcut.Saved());
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    TypeText("Brisq E2E T");
    ASSERT_TRUE(WaitUntil([&] { return brisq.FieldText() == "brisq e2e tool"; })) << brisq.Describe();
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    EXPECT_NE(brisq.RecordedCommandLine().find("recorder.exe"), std::string::npos) << brisq.RecordedCommandLine();
    EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
}

// Brisq runs with UTF-8 as its code page under the system's own (1252 here):
// typed characters of two bytes arrive whole, complete with exactly the part not
// typed selected, and reach the launched program whole. (The source is UTF-8.)
TEST(Completion, ACyrillicAliasCompletesWithTheUntypedTailSelectedAndRunsWithItsArgument) {
    Brisq brisq;
    WriteFile(brisq.Folder().File("aliases.xml"),
              std::string(kAliasesHead) + "    <alias alias=\"привет\" cmd=\"recorder.exe\" />\r\n"
              "    <alias alias=\"日本語メモ\" cmd=\"notepad.exe\" />\r\n"
              "    <alias alias=\"επεξεργαστής\" cmd=\"notepad.exe\" />\r\n"
              "    <alias alias=\"مفكرة\" cmd=\"notepad.exe 📝.txt\" />\r\n</aliases>\r\n");
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    SendMessageA(brisq.CommandBox(), CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(brisq.CommandBox(), CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    SaveScreenshot("aliases-in-four-scripts-dropped", brisq.Launcher());
    SendMessageA(brisq.CommandBox(), CB_SHOWDROPDOWN, FALSE, 0);

    // The first letter completes to the same text already: wait for the second's completion.
    TypeText("пр");
    EXPECT_TRUE(WaitUntil([&] { return Shows(brisq, "привет", Chars(2, 6)); })) << Described(brisq);
    SaveScreenshot("cyrillic-alias-completed", brisq.Launcher());
    TypeText("ивет мир");
    ASSERT_TRUE(WaitUntil([&] { return brisq.FieldText() == "привет мир"; })) << brisq.Describe();
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    std::string recorded = brisq.RecordedCommandLine();
    EXPECT_NE(recorded.find("recorder.exe"), std::string::npos) << recorded;
    const std::string argument = " мир";
    ASSERT_GT(recorded.size(), argument.size());
    EXPECT_EQ(recorded.substr(recorded.size() - argument.size()), argument) << recorded;
    EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));

    // The Settings dialog lists the names (its command, as the tray menu sends it).
    PostMessageA(brisq.Launcher(), WM_COMMAND, 1021, 0);
    HWND settings = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (settings = DialogWithCaption(brisq.ProcessId(), "Settings")) != nullptr; }));
    EXPECT_EQ(testkit::Ask(GetDlgItem(settings, 1013), LVM_GETITEMCOUNT, 0, 0), 4);
    SaveScreenshot("settings-with-names-in-four-scripts", settings);
    PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(settings) && brisq.IsShown(); }));
}

TEST(Completion, ACjkNamedStartMenuShortcutCompletesAndRuns) {
    Brisq brisq;
    StartMenuShortcut shortcut("日本語メモ.lnk", brisq.Folder().File("recorder.exe"), "Ярлыки Brisq E2E");
    ASSERT_TRUE(shortcut.Saved());
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    TypeText("日本");
    EXPECT_TRUE(WaitUntil([&] { return Shows(brisq, "日本語メモ", Chars(2, 5)); })) << Described(brisq);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    EXPECT_NE(brisq.RecordedCommandLine().find("recorder.exe"), std::string::npos) << brisq.RecordedCommandLine();
    EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
}
