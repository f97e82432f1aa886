#pragma once
// Helpers the component tests share: a canvas to paint on and read back, and
// the count of this process's GDI objects.
#include <windows.h>

#include <optional>
#include <utility>

#include "controls/drawing.h"
#include "framework/owners.h"

// A 32-bit DIB section selected into a memory DC, read back pixel by pixel.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : dc_(nullptr), width_(width), height_(height) {
        BITMAPINFOHEADER header{};
        header.biSize = sizeof(header);
        header.biWidth = width;
        header.biHeight = -height;  // top row first
        header.biPlanes = 1;
        header.biBitCount = 32;
        bitmap_.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits_,
                                       nullptr, 0));
        select_.emplace(dc_.get(), bitmap_.get());
        FillSolid(dc_.get(), RECT{0, 0, width, height}, fill);
    }
    HDC dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        return GetPixel(dc_.get(), x, y);
    }
    Bitmap TakeBitmap() {
        select_.reset();
        return std::move(bitmap_);
    }

private:
    MemoryDc dc_;
    int width_, height_;
    Bitmap bitmap_;
    void* bits_ = nullptr;
    std::optional<SelectionGuard> select_;
};

// Live GDI objects of this process. Wine's GetGuiResources is not implemented
// (0, error 120); there a handle's bare table index names a live object, so the
// table is counted instead.
inline DWORD LiveGdiObjects() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    DWORD count = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++count;
    return count;
}
