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
    GradientFill(dc, corners, 2, &span, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void DrawFrame3d(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    LONG x = rect.left, y = rect.top, cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    if (cx <= 0 || cy <= 0) return;  // the edges would turn inside out and paint beside the rectangle
    FillSolid(dc, RECT{x, y, x + cx - 1, y + 1}, topLeft);
    FillSolid(dc, RECT{x, y, x + 1, y + cy - 1}, topLeft);
    FillSolid(dc, RECT{x + cx - 1, y, x + cx, y + cy}, bottomRight);
    FillSolid(dc, RECT{x, y + cy - 1, x + cx, y + cy}, bottomRight);
}
