// Start-up, each figure beside its baselines from the same run:
// - as a user's shell starts a program (CreateProcess, the program's folder as
//   its working folder) until its first top-level window is visible: Brisq.exe
//   from a new folder each time (its first start: the defaults are written),
//   Wine's notepad.exe, and minimal_window.exe, the floor any window program
//   stands on; rounds alternate the three, and each ratio is the median of
//   the rounds' own ratios, so a slow spell of the machine weighs on all alike;
// - why the earlier measure (shown and painted, a folder already set up) read
//   lower: both measures of the same starts, side by side;
// - where the time goes: BrisqTraced.exe's marks, step by step, beside the
//   floor's own marks;
// - commit once shown and idle, against notepad's and the floor's;
// - the size of Brisq.exe;
// - Brisq.exe with its manifest's UTF-8 code page against the same program
//   built without it (brisq_system_code_page.exe);
// - with 20,000 and 200,000 aliases against none: to the launcher shown, and
//   to ready (a message sent once it shows is answered).
// Arguments: rounds (default 21), most aliases (default 200000).
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
};

// One start of |exe| in |folder|, to its launcher shown and painted.
Start StartOnce(const std::string& exe, const std::string& folder) {
    Start result;
    Started program(exe, folder);
    if (!program.Running()) return result;
    HWND window = nullptr;
    result.shown = program.TimeToWindow(true, kDeadlineMs, &window);
    if (result.shown < 0) return result;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, UINT(kDeadlineMs), &answer))
        result.ready = Now() - program.StartedAt();
    return result;
}

// One start as a user's shell makes it: the program's own folder is its
// working folder. Timed to its first top-level window visible, and on to that
// window painted (the earlier measure); commit once it is idle.
struct ShellStart {
    double visible = -1;
    double painted = -1;
    SIZE_T commit = 0;
};

std::string FolderOf(const std::string& exe) { return exe.substr(0, exe.find_last_of('\\') + 1); }

ShellStart StartAsShell(const std::string& exe, StepTable* steps = nullptr, StepTable* after = nullptr) {
    ShellStart result;
    Started program(exe, FolderOf(exe));
    if (!program.Running()) return result;
    HWND window = nullptr;
    result.visible = program.TimeToWindow(false, kDeadlineMs, &window);
    if (result.visible < 0) return result;
    if (Until(kDeadlineMs, [&] { return ShownAndPainted(window); })) result.painted = Now() - program.StartedAt();
    WaitForInputIdle(program.Process(), 5000);
    result.commit = CommitOf(program.Process());
    if (steps) {
        auto marks = program.Marks();
        std::vector<std::pair<double, std::string>> before, later;
        for (const auto& mark : marks) (mark.first <= result.visible ? before : later).push_back(mark);
        steps->Add(before, result.visible, "(visible, seen from outside)");
        if (after && !later.empty()) after->Add(later, -1, "", result.visible);
    }
    return result;
}

// Brisq.exe copied into a folder of its own that no Brisq has run in.
std::string FreshCopy(const std::string& source, const std::string& parent, int round) {
    std::string folder = parent + "round" + std::to_string(round) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string exe = folder + source.substr(source.find_last_of('\\') + 1);
    return CopyFileA(source.c_str(), exe.c_str(), FALSE) ? exe : std::string();
}

void RemoveFreshCopy(const std::string& exe) {
    std::string folder = FolderOf(exe);
    for (const char* name : {"settings.xml", "aliases.xml", "Brisq.exe", "BrisqTraced.exe"})
        DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
}

double MedianOf(const std::vector<ShellStart>& starts, double ShellStart::*field) {
    std::vector<double> times;
    for (const ShellStart& s : starts) times.push_back(s.*field);
    return Median(times);
}

// The median of the rounds' own ratios a / b.
double MedianRatio(const std::vector<ShellStart>& a, const std::vector<ShellStart>& b, double ShellStart::*field) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i].*field > 0 && b[i].*field > 0) ratios.push_back(a[i].*field / b[i].*field);
    return ratios.empty() ? 0 : Median(ratios);
}

