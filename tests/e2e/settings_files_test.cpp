#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "driver.h"

using namespace e2e;

namespace {
using testkit::kDefaultSettingsXml;
using testkit::kEmptyAliasesXml;

// Close caption button, then Yes: returns the exit code.
DWORD ExitThroughCloseButton(Brisq& brisq) {
    PostMessageA(GetDlgItem(brisq.Launcher(), 1019), BM_CLICK, 0, 0);
    HWND question = nullptr;
    if (!WaitUntil([&] { return (question = DialogWithCaption(brisq.ProcessId(), "Exit")) != nullptr; }))
        return STILL_ACTIVE;
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    return brisq.WaitForExit();
}
}  // namespace

TEST(SettingsFiles, FreshStartAndExitWriteBothFilesInTheProgramsForm) {
    Brisq brisq;
    ASSERT_FALSE(FileExists(brisq.Folder().File("settings.xml")));
    ASSERT_TRUE(brisq.Start());
    EXPECT_FALSE(FileExists(brisq.Folder().File("settings.xml"))) << "written at exit, not at start";
    ASSERT_EQ(ExitThroughCloseButton(brisq), 1019u);
    EXPECT_EQ(ReadFile(brisq.Folder().File("settings.xml")), kDefaultSettingsXml);
    EXPECT_EQ(ReadFile(brisq.Folder().File("aliases.xml")), kEmptyAliasesXml);
    EXPECT_FALSE(FileExists(brisq.Folder().File("settings.xml.tmp")));
    EXPECT_FALSE(FileExists(brisq.Folder().File("aliases.xml.tmp")));
}

// Nothing changed in Brisq: the files stay exactly as the user wrote them.
TEST(SettingsFiles, HandWrittenFilesSurviveStartAndExit) {
    Brisq brisq;
    WriteFile(brisq.Folder().File("aliases.xml"),
              "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<aliases>\r\n"
              "\t<alias alias=\"np\" cmd=\"notepad.exe\" note=\"mine\" />\r\n"
              "\t<alias alias=\"rec\" cmd='recorder.exe &quot;$param&quot;' />\r\n</aliases>\r\n");
    WriteFile(brisq.Folder().File("settings.xml"),
              "<settings><show><typed_urls val='0'/></show><general><start_with_windows val='0'/>"
              "<icon_in_tray val='0'/></general></settings>");
    const std::string aliases = ReadFile(brisq.Folder().File("aliases.xml"));
    const std::string settings = ReadFile(brisq.Folder().File("settings.xml"));
    ASSERT_TRUE(brisq.Start());
    ASSERT_EQ(ExitThroughCloseButton(brisq), 1019u);
    EXPECT_EQ(ReadFile(brisq.Folder().File("aliases.xml")), aliases);
    EXPECT_EQ(ReadFile(brisq.Folder().File("settings.xml")), settings);
}

// Edited by hand while Brisq runs, saved the way Notepad saves "Unicode" (in
// place, UTF-16 with a byte-order mark): the new alias completes within moments,
// and the exit leaves the user's file as the user wrote it.
TEST(SettingsFiles, AnAliasAddedByHandWhileRunningCompletesAndStays) {
    Brisq brisq;
    const std::string path = brisq.Folder().File("aliases.xml");
    WriteFile(path, "<aliases><alias alias=\"np\" cmd=\"notepad.exe\" /></aliases>");
    ASSERT_TRUE(brisq.Start());
    auto hasEntry = [&](const std::string& name) {
        for (const std::string& entry : brisq.DropDownEntries())
            if (entry == name) return true;
        return false;
    };
    ASSERT_TRUE(WaitUntil([&] { return hasEntry("np"); })) << "loaded";

    const char16_t edited[] = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<aliases>\r\n"
                              u"\t<alias alias=\"np\" cmd=\"notepad.exe\" />\r\n"
                              u"\t<alias alias=\"zebra\" cmd=\"recorder.exe\" />\r\n</aliases>\r\n";
    std::string unicode = "\xFF\xFE";
    for (char16_t unit : std::u16string_view(edited)) unicode += {char(unit & 0xFF), char(unit >> 8)};
    WriteFile(path, unicode);
    ASSERT_TRUE(WaitUntil([&] { return hasEntry("zebra"); })) << brisq.Describe();
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    TypeText("zeb");
    ASSERT_TRUE(WaitUntil([&] { return brisq.FieldText() == "zebra"; })) << brisq.Describe();
    SaveScreenshot("alias-added-by-hand", brisq.Launcher());

    ASSERT_EQ(ExitThroughCloseButton(brisq), 1019u);
    EXPECT_EQ(ReadFile(path), unicode);
    EXPECT_FALSE(FileExists(path + ".bad"));
}

