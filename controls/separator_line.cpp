#include "controls/separator_line.h"

#include "controls/drawing.h"
#include "framework/owners.h"

const MessageEntry<SeparatorLine> SeparatorLine::kMessages[] = {
    OnMessage(WM_PAINT, &SeparatorLine::OnPaint),
    OnMessage(WM_PRINTCLIENT, &SeparatorLine::OnPaint),
};

bool SeparatorLine::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

void SeparatorLine::OnPaint(Message& m) {
    PaintDc dc(window_, reinterpret_cast<HDC>(m.wParam));
    if (dc.get()) Paint(dc.get());
    m.result = 0;
}

// A band two half-thicknesses wide across the middle: lit above and left, shaded below and right.
void SeparatorLine::Paint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    int width = client.right, height = client.bottom;
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shade = GetSysColor(COLOR_BTNSHADOW);
    RECT band = height > width ? RECT{width / 2 - verticalHalfThickness_, 0, width / 2 + verticalHalfThickness_, height}
                               : RECT{0, height / 2 - horizontalHalfThickness_, width,
                                      height / 2 + horizontalHalfThickness_};
    DrawFrame3d(dc, band, raised_ ? light : shade, raised_ ? shade : light);
}
