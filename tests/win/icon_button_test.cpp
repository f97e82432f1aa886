#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "button_host.h"
#include "canvas.h"
#include "controls/icon_button.h"
#include "controls/skin_palette.h"
#include "res/resource.h"

namespace {
const int kWidth = 26, kHeight = 23;  // the Settings dialog's buttons, 17 x 14 dialog units
const COLORREF kMagenta = RGB(0xFF, 0x00, 0xFF);
using Point = std::pair<int, int>;

// Within a few steps on every channel: a gradient's second row is not quite its first colour.
bool Near(COLORREF a, COLORREF b, int steps = 4) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= steps && std::abs(GetGValue(a) - GetGValue(b)) <= steps &&
           std::abs(GetBValue(a) - GetBValue(b)) <= steps;
}

// What the button paints, pixel by pixel.
struct Picture {
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[y * kWidth + x]; }
    std::set<Point> Where(COLORREF colour) const {
        std::set<Point> found;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (At(x, y) == colour) found.insert({x, y});
        return found;
    }
    bool operator==(const Picture&) const = default;
};

class IconButtonTest : public testing::Test {
protected:
    static void SetUpTestSuite() { InitSkinPalette(); }

    Picture Paint() const {
        Canvas canvas(kWidth, kHeight, RGB(1, 2, 3));
        SendMessageA(host.Button(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
        Picture picture;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) picture.pixels.push_back(canvas.At(x, y));
        return picture;
    }
    // The pixels of the picture proper: neither the face nor the frame of the plain look.
    static std::set<Point> ImagePixels(const Picture& plain) {
        std::set<Point> image;
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (plain.At(x, y) != face) image.insert({x, y});
        return image;
    }

    ButtonHost<IconButton> host{"+", IDC_ADD_ALIAS, kWidth, kHeight};
    const SkinPalette& palette = SkinPalette::Instance();
};
}  // namespace

TEST_F(IconButtonTest, PlainLookIsThePictureCentredOnTheButtonFace) {
    ASSERT_TRUE(host.button.SetImageFromBitmap(16, IDB_ADD_ALIAS, kMagenta));
    Picture plain = Paint();
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int x = 0; x < kWidth; ++x) EXPECT_EQ(plain.At(x, 0), face) << x;  // the frame is invisible
    std::set<Point> image = ImagePixels(plain);
    ASSERT_GT(image.size(), 60u);
    EXPECT_TRUE(plain.Where(kMagenta).empty());  // the mask took the magenta away
    // Centred: the 16 x 16 cell starts at ((26 - 16) / 2, (23 - 16) / 2) = (5, 3).
    for (auto [x, y] : image) {
        EXPECT_GE(x, 5);
        EXPECT_LT(x, 21);
        EXPECT_GE(y, 3);
        EXPECT_LT(y, 19);
    }
    // A disabled button looks the same.
    EnableWindow(host.Button(), FALSE);
    EXPECT_EQ(Paint(), plain);
}

TEST_F(IconButtonTest, HotRaisesThePictureAboveItsSilhouetteOnTheHotGradient) {
    ASSERT_TRUE(host.button.SetImageFromBitmap(16, IDB_ADD_ALIAS, kMagenta));
    Picture plain = Paint();
    std::set<Point> image = ImagePixels(plain);
    host.Move(3, 3);
    ASSERT_TRUE(host.button.MouseOver());
    Picture hot = Paint();

    for (int x = 0; x < kWidth; ++x) {  // frame all round
        EXPECT_EQ(hot.At(x, 0), COLORREF(palette.frameColour)) << x;
        EXPECT_EQ(hot.At(x, kHeight - 1), COLORREF(palette.frameColour)) << x;
    }
    EXPECT_EQ(hot.At(0, kHeight / 2), COLORREF(palette.frameColour));
    EXPECT_EQ(hot.At(kWidth - 1, kHeight / 2), COLORREF(palette.frameColour));
    EXPECT_TRUE(Near(hot.At(2, 1), palette.hotTop));  // the gradient runs from the top...
    EXPECT_TRUE(Near(hot.At(2, kHeight - 2), palette.hotBottom));  // ...to the bottom

    // The picture moved one pixel up and left...
    for (auto [x, y] : image) EXPECT_EQ(hot.At(x - 1, y - 1), plain.At(x, y)) << x << "," << y;
    // ...and where it was and is no more, its silhouette shows.
    int silhouette = 0;
    for (auto [x, y] : image) {
        if (image.count({x + 1, y + 1})) continue;  // covered by the raised picture
        EXPECT_EQ(hot.At(x, y), COLORREF(palette.iconShadow)) << x << "," << y;
        ++silhouette;
    }
    EXPECT_GT(silhouette, 10);

    host.Leave();
    EXPECT_EQ(Paint(), plain);
}

