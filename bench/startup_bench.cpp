// Start-up, each figure beside its baseline from the same run:
// - Brisq.exe from CreateProcess to its launcher shown and painted, against
//   Wine's notepad.exe to its window shown and painted (runs alternate);
// - where that time goes: the marks of BrisqTraced.exe, step by step;
// - commit once shown and idle, against notepad's;
// - the size of Brisq.exe;
// - Brisq.exe with its manifest's UTF-8 code page against the same program
//   built without it (brisq_system_code_page.exe);
// - with 20,000 and 200,000 aliases against none: to the launcher shown, and
//   to ready (a message sent once it shows is answered).
// Arguments: runs (default 7), most aliases (default 200000).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "alias_file.h"
#include "bench_support.h"

namespace {
using namespace bench;
const double kDeadlineMs = 300000;

struct Start {
    double shown = -1;  // ms to shown and painted
    double ready = -1;  // ms until a message sent then is answered
    SIZE_T commit = 0;  // bytes, once ready and idle
};

// One start of |exe| in |folder|; marks go to |steps| when given.
Start StartOnce(const std::string& exe, const std::string& folder, StepTable* steps = nullptr) {
    Start result;
    Started program(exe, folder);
    if (!program.Running()) return result;
    HWND window = nullptr;
    result.shown = program.TimeToWindow(true, kDeadlineMs, &window);
    if (result.shown < 0) return result;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, UINT(kDeadlineMs), &answer))
        result.ready = Now() - program.StartedAt();
    WaitForInputIdle(program.Process(), 5000);
    result.commit = CommitOf(program.Process());
    if (steps) {
        // The last marks may still be on their way.
        auto marks = program.Marks();
        std::vector<std::pair<double, std::string>> before, after;
        for (const auto& mark : marks) (mark.first <= result.shown ? before : after).push_back(mark);
        steps[0].Add(before, result.shown, "(shown and painted, seen from outside)");
        if (!after.empty()) steps[1].Add(after, -1, "", result.shown);
    }
    return result;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    CloseHandle(file);
}

