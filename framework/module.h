#pragma once
#include <windows.h>

#include <string>

// The executable's instance handle and the id of the thread that runs every window.
class Module {
public:
    static void Init(HINSTANCE instance);
    static void Term();
    static HINSTANCE Instance();
    static DWORD MainThreadId();
};

// The full path of a module, however long; empty when the system gives none.
// firstCapacity only sets where the growing buffer starts.
std::string ModuleFileName(HMODULE module = nullptr, DWORD firstCapacity = MAX_PATH);

// A string resource of the executable, empty when missing.
std::string LoadResourceString(UINT id);
