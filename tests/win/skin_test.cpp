#include <gtest/gtest.h>

#include "controls/drawing.h"
#include "controls/skin_painter.h"
#include "framework/dialog_object.h"
#include "res/resource.h"
#include "canvas.h"

namespace {
const COLORREF kKey = RGB(0xFF, 0x00, 0xFF);
const COLORREF kSentinel = RGB(0x12, 0x34, 0x56);

}  // namespace

TEST(SkinBitmap, IsTheEightBitPanelWithMagentaOutside) {
    Bitmap skin = SkinPainter::SkinBitmap(96);
    ASSERT_TRUE(skin);
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(skin.get(), sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 491);
    EXPECT_EQ(info.bmHeight, 62);
    EXPECT_EQ(info.bmBitsPixel, 8);

    MemoryDc dc(nullptr);
    SelectionGuard keep(dc.get(), skin.get());
    for (int x = 0; x < 491; ++x) {
        EXPECT_EQ(GetPixel(dc.get(), x, 0), kKey) << x;
        EXPECT_EQ(GetPixel(dc.get(), x, 1), kKey) << x;
        EXPECT_EQ(GetPixel(dc.get(), x, 61), kKey) << x;
    }
    for (int y = 0; y < 62; ++y) {
        EXPECT_EQ(GetPixel(dc.get(), 0, y), kKey) << y;
        EXPECT_EQ(GetPixel(dc.get(), 1, y), kKey) << y;
        EXPECT_EQ(GetPixel(dc.get(), 490, y), kKey) << y;
    }
    // Cut corners: the corner pixel of the border box is outside; the panel is white.
    EXPECT_EQ(GetPixel(dc.get(), 2, 2), kKey);
    EXPECT_EQ(GetPixel(dc.get(), 489, 60), kKey);
    EXPECT_EQ(GetPixel(dc.get(), 245, 40), RGB(255, 255, 255));
}

