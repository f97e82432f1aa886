#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "richtext/markup_label.h"
#include "text/system_code_page.h"
#include "window_picture.h"

namespace {
// A visible popup with one static control taken over by a markup label.
class LabelHost {
public:
    explicit LabelHost(int width = 300, int height = 120) {
        parent_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 50, 50, width + 20, height + 20, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        HWND control = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, width, height, parent_,
                                       nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        label.Attach(control);
    }
    ~LabelHost() { DestroyWindow(parent_); }
    HWND Label() const { return label.Handle(); }
    void Show(const char* markup) { SetWindowTextA(Label(), markup); }

    MarkupLabel label;

private:
    HWND parent_;
};

// Forwards to the GDI device and notes where each piece went.
class RecordingDevice final : public MarkupDevice {
public:
    struct Piece {
        int x, y;
        std::string text;
    };
    explicit RecordingDevice(MarkupDevice& real) : real_(real) {}
    void ClearFonts() override { real_.ClearFonts(); }
    int AddFont(const FontDescription& d) override { return real_.AddFont(d); }
    void SelectStyle(const MarkupStyle& s) override { real_.SelectStyle(s); }
    TextSize Measure(std::string_view t) override { return real_.Measure(t); }
    void Draw(int x, int y, std::string_view t, std::int32_t a) override {
        pieces.push_back({x, y, std::string(t)});
        real_.Draw(x, y, t, a);
    }
    std::vector<Piece> pieces;

private:
    MarkupDevice& real_;
};

// Lays the markup out and draws it on a memory DC with real fonts.
struct RealLayout {
    explicit RealLayout(const std::string& markup, int width = 200) {
        HDC dc = CreateCompatibleDC(nullptr);
        RECT client{0, 0, width, 400};
        GdiMarkupDevice gdi(dc, fonts, client);
        RecordingDevice recording(gdi);
        LOGFONTA base{};
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);
        MarkupColours colours{GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNFACE)};
        int saved = SaveDC(dc);
        MarkupCacheKey key{ToMarkupRect(client), colours.text, colours.background, 1, MarkupTextHash(markup),
                           markup.size()};
        layout.Layout(markup, key, DescribeFont(base), colours, SystemMarkupCharacters(), recording);
        layout.Replay(markup, key.client, SystemCodePage(), recording);
        RestoreDC(dc, saved);
        DeleteDC(dc);
        pieces = recording.pieces;
    }
    int FontHeight(std::size_t i) const { return layout.Fonts().at(i).height; }

    MarkupLayout layout;
    std::vector<Font> fonts;
    std::vector<RecordingDevice::Piece> pieces;
};
}  // namespace

TEST(MarkupLabel, ABoldRunIsDrawnWiderThanTheSameRunPlain) {
    LabelHost host;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    host.Show("MMMMMMMMMM");
    WindowPicture plain(host.Label());
    host.Show("<B>MMMMMMMMMM</B>");
    WindowPicture bold(host.Label());
    EXPECT_GT(plain.RightmostInk(face), 30);
    EXPECT_GT(bold.RightmostInk(face), plain.RightmostInk(face));
    EXPECT_EQ(bold.At(bold.Width() - 1, bold.Height() - 1), face);  // the background is filled

    RealLayout real("<B>Brisq</B>|<BR>Brisq</B>|");  // the second /B only ends the run
    ASSERT_EQ(real.pieces.size(), 4u);
    EXPECT_GT(real.pieces[1].x, real.pieces[3].x);  // the bar after the bold word stands further right
    EXPECT_EQ(real.pieces[3].y, real.FontHeight(0));
}

TEST(MarkupLabel, AWrapMovesDownByTheLinesLargestHeight) {
    RealLayout real("<FONT SIZE=6>A</FONT> one two three four five six seven eight", 150);
    ASSERT_GE(real.pieces.size(), 3u);
    ASSERT_EQ(real.layout.Fonts().size(), 2u);
    int big = real.FontHeight(1), small = real.FontHeight(0);
    EXPECT_GT(big, small);
    EXPECT_EQ(real.pieces[1].y, 0);  // the small text starts at the top of the line, beside the big A
    EXPECT_EQ(real.pieces[2].x, 0);
    EXPECT_EQ(real.pieces[2].y, big);
    for (std::size_t i = 3; i < real.pieces.size(); ++i) EXPECT_EQ(real.pieces[i].y, big + int(i - 2) * big);

    RealLayout broken("<FONT SIZE=6>A</FONT>b<BR>c");
    EXPECT_EQ(broken.pieces.back().text, "c");
    EXPECT_EQ(broken.pieces.back().y, big);
}

TEST(MarkupLabel, AnUnchangedTextIsNotLaidOutAgain) {
    LabelHost host;
    host.Show("<B>Brisq</B> label");  // repaints at once
    EXPECT_EQ(host.label.Layout().LayoutCount(), 1u);
    InvalidateRect(host.Label(), nullptr, TRUE);
    UpdateWindow(host.Label());
    WindowPicture again(host.Label());
    host.Show("<B>Brisq</B> label");
    EXPECT_EQ(host.label.Layout().LayoutCount(), 1u);

    host.Show("<B>Brisq</B> label!");
    EXPECT_EQ(host.label.Layout().LayoutCount(), 2u);
    SetWindowPos(host.Label(), nullptr, 0, 0, 250, 100, SWP_NOMOVE | SWP_NOZORDER);
    WindowPicture resized(host.Label());
    EXPECT_EQ(host.label.Layout().LayoutCount(), 3u);
    SendMessageA(host.Label(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), FALSE);
    WindowPicture refont(host.Label());
    EXPECT_EQ(host.label.Layout().LayoutCount(), 4u);
    EXPECT_EQ(host.label.Layout().Key().font, std::uint64_t(reinterpret_cast<UINT_PTR>(GetStockObject(ANSI_VAR_FONT))));
}

TEST(MarkupLabel, FontsAreTheControlsFontAndItsVariants) {
    LabelHost host;
    host.Show("plain <B>bold</B> <I>italic</I> <FONT FACE='Courier New' SIZE=5 COLOR=#FF0000>x</FONT>");
    const auto& fonts = host.label.Layout().Fonts();
    ASSERT_EQ(fonts.size(), 4u);
    LOGFONTA base{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);
    EXPECT_EQ(fonts[0].description, DescribeFont(base));
    EXPECT_EQ(fonts[1].description.weight, 700);
    EXPECT_EQ(fonts[2].description.italic, 1);
    EXPECT_STREQ(fonts[3].description.faceName, "COURIER NEW");  // attribute text is upper-cased
    EXPECT_EQ(fonts[3].description.height, 36);
    // A red piece is drawn.
    WindowPicture picture(host.Label());
    EXPECT_GT(picture.Count(RGB(255, 0, 0)), 0);
}

TEST(MarkupLabel, EmptyTextPaintsTheBackgroundOnly) {
    LabelHost host;
    host.Show("");
    WindowPicture picture(host.Label());
    EXPECT_EQ(picture.RightmostInk(GetSysColor(COLOR_BTNFACE)), -1);
    EXPECT_EQ(host.label.Layout().Commands().size(), 1u);
}
