#include "controls/program_icon_win.h"

#include "controls/program_icon.h"

namespace {
Icon DrawnIcon(int size) {
    std::vector<IconPixel> pixels = DrawProgramIcon(size);
    if (pixels.empty()) return Icon();
    BITMAPV5HEADER format{};
    format.bV5Size = sizeof(format);
    format.bV5Width = size;
    format.bV5Height = -size;
    format.bV5Planes = 1;
    format.bV5BitCount = 32;
    format.bV5Compression = BI_BITFIELDS;
    format.bV5RedMask = 0x00FF0000;
    format.bV5GreenMask = 0x0000FF00;
    format.bV5BlueMask = 0x000000FF;
    format.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    Bitmap colour(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&format), DIB_RGB_COLORS, &bits, nullptr, 0));
    Bitmap mask(CreateBitmap(size, size, 1, 1, nullptr));  // all shown: the alpha decides
    if (!colour || !bits || !mask) return Icon();
    auto* out = static_cast<DWORD*>(bits);
    for (const IconPixel& p : pixels)
        *out++ = DWORD(p.alpha) << 24 | DWORD(p.red) << 16 | DWORD(p.green) << 8 | DWORD(p.blue);
    GdiFlush();
    ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
    return Icon(CreateIconIndirect(&info));  // it copies both bitmaps
}
}  // namespace

Icon LoadProgramIcon(HINSTANCE instance, int resource, int size) {
    if (size == 16 || size == 32)
        return Icon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(resource), IMAGE_ICON, size, size, 0)));
    return DrawnIcon(size);
}