TEST(SkinPainter, RegionHoldsExactlyTheNonKeyPixels) {
    SkinPainter skin(kKey);
    skin.SetBitmap(SkinPainter::SkinBitmap(96));
    ASSERT_TRUE(skin.BuildRegion());

    Bitmap picture = SkinPainter::SkinBitmap(96);
    MemoryDc dc(nullptr);
    SelectionGuard keep(dc.get(), picture.get());
    int inside = 0, outside = 0, wrong = 0;
    for (int y = 0; y < 62; ++y)
        for (int x = 0; x < 491; ++x) {
            bool key = GetPixel(dc.get(), x, y) == kKey;
            bool inRegion = PtInRegion(skin.RegionHandle(), x, y) != FALSE;
            if (key == inRegion) ++wrong;
            (inRegion ? inside : outside)++;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(inside, 25000);
    EXPECT_GT(outside, 1000);
    RECT box{};
    EXPECT_EQ(GetRgnBox(skin.RegionHandle(), &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.top, 2);
    EXPECT_EQ(box.right, 490);
    EXPECT_EQ(box.bottom, 61);
}

TEST(SkinPainter, AllKeyRowsAddNothing) {
    Canvas allKey(7, 4, kKey);
    SkinPainter empty(kKey);
    empty.SetBitmap(allKey.TakeBitmap());
    ASSERT_TRUE(empty.BuildRegion());
    RECT box{};
    EXPECT_EQ(GetRgnBox(empty.RegionHandle(), &box), NULLREGION);

    // Row 1 is all key; row 2 ends in key pixels; the key match is exact.
    Canvas mixed(7, 3, RGB(255, 255, 255));
    FillSolid(mixed.dc(), RECT{0, 1, 7, 2}, kKey);
    FillSolid(mixed.dc(), RECT{4, 2, 7, 3}, kKey);
    SetPixel(mixed.dc(), 0, 0, RGB(0xFE, 0x00, 0xFF));
    SkinPainter skin(kKey);
    skin.SetBitmap(mixed.TakeBitmap());
    ASSERT_TRUE(skin.BuildRegion());
    for (int x = 0; x < 7; ++x) {
        EXPECT_TRUE(PtInRegion(skin.RegionHandle(), x, 0)) << x;
        EXPECT_FALSE(PtInRegion(skin.RegionHandle(), x, 1)) << x;
        EXPECT_EQ(PtInRegion(skin.RegionHandle(), x, 2) != FALSE, x < 4) << x;
    }
}

namespace {
// The launcher's template with nothing but the skin behind it.
class SkinnedDialog final : public DialogObject {
public:
    bool ProcessMessage(Message& m) override;

    explicit SkinnedDialog(bool withBitmap) : withBitmap_(withBitmap) {}
    bool applied = false;
    LONG_PTR styleBefore = 0, styleAfter = 0;
    RECT window{};
    LRESULT hitBefore = 0, hitAfter = 0;
    int regionType = ERROR;
    bool regionMatches = false;

private:
    void OnInit(Message& m) {
        POINT panel{40, 8};
        ClientToScreen(window_, &panel);
        hitBefore = SendMessageA(window_, WM_NCHITTEST, 0, MAKELPARAM(panel.x, panel.y));
        styleBefore = GetWindowLongPtrA(window_, GWL_STYLE);
        if (withBitmap_) skin_.SetBitmap(SkinPainter::SkinBitmap(96));
        applied = skin_.ApplySkin(window_);
        styleAfter = GetWindowLongPtrA(window_, GWL_STYLE);
        GetWindowRect(window_, &window);
        panel = POINT{window.left + 40, window.top + 8};
        hitAfter = SendMessageA(window_, WM_NCHITTEST, 0, MAKELPARAM(panel.x, panel.y));

        Region given(CreateRectRgn(0, 0, 0, 0));
        regionType = GetWindowRgn(window_, given.get());
        if (regionType != ERROR) {
            SkinPainter reference(kKey);
            reference.SetBitmap(SkinPainter::SkinBitmap(96));
            reference.BuildRegion();
            regionMatches = EqualRgn(given.get(), reference.RegionHandle()) != FALSE;
        }
        End(1);
        m.result = TRUE;
    }

    bool withBitmap_;
    SkinPainter skin_{kKey};
    static const MessageEntry<SkinnedDialog> kMessages[];
};
const MessageEntry<SkinnedDialog> SkinnedDialog::kMessages[] = {
    OnMessage(WM_INITDIALOG, &SkinnedDialog::OnInit),
    ChainTo<&SkinnedDialog::skin_>(),
};
bool SkinnedDialog::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }
}  // namespace

TEST(SkinPainter, ApplySkinShapesSizesAndCentresTheDialog) {
    SkinnedDialog dialog(true);
    ASSERT_EQ(dialog.RunModal(GetModuleHandleA(nullptr), IDD_LAUNCHER, nullptr), 1);
    ASSERT_TRUE(dialog.applied);
    // Only popup and system menu stay (the system adds clip-siblings to every top-level window).
    EXPECT_EQ(dialog.styleAfter & ~WS_CLIPSIBLINGS, dialog.styleBefore & 0x80080000);
    EXPECT_TRUE(dialog.styleBefore & WS_BORDER);
    EXPECT_EQ(dialog.window.right - dialog.window.left, 491);
    EXPECT_EQ(dialog.window.bottom - dialog.window.top, 62);
    EXPECT_EQ(dialog.window.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 491 / 2);
    EXPECT_EQ(dialog.window.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 62 / 2);
    EXPECT_EQ(dialog.regionType, COMPLEXREGION);
    EXPECT_TRUE(dialog.regionMatches);
    EXPECT_NE(dialog.hitBefore, HTCAPTION);  // not skinned yet: the handlers stay out of the way
    EXPECT_EQ(dialog.hitAfter, HTCAPTION);
}

TEST(SkinPainter, WithoutTheBitmapTheDialogKeepsItsPlainLook) {
    SkinnedDialog dialog(false);
    ASSERT_EQ(dialog.RunModal(GetModuleHandleA(nullptr), IDD_LAUNCHER, nullptr), 1);
    EXPECT_FALSE(dialog.applied);
    EXPECT_EQ(dialog.styleAfter, dialog.styleBefore);
    EXPECT_TRUE(dialog.styleAfter & WS_BORDER);
    EXPECT_EQ(dialog.regionType, ERROR);  // no region was given
    EXPECT_NE(dialog.hitAfter, HTCAPTION);
}

TEST(Drawing, FillSolidPaintsAndRestoresTheBackgroundColour) {
    Canvas canvas(8, 8, RGB(0, 0, 0));
    SetBkColor(canvas.dc(), kSentinel);
    FillSolid(canvas.dc(), RECT{2, 3, 5, 7}, RGB(10, 200, 30));
    EXPECT_EQ(GetBkColor(canvas.dc()), kSentinel);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 2 && x < 5 && y >= 3 && y < 7;
            EXPECT_EQ(canvas.At(x, y), inside ? RGB(10, 200, 30) : RGB(0, 0, 0)) << x << "," << y;
        }
}

