// The floor of the start-up benchmark: what any window program pays to show.
// One class, one popup of the launcher's size, one line of text, the message
// loop. Built -O2 -static -mwindows like Brisq.exe, without its manifest.
// With a standard output (the benchmark's pipe) it marks its steps as
// BrisqTraced.exe does, so the two can be set side by side.
#include <windows.h>

#include <cstdio>

namespace {
void Mark(const char* step) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    char line[128];
    int length = std::snprintf(line, sizeof(line), "%lld %s\n", static_cast<long long>(now.QuadPart), step);
    DWORD written = 0;
    if (length > 0) WriteFile(out, line, DWORD(length), &written, nullptr);
}

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
    Mark("loader and runtime");
    WNDCLASSA type{};
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    type.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    type.lpszClassName = "MinimalWindow";
    RegisterClassA(&type);
    HWND window = CreateWindowExA(0, "MinimalWindow", "Minimal window", WS_POPUP | WS_BORDER, 266, 353, 491, 62,
                                  nullptr, nullptr, instance, nullptr);
    Mark("window created");
    ShowWindow(window, show);
    UpdateWindow(window);
    Mark("shown and painted");
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
