// Hot key to launcher shown, in front and with the focus in its command box:
// presses of Ctrl+R sent with SendInput to a running Brisq.exe, each from
// hidden. Baseline, pressed in turn with it: a plain window of this program,
// on a thread of its own, that shows itself, comes to the front and focuses
// its edit field on its own hot key (Ctrl+Shift+F11), as simply as that can
// be done. Then where Brisq's time goes: BrisqTraced.exe's marks per press.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {
using namespace bench;
const int kPresses = 40;
const UINT kCommandBox = 1000;

void PressHotKey(std::vector<WORD> keys) {
    std::vector<INPUT> input;
    for (WORD key : keys) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
        input.push_back(i);
    }
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *key;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        input.push_back(i);
    }
    SendInput(UINT(input.size()), input.data(), sizeof(INPUT));
}

bool ShownWithFocus(HWND window, HWND field) {
    if (!IsWindowVisible(window) || GetForegroundWindow() != window) return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus) return false;
    return info.hwndFocus == field || IsChild(field, info.hwndFocus);
}

// The baseline window: a popup of the launcher's size with one edit field.
struct Baseline {
    HWND window = nullptr;
    HWND field = nullptr;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD thread = 0;

    static LRESULT CALLBACK Procedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
        if (id == WM_HOTKEY) {
            if (GetForegroundWindow() == window && IsWindowVisible(window)) {
                ShowWindow(window, SW_HIDE);
            } else {
                ShowWindow(window, SW_SHOW);
                SetForegroundWindow(window);
                SetFocus(GetWindow(window, GW_CHILD));
            }
            return 0;
        }
        return DefWindowProcA(window, id, wParam, lParam);
    }
    static DWORD WINAPI Run(void* param) {
        auto* self = static_cast<Baseline*>(param);
        WNDCLASSA type{};
        type.lpfnWndProc = Procedure;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "BaselineLauncher";
        type.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
        RegisterClassA(&type);
        self->window = CreateWindowExA(WS_EX_TOOLWINDOW, "BaselineLauncher", "", WS_POPUP | WS_BORDER, 266, 353, 491,
                                       62, nullptr, nullptr, type.hInstance, nullptr);
        self->field = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 12, 30, 460, 22, self->window,
                                      nullptr, type.hInstance, nullptr);
        bool registered = RegisterHotKey(self->window, 1, MOD_CONTROL | MOD_SHIFT, VK_F11);
        SetEvent(self->ready);
        if (!registered) return 1;
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        UnregisterHotKey(self->window, 1);
        DestroyWindow(self->window);
        return 0;
    }
};

// One press from hidden; milliseconds to shown with focus, negative on failure.
double PressFromHidden(HWND window, HWND field, const std::vector<WORD>& keys, double* pressedAt = nullptr) {
    // Hidden by its own hot key, which hides it only while it is in front.
    for (int tries = 0; IsWindowVisible(window); ++tries) {
        if (tries == 5) return -1;
        if (GetForegroundWindow() != window) {
            SetForegroundWindow(window);
            Until(1000, [&] { return GetForegroundWindow() == window; });
        }
        PressHotKey(keys);
        Until(1000, [&] { return !IsWindowVisible(window); });
    }
    double start = Now();
    if (pressedAt) *pressedAt = start;
    PressHotKey(keys);
    if (!Until(5000, [&] { return ShownWithFocus(window, field); })) {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        std::printf("not shown with focus: visible %d, foreground %p (window %p), focus %p (field %p)\n",
                    IsWindowVisible(window), (void*)GetForegroundWindow(), (void*)window, (void*)info.hwndFocus,
                    (void*)field);
        return -2;
    }
    return Now() - start;
}

void PrintSamples(const char* what, const std::vector<double>& samples) {
    std::printf("%s: median %.2f ms, min %.2f, max %.2f, above 16 ms: %zu of %zu\n", what, Median(samples),
                *std::min_element(samples.begin(), samples.end()), *std::max_element(samples.begin(), samples.end()),
                size_t(std::count_if(samples.begin(), samples.end(), [](double s) { return s > 16.0; })),
                samples.size());
}
}  // namespace

