#include "controls/icon_button.h"

#include <algorithm>

#include "controls/colour.h"
#include "controls/dpi_scale.h"
#include "controls/drawing.h"
#include "framework/owners.h"

namespace {
const int kMaxCaptionLength = 9;
}  // namespace

void IconButton::DoPaint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    bool enabled = IsWindowEnabled(window_) != FALSE;
    bool hot = MouseOver();
    const SkinPalette& palette = SkinPalette::Instance();
    const int line = std::max(1, ScaleToDpi(1, Dpi()));

    if (Pressed() || hot) {
        if (Pressed()) FillGradient(dc, client, palette.pressedTop, palette.pressedBottom, true);
        else FillGradient(dc, client, palette.hotTop, palette.hotBottom, true);
        DrawFrame3d(dc, client, palette.frameColour, palette.frameColour, line);
    } else {
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        FillSolid(dc, client, face);
        DrawFrame3d(dc, client, face, face, line);
    }

    if (Images()) DrawImage(dc, client, hot, enabled);
    else DrawCaption(dc, client, hot);
}

// Only image 0 exists, so every state draws it; hot raises it one pixel up
// and left above a silhouette left where it was.
void IconButton::DrawImage(HDC dc, const RECT& client, bool hot, bool enabled) {
    int x = (client.right - client.left - ImageWidth()) / 2;
    int y = (client.bottom - client.top - ImageHeight()) / 2;
    if (enabled && hot) {
        Icon icon(ImageList_GetIcon(Images(), 0, ILD_NORMAL));
        Brush shadow(CreateSolidBrush(SkinPalette::Instance().iconShadow));
        if (icon && shadow)
            DrawStateA(dc, shadow.get(), nullptr, reinterpret_cast<LPARAM>(icon.get()), 0, x, y, 0, 0,
                       DST_ICON | DSS_MONO);
        const int lift = std::max(1, ScaleToDpi(1, Dpi()));
        x -= lift, y -= lift;
    }
    ImageList_Draw(Images(), 0, dc, x, y, ILD_NORMAL);
}

void IconButton::DrawCaption(HDC dc, RECT client, bool hot) {
    char text[kMaxCaptionLength + 1] = {};
    GetWindowTextA(window_, text, sizeof(text));
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window_, WM_GETFONT, 0, 0));
    SelectionGuard keepFont(dc, font ? font : GetCurrentObject(dc, OBJ_FONT));
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF previousColour = GetTextColor(dc);
    const UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    if (hot) {
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawTextA(dc, text, -1, &client, format);
        client.left -= 2, client.top -= 2;  // the centred text moves one pixel up and left
    }
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, text, -1, &client, format);
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
}