std::vector<double> Shown(const std::vector<Start>& starts) {
    std::vector<double> times;
    for (const Start& s : starts) times.push_back(s.shown);
    return times;
}
std::vector<double> Ready(const std::vector<Start>& starts) {
    std::vector<double> times;
    for (const Start& s : starts) times.push_back(s.ready);
    return times;
}
}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    int mostAliases = argc > 2 ? std::atoi(argv[2]) : 200000;
    KeepRunValue keep;
    std::string bin = Beside("");
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "brisq-startup-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string brisq = folder + "Brisq.exe", traced = folder + "BrisqTraced.exe";
    if (!CopyFileA((bin + "Brisq.exe").c_str(), brisq.c_str(), FALSE) ||
        !CopyFileA((bin + "BrisqTraced.exe").c_str(), traced.c_str(), FALSE)) {
        std::printf("cannot copy Brisq.exe and BrisqTraced.exe\n");
        return 1;
    }
    char notepad[MAX_PATH];
    if (!SearchPathA(nullptr, "notepad.exe", nullptr, MAX_PATH, notepad, nullptr)) {
        std::printf("notepad.exe not found\n");
        return 1;
    }

    // Default settings, no aliases: what a new user starts with.
    StartOnce(brisq, folder);  // warms the file cache
    StartOnce(notepad, folder);
    std::vector<Start> brisqStarts, notepadStarts;
    StepTable steps[2];
    for (int i = 0; i < runs; ++i) {
        brisqStarts.push_back(StartOnce(brisq, folder));
        notepadStarts.push_back(StartOnce(notepad, folder));
        StartOnce(traced, folder, steps);
    }
    double b = Median(Shown(brisqStarts)), n = Median(Shown(notepadStarts));
    std::printf("runs: %d each, alternating; times from CreateProcess\n", runs);
    std::printf("Brisq.exe to launcher shown and painted: median %.1f ms\n", b);
    std::printf("notepad.exe to its window shown and painted: median %.1f ms\n", n);
    std::printf("start-up ratio Brisq / notepad: %.2f (goal <= 1.00)\n", b / n);
    std::printf("where BrisqTraced.exe's start-up goes (each step from the mark before it):\n");
    steps[0].Print("  ");
    std::printf("after it was shown, until idle:\n");
    steps[1].Print("  ");

    std::vector<double> brisqCommit, notepadCommit;
    for (const Start& s : brisqStarts) brisqCommit.push_back(double(s.commit) / 1024);
    for (const Start& s : notepadStarts) notepadCommit.push_back(double(s.commit) / 1024);
    double bc = Median(brisqCommit), nc = Median(notepadCommit);
    std::printf("commit once shown and idle: Brisq %.0f KiB, notepad %.0f KiB; ratio %.2f (goal <= 1.00)\n", bc, nc,
                nc > 0 ? bc / nc : 0);
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExA(brisq.c_str(), GetFileExInfoStandard, &attributes);
    std::printf("Brisq.exe size: %lu bytes; ratio to the goal of 500,000: %.2f\n", attributes.nFileSizeLow,
                attributes.nFileSizeLow / 500000.0);

    // The same program without the code page in its manifest, from a folder of its own.
    std::string plainFolder = std::string(temp) + "brisq-startup-bench-system-code-page\\";
    CreateDirectoryA(plainFolder.c_str(), nullptr);
    std::string plain = plainFolder + "Brisq.exe";
    if (CopyFileA((bin + "brisq_system_code_page.exe").c_str(), plain.c_str(), FALSE)) {
        std::vector<Start> utf8Starts, plainStarts;
        StartOnce(plain, plainFolder);
        for (int i = 0; i < runs; ++i) {
            utf8Starts.push_back(StartOnce(brisq, folder));
            plainStarts.push_back(StartOnce(plain, plainFolder));
        }
        double u = Median(Shown(utf8Starts)), p = Median(Shown(plainStarts));
        std::printf("Brisq.exe (UTF-8 code page) to launcher shown and painted: median %.1f ms; without the code "
                    "page in its manifest %.1f ms; ratio %.2f\n", u, p, u / p);
        for (const char* name : {"Brisq.exe", "settings.xml", "aliases.xml"}) DeleteFileA((plainFolder + name).c_str());
    } else {
        std::printf("brisq_system_code_page.exe not found: no comparison of the manifests\n");
    }
    RemoveDirectoryA(plainFolder.c_str());

    // Large alias files: alternating runs, each against the start with none.
    std::vector<int> counts;
    for (int count : {0, 20000, 200000})
        if (count <= mostAliases) counts.push_back(count);
    std::vector<std::string> files;
    for (int count : counts) files.push_back(AliasFileText(count));
    std::vector<std::vector<Start>> starts(counts.size());
    for (std::size_t c = 0; c < counts.size(); ++c) {  // warms the file cache
        WriteBytes(folder + "aliases.xml", files[c]);
        StartOnce(brisq, folder);
    }
    int aliasRuns = std::max(1, runs / 2);
    for (int i = 0; i < aliasRuns; ++i) {
        for (std::size_t c = 0; c < counts.size(); ++c) {
            WriteBytes(folder + "aliases.xml", files[c]);
            starts[c].push_back(StartOnce(brisq, folder));
        }
    }
    double emptyShown = Median(Shown(starts[0])), emptyReady = Median(Ready(starts[0]));
    std::printf("with aliases (%d runs each, alternating):\n", aliasRuns);
    for (std::size_t c = 0; c < counts.size(); ++c) {
        double s = Median(Shown(starts[c])), r = Median(Ready(starts[c]));
        std::printf("  %6d aliases (%4.1f MB): shown %7.1f ms, ratio %.2f; ready %7.1f ms, ratio %.2f\n", counts[c],
                    files[c].size() / 1e6, s, s / emptyShown, r, r / emptyReady);
    }
    std::printf("  goal: 200,000 aliases shown within 3x the start with none\n");

    for (const char* file : {"settings.xml", "aliases.xml", "Brisq.exe", "BrisqTraced.exe"})
        DeleteFileA((folder + file).c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
