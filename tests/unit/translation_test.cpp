#include <gtest/gtest.h>

#include <string>

#include "about/translation.h"

namespace {
const std::uint16_t kGerman = 0x0407, kEnglishUs = 0x0409, kFrench = 0x040C, kSwissGerman = 0x0807;
const std::uint16_t kUnicode = 1200, kWestern = 1252;

std::uint16_t LanguageChosen(const std::vector<Translation>& table, std::uint16_t user) {
    std::optional<Translation> chosen = ChooseTranslation(table, user);
    return chosen ? chosen->language : 0xFFFF;
}
}  // namespace

TEST(Translation, TheUsersLanguageThenItsPrimaryThenNeutralThenEnglishThenTheFirst) {
    const std::vector<Translation> germanEnglish = {{kGerman, kWestern}, {kEnglishUs, kUnicode}};
    EXPECT_EQ(LanguageChosen(germanEnglish, kGerman), kGerman);
    EXPECT_EQ(LanguageChosen(germanEnglish, kEnglishUs), kEnglishUs);
    EXPECT_EQ(LanguageChosen(germanEnglish, kFrench), kEnglishUs);  // not the first entry
    EXPECT_EQ(LanguageChosen(germanEnglish, kSwissGerman), kGerman);  // same primary language
    EXPECT_EQ(ChooseTranslation(germanEnglish, kFrench)->codePage, kUnicode);

    // Neutral before English; exactly 0 before another neutral-primary entry.
    EXPECT_EQ(LanguageChosen({{kGerman, 0}, {kEnglishUs, 0}, {0x0400, 0}, {0x0000, 0}}, kFrench), 0x0000);
    EXPECT_EQ(LanguageChosen({{kGerman, 0}, {kEnglishUs, 0}, {0x0400, 0}}, kFrench), 0x0400);
    EXPECT_EQ(LanguageChosen({{kGerman, 0}, {0x0809, 0}, {0x0009, 0}}, kFrench), 0x0009);
    EXPECT_EQ(LanguageChosen({{kGerman, 0}, {0x0809, 0}}, kFrench), 0x0809);
    EXPECT_EQ(LanguageChosen({{kGerman, 0}, {0x0410, 0}}, kFrench), kGerman);
    EXPECT_EQ(ChooseTranslation({}, kFrench), std::nullopt);
}

TEST(Translation, TableIsLanguageAndCodePageWordsAndThePrefixIsUpperHex) {
    const std::string bytes("\x07\x04\xE4\x04\x09\x04\xB0\x04\x01", 9);  // a partial entry at the end
    std::vector<Translation> table = ParseTranslationTable(bytes);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].language, kGerman);
    EXPECT_EQ(table[0].codePage, kWestern);
    EXPECT_EQ(table[1].language, kEnglishUs);
    EXPECT_EQ(table[1].codePage, kUnicode);
    EXPECT_TRUE(ParseTranslationTable("").empty());
    EXPECT_EQ(StringFileInfoPrefix(table[1]), "\\StringFileInfo\\040904B0\\");
    EXPECT_EQ(StringFileInfoPrefix({0xABCD, 0x0001}), "\\StringFileInfo\\ABCD0001\\");
}
