#include "app/tray_icon.h"

#include "controls/program_icon_win.h"
#include "framework/module.h"

TrayIcon::TrayIcon() {
    ZeroMemory(&data_, sizeof(data_));
    data_.cbSize = NOTIFYICONDATAA_V2_SIZE;  // the layout with the 128-character tip
    data_.uCallbackMessage = RegisterWindowMessageA("TaskbarNotifyMsg");
    taskbarCreatedMessage_ = RegisterWindowMessageA("TaskbarCreated");
}

BOOL TrayIcon::Install(HWND owner, UINT id, UINT resource, bool shown) {
    HINSTANCE instance = Module::Instance();
    data_.hWnd = owner;
    data_.uID = id;
    // The shell's small-icon size at the system DPI, sharp.
    icon_ = LoadProgramIcon(instance, int(resource), GetSystemMetrics(SM_CXSMICON));
    data_.hIcon = icon_.get();
    data_.szTip[0] = '\0';
    LoadStringA(instance, resource, data_.szTip, sizeof(data_.szTip));
    menu_.Reset(LoadMenuA(instance, MAKEINTRESOURCEA(resource)));
    installed_ = true;
    data_.uFlags = kFlags;
    hidden_ = !shown;
    return shown && Shell_NotifyIconA(NIM_ADD, &data_);
}

void TrayIcon::Hide() {
    if (!installed_ || hidden_) return;
    Shell_NotifyIconA(NIM_DELETE, &data_);
    hidden_ = true;
}

void TrayIcon::Show() {
    if (!installed_ || !hidden_) return;
    Shell_NotifyIconA(NIM_ADD, &data_);
    hidden_ = false;
}

void TrayIcon::Readd() {
    if (!installed_ || hidden_) return;
    data_.uFlags = kFlags;
    Shell_NotifyIconA(NIM_ADD, &data_);
}

BOOL TrayIcon::Remove() {
    BOOL removed = FALSE;
    // Sent even while hidden; the shell then just reports failure.
    if (data_.hWnd) removed = Shell_NotifyIconA(NIM_DELETE, &data_);
    data_.hWnd = nullptr;
    data_.hIcon = nullptr;
    icon_.Reset();
    menu_.Reset();
    return removed;
}

bool TrayIcon::ShowTrayMenu() {
    if (!IsMenu(menu_.get())) return false;
    HMENU popup = GetSubMenu(menu_.get(), 0);
    if (!popup) return false;
    SetMenuDefaultItem(popup, 0, TRUE);
    POINT cursor{};
    GetCursorPos(&cursor);
    // Without this the menu would stay open when the user clicks elsewhere.
    SetForegroundWindow(data_.hWnd);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, data_.hWnd,
                   nullptr);
    // Lets the menu close properly the next time it opens.
    PostMessageA(data_.hWnd, WM_NULL, 0, 0);
    return true;
}
