// Start-up: process creation to the first visible window, Brisq.exe against
// Wine's notepad.exe in the same run. Prints medians, their ratio, the size of
// Brisq.exe and Brisq's private bytes once shown.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {
using Clock = std::chrono::steady_clock;

struct Search {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
    auto& s = *reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == s.processId && IsWindowVisible(window)) {
        s.found = true;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds until the program shows a window; negative on failure.
double TimeToWindow(const std::string& exe, const std::string& folder, SIZE_T* privateBytes = nullptr) {
    STARTUPINFOA startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + exe + "\"";
    auto start = Clock::now();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        return -1;
    double elapsed = -1;
    while (Clock::now() - start < std::chrono::seconds(20)) {
        Search search{process.dwProcessId, false};
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        Sleep(1);
    }
    if (privateBytes) {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof(counters);
        if (GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof(counters)))
            *privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

using bench::Median;
}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string bin = self;
    bin = bin.substr(0, bin.rfind('\\') + 1);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "brisq-startup-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string brisq = folder + "Brisq.exe";
    if (!CopyFileA((bin + "Brisq.exe").c_str(), brisq.c_str(), FALSE)) {
        std::printf("cannot copy Brisq.exe\n");
        return 1;
    }
    char notepad[MAX_PATH];
    if (!SearchPathA(nullptr, "notepad.exe", nullptr, MAX_PATH, notepad, nullptr)) {
        std::printf("notepad.exe not found\n");
        return 1;
    }

    TimeToWindow(brisq, folder);  // warm the file cache for both
    TimeToWindow(notepad, folder);
    std::vector<double> brisqTimes, notepadTimes;
    SIZE_T privateBytes = 0;
    for (int i = 0; i < runs; ++i) {
        brisqTimes.push_back(TimeToWindow(brisq, folder, &privateBytes));
        notepadTimes.push_back(TimeToWindow(notepad, folder));
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExA(brisq.c_str(), GetFileExInfoStandard, &attributes);

    double b = Median(brisqTimes), n = Median(notepadTimes);
    std::printf("runs: %d each, alternating\n", runs);
    std::printf("Brisq.exe to launcher visible: median %.1f ms\n", b);
    std::printf("notepad.exe to its window visible: median %.1f ms\n", n);
    std::printf("ratio Brisq / notepad: %.2f (goal <= 1.20)\n", b / n);
    std::printf("Brisq.exe size: %lu bytes\n", attributes.nFileSizeLow);
    if (privateBytes)
        std::printf("Brisq private bytes once shown: %lu KiB\n", (unsigned long)(privateBytes / 1024));
    else
        std::printf("Brisq private bytes once shown: not reported here\n");
    DeleteFileA((folder + "settings.xml").c_str());
    DeleteFileA((folder + "aliases.xml").c_str());
    DeleteFileA(brisq.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
