// Hot key to launcher shown, in front and with the focus in its command box:
// the median of 20 presses of Ctrl+R sent with SendInput to a running
// Brisq.exe. Baseline: the same input delivering WM_HOTKEY to this program's
// own window, which is the floor any launcher could reach.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {
using namespace bench;
const int kPresses = 20;
const UINT kCommandBox = 1000;

void PressHotKey(WORD modifier, WORD key) {
    INPUT input[4] = {};
    for (INPUT& i : input) i.type = INPUT_KEYBOARD;
    input[0].ki.wVk = modifier;
    input[1].ki.wVk = key;
    input[2].ki.wVk = key;
    input[2].ki.dwFlags = KEYEVENTF_KEYUP;
    input[3].ki.wVk = modifier;
    input[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, input, sizeof(INPUT));
}

bool ShownWithFocus(HWND launcher, DWORD thread) {
    if (!IsWindowVisible(launcher) || GetForegroundWindow() != launcher) return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(thread, &info) || !info.hwndFocus) return false;
    HWND box = GetDlgItem(launcher, kCommandBox);
    return info.hwndFocus == box || IsChild(box, info.hwndFocus);
}

// Ctrl+Shift+F11 delivered to a window of this thread.
std::vector<double> Baseline() {
    HWND window = CreateWindowA("STATIC", "baseline", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    std::vector<double> samples;
    if (!RegisterHotKey(window, 1, MOD_CONTROL, VK_F11)) return samples;
    for (int i = 0; i < kPresses; ++i) {
        double start = Now();
        PressHotKey(VK_CONTROL, VK_F11);
        MSG message;
        bool got = Until(2000, [&] { return PeekMessageA(&message, window, WM_HOTKEY, WM_HOTKEY, PM_REMOVE) != 0; });
        if (got) samples.push_back(Now() - start);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    UnregisterHotKey(window, 1);
    DestroyWindow(window);
    return samples;
}

}  // namespace

int main(int argc, char** argv) {
    KeepRunValue keep;
    std::string brisq = argc > 1 ? argv[1] : Beside("Brisq.exe");
    std::string commandLine = "\"" + brisq + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        std::printf("cannot start %s\n", brisq.c_str());
        return 1;
    }
    HWND launcher = nullptr;
    Until(10000, [&] { return (launcher = FindLauncher(started.dwProcessId)) != nullptr && IsWindowVisible(launcher); });
    int status = 0;
    std::vector<double> samples;
    if (!launcher) {
        std::printf("no launcher window\n");
        status = 1;
    } else {
        DWORD thread = GetWindowThreadProcessId(launcher, nullptr);
        for (int i = 0; i < kPresses && status == 0; ++i) {
            // From hidden: a press while it is in front hides it.
            if (IsWindowVisible(launcher)) {
                if (!ShownWithFocus(launcher, thread)) SetForegroundWindow(launcher);
                PressHotKey(VK_CONTROL, 'R');
                if (!Until(2000, [&] { return !IsWindowVisible(launcher); })) status = 2;
            }
            double start = Now();
            PressHotKey(VK_CONTROL, 'R');
            if (Until(2000, [&] { return ShownWithFocus(launcher, thread); })) samples.push_back(Now() - start);
            else status = 3;
        }
    }
    TerminateProcess(started.hProcess, 0);
    WaitForSingleObject(started.hProcess, 5000);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    if (status) {
        std::printf("hot key bench failed (%d) after %zu presses\n", status, samples.size());
        return status;
    }

    std::vector<double> baseline = Baseline();
    double median = Median(samples);
    std::printf("hot key to launcher visible and focused: median %.2f ms, min %.2f, max %.2f over %zu presses\n",
                median, *std::min_element(samples.begin(), samples.end()),
                *std::max_element(samples.begin(), samples.end()), samples.size());
    if (!baseline.empty()) {
        double floor = Median(baseline);
        std::printf("baseline hot key to own WM_HOTKEY: median %.2f ms over %zu presses; ratio %.1f\n", floor,
                    baseline.size(), median / floor);
    }
    return 0;
}
