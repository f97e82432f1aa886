#include "framework/folder_watch.h"

bool FolderWatch::Start(const std::string& folder, HWND window, UINT message) {
    Stop();
    window_ = window;
    message_ = message;
    change_ = FindFirstChangeNotificationA(folder.empty() ? "." : folder.c_str(), FALSE,
                                           FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                               FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (change_ == INVALID_HANDLE_VALUE) return false;
    // In the wait thread itself: it waits again only once the notification is
    // re-armed, so one change is never taken twice.
    if (RegisterWaitForSingleObject(&wait_, change_, OnChange, this, INFINITE, WT_EXECUTEINWAITTHREAD)) return true;
    wait_ = nullptr;
    Stop();
    return false;
}

void FolderWatch::Stop() {
    if (wait_) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);  // waits for a running callback
    wait_ = nullptr;
    if (change_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change_);
    change_ = INVALID_HANDLE_VALUE;
}

void CALLBACK FolderWatch::OnChange(void* context, BOOLEAN) {
    auto* self = static_cast<FolderWatch*>(context);
    FindNextChangeNotification(self->change_);
    PostMessageA(self->window_, self->message_, 0, 0);
}
