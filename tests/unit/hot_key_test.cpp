#include <gtest/gtest.h>

#include "settings/hot_key.h"

TEST(HotKey, ModifiersSwapShiftAndAlt) {
    EXPECT_EQ(TranslateHotKeyModifiers(1), 4u);
    EXPECT_EQ(TranslateHotKeyModifiers(4), 1u);
    EXPECT_EQ(TranslateHotKeyModifiers(2), 2u);
    EXPECT_EQ(TranslateHotKeyModifiers(5), 5u);
    EXPECT_EQ(TranslateHotKeyModifiers(3), 6u);
    EXPECT_EQ(TranslateHotKeyModifiers(7), 7u);
    EXPECT_EQ(TranslateHotKeyModifiers(8), 8u);
    EXPECT_EQ(TranslateHotKeyModifiers(0x31), 0x34u);
}

TEST(HotKey, TextNamesOneModifierAndTheKeyCharacter) {
    EXPECT_EQ(FormatHotKeyText(82, 2), "CTRL + R");
    EXPECT_EQ(FormatHotKeyText('7', 1), "SHIFT + 7");
    EXPECT_EQ(FormatHotKeyText('Q', 4), "ALT + Q");
    EXPECT_EQ(FormatHotKeyText('E', 8), "WIN + E");
    EXPECT_EQ(FormatHotKeyText('R', 3), " + R");
    EXPECT_EQ(FormatHotKeyText('R', 0), " + R");
    EXPECT_EQ(FormatHotKeyText(0x70, 2), "CTRL + p");   // F1 shows as its code's character
    EXPECT_EQ(FormatHotKeyText(0x152, 2), "CTRL + R");  // only the low byte counts
}

// The Settings dialog stores an emptied hot-key control as key 0 and flags 0;
// the text goes into the exit question, which must keep its closing ")".
TEST(HotKey, TextOfAnEmptyKeyHoldsNoNul) {
    EXPECT_EQ(FormatHotKeyText(0, 0), " + ");
    EXPECT_EQ(FormatHotKeyText(0x100, 2), "CTRL + ");  // low byte 0 as well
    std::string question = "(... Hot Keys - " + FormatHotKeyText(0, 0) + ")";
    EXPECT_EQ(std::string(question.c_str()), question);
}