TEST_F(IconButtonTest, PressedShowsThePressedGradientWithThePictureInPlace) {
    ASSERT_TRUE(host.button.SetImageFromBitmap(16, IDB_ADD_ALIAS, kMagenta));
    Picture plain = Paint();
    host.Press();  // pressed without the pointer having moved over it first
    ASSERT_TRUE(host.button.Pressed());
    Picture pressed = Paint();
    EXPECT_EQ(pressed.At(kWidth / 2, 0), COLORREF(palette.frameColour));
    EXPECT_TRUE(Near(pressed.At(2, 1), palette.pressedTop));
    EXPECT_TRUE(Near(pressed.At(2, kHeight - 2), palette.pressedBottom));
    for (auto p : ImagePixels(plain)) EXPECT_EQ(pressed.At(p.first, p.second), plain.At(p.first, p.second));
    EXPECT_TRUE(pressed.Where(COLORREF(palette.iconShadow)).empty());
    host.Release();
}

TEST_F(IconButtonTest, DisabledWhileHotDrawsNoSilhouette) {
    ASSERT_TRUE(host.button.SetImageFromBitmap(16, IDB_ADD_ALIAS, kMagenta));
    Picture plain = Paint();
    host.Move(3, 3);
    EnableWindow(host.Button(), FALSE);
    Picture picture = Paint();
    for (auto p : ImagePixels(plain)) EXPECT_EQ(picture.At(p.first, p.second), plain.At(p.first, p.second));
    EXPECT_TRUE(picture.Where(COLORREF(palette.iconShadow)).empty());
}

TEST_F(IconButtonTest, WithoutAPictureTheCaptionIsDrawnAndRaisedWhenHot) {
    // A font without smoothing, so the text's pixels are its two colours exactly.
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma");
    SendMessageA(host.Button(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ASSERT_FALSE(host.button.SetImageFromBitmap(16, 9999, kMagenta));  // no such bitmap: no image list

    COLORREF text = GetSysColor(COLOR_BTNTEXT), shadow = GetSysColor(COLOR_BTNSHADOW);
    std::set<Point> plainText = Paint().Where(text);
    ASSERT_GT(plainText.size(), 10u);
    host.Move(3, 3);
    Picture hot = Paint();
    std::set<Point> raised;
    for (auto [x, y] : plainText) raised.insert({x - 1, y - 1});
    EXPECT_EQ(hot.Where(text), raised);
    int shadowPixels = 0;
    for (auto p : plainText) {
        if (raised.count(p)) continue;
        EXPECT_EQ(hot.At(p.first, p.second), shadow);
        ++shadowPixels;
    }
    EXPECT_GT(shadowPixels, 3);
    DestroyWindow(host.Parent());
    DeleteObject(font);
}

TEST_F(IconButtonTest, PressDragOffAndReleaseSendsNothingAndLooksPlainAgain) {
    ASSERT_TRUE(host.button.SetImageFromBitmap(16, IDB_ADD_ALIAS, kMagenta));
    Picture plain = Paint();
    host.Press();
    host.Move(5, 60);
    EXPECT_FALSE(host.button.Pressed());
    EXPECT_EQ(Paint(), plain);
    host.Release(5, 60);
    EXPECT_EQ(host.clicks, 0);
    EXPECT_EQ(Paint(), plain);

    host.Press();
    host.Move(-10, 5);
    host.Move(6, 6);
    EXPECT_TRUE(host.button.Pressed());
    host.Release(6, 6);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_EQ(host.otherCommands, 0);
}
