#include "controls/glyph_button.h"

#include "controls/drawing.h"

namespace {
const COLORREF kLight = RGB(0xEE, 0xEE, 0xEE);
const COLORREF kDark = RGB(0xCC, 0xCC, 0xCC);
const COLORREF kGlyphColour = RGB(0x12, 0x00, 0x00);
const int kMaxTextLength = 9;
}  // namespace

void GlyphButton::DoPaint(HDC dc) {
    if (!glyphFont_) {
        glyphFont_.Reset(CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "marlett"));
    }
    RECT client{};
    GetClientRect(window_, &client);

    bool lit = Pressed() || MouseOver();
    COLORREF outer = lit ? kLight : kDark, inner = lit ? kDark : kLight;
    COLORREF top = lit ? kLight : kDark, bottom = lit ? kDark : kLight;
    {
        Pen outerPen(CreatePen(PS_SOLID, 1, outer)), innerPen(CreatePen(PS_SOLID, 1, inner));
        SelectionGuard keepPen(dc, outerPen.get());
        RoundRect(dc, client.left, client.top, client.right, client.bottom, 5, 5);
        SelectObject(dc, innerPen.get());
        RoundRect(dc, client.left + 1, client.top + 1, client.right - 1, client.bottom - 1, 2, 2);
    }  // the previous pen is back before both pens go

    RECT inside{client.left + 2, client.top + 2, client.right - 2, client.bottom - 2};
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
