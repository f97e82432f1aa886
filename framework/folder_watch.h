#pragma once
#include <windows.h>

#include <string>

#include "framework/owners.h"

// Posts a message to a window whenever something in a folder changes: a file
// made, written, resized, renamed or removed. A thread of its own, with a small
// stack, waits for the system's change notification and only posts; nothing
// runs while nothing changes.
class FolderWatch {
public:
    FolderWatch() = default;
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;
    ~FolderWatch() { Stop(); }

    // False when the folder cannot be watched; the window then hears nothing.
    bool Start(const std::string& folder, HWND window, UINT message);
    // Returns once no message can come any more.
    void Stop();

private:
    static DWORD WINAPI Wait(void* self);

    HANDLE change_ = INVALID_HANDLE_VALUE;
    KernelHandle stop_;
    KernelHandle thread_;
    HWND window_ = nullptr;
    UINT message_ = 0;
};
