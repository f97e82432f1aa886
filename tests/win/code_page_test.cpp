#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "settings/settings_files.h"
#include "settings/settings_xml.h"
#include "text/system_code_page.h"

// The conversion decision with the code page injected, over the system's own
// conversions; the Windows refusals are simulated in the unit tests.
TEST(CodePages, AUtf8PageThroughTheSystemsConversionsKeepsEveryText) {
    CodePageConverter utf8(CP_UTF8, SystemWideConversions());
    const std::string file = "<aliases><alias alias=\"caf\xC3\xA9\" cmd=\"\xE2\x82\xAC \xF0\x9F\x98\x80\"/></aliases>";
    AliasTable table;
    AliasReadResult result = ReadAliasesXml(file, utf8, table);
    EXPECT_TRUE(result.loaded);
    EXPECT_TRUE(result.lossless);
    ASSERT_EQ(table.Count(), 1u);
    EXPECT_EQ(table[0].name, "caf\xC3\xA9");
    EXPECT_EQ(table[0].command, "\xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_NE(WriteAliasesXml(table, utf8).find("cmd=\"\xE2\x82\xAC \xF0\x9F\x98\x80\""), std::string::npos);

    CodePageConverter western(1252, SystemWideConversions());
    std::string ansi;
    EXPECT_TRUE(western.Utf8ToAnsi("caf\xC3\xA9 \xE2\x82\xAC", ansi));
    EXPECT_EQ(ansi, "caf\xE9 \x80");
    EXPECT_FALSE(western.Utf8ToAnsi("\xE2\x98\xBA", ansi)) << "no form in 1252";
}

// Runs in both Wine environments of the test script: code page 1252, and 65001.
TEST(CodePages, TheSystemPageStepsByItsOwnCharacters) {
    const char* locale = std::getenv("LC_ALL");
    if (locale && std::string(locale).find("UTF-8") != std::string::npos)
        ASSERT_EQ(GetACP(), UINT(CP_UTF8)) << "the UTF-8 run runs under another code page";
    const CodePage& page = SystemCodePage();
    const char euro[] = "\xE2\x82\xAC";
    if (GetACP() == CP_UTF8) {
        EXPECT_EQ(CharLength(page, euro, 0, 3), 3u);
        EXPECT_TRUE(page.IsDoubleByte());
        std::string ansi;
        EXPECT_TRUE(SystemAnsiUtf8Converter().Utf8ToAnsi(euro, ansi));
        EXPECT_EQ(ansi, euro);
    } else {
        CPINFO info{};
        ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
        EXPECT_EQ(page.IsDoubleByte(), info.MaxCharSize == 2);
        if (info.MaxCharSize == 1) EXPECT_EQ(CharLength(page, euro, 0, 3), 1u);
    }
}