TEST(Drawing, VerticalGradientRunsFromTheFirstColourToTheSecond) {
    const int height = 16;
    Canvas canvas(6, height, kSentinel);
    SetBkColor(canvas.dc(), kSentinel);
    FillGradient(canvas.dc(), RECT{0, 0, 6, height}, RGB(255, 255, 255), RGB(0, 0, 0), true);
    EXPECT_EQ(GetBkColor(canvas.dc()), kSentinel);
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(5, 0), RGB(255, 255, 255));
    // The last row is one step short of the far corner's colour: nearly black.
    COLORREF last = canvas.At(3, height - 1);
    EXPECT_LE(GetRValue(last), 255 / height + 1) << std::hex << last;
    EXPECT_EQ(GetRValue(last), GetBValue(last));
    int previous = 256;
    for (int y = 0; y < height; ++y) {
        COLORREF row = canvas.At(0, y);
        EXPECT_LT(GetRValue(row), previous) << y;
        previous = GetRValue(row);
        for (int x = 1; x < 6; ++x) EXPECT_EQ(canvas.At(x, y), row) << x << "," << y;  // even across a row
    }
}

TEST(Drawing, GradientOfEqualColoursIsSolid) {
    Canvas canvas(5, 5, kSentinel);
    SetBkColor(canvas.dc(), kSentinel);
    FillGradient(canvas.dc(), RECT{0, 0, 5, 5}, RGB(0xCC, 0xCC, 0xCC), RGB(0xCC, 0xCC, 0xCC), true);
    EXPECT_EQ(GetBkColor(canvas.dc()), kSentinel);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(canvas.At(x, y), RGB(0xCC, 0xCC, 0xCC)) << x << "," << y;
}

TEST(Drawing, Frame3dPaintsFourEdgesAndLeavesTheInside) {
    const COLORREF light = RGB(250, 250, 250), dark = RGB(60, 60, 60), inside = RGB(1, 2, 3);
    Canvas canvas(10, 10, inside);
    SetBkColor(canvas.dc(), kSentinel);
    DrawFrame3d(canvas.dc(), RECT{2, 1, 8, 6}, light, dark);  // x 2..7, y 1..5
    EXPECT_EQ(GetBkColor(canvas.dc()), kSentinel);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            COLORREF expected = inside;
            bool inFrame = x >= 2 && x <= 7 && y >= 1 && y <= 5;
            if (inFrame && (x == 7 || y == 5)) expected = dark;  // right and bottom, both far corners
            else if (inFrame && (y == 1 || x == 2)) expected = light;
            EXPECT_EQ(canvas.At(x, y), expected) << x << "," << y;
        }
}

TEST(Drawing, Frame3dOfAnEmptyRectanglePaintsNothing) {
    Canvas canvas(6, 6, RGB(1, 2, 3));
    DrawFrame3d(canvas.dc(), RECT{3, 1, 3, 5}, RGB(250, 250, 250), RGB(60, 60, 60));  // no width
    DrawFrame3d(canvas.dc(), RECT{1, 3, 5, 3}, RGB(250, 250, 250), RGB(60, 60, 60));  // no height
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(canvas.At(x, y), RGB(1, 2, 3)) << x << "," << y;
}
