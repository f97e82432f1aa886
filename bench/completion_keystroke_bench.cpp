// Keystroke to completed field with 20,000 entries where only the last one
// matches: the pure list scan, and (on Windows) the real command box.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "completion/completion_list.h"
#ifdef _WIN32
#include "completion/completion_combo.h"
#include "res/resource.h"
#endif

namespace {
const int kEntries = 20000;
const char kTyped[] = "target-entry";

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}
double Microseconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - from).count();
}
template <class Fill>
void FillEntries(Fill add) {
    char text[32];
    for (int i = 0; i < kEntries - 1; ++i) {
        std::snprintf(text, sizeof(text), "entry%05d", i);
        add(text);
    }
    add("target-entry-at-the-end");
}

void PureScan() {
    SingleByteCodePage page;
    CompletionList list(page);
    FillEntries([&](const char* text) { list.Add(text); });
    std::vector<double> samples;
    std::string typed;
    for (int round = 0; round < 200; ++round) {
        typed = std::string(kTyped, 1 + round % (sizeof(kTyped) - 1));
        auto start = std::chrono::steady_clock::now();
        const std::string* match = list.Complete(typed);
        samples.push_back(Microseconds(start));
        if (!match) std::printf("no match for %s\n", typed.c_str());
    }
    std::printf("pure scan, %d entries, match at the end: median %.1f us per keystroke\n", kEntries, Median(samples));
}

#ifdef _WIN32
INT_PTR CALLBACK PlainDialog(HWND, UINT id, WPARAM, LPARAM) { return id == WM_INITDIALOG; }

void RealControl() {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr, PlainDialog, 0);
    HWND box = GetDlgItem(dialog, IDC_COMMAND_BOX);
    CompletionCombo combo;
    combo.Attach(box);
    HWND edit = FindWindowExA(box, nullptr, "Edit", nullptr);
    FillEntries([&](const char* text) { combo.AddItem(text); });
    ShowWindow(dialog, SW_SHOW);
    SetFocus(edit);

    std::vector<double> samples;
    for (int round = 0; round < 20; ++round) {
        SetWindowTextA(edit, "");
        for (const char* c = kTyped; *c; ++c) {
            auto start = std::chrono::steady_clock::now();
            SendMessageA(edit, WM_KEYDOWN, VkKeyScanA(*c) & 0xFF, 1);
            SendMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(*c)), 1);
            SendMessageA(edit, WM_KEYUP, VkKeyScanA(*c) & 0xFF, 0xC0000001);
            samples.push_back(Microseconds(start));
        }
    }
    char text[64] = "";
    GetWindowTextA(edit, text, sizeof(text));
    std::printf("command box under the real control, %d entries: median %.1f us per keystroke (%zu keystrokes, field \"%s\")\n",
                kEntries, Median(samples), samples.size(), text);
    DestroyWindow(dialog);
}
#endif
}  // namespace

int main() {
    PureScan();
#ifdef _WIN32
    RealControl();
#endif
    return 0;
}
