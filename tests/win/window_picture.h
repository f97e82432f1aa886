#pragma once
// What a window paints for WM_PRINTCLIENT, on a canvas of its client size.

#include "canvas.h"

class WindowPicture : public Canvas {
public:
    explicit WindowPicture(HWND window) : Canvas(ClientSize(window).right, ClientSize(window).bottom, kUnpainted) {
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc()), PRF_CLIENT);
    }

    // The rightmost column holding a pixel other than background; -1 when none does.
    int RightmostInk(COLORREF background) const {
        for (int x = Width() - 1; x >= 0; --x)
            for (int y = 0; y < Height(); ++y)
                if (At(x, y) != background) return x;
        return -1;
    }
    int Count(COLORREF colour) const {
        int n = 0;
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x) n += At(x, y) == colour;
        return n;
    }

private:
    static constexpr COLORREF kUnpainted = RGB(1, 2, 3);
    static RECT ClientSize(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        return client;
    }
};
