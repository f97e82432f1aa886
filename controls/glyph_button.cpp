#include "controls/glyph_button.h"

#include <algorithm>

#include "controls/dpi_scale.h"
#include "controls/drawing.h"

namespace {
const COLORREF kLight = RGB(0xEE, 0xEE, 0xEE);
const COLORREF kDark = RGB(0xCC, 0xCC, 0xCC);
const COLORREF kGlyphColour = RGB(0x12, 0x00, 0x00);
const int kMaxTextLength = 9;
const int kGlyphHeight = 12;  // at 96 DPI
}  // namespace

void GlyphButton::DoPaint(HDC dc) {
    const int dpi = Dpi();
    if (!glyphFont_ || glyphFontDpi_ != dpi) {
        glyphFontDpi_ = dpi;
        glyphFont_.Reset(CreateFontA(ScaleToDpi(kGlyphHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "marlett"));
    }
    RECT client{};
    GetClientRect(window_, &client);

    bool lit = Pressed() || MouseOver();
    COLORREF outer = lit ? kLight : kDark, inner = lit ? kDark : kLight;
    COLORREF top = lit ? kLight : kDark, bottom = lit ? kDark : kLight;
    // Lines, corners and insets as at 96 DPI, scaled; a pen is drawn inside its figure.
    const int line = std::max(1, ScaleToDpi(1, dpi));
    {
        const int style = line > 1 ? PS_INSIDEFRAME : PS_SOLID;
        Pen outerPen(CreatePen(style, line, outer)), innerPen(CreatePen(style, line, inner));
        SelectionGuard keepPen(dc, outerPen.get());
        const int corner = ScaleToDpi(5, dpi), innerCorner = ScaleToDpi(2, dpi);
        RoundRect(dc, client.left, client.top, client.right, client.bottom, corner, corner);
        SelectObject(dc, innerPen.get());
        RoundRect(dc, client.left + line, client.top + line, client.right - line, client.bottom - line, innerCorner,
                  innerCorner);
    }  // the previous pen is back before both pens go

    RECT inside{client.left + 2 * line, client.top + 2 * line, client.right - 2 * line, client.bottom - 2 * line};
    FillGradient(dc, inside, top, bottom, true);

    if (HIMAGELIST images = Images()) {
        int x = (client.right - ImageWidth() - client.left) / 2;
        int y = (client.bottom - ImageHeight() - client.top) / 2;
        ImageList_Draw(images, 0, dc, x, y, ILD_TRANSPARENT);
        return;
    }

    SetBkMode(dc, TRANSPARENT);
    char text[kMaxTextLength + 1] = {};
    GetWindowTextA(window_, text, sizeof(text));
    SetTextColor(dc, kGlyphColour);
    SelectionGuard keepFont(dc, glyphFont_ ? static_cast<HGDIOBJ>(glyphFont_.get()) : GetCurrentObject(dc, OBJ_FONT));
    DrawTextA(dc, text, -1, &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}
