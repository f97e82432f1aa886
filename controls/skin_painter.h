#pragma once
// Shapes a window after a bitmap, normally the skin drawn for its DPI: pixels
// of the key colour are cut away, the rest is painted as the background and
// serves as a drag handle.

#include <windows.h>

#include <optional>

#include "framework/owners.h"
#include "framework/message_table.h"

class SkinPainter {
public:
    explicit SkinPainter(COLORREF keyColour) : keyColour_(keyColour) {}
    SkinPainter(const SkinPainter&) = delete;
    SkinPainter& operator=(const SkinPainter&) = delete;
    ~SkinPainter();

    // The skin drawn at the DPI.
    static Bitmap SkinBitmap(int dpi);
    void SetBitmap(Bitmap bitmap) { bitmap_ = std::move(bitmap); }
    // A skinned window's new picture (its DPI changed): the region follows it;
    // the caller sizes the window. False leaves the window as it was.
    bool ChangeBitmap(HWND window, Bitmap bitmap);

    // True when the window now has the bitmap's shape; otherwise it keeps its plain look.
    bool ApplySkin(HWND window);
    // The region of the bitmap's non-key pixels, kept until ApplySkin hands it over.
    bool BuildRegion();

    HRGN RegionHandle() const { return region_.get(); }
    SIZE BitmapSize() const { return SIZE{info_.bmWidth, info_.bmHeight}; }
    bool Skinned() const { return skinned_; }

    // The background, static-control and hit-test handlers; inactive until skinned.
    bool ProcessMessage(Message& m);

private:
    void OnEraseBackground(Message& m);
    void OnStaticColour(Message& m);
    void OnHitTest(Message& m);

    Region region_;
    BITMAP info_{};
    std::optional<MemoryDc> memory_;
    Bitmap bitmap_;
    bool skinned_ = false;
    COLORREF keyColour_;

    static const MessageEntry<SkinPainter> kMessages[];
};
