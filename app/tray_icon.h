#pragma once
#include <windows.h>
#include <shellapi.h>

#include "framework/owners.h"

// The notification-area icon and its menu. The shell forgets icons when it
// restarts, so the owner hands TaskbarCreated to Readd.
class TrayIcon {
public:
    TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() { Remove(); }

    // Icon, tip (string resource) and menu all come from the one resource id.
    // Not |shown|, nothing is added yet: the icon waits, hidden, for Show.
    BOOL Install(HWND owner, UINT id, UINT resource, bool shown = true);
    void Hide();
    void Show();
    void Readd();
    BOOL Remove();
    // False when there is no menu to show (the message then stays unhandled).
    bool ShowTrayMenu();

    UINT CallbackMessage() const { return data_.uCallbackMessage; }
    UINT TaskbarCreatedMessage() const { return taskbarCreatedMessage_; }
    UINT IconId() const { return data_.uID; }

private:
    static constexpr UINT kFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

    NOTIFYICONDATAA data_;
    Icon icon_;  // data_.hIcon while it lives
    Menu menu_;
    UINT taskbarCreatedMessage_ = 0;
    bool installed_ = false;
    bool hidden_ = false;
};
