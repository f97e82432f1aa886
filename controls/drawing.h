#pragma once
// Small painting helpers. None of them leaves the DC's background colour changed.

#include <windows.h>

void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
// first at the top (or left), second at the bottom (or right).
void FillGradient(HDC dc, const RECT& rect, COLORREF first, COLORREF second, bool vertical);
// Top and left edges in topLeft, right and bottom edges (with both far corners)
// in bottomRight; each edge `thickness` pixels wide.
void DrawFrame3d(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight, int thickness = 1);
