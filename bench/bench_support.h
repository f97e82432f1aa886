#pragma once
// What the benchmarks that drive a running Brisq.exe share.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

inline double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// Spins (yielding) until done() or the deadline; false on the deadline.
template <class Condition>
bool Until(double deadlineMs, Condition done) {
    double end = Now() + deadlineMs;
    while (!done()) {
        if (Now() > end) return false;
        SwitchToThread();
    }
    return true;
}

inline double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

// The first top-level window of the process that passes |test|.
template <class Test>
HWND FirstWindowOf(DWORD process, const Test& test) {
    struct Search {
        DWORD process;
        const Test& test;
        HWND window;
    } search{process, test, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->process || !s->test(window)) return TRUE;
            s->window = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.window;
}

// The launcher window of a Brisq process: the top-level window holding the command box.
inline HWND FindLauncher(DWORD process) {
    return FirstWindowOf(process, [](HWND window) { return GetDlgItem(window, 1000) != nullptr; });
}

// Brisq brings the Run value in line with its settings at start-up; a bench
// leaves the registry as it found it.
class KeepRunValue {
public:
    KeepRunValue() {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_READ | KEY_WRITE, &key_) != ERROR_SUCCESS) key_ = nullptr;
        DWORD size = sizeof(data_);
        present_ = key_ && RegQueryValueExA(key_, "Brisq", nullptr, &type_, data_, &size) == ERROR_SUCCESS;
        size_ = size;
    }
    ~KeepRunValue() {
        if (!key_) return;
        if (present_) RegSetValueExA(key_, "Brisq", 0, type_, data_, size_);
        else RegDeleteValueA(key_, "Brisq");
        RegCloseKey(key_);
    }
    KeepRunValue(const KeepRunValue&) = delete;
    KeepRunValue& operator=(const KeepRunValue&) = delete;

private:
    static constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    HKEY key_ = nullptr;
    bool present_ = false;
    DWORD type_ = 0, size_ = 0;
    BYTE data_[4096];
};

// A file beside the running benchmark.
inline std::string Beside(const char* name) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

// Shown and painted: visible, and nothing of it or its children left to paint.
inline bool ShownAndPainted(HWND window) {
    if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) return false;
    bool painted = true;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM all) -> BOOL {
            if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) *reinterpret_cast<bool*>(all) = false;
            return *reinterpret_cast<bool*>(all);
        },
        reinterpret_cast<LPARAM>(&painted));
    return painted;
}

// The first top-level window of the process that is shown (and painted, if asked).
inline HWND ShownWindowOf(DWORD process, bool painted) {
    return FirstWindowOf(process, [painted](HWND window) {
        return IsWindowVisible(window) && (!painted || ShownAndPainted(window));
    });
}

// A program started by a bench, with what it writes to standard output kept
// (BrisqTraced.exe writes its marks there). Ended, without its exit save, when
// the object goes.
class Started {
public:
    Started(const std::string& exe, const std::string& folder, const std::string& arguments = "") {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        HANDLE write = nullptr;
        if (!CreatePipe(&read_, &write, &inherit, 1 << 16)) return;
        SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = write;
        startup.hStdInput = nullptr;
        std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
        start_ = Now();
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &process_))
            process_ = {};
        CloseHandle(write);
    }
    ~Started() {
        if (process_.hProcess) {
            TerminateProcess(process_.hProcess, 0);
            WaitForSingleObject(process_.hProcess, 10000);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        if (read_) CloseHandle(read_);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    bool Running() const { return process_.hProcess != nullptr; }
    DWORD Id() const { return process_.dwProcessId; }
    HANDLE Process() const { return process_.hProcess; }
    double StartedAt() const { return start_; }

    // Milliseconds from CreateProcess to a window shown (and painted); negative on the deadline.
    double TimeToWindow(bool painted, double deadlineMs, HWND* window = nullptr) const {
        HWND found = nullptr;
        if (!Until(deadlineMs, [&] { return (found = ShownWindowOf(Id(), painted)) != nullptr; })) return -1;
        if (window) *window = found;
        return Now() - start_;
    }

    // Everything the program wrote, once it has ended.
    std::string Output() {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(read_, chunk, sizeof(chunk), &got, nullptr) && got) output_.append(chunk, got);
        return output_;
    }

    // The marks written so far, as (milliseconds since CreateProcess, step), in order.
    std::vector<std::pair<double, std::string>> Marks() {
        DWORD available = 0;
        while (PeekNamedPipe(read_, nullptr, 0, nullptr, &available, nullptr) && available) {
            std::string chunk(available, '\0');
            DWORD got = 0;
            if (!ReadFile(read_, chunk.data(), available, &got, nullptr) || !got) break;
            output_.append(chunk, 0, got);
        }
        static const double ticksPerMs = [] {
            LARGE_INTEGER f;
            QueryPerformanceFrequency(&f);
            return double(f.QuadPart) / 1000.0;
        }();
        std::vector<std::pair<double, std::string>> marks;
        std::size_t at = 0, end;
        while ((end = output_.find('\n', at)) != std::string::npos) {
            std::string line = output_.substr(at, end - at);
            at = end + 1;
            std::size_t space = line.find(' ');
            if (space == std::string::npos) continue;
            double ms = double(std::strtoll(line.c_str(), nullptr, 10)) / ticksPerMs - start_;
            marks.emplace_back(ms, line.substr(space + 1));
        }
        return marks;
    }

private:
    PROCESS_INFORMATION process_{};
    HANDLE read_ = nullptr;
    double start_ = 0;
    std::string output_;
};

// Committed private memory: PrivateUsage where the system reports it, else
// PagefileUsage (Wine reports PrivateUsage as 0).
inline SIZE_T CommitOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters)))
        return 0;
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

// Median step times of several traced runs: each step's time is from the mark
// before it. Steps keep the order of the first run.
class StepTable {
public:
    // |fromMs|: where the first step starts (0, the process's creation).
    void Add(const std::vector<std::pair<double, std::string>>& marks, double endMs, const char* endStep,
             double fromMs = 0) {
        double before = fromMs;
        for (const auto& [at, step] : marks) Note(step, at - before), before = at;
        // Seen from outside before the last mark was written: nothing left to count.
        if (endMs >= 0) Note(endStep, std::max(0.0, endMs - before));
    }
    // Prints each step's median and its share of the sum of the medians.
    void Print(const char* indent) const {
        double total = 0;
        for (const std::string& step : order_) total += Median(samples_.at(step));
        for (const std::string& step : order_) {
            double m = Median(samples_.at(step));
            std::printf("%s%-44s %8.2f ms %5.1f %%\n", indent, step.c_str(), m, total > 0 ? 100 * m / total : 0);
        }
        std::printf("%s%-44s %8.2f ms\n", indent, "sum of the medians", total);
    }

private:
    void Note(const std::string& step, double ms) {
        if (!samples_.count(step)) order_.push_back(step);
        samples_[step].push_back(ms);
    }
    std::vector<std::string> order_;
    std::map<std::string, std::vector<double>> samples_;
};

}  // namespace bench
