// One layout of the About text in the About label, against a plain DrawTextA
// of the same text (word-wrapped, no markup) into the same rectangle and font.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "about/about_dialog.h"
#include "about/version_info.h"
#include "richtext/markup_label.h"
#include "res/resource.h"
#include "text/system_code_page.h"

namespace {
const int kRounds = 31, kPerRound = 200;

INT_PTR CALLBACK PlainDialog(HWND, UINT id, WPARAM, LPARAM) { return id == WM_INITDIALOG; }

template <class Work>
double MedianMicroseconds(Work work) {
    std::vector<double> rounds;
    for (int round = 0; round < kRounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kPerRound; ++i) work();
        rounds.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
                         kPerRound);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}
}  // namespace

int main() {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, PlainDialog, 0);
    HWND label = GetDlgItem(dialog, IDC_ABOUT_TEXT);
    RECT client{};
    GetClientRect(label, &client);
    auto font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
    VersionInfo version;
    version.LoadFromModule(nullptr);
    const std::string text = AboutDialog::ProductText(version);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    SetBkMode(dc, TRANSPARENT);

    LOGFONTA base{};
    GetObjectA(font, sizeof(base), &base);
    const MarkupColours colours{GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOW),
                                GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)};
    MarkupCacheKey key{ToMarkupRect(client), colours.text, colours.background,
                       std::uint64_t(reinterpret_cast<UINT_PTR>(font)), MarkupTextHash(text), text.size()};
    MarkupLayout layout;
    std::vector<Font> fonts;
    GdiMarkupDevice device(dc, fonts, client);

    auto layOut = [&] {
        int saved = SaveDC(dc);
        layout.Layout(text, key, DescribeFont(base), colours, SystemMarkupCharacters(), device);
        RestoreDC(dc, saved);
    };
    auto replay = [&] {
        int saved = SaveDC(dc);
        layout.Replay(text, key.client, SystemCodePage(), device);
        RestoreDC(dc, saved);
    };
    double layoutOnly = MedianMicroseconds(layOut);
    double layoutAndDraw = MedianMicroseconds([&] { layOut(), replay(); });
    double cachedRepaint = MedianMicroseconds(replay);

    HGDIOBJ previousFont = SelectObject(dc, font);
    double plain = MedianMicroseconds([&] {
        RECT r = client;
        DrawTextA(dc, text.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX);
    });
    SelectObject(dc, previousFont);

    std::printf("About text, %zu bytes, %d fonts, %zu commands, label %ldx%ld px\n", text.size(),
                int(layout.Fonts().size()), layout.Commands().size(), client.right, client.bottom);
    std::printf("baseline DrawTextA of the same text:   %8.1f us\n", plain);
    std::printf("markup layout (fonts, tables):         %8.1f us  ratio %.2f\n", layoutOnly, layoutOnly / plain);
    std::printf("markup layout and drawing (a new text): %7.1f us  ratio %.2f\n", layoutAndDraw, layoutAndDraw / plain);
    std::printf("cached repaint (replay only):          %8.1f us  ratio %.2f\n", cachedRepaint, cachedRepaint / plain);

    SelectObject(dc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyWindow(dialog);
    return 0;
}
