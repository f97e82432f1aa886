#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/launcher_layout.h"
#include "controls/dpi_scale.h"
#include "controls/program_icon.h"
#include "controls/skin_drawing.h"

TEST(DpiScale, ScalesByTheRatioRoundingHalvesUp) {
    const struct {
        int value, dpi, scaled;
    } cases[] = {
        {491, 96, 491}, {491, 120, 614}, {491, 144, 737}, {491, 168, 859}, {491, 192, 982},
        {62, 120, 78},  // 77.5
        {1, 144, 2},    // 1.5: a one-pixel line becomes two
        {1, 120, 1},    // 1.25
        {12, 144, 18}, {12, 110, 14}, {0, 192, 0}, {-5, 144, -8},
    };
    for (const auto& c : cases) EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
    // Each edge on its own, so neighbours still meet.
    EXPECT_EQ(ScaleToDpi(PixelRect{416, 7, 436, 25}, 144), (PixelRect{624, 11, 654, 38}));
    EXPECT_EQ(ScaleToDpi(PixelRect{440, 7, 460, 25}, 144).left - ScaleToDpi(PixelRect{416, 7, 436, 25}, 144).right, 6);
}

TEST(DpiScale, PictureIsTheLargestDrawnOneThatFits) {
    const struct {
        int dpi;
        PictureChoice choice;
        int size;  // of a 16-pixel picture
    } cases[] = {
        {96, {100, 1}, 16},  {120, {125, 1}, 20}, {144, {150, 1}, 24}, {168, {175, 1}, 28},
        {192, {200, 1}, 32},
        {72, {100, 1}, 16},   // below 100 %: nothing smaller is drawn
        {110, {100, 1}, 16},  // between two drawn scales: the lower
        {143, {125, 1}, 20},
        {216, {200, 1}, 32},  // 225 %: 200 % itself beats 100 % doubled, the same size
        {240, {125, 2}, 40},  // 250 %: 125 % doubled, pixel for pixel
        {288, {150, 2}, 48},  // 300 %
        {384, {200, 2}, 64},  // 400 %
        {480, {125, 4}, 80},  // 500 %: of the equal sizes, the least enlarged
        {0, {100, 1}, 16},    {-96, {100, 1}, 16},
    };
    for (const auto& c : cases) {
        PictureChoice choice = ChoosePicture(c.dpi);
        EXPECT_EQ(choice, c.choice) << c.dpi << ": " << choice.scale << " x " << choice.factor;
        EXPECT_EQ(PictureSize(16, choice), c.size) << c.dpi;
        EXPECT_LE(PictureSize(16, choice), std::max(16, ScaleToDpi(16, c.dpi))) << c.dpi;
    }
    EXPECT_EQ(ChoosePicture(1 << 30).factor * ChoosePicture(1 << 30).scale, 1600);  // bounded, no overflow
}

TEST(LauncherLayout, SaneDpiKeepsWhatDisplaysOffer) {
    EXPECT_EQ(SaneDpi(96), 96);
    EXPECT_EQ(SaneDpi(480), 480);
    EXPECT_EQ(SaneDpi(0), 48);
    EXPECT_EQ(SaneDpi(65535), 768);
}

// The controls sit on the panel, clear of the lettering, at every DPI.
TEST(LauncherLayout, ControlsStayOnThePanelAndOffTheLettering) {
    for (int dpi : {96, 110, 120, 144, 168, 192, 240, 288}) {
        LauncherLayout layout = LayOutLauncher(dpi);
        SkinPicture skin = DrawSkin(dpi);
        PixelRect field = layout.commandBox;
        field.bottom = field.top + layout.commandFieldHeight;  // the rest is its dropped list
        for (const PixelRect& r : {field, layout.closeButton, layout.aboutButton, layout.settingsButton}) {
            ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= skin.width && r.bottom <= skin.height) << dpi;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) {
                    ASSERT_EQ(skin.At(x, y), kSkinPanel) << dpi << ": " << x << "," << y;
                }
        }
    }
    LauncherLayout at96 = LayOutLauncher(96);
    EXPECT_EQ(at96.commandBox, (PixelRect{12, 31, 480, 577}));
    EXPECT_EQ(at96.closeButton, (PixelRect{464, 7, 484, 25}));
}

