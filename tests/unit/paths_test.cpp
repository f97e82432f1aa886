#include <gtest/gtest.h>

#include "settings/paths.h"
#include "simulated_code_pages.h"

TEST(PathInFolderOf, CutsAfterTheLastBackslashOfWholeCharacters) {
    SingleByteCodePage single;
    EXPECT_EQ(PathInFolderOf("C:\\Tools\\Brisq\\Brisq.exe", "aliases.xml", single), "C:\\Tools\\Brisq\\aliases.xml");
    EXPECT_EQ(PathInFolderOf("Brisq.exe", "settings.xml", single), "settings.xml");
    EXPECT_EQ(PathInFolderOf("", "settings.xml", single), "settings.xml");
    EXPECT_EQ(PathInFolderOf("C:\\", "a", single), "C:\\a");
    std::string deep = "C:\\" + std::string(300, 'd') + "\\Brisq.exe";
    EXPECT_EQ(PathInFolderOf(deep, "a.xml", single), "C:\\" + std::string(300, 'd') + "\\a.xml");

    // 0x95 0x5C is one double-byte character whose second byte looks like a backslash.
    SimulatedDoubleByteCodePage dbcs;
    EXPECT_EQ(PathInFolderOf("C:\\ab\\\x95\x5C.exe", "a.xml", dbcs), "C:\\ab\\a.xml");
    EXPECT_EQ(PathInFolderOf("C:\\ab\\\x95\x5C.exe", "a.xml", single), "C:\\ab\\\x95\\a.xml");
    EXPECT_EQ(PathInFolderOf("\x95\x5C\\x.exe", "a.xml", dbcs), "\x95\x5C\\a.xml");
}
