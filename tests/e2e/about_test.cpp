// The About dialog of the real Brisq.exe, opened from the caption button and
// the tray menu, read and closed from outside.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>

#include "driver.h"

using namespace e2e;

namespace {
const int kAboutButton = 1020, kLabel = 1028, kWebLink = 1035, kMailLink = 1036;
const char kProductText[] =
    "<B>Brisq</B><BR>Version 1.0.1.23<BR>Copyright (C) 2026 Brisq Software<BR><BR>"
    "<B>Brisq</B> is a <B>FREE</B> tool for quick launch of most recent used commands and applications.<BR><BR>"
    "<B>Brisq</B> is absolutely free and does not contain adware or spyware functions.";

HWND AboutBox(const Brisq& brisq) { return DialogWithCaption(brisq.ProcessId(), "About..."); }

HWND WaitForAbout(const Brisq& brisq) {
    HWND about = nullptr;
    WaitUntil([&] { return (about = AboutBox(brisq)) != nullptr && IsWindowVisible(about); });
    return about;
}

// The caption button's own mouse messages, as a click on it delivers them.
void ClickAboutButton(const Brisq& brisq) {
    HWND button = GetDlgItem(brisq.Launcher(), kAboutButton);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// A right click on the tray icon, then "About..." chosen from the menu by keys.
bool ChooseAboutFromTheTray(const Brisq& brisq) {
    PostMessageA(brisq.Launcher(), RegisterWindowMessageA("TaskbarNotifyMsg"), 1, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    if (!WaitUntil([&] {
            for (HWND window : WindowsOf(brisq.ProcessId(), "#32768"))
                if (IsWindowVisible(window)) menu = window;
            return menu != nullptr;
        }))
        return false;
    PressKey(VK_UP);  // from no selection to "Exit"
    PressKey(VK_UP);  // over the separator to "About..."
    PressKey(VK_RETURN);
    return true;
}

void PressCtrlR() { PressChord(VK_CONTROL, 'R'); }

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// Where centring puts a window of this size over that rectangle, kept inside the work area.
POINT CentredOver(const RECT& over, const RECT& window) {
    RECT work = WorkArea();
    int width = window.right - window.left, height = window.bottom - window.top;
    int x = (over.left + over.right) / 2 - width / 2, y = (over.top + over.bottom) / 2 - height / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    return POINT{x, y};
}

// Pixels of exactly this colour on the screen within a window's rectangle.
int ScreenPixelsOf(HWND window, COLORREF colour) {
    RECT r = WindowRect(window);
    HDC screen = GetDC(nullptr);
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) count += GetPixel(screen, x, y) == colour;
    ReleaseDC(nullptr, screen);
    return count;
}

bool Gone(HWND window) { return !IsWindow(window); }
}  // namespace

TEST(About, TheButtonOpensItCentredOverTheLauncherWithTheProductTextAndLinks) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    ClickAboutButton(brisq);
    HWND about = WaitForAbout(brisq);
    ASSERT_NE(about, nullptr);

    EXPECT_EQ(DialogItemText(about, kLabel), kProductText);
    EXPECT_EQ(DialogItemText(about, kWebLink), "www.brisq.org");
    EXPECT_EQ(DialogItemText(about, kMailLink), "support@brisq.org");
    EXPECT_EQ(DialogItemText(about, IDOK), "OK");
    EXPECT_EQ(GetWindow(about, GW_OWNER), brisq.Launcher());
    EXPECT_FALSE(IsWindowEnabled(brisq.Launcher()));
    RECT placed = WindowRect(about);
    POINT expected = CentredOver(WindowRect(brisq.Launcher()), placed);
    EXPECT_EQ(placed.left, expected.x);
    EXPECT_EQ(placed.top, expected.y);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(about) == GetDlgItem(about, IDOK); }));

    // A press on the web link's text focuses it (dotted frame); released off the
    // text it opens nothing and stays unvisited, in the link colour.
    HWND web = GetDlgItem(about, kWebLink);
    PostMessageA(web, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 4));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(about) == web && CaptureOf(web) == web; }));
    SaveScreenshot("about-lit-link", about);
    auto drawnIn = [](HWND window, COLORREF colour) { return WaitUntil([&] { return ScreenPixelsOf(window, colour) > 20; }); };
    EXPECT_TRUE(drawnIn(web, RGB(0, 0, 255)));
    PostMessageA(web, WM_LBUTTONUP, 0, MAKELPARAM(-40, 4));
    ASSERT_TRUE(WaitUntil([&] { return CaptureOf(web) == nullptr; }));  // the release was handled
    RedrawWindow(web, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    SaveScreenshot("about-link-released", about);
    EXPECT_TRUE(drawnIn(web, RGB(0, 0, 255)));  // a visited link would be purple
    EXPECT_EQ(ScreenPixelsOf(web, RGB(128, 0, 128)), 0);
    EXPECT_TRUE(drawnIn(GetDlgItem(about, kMailLink), RGB(0, 0, 255)));
    EXPECT_TRUE(IsWindow(about));

    PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);  // the caption's close box
    EXPECT_TRUE(WaitUntil([&] { return Gone(about); }));
    EXPECT_TRUE(IsWindowEnabled(brisq.Launcher()));
    EXPECT_FALSE(brisq.HasExited());
}

