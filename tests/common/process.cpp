#include "common/process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

namespace testkit {

bool StartProcess(const std::string& exe, const std::string& folder, PROCESS_INFORMATION& started,
                  std::string& failure) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string commandLine = "\"" + exe + "\"";
    if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                       &started))
        return true;
    failure = "CreateProcess(" + exe + ") failed with error " + std::to_string(GetLastError());
    return false;
}

bool WaitForProcessEnd(HANDLE process, std::chrono::milliseconds deadline) {
    return WaitForSingleObject(process, DWORD(deadline.count())) == WAIT_OBJECT_0;
}

bool EndProcess(HANDLE process, HWND window, std::chrono::milliseconds deadline) {
    if (WaitForProcessEnd(process, std::chrono::milliseconds(0))) return true;
    if (window) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForProcessEnd(process, deadline / 2)) return true;
    }
    TerminateProcess(process, 1);
    return WaitForProcessEnd(process, deadline);
}

bool WaitUntilNoProcessNamed(const char* exeName, std::chrono::milliseconds deadline, std::string& stillRunning) {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
            if (lstrcmpiA(entry.szExeFile, exeName) == 0) ids.push_back(entry.th32ProcessID);
        CloseHandle(snapshot);
    }
    auto end = std::chrono::steady_clock::now() + deadline;
    stillRunning.clear();
    for (DWORD id : ids) {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
        if (!process) continue;  // ended since the snapshot
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (!WaitForProcessEnd(process, std::max(left, std::chrono::milliseconds(0))))
            stillRunning += (stillRunning.empty() ? "" : ", ") + std::to_string(id);
        CloseHandle(process);
    }
    return stillRunning.empty();
}

}  // namespace testkit
