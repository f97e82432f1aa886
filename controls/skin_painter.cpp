#include "controls/skin_painter.h"

#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "controls/skin_drawing.h"

namespace {
// Kept when a dialog loses its border: popup and system menu.
const LONG_PTR kSkinnedStyleMask = 0x80080000;
}  // namespace

const MessageEntry<SkinPainter> SkinPainter::kMessages[] = {
    OnMessage(WM_ERASEBKGND, &SkinPainter::OnEraseBackground),
    OnMessage(WM_CTLCOLORSTATIC, &SkinPainter::OnStaticColour),
    OnMessage(WM_NCHITTEST, &SkinPainter::OnHitTest),
};

bool SkinPainter::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

SkinPainter::~SkinPainter() {
    memory_.reset();  // a bitmap still selected into a DC cannot be deleted
    bitmap_.Reset();
}

Bitmap SkinPainter::SkinBitmap(int dpi) {
    // A DIB section with a palette of the skin's inks: every pixel reads back
    // as its exact colour, whatever the display's depth.
    const SkinSize size = SkinSizeAt(dpi);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[std::size(kSkinPalette)];
    } format{};
    format.header.biSize = sizeof(format.header);
    format.header.biWidth = size.width;
    format.header.biHeight = -size.height;
    format.header.biPlanes = 1;
    format.header.biBitCount = 8;
    format.header.biCompression = BI_RGB;
    format.header.biClrUsed = std::size(kSkinPalette);
    for (std::size_t i = 0; i < std::size(kSkinPalette); ++i)
        format.colours[i] = RGBQUAD{BYTE(BlueOf(kSkinPalette[i])), BYTE(GreenOf(kSkinPalette[i])),
                                    BYTE(RedOf(kSkinPalette[i])), 0};
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&format), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return Bitmap();
    // Straight into the bitmap: a picture of its own would keep its room in the heap for good.
    DrawSkin(dpi, static_cast<std::uint8_t*>(bits), (std::size_t(size.width) + 3) / 4 * 4);
    GdiFlush();
    return bitmap;
}

bool SkinPainter::ChangeBitmap(HWND window, Bitmap bitmap) {
    if (!skinned_ || !bitmap) return false;
    Bitmap previous = std::exchange(bitmap_, std::move(bitmap));
    BITMAP previousInfo = info_;
    memory_.reset();  // lets the old bitmap go
    if (!BuildRegion() || !SetWindowRgn(window, region_.get(), TRUE)) {
        bitmap_ = std::move(previous);
        info_ = previousInfo;
        BuildRegion();
        region_.Reset();  // the window keeps the region it has
        return false;
    }
    region_.Release();  // the window owns it now and frees the one it had
    return true;
}

bool SkinPainter::ApplySkin(HWND window) {
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    if (!bitmap_) return false;

    SetLastError(0);
    if (!SetWindowLongPtrA(window, GWL_STYLE, style & kSkinnedStyleMask) && GetLastError() != 0) {
        memory_.reset();
        bitmap_.Reset();
        return false;
    }
    if (!BuildRegion()) {
        SetWindowLongPtrA(window, GWL_STYLE, style);
        return false;
    }
    if (!SetWindowRgn(window, region_.get(), TRUE)) return false;
    region_.Release();  // the window owns it now

    // Not HWND_NOTOPMOST: for a window that is not topmost it changes nothing,
    // yet this Wine restacks for it, a tenth of the launcher's start. The
    // window comes to the front when it is shown.
    int x = GetSystemMetrics(SM_CXSCREEN) / 2 - info_.bmWidth / 2;
    int y = GetSystemMetrics(SM_CYSCREEN) / 2 - info_.bmHeight / 2;
    SetWindowPos(window, nullptr, x, y, info_.bmWidth, info_.bmHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    skinned_ = true;
    return true;
}

bool SkinPainter::BuildRegion() {
    if (!bitmap_) return false;
    memory_.reset();
    memory_.emplace(nullptr);
    if (!*memory_ || !GetObjectA(bitmap_.get(), sizeof(info_), &info_)) return false;
    const int width = info_.bmWidth, height = info_.bmHeight;

    // A row at a time, as exact 32-bit colours: one read per pixel costs tens
    // of milliseconds at every start, and a buffer for the whole picture would
    // stay in the process's heap for good.
    BITMAPINFOHEADER format{};
    format.biSize = sizeof(format);
    format.biWidth = width;
    format.biHeight = height;  // bottom up: scan line s is row height - 1 - s
    format.biPlanes = 1;
    format.biBitCount = 32;
    format.biCompression = BI_RGB;
    std::vector<RGBQUAD> pixels(static_cast<std::size_t>(width));
    auto readRow = [&](int y) {
        return GetDIBits(memory_->get(), bitmap_.get(), UINT(height - 1 - y), 1, pixels.data(),
                         reinterpret_cast<BITMAPINFO*>(&format), DIB_RGB_COLORS) == 1;
    };
    auto isKey = [&](int x) {
        const RGBQUAD& p = pixels[std::size_t(x)];
        return RGB(p.rgbRed, p.rgbGreen, p.rgbBlue) == keyColour_;
    };

    // The runs of each row, made into a region in one call.
    std::vector<RECT> runs;
    for (int y = 0; y < height; ++y) {
        if (!readRow(y)) return false;
        int x = 0;
        while (x < width) {
            while (x < width && isKey(x)) ++x;
            int start = x;
            while (x < width && !isKey(x)) ++x;
            if (start != x) runs.push_back({start, y, x, y + 1});  // not when the row ended in key pixels
        }
    }
    std::vector<char> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = DWORD(runs.size());
    header->rcBound = {0, 0, width, height};
    if (!runs.empty()) std::memcpy(data.data() + sizeof(RGNDATAHEADER), runs.data(), runs.size() * sizeof(RECT));
    Region region(ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
    if (!region) return false;
    SelectObject(memory_->get(), bitmap_.get());  // stays selected for painting
    region_ = std::move(region);
    return true;
}

void SkinPainter::OnEraseBackground(Message& m) {
    if (!skinned_) {
        m.handled = false;
        return;
    }
    BitBlt(reinterpret_cast<HDC>(m.wParam), 0, 0, info_.bmWidth, info_.bmHeight, memory_->get(), 0, 0, SRCCOPY);
    m.result = 0;
}

void SkinPainter::OnStaticColour(Message& m) {
    if (!skinned_) {
        m.handled = false;
        return;
    }
    SetBkMode(reinterpret_cast<HDC>(m.wParam), TRANSPARENT);
    m.result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

void SkinPainter::OnHitTest(Message& m) {
    if (!skinned_) {
        m.handled = false;
        return;
    }
    m.result = HTCAPTION;
}
