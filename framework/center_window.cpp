#include "framework/center_window.h"

void CenterWindow(HWND window) {
    bool child = (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0;
    HWND owner = child ? GetParent(window) : GetWindow(window, GW_OWNER);
    if (owner && (!IsWindowVisible(owner) || IsIconic(owner))) owner = nullptr;

    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT centre = work;
    if (owner) GetWindowRect(owner, &centre);

    RECT own{};
    GetWindowRect(window, &own);
    int width = own.right - own.left, height = own.bottom - own.top;
    int x = (centre.left + centre.right) / 2 - width / 2;
    int y = (centre.top + centre.bottom) / 2 - height / 2;
    if (x < work.left) x = work.left;
    else if (x + width > work.right) x = work.right - width;
    if (y < work.top) y = work.top;
    else if (y + height > work.bottom) y = work.bottom - height;

    if (x == own.left && y == own.top) return;  // already there: each show would move it for nothing
    if (child) {  // a child is placed in its parent's client coordinates
        POINT p{x, y};
        ScreenToClient(GetParent(window), &p);
        x = p.x, y = p.y;
    }
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
