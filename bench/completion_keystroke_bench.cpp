// Keystroke to completed field with 20,000 entries where only the last one
// matches: the pure list scan, and (on Windows) the real command box, which runs
// with UTF-8 as its code page as Brisq does. Each once with ASCII entries and
// once with Cyrillic ones (two bytes a letter), in the same run, and their ratio.
// (This file is UTF-8.)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "completion/completion_list.h"
#include "text/utf8.h"
#ifdef _WIN32
#include "completion/completion_combo.h"
#include "res/resource.h"
#include "text/system_conversion.h"
#endif

namespace {
const int kEntries = 20000;

struct Entries {
    const char* name;
    const char* format;  // of the entries that do not match
    const char* last;    // the one that does
    std::wstring typed;  // typed a character at a time
};
const Entries kAscii{"ASCII", "entry%05d", "target-entry-at-the-end", L"target-entry"};
const Entries kCyrillic{"Cyrillic", "запись%05d", "цель-запись-в-конце", L"цель-запись"};

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}
double Microseconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - from).count();
}
template <class Fill>
void FillEntries(const Entries& entries, Fill add) {
    char text[64];
    for (int i = 0; i < kEntries - 1; ++i) {
        std::snprintf(text, sizeof(text), entries.format, i);
        add(text);
    }
    add(entries.last);
}

double PureScan(const Entries& entries, const CodePage& page) {
    CompletionList list(page);
    FillEntries(entries, [&](const char* text) { list.Add(text); });
    const std::string last = entries.last;
    std::vector<std::size_t> prefixes;  // what is typed, a character at a time
    for (std::size_t i = 0; i < last.size();) prefixes.push_back(i += CharLength(page, last.data(), i, last.size()));
    std::vector<double> samples;
    for (int round = 0; round < 200; ++round) {
        std::string typed = last.substr(0, prefixes[std::size_t(round) % prefixes.size()]);
        auto start = std::chrono::steady_clock::now();
        const std::string* match = list.Complete(typed);
        samples.push_back(Microseconds(start));
        if (!match) std::printf("no match for %s\n", typed.c_str());
    }
    double median = Median(samples);
    std::printf("pure scan, %d %s entries, %s code page, match at the end: median %.1f us per keystroke\n", kEntries,
                entries.name, page.IsDoubleByte() ? "UTF-8" : "single-byte", median);
    return median;
}

#ifdef _WIN32
INT_PTR CALLBACK PlainDialog(HWND, UINT id, WPARAM, LPARAM) { return id == WM_INITDIALOG; }

// Typed as a keyboard's characters reach the field: whole, in UTF-16.
double RealControl(const Entries& entries) {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr, PlainDialog, 0);
    HWND box = GetDlgItem(dialog, IDC_COMMAND_BOX);
    CompletionCombo combo;
    combo.Attach(box);
    HWND edit = FindWindowExA(box, nullptr, "Edit", nullptr);
    FillEntries(entries, [&](const char* text) { combo.AddItem(text); });
    ShowWindow(dialog, SW_SHOW);
    SetFocus(edit);

    std::vector<double> samples;
    for (int round = 0; round < 20; ++round) {
        SetWindowTextA(edit, "");
        for (wchar_t c : entries.typed) {
            WPARAM key = c < 0x80 ? VkKeyScanW(c) & 0xFF : VK_PACKET;
            auto start = std::chrono::steady_clock::now();
            SendMessageW(edit, WM_KEYDOWN, key, 1);
            SendMessageW(edit, WM_CHAR, WPARAM(c), 1);
            SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
            samples.push_back(Microseconds(start));
        }
    }
    char text[128] = "";
    GetWindowTextA(edit, text, sizeof(text));
    double median = Median(samples);
    std::printf("command box under the real control, %d %s entries: median %.1f us per keystroke (%zu keystrokes, "
                "field \"%s\")\n", kEntries, entries.name, median, samples.size(), text);
    DestroyWindow(dialog);
    return median;
}

// The baseline: the same visible change done minimally in the same control, not
// taken over (set the completed text, select the tail, repaint).
double MinimalChange(const Entries& entries) {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr, PlainDialog, 0);
    HWND edit = FindWindowExA(GetDlgItem(dialog, IDC_COMMAND_BOX), nullptr, "Edit", nullptr);
    ShowWindow(dialog, SW_SHOW);
    const std::wstring last(Widen(entries.last));
    std::vector<double> samples;
    for (int round = 0; round < 20; ++round) {
        for (std::size_t typed = 1; typed <= entries.typed.size(); ++typed) {
            auto start = std::chrono::steady_clock::now();
            SetWindowTextW(edit, last.c_str());
            SendMessageW(edit, EM_SETSEL, typed, -1);
            UpdateWindow(edit);
            samples.push_back(Microseconds(start));
        }
    }
    double median = Median(samples);
    std::printf("baseline, the same change done minimally, %s text: median %.1f us\n", entries.name, median);
    DestroyWindow(dialog);
    return median;
}
#endif
}  // namespace

int main() {
    const SingleByteCodePage singleByte;
    const Utf8CodePage utf8;
    PureScan(kAscii, singleByte);
    double ascii = PureScan(kAscii, utf8), cyrillic = PureScan(kCyrillic, utf8);
    std::printf("pure scan under UTF-8, ratio Cyrillic / ASCII: %.2f\n", cyrillic / ascii);
#ifdef _WIN32
    std::printf("process code page: %u\n", GetACP());
    ascii = RealControl(kAscii);
    cyrillic = RealControl(kCyrillic);
    std::printf("command box, ratio Cyrillic / ASCII: %.2f\n", cyrillic / ascii);
    double minimalAscii = MinimalChange(kAscii), minimalCyrillic = MinimalChange(kCyrillic);
    std::printf("baseline, ratio Cyrillic / ASCII: %.2f\n", minimalCyrillic / minimalAscii);
    std::printf("command box against its baseline: ASCII %.2f, Cyrillic %.2f\n", ascii / minimalAscii,
                cyrillic / minimalCyrillic);
#endif
    return 0;
}
