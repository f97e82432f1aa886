#pragma once
// Owners of GDI objects the program creates. Move-only, so a handle has one
// owner; handles the program does not own are never put in these.

#include <windows.h>

#include "framework/unique_handle.h"

template <class Handle>
using GdiObject = UniqueHandle<Handle, DeleteObject>;

using Font = GdiObject<HFONT>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// Selects an object into a DC for the guard's lifetime.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;
    ~SelectionGuard() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory DC compatible with another DC.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// BeginPaint / EndPaint for WM_PAINT, or the DC handed in by WM_PRINTCLIENT.
class PaintDc {
public:
    PaintDc(HWND window, HDC given) : window_(window), dc_(given) {
        if (!dc_) dc_ = BeginPaint(window_, &paint_), painting_ = true;
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() {
        if (painting_) EndPaint(window_, &paint_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    PAINTSTRUCT paint_{};
    bool painting_ = false;
};

// A DC of a window, released on scope exit.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
