// Waits (up to the seconds given, default 30) until a Brisq launcher window is
// visible on this desktop; exit code 0 when it is. Used by scripts/run.
#include <windows.h>

#include <cstdlib>

namespace {
bool IsBrisqProcess(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return false;
    char path[MAX_PATH * 2];
    DWORD size = sizeof(path);
    bool brisq = QueryFullProcessImageNameA(process, 0, path, &size) && size >= 9 &&
                 lstrcmpiA(path + size - 9, "Brisq.exe") == 0;
    CloseHandle(process);
    return brisq;
}

BOOL CALLBACK FindLauncher(HWND window, LPARAM found) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof(name));
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window) && GetDlgItem(window, 1000) &&
        IsBrisqProcess(processId)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

int main(int argc, char** argv) {
    DWORD deadline = GetTickCount() + 1000u * (argc > 1 ? std::atoi(argv[1]) : 30);
    do {
        bool found = false;
        EnumWindows(FindLauncher, reinterpret_cast<LPARAM>(&found));
        if (found) return 0;
        Sleep(50);
    } while (GetTickCount() < deadline);
    return 1;
}
