#pragma once
#include <windows.h>

#include <string>

// The system's change notification on a folder: a file made, written,
// resized, renamed or removed signals it. Whoever runs the message loop waits
// for it there; nothing runs while nothing changes.
class FolderWatch {
public:
    FolderWatch() = default;
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;
    ~FolderWatch() { Stop(); }

    // False when the folder cannot be watched; Signal is then null.
    bool Start(const std::string& folder);
    void Stop();
    // Signalled once something changed, until Rearm.
    HANDLE Signal() const { return change_ == INVALID_HANDLE_VALUE ? nullptr : change_; }
    // Waits for the next change; a watch that cannot wait again stops.
    void Rearm();

private:
    HANDLE change_ = INVALID_HANDLE_VALUE;
};
