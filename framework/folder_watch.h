#pragma once
#include <windows.h>

#include <string>

// Posts a message to a window whenever something in a folder changes: a file
// made, written, resized, renamed or removed. The system's change notification
// is waited for by the thread pool's wait thread, which only posts; nothing runs
// while nothing changes.
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
    static void CALLBACK OnChange(void* self, BOOLEAN timedOut);

    HANDLE change_ = INVALID_HANDLE_VALUE;
    HANDLE wait_ = nullptr;
    HWND window_ = nullptr;
    UINT message_ = 0;
};
