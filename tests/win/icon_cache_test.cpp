#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "command/program_search.h"
#include "command/system_probe.h"
#include "common/files.h"
#include "settings/icon_cache.h"
#include "settings/icon_rules.h"
#include "text/system_code_page.h"

namespace {
int ShellIndex(const std::string& path) {
    SHFILEINFOA info{};
    return SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX) ? info.iIcon : -1;
}
std::string WindowsFolder() {
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}
}  // namespace

TEST(IconCache, HoldsTheShellsListAndTheInternetShortcutIcon) {
    IconCache& icons = IconCache::Instance();
    SHFILEINFOA info{};
    auto shared = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ASSERT_NE(icons.SystemImageList(), nullptr);
    EXPECT_EQ(icons.SystemImageList(), shared);
    int width = 0, height = 0;
    ImageList_GetIconSize(icons.SystemImageList(), &width, &height);
    EXPECT_EQ(width, GetSystemMetrics(SM_CXSMICON));

    // Asked by type, without a file of its own: the icon an Internet shortcut on disk has.
    testkit::TempFolder folder;
    testkit::WriteFile(folder.File("shortcut.url"), "");
    EXPECT_NE(icons.UrlIconIndex(), -1);
    EXPECT_EQ(icons.UrlIconIndex(), ShellIndex(folder.File("shortcut.url")));
}

TEST(IconCache, AnswersAsTheShellDoesAndFromItsRecord) {
    IconCache& icons = IconCache::Instance();
    std::string notepad = WindowsFolder() + "\\notepad.exe";
    ASSERT_NE(ShellIndex(notepad), -1);
    EXPECT_EQ(icons.GetIconIndex(notepad), ShellIndex(notepad));
    std::string ini = WindowsFolder() + "\\win.ini";
    ASSERT_NE(ShellIndex(ini), -1);
    EXPECT_EQ(icons.GetIconIndex(ini), ShellIndex(ini));
    // A missing .ini the shell knows nothing of gets the recorded type's icon.
    EXPECT_EQ(ShellIndex("C:\\no such folder\\x.ini"), -1);
    EXPECT_EQ(icons.GetIconIndex("C:\\no such folder\\x.ini"), ShellIndex(ini));
    EXPECT_EQ(icons.GetIconIndex("notepad C:\\no such folder\\x.ini"), ShellIndex(ini));
    EXPECT_EQ(icons.GetIconIndex("C:\\no such folder\\nodot"), -1);
}

// The program a command starts, found as a launch finds it, gives the icon:
// the shell knows nothing of a whole command line.
TEST(IconCache, AnAliasShowsTheIconOfTheProgramItsCommandStarts) {
    IconCache& icons = IconCache::Instance();
    SystemProbe probe;
    ProgramSearch search(probe, SystemCodePage());
    AliasIcons aliases(search, SystemCodePage(), icons.UrlIconIndex(),
                       [&icons](const std::string& path) { return icons.GetIconIndex(path); });
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string notepad = std::string(system) + "\\notepad.exe";
    ASSERT_NE(ShellIndex(notepad), -1);
    ASSERT_NE(ShellIndex(notepad), ShellIndex(WindowsFolder() + "\\win.ini"));
    EXPECT_EQ(aliases.IconOf("notepad %WINDIR%\\win.ini"), ShellIndex(notepad));
    EXPECT_EQ(aliases.IconOf("\"" + notepad + "\" /p"), ShellIndex(notepad));
    EXPECT_EQ(aliases.IconOf("example.com"), icons.UrlIconIndex());
}
