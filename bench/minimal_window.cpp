// The floor of the start-up benchmark: what any window program pays to show.
// One class, one popup of the launcher's size, one line of text, the message
// loop. Built -O2 -static -mwindows like Brisq.exe, without its manifest.
// With a standard output (the benchmark's pipe) it marks its steps with
// BrisqTraced.exe's own marks, so the two can be set side by side.
#include <windows.h>

#include "app/trace.h"

namespace {
LRESULT CALLBACK Procedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    switch (id) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        TextOutA(dc, 12, 20, "Minimal window", 14);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, id, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    TraceMark("loader and runtime");
    WNDCLASSA type{};
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    type.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    type.lpszClassName = "MinimalWindow";
    RegisterClassA(&type);
    HWND window = CreateWindowExA(0, "MinimalWindow", "Minimal window", WS_POPUP | WS_BORDER, 266, 353, 491, 62,
                                  nullptr, nullptr, instance, nullptr);
    TraceMark("window created");
    ShowWindow(window, show);
    UpdateWindow(window);
    TraceMark("shown and painted");
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
