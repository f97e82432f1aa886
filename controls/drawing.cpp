#include "controls/drawing.h"

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    COLORREF previous = SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr);
    if (previous != CLR_INVALID) SetBkColor(dc, previous);
}

void FillGradient(HDC dc, const RECT& rect, COLORREF first, COLORREF second, bool vertical) {
    if (first == second) {
        FillSolid(dc, rect, first);
        return;
    }
    auto vertex = [](LONG x, LONG y, COLORREF c) {
        return TRIVERTEX{x, y, COLOR16(GetRValue(c) << 8), COLOR16(GetGValue(c) << 8), COLOR16(GetBValue(c) << 8), 0};
    };
    TRIVERTEX corners[2] = {vertex(rect.left, rect.top, first), vertex(rect.right, rect.bottom, second)};
    GRADIENT_RECT span{0, 1};
    // gdi32's own: msimg32, which exports it as GradientFill, is no KnownDLL and could be planted beside Brisq.
    GdiGradientFill(dc, corners, 2, &span, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void DrawFrame3d(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight, int thickness) {
    LONG x = rect.left, y = rect.top, cx = rect.right - rect.left, cy = rect.bottom - rect.top, t = thickness;
    if (cx <= 0 || cy <= 0 || t <= 0) return;  // the edges would turn inside out and paint beside the rectangle
    FillSolid(dc, RECT{x, y, x + cx - t, y + t}, topLeft);
    FillSolid(dc, RECT{x, y, x + t, y + cy - t}, topLeft);
    FillSolid(dc, RECT{x + cx - t, y, x + cx, y + cy}, bottomRight);
    FillSolid(dc, RECT{x, y + cy - t, x + cx, y + cy}, bottomRight);
}
