// A DLL of a name no system has: the DLL search test puts it beside the test
// program and in the current directory, and takes this function from it
// through a delay-load import.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" __declspec(dllexport) int WINAPI ProbeAnswer() { return 42; }
