#include "framework/folder_watch.h"

namespace {
// The thread only waits and posts; the system's default of a megabyte would be
// most of what the launcher commits.
constexpr SIZE_T kStackSize = 64 * 1024;
}  // namespace

bool FolderWatch::Start(const std::string& folder, HWND window, UINT message) {
    Stop();
    window_ = window;
    message_ = message;
    change_ = FindFirstChangeNotificationA(folder.empty() ? "." : folder.c_str(), FALSE,
                                           FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                               FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (change_ == INVALID_HANDLE_VALUE) return false;
    stop_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (stop_) thread_.Reset(CreateThread(nullptr, kStackSize, Wait, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (thread_) return true;
    Stop();
    return false;
}

void FolderWatch::Stop() {
    if (thread_) {
        SetEvent(stop_.get());
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.Reset();
    }
    stop_.Reset();
    if (change_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change_);
    change_ = INVALID_HANDLE_VALUE;
}

DWORD WINAPI FolderWatch::Wait(void* context) {
    auto* self = static_cast<FolderWatch*>(context);
    const HANDLE events[] = {self->stop_.get(), self->change_};
    while (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        PostMessageA(self->window_, self->message_, 0, 0);
        if (!FindNextChangeNotification(self->change_)) break;
    }
    return 0;
}
