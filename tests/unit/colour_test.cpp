#include <gtest/gtest.h>

#include "controls/colour.h"

TEST(RoundedMulDiv, HalvesGoAwayFromZero) {
    EXPECT_EQ(RoundedMulDiv(7, 255, 10), 179);   // 178.5
    EXPECT_EQ(RoundedMulDiv(3, 255, 10), 77);    // 76.5
    EXPECT_EQ(RoundedMulDiv(-7, 255, 10), -179);
    EXPECT_EQ(RoundedMulDiv(7, -255, 10), -179);
    EXPECT_EQ(RoundedMulDiv(-7, -255, 10), 179);
    EXPECT_EQ(RoundedMulDiv(1, 14, 10), 1);      // 1.4
    EXPECT_EQ(RoundedMulDiv(1, 16, 10), 2);      // 1.6
    EXPECT_EQ(RoundedMulDiv(5, 7, -2), -18);     // -17.5
    EXPECT_EQ(RoundedMulDiv(1, 1, 0), -1);
    // The product does not overflow before the division.
    EXPECT_EQ(RoundedMulDiv(2000000000, 3, 4), 1500000000);
}

TEST(Colours, BlendWeighsTheSecondColourAndTruncates) {
    // (255 * 155 + 0 * 100) / 256 = 154.39 -> 154
    EXPECT_EQ(BlendColour(MakeColour(255, 255, 255), MakeColour(0, 0, 0), 100), MakeColour(154, 154, 154));
    // (0 * 155 + 255 * 100) / 256 = 99.6 -> 99
    EXPECT_EQ(BlendColour(MakeColour(0, 0, 0), MakeColour(255, 0, 10), 100), MakeColour(99, 0, 3));
    // Full weight still divides by 256, so white never comes back as 255.
    EXPECT_EQ(BlendColour(0, MakeColour(255, 255, 255), 255), MakeColour(254, 254, 254));
}

TEST(Colours, BlendWithTheInvalidColourIsInvalid) {
    EXPECT_EQ(BlendColour(MakeColour(10, 20, 30), kInvalidColour, 100), kInvalidColour);
    EXPECT_EQ(BlendColour(MakeColour(10, 20, 30), kInvalidColour, 0), kInvalidColour);
    // Only the second colour is checked.
    EXPECT_NE(BlendColour(kInvalidColour, 0, 100), kInvalidColour);
}

TEST(Colours, DarkenAndLightenRoundToNearest) {
    // 200 * 235 / 255 = 184.3 -> 184; 1 * 235 / 255 = 0.92 -> 1
    EXPECT_EQ(DarkenColour(20, MakeColour(200, 1, 255)), MakeColour(184, 1, 235));
    EXPECT_EQ(DarkenColour(0, MakeColour(7, 8, 9)), MakeColour(7, 8, 9));
    EXPECT_EQ(DarkenColour(255, MakeColour(7, 8, 9)), 0u);
    // 100 + 155 * 80 / 255 = 100 + 48.6 -> 149
    EXPECT_EQ(LightenColour(80, MakeColour(100, 255, 0)), MakeColour(149, 255, 80));
    EXPECT_EQ(LightenColour(255, MakeColour(1, 2, 3)), MakeColour(255, 255, 255));
}

TEST(Colours, MixClampsAtTheChannelMaximum) {
    // A white window and a highlight with full blue: 179 + 77 = 256 is held at 255.
    Colour mixed = MixColours(MakeColour(255, 255, 255), MakeColour(0x33, 0x99, 0xFF));
    EXPECT_EQ(BlueOf(mixed), 255);
    EXPECT_EQ(RedOf(mixed), 179 + 15);   // 0x33 * 0.3 = 15.3
    EXPECT_EQ(GreenOf(mixed), 179 + 46); // 0x99 * 0.3 = 45.9
    EXPECT_EQ(MixColours(0, 0), 0u);
    EXPECT_EQ(MixColours(MakeColour(10, 0, 0), MakeColour(0, 0, 0)), MakeColour(7, 0, 0));
}

namespace {
int reads = 0;
int PaletteDisplay() { ++reads; return 256; }
int TrueColourDisplay() { ++reads; return -1; }
int SixteenColourDisplay() { return 16; }
}  // namespace

TEST(SelectionTint, PaletteDisplaysUseThePlainWindowColour) {
    Colour window = MakeColour(255, 255, 255), highlight = MakeColour(0, 0, 128);
    DisplayColourCount palette(PaletteDisplay), sixteen(SixteenColourDisplay);
    EXPECT_EQ(SelectionTint(window, highlight, palette), window);
    EXPECT_EQ(SelectionTint(window, highlight, sixteen), window);
}

TEST(SelectionTint, RicherDisplaysMixInTheHighlight) {
    Colour window = MakeColour(255, 255, 255), highlight = MakeColour(0, 0, 128);
    DisplayColourCount count(TrueColourDisplay);
    EXPECT_EQ(SelectionTint(window, highlight, count), MixColours(window, highlight));
    EXPECT_EQ(count.Get(), 64000);  // "more than a palette" counts as 64000
}

TEST(SelectionTint, TheColourCountIsReadOnce) {
    reads = 0;
    DisplayColourCount count(PaletteDisplay);
    for (int i = 0; i < 5; ++i) SelectionTint(0, 0, count);
    EXPECT_EQ(reads, 1);
}

TEST(SkinPalette, EntriesFollowTheSystemColours) {
    SystemColours system{MakeColour(0x33, 0x99, 0xFF), MakeColour(255, 255, 255), MakeColour(0xF0, 0xF0, 0xF0), 0};
    DisplayColourCount trueColour(TrueColourDisplay);
    SkinPalette p = ComputeSkinPalette(system, trueColour);
    Colour tint = MixColours(system.window, system.highlight);
    EXPECT_EQ(p.frameColour, system.highlight);
    EXPECT_EQ(p.pressedTop, tint);
    EXPECT_EQ(p.pressedBottom, LightenColour(80, tint));
    EXPECT_EQ(p.hotTop, tint);
    EXPECT_EQ(p.hotBottom, DarkenColour(20, tint));
    EXPECT_EQ(p.iconShadow, MakeColour(0x91, 0x91, 0x91));  // 240 * 155 / 256 = 145.3

    DisplayColourCount palette(PaletteDisplay);
    SkinPalette plain = ComputeSkinPalette(system, palette);
    EXPECT_EQ(plain.pressedTop, system.window);
    EXPECT_EQ(plain.hotTop, system.window);
}
