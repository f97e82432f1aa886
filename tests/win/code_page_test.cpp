#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "text/system_code_page.h"
#include "text/system_conversion.h"

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

// Folded as the system's ordinal comparison folds, in whatever page the run gives.
TEST(CodePages, TheSystemFoldsCaseInEveryScriptItsPageHolds) {
    const CodePage& page = SystemCodePage();
    struct Row {
        const char* text;
        const char* folded;
    };
    const Row utf8[] = {
        {"\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 world", "\xD0\x9F\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2 WORLD"},
        {"\xCF\x83\xCE\xB1", "\xCE\xA3\xCE\x91"},  // Greek
        {"\xC3\x9F", "\xC3\x9F"},                  // sharp s: no upper case of one unit
        {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC"},
        {"\xD0\xBF\xD0", "\xD0\x9F\xD0"},          // a stray byte stays as it is
    };
    const Row ansi1252[] = {
        {"\xE9t\xE9", "\xC9T\xC9"},
        {"\xFF", "\x9F"},       // y diaeresis: its upper case is in 1252 too
        {"\xB5m", "\xB5M"},     // micro sign: its upper case (Greek Mu) is not
        {"\xDF", "\xDF"},
    };
    if (GetACP() == CP_UTF8) {
        for (const Row& row : utf8) EXPECT_EQ(FoldCase(row.text, page), row.folded) << row.text;
    } else if (GetACP() == 1252) {
        for (const Row& row : ansi1252) EXPECT_EQ(FoldCase(row.text, page), row.folded) << row.text;
    } else {
        GTEST_SKIP() << "no table for code page " << GetACP();
    }
}