TEST(SettingsFiles, ABrokenFileIsSetAsideAtExitNotLost) {
    Brisq brisq;
    const std::string broken = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<aliases>\n    <alias alias=\"np\" cmd=\"note";
    WriteFile(brisq.Folder().File("aliases.xml"), broken);
    ASSERT_TRUE(brisq.Start());
    EXPECT_EQ(ReadFile(brisq.Folder().File("aliases.xml")), broken);
    ASSERT_EQ(ExitThroughCloseButton(brisq), 1019u);
    EXPECT_EQ(ReadFile(brisq.Folder().File("aliases.xml.bad")), broken);
    EXPECT_EQ(ReadFile(brisq.Folder().File("aliases.xml")), kEmptyAliasesXml);
}

// The script runs these tests once more under the "Use Unicode UTF-8" code page.
// Brisq runs with UTF-8 as its own code page under either, so every text passes
// through unchanged (the tests of the settings files show how a program under
// 1252 keeps aside a file with a smiley it cannot hold).
TEST(SettingsFiles, NonAsciiAliasesSurviveStartAndExit) {
    const char* locale = std::getenv("LC_ALL");
    if (locale && std::string(locale).find("UTF-8") != std::string::npos) {
        ASSERT_EQ(GetACP(), 65001u) << "the UTF-8 run runs under another code page";
    }
    Brisq brisq;
    const std::string file =
        "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<aliases>\r\n"
        "    <alias alias=\"caf\xC3\xA9\" cmd=\"notepad.exe \xE2\x82\xAC.txt\" />\r\n"
        "    <alias alias=\"smile\" cmd=\"notepad.exe \xE2\x98\xBA.txt\" />\r\n</aliases>\r\n";
    WriteFile(brisq.Folder().File("aliases.xml"), file);
    ASSERT_TRUE(brisq.Start());
    std::vector<std::string> names = brisq.DropDownEntries();  // read back as UTF-8
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "caf\xC3\xA9");
    ASSERT_EQ(ExitThroughCloseButton(brisq), 1019u);
    EXPECT_EQ(ReadFile(brisq.Folder().File("aliases.xml")), file);
    EXPECT_FALSE(FileExists(brisq.Folder().File("aliases.xml.bad")));
}

TEST(SettingsFiles, TwentyThousandAliasesCompleteAndAreAllSavedBack) {
    Brisq brisq;
    std::string file = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<aliases>\r\n";
    char line[200];
    for (int i = 0; i < 20000; ++i) {
        std::snprintf(line, sizeof(line), "    <alias alias=\"alias%05d\" cmd=\"C:\\Tools\\tool%05d.exe $param\" />\r\n", i, i);
        file += line;
    }
    file += "</aliases>\r\n";
    WriteFile(brisq.Folder().File("aliases.xml"), file);
    ASSERT_TRUE(brisq.Start());
    EXPECT_EQ(SendMessageA(brisq.CommandBox(), CB_GETCOUNT, 0, 0), 20000);
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    TypeText("ALIAS1999");
    ASSERT_TRUE(WaitUntil([&] { return brisq.FieldText() == "alias19990"; })) << brisq.Describe();
    SaveScreenshot("twenty-thousand-aliases", brisq.Launcher());
    // The drop-down, filled without a redraw per name, draws its items.
    SendMessageA(brisq.CommandBox(), CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(brisq.CommandBox(), CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    SaveScreenshot("twenty-thousand-aliases-dropped", brisq.Launcher());
    SendMessageA(brisq.CommandBox(), CB_SHOWDROPDOWN, FALSE, 0);
    ASSERT_EQ(ExitThroughCloseButton(brisq), 1019u);
    EXPECT_EQ(ReadFile(brisq.Folder().File("aliases.xml")), file);
}
