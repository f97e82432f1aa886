#pragma once
// Where Brisq's DLLs come from: System32, and nowhere else. Brisq is one
// portable executable that people keep in folders others can write to (the
// Downloads folder, a USB stick, a shared tools folder); a DLL dropped beside
// it, or in a folder the user browsed to, must never run inside it.
#include <windows.h>

// Restricts every later DLL search of the process, the system's own included,
// to System32. The first thing the entry routine does.
void RestrictDllSearchToSystem();

// A DLL of the system's, found in System32 only; null when it is not there.
// Every DLL Brisq loads by name, and every delay-loaded one, comes through here.
HMODULE LoadSystemLibrary(const wchar_t* name);
