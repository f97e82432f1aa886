#include "controls/separator_line.h"

#include <algorithm>

#include "controls/dpi_scale.h"
#include "controls/drawing.h"
#include "framework/dpi.h"
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

// A band two half-thicknesses wide across the middle: lit above and left, shaded
// below and right. Thicknesses are at 96 DPI; each edge scales with them.
void SeparatorLine::Paint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    int width = client.right, height = client.bottom;
    // As thick as the DPI asks, as far as the control has room for the band.
    const bool upright = height > width;
    const int half = std::max(1, upright ? verticalHalfThickness_ : horizontalHalfThickness_);
    const int room = std::max(1, (upright ? width : height) / (2 * half));
    const int line = std::clamp(ScaleToDpi(1, WindowDpi(window_)), 1, room);
    const int vertical = verticalHalfThickness_ * line, horizontal = horizontalHalfThickness_ * line;
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shade = GetSysColor(COLOR_BTNSHADOW);
    RECT band = upright ? RECT{width / 2 - vertical, 0, width / 2 + vertical, height}
                               : RECT{0, height / 2 - horizontal, width, height / 2 + horizontal};
    DrawFrame3d(dc, band, raised_ ? light : shade, raised_ ? shade : light, line);
}
