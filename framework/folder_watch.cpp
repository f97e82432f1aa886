#include "framework/folder_watch.h"

bool FolderWatch::Start(const std::string& folder) {
    Stop();
    change_ = FindFirstChangeNotificationA(folder.empty() ? "." : folder.c_str(), FALSE,
                                           FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                               FILE_NOTIFY_CHANGE_LAST_WRITE);
    return change_ != INVALID_HANDLE_VALUE;
}

void FolderWatch::Stop() {
    if (change_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change_);
    change_ = INVALID_HANDLE_VALUE;
}

void FolderWatch::Rearm() {
    if (change_ != INVALID_HANDLE_VALUE && !FindNextChangeNotification(change_)) Stop();
}
