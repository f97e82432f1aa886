#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "settings/settings_files.h"
#include "text/system_code_page.h"

// Runs in both Wine environments of the test script: code page 1252, and 65001.
TEST(CodePages, TheSystemPageStepsByItsOwnCharacters) {
    const char* locale = std::getenv("LC_ALL");
    if (locale && std::string(locale).find("UTF-8") != std::string::npos) {
        ASSERT_EQ(GetACP(), UINT(CP_UTF8)) << "the UTF-8 run runs under another code page";
    }
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
        if (info.MaxCharSize == 1) {
            EXPECT_EQ(CharLength(page, euro, 0, 3), 1u);
        }
    }
}