int main() {
    KeepRunValue keep;
    Baseline baseline;
    CloseHandle(CreateThread(nullptr, 0, Baseline::Run, &baseline, 0, &baseline.thread));
    WaitForSingleObject(baseline.ready, 10000);
    if (!baseline.window) {
        std::printf("no baseline window\n");
        return 1;
    }

    std::vector<double> brisqSamples, baselineSamples;
    int failed = 0;  // presses that did not end shown with focus (another window took the front)
    {
        Started brisq(Beside("Brisq.exe"), "");
        HWND launcher = nullptr;
        Until(20000, [&] { return (launcher = FindLauncher(brisq.Id())) && IsWindowVisible(launcher); });
        if (!launcher) {
            std::printf("no launcher window\n");
            return 1;
        }
        HWND box = GetDlgItem(launcher, kCommandBox);
        for (int i = 0; i < kPresses; ++i) {
            double b = PressFromHidden(launcher, box, {VK_CONTROL, 'R'});
            if (b < 0) ++failed;
            else brisqSamples.push_back(b);
        }
    }
    // Pressing in turn makes each window take the front from the other, which
    // neither does when it is used alone: the baseline comes after.
    for (int i = 0; i < kPresses; ++i) {
        double p = PressFromHidden(baseline.window, baseline.field, {VK_CONTROL, VK_SHIFT, VK_F11});
        if (p < 0) ++failed;
        else baselineSamples.push_back(p);
    }
    ShowWindow(baseline.window, SW_HIDE);

    // Where Brisq's time goes, from the traced build's marks.
    StepTable steps;
    {
        Started traced(Beside("BrisqTraced.exe"), "");
        HWND launcher = nullptr;
        Until(20000, [&] { return (launcher = FindLauncher(traced.Id())) && IsWindowVisible(launcher); });
        HWND box = launcher ? GetDlgItem(launcher, kCommandBox) : nullptr;
        std::size_t seen = traced.Marks().size();
        for (int i = 0; launcher && i < kPresses; ++i) {
            double pressedAt = 0;
            double total = PressFromHidden(launcher, box, {VK_CONTROL, 'R'}, &pressedAt);
            if (total < 0) break;
            // The last marks may still be in the pipe when the window is seen.
            std::vector<std::pair<double, std::string>> marks;
            Until(1000, [&] {
                marks = traced.Marks();
                return !marks.empty() && marks.back().second == "focused";
            });
            // This press's marks: those after the press, relative to it.
            std::vector<std::pair<double, std::string>> press;
            double offset = pressedAt - traced.StartedAt();
            for (std::size_t m = seen; m < marks.size(); ++m)
                if (marks[m].first >= offset) press.emplace_back(marks[m].first - offset, marks[m].second);
            seen = marks.size();
            steps.Add(press, total, "(shown and focused, seen from outside)");
        }
    }
    PostThreadMessageA(baseline.thread, WM_QUIT, 0, 0);

    if (brisqSamples.empty() || baselineSamples.empty()) {
        std::printf("hot key bench failed: no presses that showed\n");
        return 2;
    }
    if (failed) std::printf("presses left out (the window did not end in front with focus): %d\n", failed);
    PrintSamples("Brisq: hot key to launcher shown, in front and focused", brisqSamples);
    PrintSamples("baseline: hot key to a plain window shown, in front and focused", baselineSamples);
    std::printf("ratio of the medians Brisq / baseline: %.2f (goal: Brisq <= 7 ms median, none above 16 ms)\n",
                Median(brisqSamples) / Median(baselineSamples));
    std::printf("where BrisqTraced.exe's press goes (each step from the mark before it, from SendInput):\n");
    steps.Print("  ");
    return 0;
}