TEST(About, EnterEscapeOkAndTheCloseBoxCloseIt) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    const std::pair<const char*, std::function<void(HWND)>> ways[] = {
        {"Enter", [](HWND) { PressKey(VK_RETURN); }},
        {"Escape", [](HWND) { PressKey(VK_ESCAPE); }},
        {"OK", [](HWND about) {
             HWND ok = GetDlgItem(about, IDOK);
             PostMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
             PostMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
         }},
        {"close box", [](HWND about) { PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& [name, close] : ways) {
        ClickAboutButton(brisq);
        HWND about = WaitForAbout(brisq);
        ASSERT_NE(about, nullptr) << name;
        // Keys go to the foreground window's focus: the dialog's OK button.
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about && FocusOf(about) == GetDlgItem(about, IDOK); }))
            << name;
        close(about);
        EXPECT_TRUE(WaitUntil([&] { return Gone(about); })) << name;
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(brisq.Launcher()) != FALSE; })) << name;
    }
    EXPECT_FALSE(brisq.HasExited());
}

// Opened while the launcher is hidden: from the tray menu, and by the bare
// command with no window of Brisq active (as another program can post it).
TEST(About, WhileTheLauncherIsHiddenTheHotKeyWaitsUntilItCloses) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    const std::pair<const char*, std::function<bool()>> openers[] = {
        {"tray menu", [&] { return ChooseAboutFromTheTray(brisq); }},
        {"posted command", [&] { return PostMessageA(brisq.Launcher(), WM_COMMAND, kAboutButton, 0) != FALSE; }},
    };
    for (const auto& [name, open] : openers) {
        ASSERT_TRUE(brisq.BringUp()) << name << ": " << brisq.Describe();
        brisq.Toggle();
        ASSERT_TRUE(WaitUntil([&] { return !brisq.IsShown(); })) << name;

        ASSERT_TRUE(open()) << name;
        HWND about = WaitForAbout(brisq);
        ASSERT_NE(about, nullptr) << name;
        EXPECT_EQ(DialogItemText(about, kLabel), kProductText) << name;
        EXPECT_FALSE(IsWindowEnabled(brisq.Launcher())) << name;
        RECT placed = WindowRect(about);
        POINT expected = CentredOver(WorkArea(), placed);  // the hidden launcher is no place to centre on
        EXPECT_EQ(placed.left, expected.x) << name;
        EXPECT_EQ(placed.top, expected.y) << name;
        SaveScreenshot(std::string("about-hidden-launcher-") + (name[0] == 't' ? "tray" : "command"), about);

        // The hot key is queued before the OK that closes the dialog, so it is
        // handled while the dialog is still open: the launcher must stay hidden.
        PressCtrlR();
        PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(WaitUntil([&] { return Gone(about); })) << name;
        ASSERT_EQ(testkit::Ask(brisq.Launcher(), WM_NULL, 0, 0), 0);
        EXPECT_FALSE(brisq.IsShown()) << name << ": " << brisq.Describe();

        // Closed, the hot key works again.
        PressCtrlR();
        EXPECT_TRUE(WaitUntil([&] { return brisq.IsShown() && brisq.IsForeground(); })) << name << ": " << brisq.Describe();
    }
}
