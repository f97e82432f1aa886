#pragma once
// Owners of every kind of handle the program creates. Move-only, so a handle
// has one owner and its release function runs exactly once. Handles the
// program does not own (a dialog's font, the shell's system image list, a
// region given to a window) are never put in these.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <utility>

template <class Handle, auto ReleaseFunction>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (handle_) ReleaseFunction(handle_);
        handle_ = handle;
    }
    // Gives the handle away (for example a region handed to SetWindowRgn).
    Handle Release() { return std::exchange(handle_, nullptr); }

protected:
    Handle handle_ = nullptr;
};

template <class Handle>
using GdiObject = UniqueHandle<Handle, DeleteObject>;
using Font = GdiObject<HFONT>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

using Icon = UniqueHandle<HICON, DestroyIcon>;
using Menu = UniqueHandle<HMENU, DestroyMenu>;
using ImageList = UniqueHandle<HIMAGELIST, ImageList_Destroy>;
// A window the program made apart from its dialogs, such as a tooltip.
using OwnedWindow = UniqueHandle<HWND, DestroyWindow>;

using RegistryKey = UniqueHandle<HKEY, RegCloseKey>;
// Files, processes, mutexes.
using KernelHandle = UniqueHandle<HANDLE, CloseHandle>;
using FileSearch = UniqueHandle<HANDLE, FindClose>;

template <class Interface>
void ReleaseInterface(Interface* object) {
    object->Release();
}

// One reference to a COM object, released once. Calls that hand out an
// interface write it through Out().
template <class Interface>
class ComPtr : public UniqueHandle<Interface*, ReleaseInterface<Interface>> {
public:
    using UniqueHandle<Interface*, ReleaseInterface<Interface>>::UniqueHandle;

    Interface* operator->() const { return this->get(); }
    // Empty, for a call such as QueryInterface to fill.
    void** Out() {
        this->Reset();
        return reinterpret_cast<void**>(&this->handle_);
    }
};

// The calls that make files and searches fail with INVALID_HANDLE_VALUE, not null.
inline HANDLE ValidOrNull(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

// A key opened for the given access; empty when it cannot be opened.
inline RegistryKey OpenRegistryKey(HKEY root, const char* path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, access, &key) != ERROR_SUCCESS) return RegistryKey();
    return RegistryKey(key);
}

// Memory inside another process, released on every path out.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, SIZE_T size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    char* get() const { return static_cast<char*>(address_); }

private:
    HANDLE process_;
    void* address_;
};

// COM in a single-threaded apartment on this thread, for the owner's lifetime.
class ComApartment {
public:
    ComApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (entered_) CoUninitialize();
    }

private:
    bool entered_;
};

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
