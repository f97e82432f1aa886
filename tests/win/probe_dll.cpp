// A DLL that does nothing: the DLL search test puts it in the current directory.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
