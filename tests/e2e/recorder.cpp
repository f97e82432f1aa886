// Stands in for a launched program: writes the command line it was given to
// "<its own path>.log", so a test sees exactly what the shell handed over, and
// on a second line the folder it was started in.
// Written as UTF-8, whatever this program's code page: the tests read it so.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH + 8];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    lstrcatA(path, ".log");
    // Written beside and renamed, so a reader never sees half a line.
    char partial[MAX_PATH + 16];
    lstrcpyA(partial, path);
    lstrcatA(partial, ".tmp");
    HANDLE file = CreateFileA(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    wchar_t folder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, folder);
    const wchar_t* parts[] = {GetCommandLineW(), L"\n", folder};
    for (const wchar_t* line : parts) {
        int bytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
        char* text = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, bytes > 0 ? bytes : 1));
        if (!text || WideCharToMultiByte(CP_UTF8, 0, line, -1, text, bytes, nullptr, nullptr) != bytes) bytes = 1;
        DWORD written = 0;
        if (text) WriteFile(file, text, DWORD(bytes - 1), &written, nullptr);
        HeapFree(GetProcessHeap(), 0, text);
    }
    CloseHandle(file);
    return MoveFileExA(partial, path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
