#include "app/trace.h"

#include <windows.h>

#include <cstdio>

// One line per mark on standard output, "<performance counter> <step>": the
// counter is the system's, so the bench that started this process can set it
// against its own clock.
void TraceMark(const char* step) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    char line[128];
    int length = std::snprintf(line, sizeof(line), "%lld %s\n", static_cast<long long>(now.QuadPart), step);
    DWORD written = 0;
    if (length > 0) WriteFile(out, line, DWORD(length), &written, nullptr);
}
