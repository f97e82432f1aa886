#pragma once
#include <windows.h>

// The executable's instance handle and the id of the thread that runs every window.
class Module {
public:
    static void Init(HINSTANCE instance);
    static void Term();
    static HINSTANCE Instance();
    static DWORD MainThreadId();
};
