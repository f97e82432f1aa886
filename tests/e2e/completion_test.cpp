#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "common/start_menu_fixtures.h"
#include "driver.h"

using namespace e2e;

namespace {
std::pair<DWORD, DWORD> Selection(HWND edit) {
    LRESULT result = testkit::Ask(edit, EM_GETSEL, 0, 0, 0);
    return {LOWORD(result), HIWORD(result)};
}

// A shortcut in the user's Start menu for the length of a test.
class StartMenuShortcut {
public:
    StartMenuShortcut(const std::string& name, const std::string& target) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        char menu[MAX_PATH] = "";
        SHGetSpecialFolderPathA(nullptr, menu, CSIDL_STARTMENU, TRUE);
        folder_ = std::string(menu) + "\\Brisq E2E";
        CreateDirectoryA(folder_.c_str(), nullptr);
        file_ = folder_ + "\\" + name;
        saved_ = fixtures::SaveShortcut(file_, target);
    }
    ~StartMenuShortcut() {
        DeleteFileA(file_.c_str());
        RemoveDirectoryA(folder_.c_str());
        CoUninitialize();
    }
    bool Saved() const { return saved_; }

private:
    std::string folder_, file_;
    bool saved_ = false;
};
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
              "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<aliases>\r\n"
              "    <alias alias=\"привет\" cmd=\"recorder.exe\" />\r\n"
              "    <alias alias=\"日本語メモ\" cmd=\"notepad.exe\" />\r\n"
              "    <alias alias=\"επεξεργαστής\" cmd=\"notepad.exe\" />\r\n"
              "    <alias alias=\"مفكرة\" cmd=\"notepad.exe 📝.txt\" />\r\n</aliases>\r\n");
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    // To look at: every script drawn in the drop-down, none as bars.
    SendMessageA(brisq.CommandBox(), CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(brisq.CommandBox(), CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    SaveScreenshot("aliases-in-four-scripts-dropped", brisq.Launcher());
    SendMessageA(brisq.CommandBox(), CB_SHOWDROPDOWN, FALSE, 0);

    // The first letter completes to the same text already: wait for the second's completion.
    TypeText("пр");
    // Positions count the field's characters (UTF-16 units), as the user sees them.
    const std::pair<DWORD, DWORD> tail(2, 6);
    EXPECT_TRUE(WaitUntil([&] { return brisq.FieldText() == "привет" && Selection(brisq.CommandEdit()) == tail; }))
        << brisq.Describe() << " selected " << Selection(brisq.CommandEdit()).first << "-"
        << Selection(brisq.CommandEdit()).second;
    SaveScreenshot("cyrillic-alias-completed", brisq.Launcher());
    TypeText("ивет мир");
    ASSERT_TRUE(WaitUntil([&] { return brisq.FieldText() == "привет мир"; })) << brisq.Describe();
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !brisq.RecordedCommandLine().empty(); })) << brisq.Describe();
    // Found beside Brisq, the last place looked, and handed over by its full path.
    EXPECT_EQ(brisq.RecordedCommandLine(), "\"" + brisq.Folder().File("recorder.exe") + "\" мир");
    EXPECT_TRUE(WaitUntil([&] { return !brisq.IsShown(); }));
}
