// Keeps the Wine desktop of a test run, with its taskbar and tray, from the
// first test program to the last. Wine closes a desktop about a second after
// the last program on it ends, and the next program starts a new one: each
// test program would otherwise begin on a desktop that is still starting, and
// one that starts just as the old desktop closes races with its end.
// Prints "ready" once the taskbar exists, then waits until it is ended.
#include <windows.h>

#include <cstdio>

int main() {
    GetDesktopWindow();  // joins the desktop, starting it if need be
    HWND keeper = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    DWORD start = GetTickCount();
    while (!FindWindowA("Shell_TrayWnd", nullptr) && GetTickCount() - start < 60000) Sleep(20);
    std::puts(keeper && FindWindowA("Shell_TrayWnd", nullptr) ? "ready" : "no taskbar");
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
