#pragma once
// What a window paints for WM_PRINTCLIENT, as 32-bit pixels to read back.

#include <windows.h>

#include <vector>

class WindowPicture {
public:
    explicit WindowPicture(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        const auto* pixels = static_cast<const DWORD*>(bits);
        pixels_.assign(pixels, pixels + std::size_t(width_) * std::size_t(height_));
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const {
        DWORD p = pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
    // The rightmost column, or the first row from a given one, holding a pixel
    // other than background; -1 when there is none.
    int RightmostInk(COLORREF background) const {
        for (int x = width_ - 1; x >= 0; --x)
            for (int y = 0; y < height_; ++y)
                if (At(x, y) != background) return x;
        return -1;
    }
    int TopInk(COLORREF background, int fromRow = 0) const {
        for (int y = fromRow; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (At(x, y) != background) return y;
        return -1;
    }
    int Count(COLORREF colour) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += At(x, y) == colour;
        return n;
    }

private:
    int width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;
};