namespace {
std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}
std::uint32_t Le(const std::vector<std::uint8_t>& d, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | d.at(at + std::size_t(i));
    return v;
}

// FNV-1a, 64 bits.
std::uint64_t HashOf(std::uint64_t hash, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) hash = (hash ^ (value >> (8 * i) & 0xFF)) * 0x100000001B3ull;
    return hash;
}
}  // namespace

// The design at 96 DPI, recorded once from the drawing when it still matched
// the bitmap it replaced pixel for pixel: its size, every pixel's ink and the inks' colours.
TEST(SkinDrawing, At96DpiIsTheDesign) {
    SkinPicture skin = DrawSkin(96);
    std::uint64_t hash = 0xCBF29CE484222325ull;
    hash = HashOf(HashOf(hash, std::uint64_t(skin.width), 4), std::uint64_t(skin.height), 4);
    for (std::uint8_t ink : skin.inks) hash = HashOf(hash, ink, 1);
    for (Colour colour : kSkinPalette) hash = HashOf(hash, colour, 4);
    EXPECT_EQ(hash, 0xA92586503495278Eull) << std::hex << hash;
}

// Drawn, not stretched: the same shape at every DPI, with lines and corners at its scale.
TEST(SkinDrawing, KeepsItsShapeAtEveryDpi) {
    for (int dpi : {96, 120, 144, 168, 192, 110, 288}) {
        SkinPicture skin = DrawSkin(dpi);
        const int line = std::max(1, ScaleToDpi(1, dpi)), margin = ScaleToDpi(2, dpi);
        EXPECT_EQ(skin.width, ScaleToDpi(491, dpi)) << dpi;
        EXPECT_EQ(skin.height, ScaleToDpi(62, dpi)) << dpi;
        // Corners cut away; the border as thick as a scaled line, on the middle row and column.
        EXPECT_EQ(skin.At(margin, margin), kSkinKey) << dpi;
        EXPECT_EQ(skin.At(skin.width - 1, skin.height - 1), kSkinKey) << dpi;
        const int middle = skin.height / 2;
        for (int x = 0; x < margin; ++x) EXPECT_EQ(skin.At(x, middle), kSkinKey) << dpi;
        for (int x = margin; x < margin + line; ++x) EXPECT_EQ(skin.At(x, middle), kSkinBorder) << dpi;
        EXPECT_EQ(skin.At(margin + line, middle), kSkinPanel) << dpi;
        int letters = 0;
        for (std::uint8_t ink : skin.inks) letters += ink == kSkinLetters;
        // Whole blocks of the 5 x 9 letters: their count grows with the square of the block.
        const int block = ScaleToDpi(2, dpi);
        EXPECT_EQ(letters % (block * block), 0) << dpi;
        EXPECT_EQ(letters, 66 * block * block) << dpi;  // 66 cells of ink in "Brisq"
    }
}

// Sizes the icon resource holds come out as res/draw_pictures.py drew them.
TEST(ProgramIcon, MatchesTheIconResourceAtItsSizes) {
    std::vector<std::uint8_t> ico = ReadAll(BRISQ_RES_DIR "/brisq.ico");
    ASSERT_GE(ico.size(), 6u);
    const int count = int(Le(ico, 4, 2));
    ASSERT_EQ(count, 2);
    for (int entry = 0; entry < count; ++entry) {
        const std::size_t at = 6 + 16 * std::size_t(entry);
        const int size = ico.at(at) ? ico.at(at) : 256;
        const std::size_t image = Le(ico, at + 12, 4), colours = image + 40;
        std::vector<IconPixel> drawn = DrawProgramIcon(size);
        ASSERT_EQ(drawn.size(), std::size_t(size) * std::size_t(size));
        int different = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                std::size_t p = colours + (std::size_t(size - 1 - y) * std::size_t(size) + std::size_t(x)) * 4;
                IconPixel stored{ico.at(p + 2), ico.at(p + 1), ico.at(p), ico.at(p + 3)};
                different += !(stored == drawn[std::size_t(y) * std::size_t(size) + std::size_t(x)]);
            }
        EXPECT_EQ(different, 0) << size;
    }
    EXPECT_TRUE(DrawProgramIcon(0).empty());
}
