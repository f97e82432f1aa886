#include "app/dll_search.h"

#include <windows.h>

#ifndef LOAD_LIBRARY_SEARCH_DEFAULT_DIRS
#define LOAD_LIBRARY_SEARCH_DEFAULT_DIRS 0x00001000
#endif

void RemoveCurrentDirectoryFromDllSearch() {
    SetDllDirectoryA("");
    // Also drops PATH; the program's own folder and the system's stay. Older
    // systems without the call keep the safe search order SetDllDirectory gives.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto setDefault = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(
                                   reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                             : nullptr;
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}
