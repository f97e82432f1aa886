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
