// Start-up: process creation to the first visible window, Brisq.exe against
// Wine's notepad.exe in the same run. Prints medians, their ratio, the size of
// Brisq.exe and Brisq's private bytes once shown. Then Brisq.exe with its manifest's
// UTF-8 code page against the same program built without it, and start-up with
// 20,000 and 200,000 aliases against the empty start of the same run.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "alias_file.h"
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

// Milliseconds until the program shows a window; negative on failure. The program
// is ended without its exit save, so its files stay as the bench wrote them.
double TimeToWindow(const std::string& exe, const std::string& folder, SIZE_T* privateBytes = nullptr,
                    std::chrono::seconds deadline = std::chrono::seconds(20)) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + exe + "\"";
    auto start = Clock::now();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        return -1;
    double elapsed = -1;
    while (Clock::now() - start < deadline) {
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
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

using bench::Median;

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    CloseHandle(file);
}

// Start-up with no aliases, 20,000 and 200,000 (up to |most|), alternating runs; the
// lines to print.
std::vector<std::string> AliasStartups(const std::string& brisq, const std::string& folder, int runs, int most) {
    std::vector<int> counts;
    for (int count : {0, 20000, 200000})
        if (count <= most) counts.push_back(count);
    std::vector<std::string> files(counts.size());
    std::vector<std::vector<double>> times(counts.size());
    for (std::size_t c = 0; c < counts.size(); ++c) {
        files[c] = AliasFileText(counts[c]);
        WriteBytes(folder + "aliases.xml", files[c]);
        TimeToWindow(brisq, folder, nullptr, std::chrono::seconds(300));  // warms the file cache
    }
    for (int i = 0; i < runs; ++i) {
        for (std::size_t c = 0; c < counts.size(); ++c) {
            WriteBytes(folder + "aliases.xml", files[c]);
            times[c].push_back(TimeToWindow(brisq, folder, nullptr, std::chrono::seconds(300)));
        }
    }
    std::vector<std::string> lines;
    double empty = Median(times[0]);
    char line[200];
    for (std::size_t c = 0; c < counts.size(); ++c) {
        double t = Median(times[c]);
        std::snprintf(line, sizeof(line), "Brisq.exe with %6d aliases (%4.1f MB) to launcher visible: median %.1f ms, "
                      "ratio to no aliases %.2f%s", counts[c], files[c].size() / 1e6, t, t / empty,
                      t < 0 ? " (not shown within 300 s)" : "");
        lines.push_back(line);
    }
    lines.push_back("goals: 20,000 aliases within 2x the start with none; 200,000 within a few seconds");
    DeleteFileA((folder + "aliases.xml").c_str());
    return lines;
}
}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    int mostAliases = argc > 2 ? std::atoi(argv[2]) : 200000;  // a slower build may skip the largest file
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

    // The same program without the code page in its manifest, from a folder of its own.
    std::string plainFolder = std::string(temp) + "brisq-startup-bench-system-code-page\\";
    CreateDirectoryA(plainFolder.c_str(), nullptr);
    std::string plain = plainFolder + "Brisq.exe";
    std::vector<double> utf8Times, plainTimes;
    if (CopyFileA((bin + "brisq_system_code_page.exe").c_str(), plain.c_str(), FALSE)) {
        TimeToWindow(plain, plainFolder);
        for (int i = 0; i < runs; ++i) {
            utf8Times.push_back(TimeToWindow(brisq, folder));
            plainTimes.push_back(TimeToWindow(plain, plainFolder));
        }
        for (const char* name : {"Brisq.exe", "settings.xml", "aliases.xml"}) DeleteFileA((plainFolder + name).c_str());
    }
    RemoveDirectoryA(plainFolder.c_str());

    std::vector<std::string> aliasLines = AliasStartups(brisq, folder, runs, mostAliases);
    std::printf("runs: %d each, alternating\n", runs);
    std::printf("Brisq.exe to launcher visible: median %.1f ms\n", b);
    std::printf("notepad.exe to its window visible: median %.1f ms\n", n);
    std::printf("ratio Brisq / notepad: %.2f (goal <= 1.20)\n", b / n);
    if (!plainTimes.empty()) {
        double u = Median(utf8Times), p = Median(plainTimes);
        std::printf("Brisq.exe (UTF-8 code page) to launcher visible: median %.1f ms\n", u);
        std::printf("the same without the code page in its manifest: median %.1f ms\n", p);
        std::printf("ratio with / without: %.2f\n", u / p);
    } else {
        std::printf("brisq_system_code_page.exe not found: no comparison of the manifests\n");
    }
    std::printf("Brisq.exe size: %lu bytes\n", attributes.nFileSizeLow);
    if (privateBytes)
        std::printf("Brisq private bytes once shown: %lu KiB\n", (unsigned long)(privateBytes / 1024));
    else
        std::printf("Brisq private bytes once shown: not reported here\n");
    for (const std::string& line : aliasLines) std::printf("%s\n", line.c_str());
    DeleteFileA((folder + "settings.xml").c_str());
    DeleteFileA((folder + "aliases.xml").c_str());
    DeleteFileA(brisq.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