double MedianCommitKiB(const std::vector<ShellStart>& starts) {
    std::vector<double> kib;
    for (const ShellStart& s : starts) kib.push_back(double(s.commit) / 1024);
    return Median(kib);
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
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
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

    std::string floor = bin + "minimal_window.exe";
    if (GetFileAttributesA(floor.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("minimal_window.exe not found\n");
        return 1;
    }

    // Rounds of four starts, the order turning each round: Brisq.exe new to its
    // folder (what a new user starts with), Brisq.exe where it ran before (what
    // the earlier measure started), notepad and the floor.
    std::vector<ShellStart> fresh, reused, notepads, floors, traces;
    StepTable brisqSteps, afterShown, floorSteps;
    StartAsShell(brisq);  // warms the file cache, and sets up the reused folder
    StartAsShell(notepad);
    StartAsShell(floor);
    for (int round = 0; round < runs; ++round) {
        std::string freshBrisq = FreshCopy(brisq, folder, round), freshTraced = FreshCopy(traced, folder, round + runs);
        ShellStart starts[4];
        for (int i = 0; i < 4; ++i) {
            switch ((round + i) % 4) {
            case 0: starts[0] = StartAsShell(freshBrisq); break;
            case 1: starts[1] = StartAsShell(brisq); break;
            case 2: starts[2] = StartAsShell(notepad); break;
            case 3: starts[3] = StartAsShell(floor, &floorSteps); break;
            }
        }
        fresh.push_back(starts[0]), reused.push_back(starts[1]), notepads.push_back(starts[2]);
        floors.push_back(starts[3]);
        traces.push_back(StartAsShell(freshTraced, &brisqSteps, &afterShown));
        RemoveFreshCopy(freshBrisq), RemoveFreshCopy(freshTraced);
    }
    const auto visible = &ShellStart::visible, painted = &ShellStart::painted;
    std::printf("%d rounds, each starting Brisq.exe, notepad.exe and minimal_window.exe as a shell does, the order "
                "turning; times from CreateProcess to the first top-level window visible\n", runs);
    std::printf("  minimal window program (the floor): median %6.1f ms\n", MedianOf(floors, visible));
    std::printf("  notepad.exe:                        median %6.1f ms\n", MedianOf(notepads, visible));
    std::printf("  Brisq.exe, first start in its folder: median %4.1f ms\n", MedianOf(fresh, visible));
    std::printf("start-up ratio Brisq / notepad: %.2f (goal <= 1.00); Brisq / the floor: %.2f (goal <= 1.50); "
                "each the median of the rounds' ratios\n",
                MedianRatio(fresh, notepads, visible), MedianRatio(fresh, floors, visible));

    std::printf("why the earlier measure read lower, from the same starts (Brisq / notepad):\n");
    std::printf("  earlier: to shown and painted, Brisq where it ran before   %.2f\n",
                MedianRatio(reused, notepads, painted));
    std::printf("  to visible instead of painted, Brisq where it ran before  %.2f\n",
                MedianRatio(reused, notepads, visible));
    std::printf("  to visible, Brisq new to its folder (this measure)         %.2f\n",
                MedianRatio(fresh, notepads, visible));
    std::vector<double> notepadPaint, brisqPaint, firstStart;
    for (int i = 0; i < runs; ++i) {
        notepadPaint.push_back(notepads[i].painted - notepads[i].visible);
        brisqPaint.push_back(reused[i].painted - reused[i].visible);
        firstStart.push_back(fresh[i].visible - reused[i].visible);
    }
    std::printf("  notepad paints its window %.1f ms after it is visible, Brisq %.1f ms; a first start costs Brisq "
                "%.1f ms more (medians)\n", Median(notepadPaint), Median(brisqPaint), Median(firstStart));

    std::printf("where BrisqTraced.exe's first start goes (each step from the mark before it):\n");
    brisqSteps.Print("  ");
    std::printf("where the floor's goes:\n");
    floorSteps.Print("  ");
    std::printf("after Brisq was visible, until idle:\n");
    afterShown.Print("  ");

    double bc = MedianCommitKiB(fresh), nc = MedianCommitKiB(notepads), fc = MedianCommitKiB(floors);
    std::printf("commit once shown and idle: Brisq %.0f KiB, notepad %.0f KiB, the floor %.0f KiB; "
                "Brisq / notepad %.2f (goal <= 1.00), Brisq / the floor %.2f\n",
                bc, nc, fc, nc > 0 ? bc / nc : 0, fc > 0 ? bc / fc : 0);
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExA(brisq.c_str(), GetFileExInfoStandard, &attributes);
    std::printf("Brisq.exe size: %lu bytes; ratio to the goal of 500,000: %.2f\n", attributes.nFileSizeLow,
                attributes.nFileSizeLow / 500000.0);

    // Fewer runs of the figures below: they are not the goal's.
    const int otherRuns = std::max(1, runs / 3);

    // The same program without the code page in its manifest, from a folder of its own.
    std::string plainFolder = std::string(temp) + "brisq-startup-bench-system-code-page\\";
    CreateDirectoryA(plainFolder.c_str(), nullptr);
    std::string plain = plainFolder + "Brisq.exe";
    if (CopyFileA((bin + "brisq_system_code_page.exe").c_str(), plain.c_str(), FALSE)) {
        std::vector<Start> utf8Starts, plainStarts;
        StartOnce(plain, plainFolder);
        for (int i = 0; i < otherRuns; ++i) {
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
    int aliasRuns = std::max(1, otherRuns / 2);
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
