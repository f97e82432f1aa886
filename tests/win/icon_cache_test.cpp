#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "common/files.h"
#include "settings/icon_cache.h"

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
