#pragma once
// What the benchmarks that drive a running Brisq.exe share.
#include <windows.h>

#include <algorithm>
#include <string>
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

// The launcher window of a Brisq process: the top-level window holding the command box.
inline HWND FindLauncher(DWORD process) {
    struct Found {
        DWORD process;
        HWND window;
    } found{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* f = reinterpret_cast<Found*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != f->process || !GetDlgItem(window, 1000)) return TRUE;
            f->window = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
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

}  // namespace bench
