#include <gtest/gtest.h>

#include <vector>

#include "driver.h"

using namespace e2e;

namespace {
const COLORREF kKey = RGB(0xFF, 0x00, 0xFF);
const int kSkinBitmap = 203;
const int kCloseButton = 1019, kAboutButton = 1020, kSettingsButton = 1021;

// The mouse as a user moves it: absolute moves and button changes through the input queue.
void MouseTo(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    // A press must not overtake the move it follows.
    WaitUntil([&] {
        POINT at{};
        GetCursorPos(&at);
        return at.x == screen.x && at.y == screen.y;
    }, std::chrono::seconds(2));
}
void LeftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
}

POINT CentreOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// What the screen shows at a point (the virtual desktop draws no translucency).
COLORREF ScreenPixel(POINT p) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

HWND ExitQuestion(const Brisq& brisq) { return DialogWithCaption(brisq.ProcessId(), "Exit"); }
}  // namespace

TEST(Look, WindowIsTheSkinBitmapsShape) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    RECT window{};
    GetWindowRect(brisq.Launcher(), &window);
    EXPECT_EQ(window.right - window.left, 491);
    EXPECT_EQ(window.bottom - window.top, 62);

    HMODULE exe = LoadLibraryExA(brisq.Folder().File("Brisq.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HBITMAP skin = static_cast<HBITMAP>(
        LoadImageA(exe, MAKEINTRESOURCEA(kSkinBitmap), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(skin, nullptr);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(brisq.Launcher(), region), COMPLEXREGION);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, skin);
    std::vector<RECT> controls;
    for (int id : {1000, kCloseButton, kAboutButton, kSettingsButton}) {
        RECT r{};
        GetWindowRect(GetDlgItem(brisq.Launcher(), id), &r);
        OffsetRect(&r, -window.left, -window.top);
        controls.push_back(r);
    }
    int mismatches = 0, keyPixels = 0, letterPixels = 0, covered = 0;
    for (int y = 0; y < 62; ++y)
        for (int x = 0; x < 491; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            bool key = c == kKey;
            keyPixels += key;
            if (key == (PtInRegion(region, x, y) != FALSE)) ++mismatches;
            // Everything but the key colour is grey or white except the lettering.
            if (key || (GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c))) continue;
            ++letterPixels;
            for (const RECT& r : controls) covered += PtInRect(&r, POINT{x, y}) != FALSE;
        }
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(region);
    DeleteObject(skin);
    FreeLibrary(exe);
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(keyPixels, 1000);
    EXPECT_GT(letterPixels, 100);
    EXPECT_EQ(covered, 0);  // the lettering stays clear of the command box and the buttons

    // A cut corner shows, and takes clicks for, what lies beneath.
    EXPECT_NE(WindowFromPoint(POINT{window.left + 1, window.top + 1}), brisq.Launcher());
    EXPECT_NE(WindowFromPoint(POINT{window.right - 1, window.bottom - 1}), brisq.Launcher());
}

TEST(Look, PanelIsADragHandleAndTheCommandBoxIsNot) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    RECT window{};
    GetWindowRect(brisq.Launcher(), &window);
    POINT panel{window.left + 200, window.top + 10};
    EXPECT_EQ(WindowFromPoint(panel), brisq.Launcher());
    DWORD_PTR hit = 0;
    ASSERT_TRUE(SendMessageTimeoutA(brisq.Launcher(), WM_NCHITTEST, 0, MAKELPARAM(panel.x, panel.y), SMTO_BLOCK,
                                    2000, &hit));
    EXPECT_EQ(hit, DWORD_PTR(HTCAPTION));

    POINT box = CentreOf(brisq.CommandBox());
    HWND under = WindowFromPoint(box);
    EXPECT_TRUE(under == brisq.CommandBox() || under == brisq.CommandEdit());
    ASSERT_TRUE(SendMessageTimeoutA(under, WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y), SMTO_BLOCK, 2000, &hit));
    EXPECT_NE(hit, DWORD_PTR(HTCAPTION));

    // Pressing on the panel and moving drags the window. Wine warps the X pointer
    // after injected moves and now and then a stale pointer event overtakes the
    // press, so the drag gets a few tries; one must move the window exactly.
    bool moved = false;
    for (int attempt = 0; attempt < 3 && !moved; ++attempt) {
        GetWindowRect(brisq.Launcher(), &window);
        panel = POINT{window.left + 200, window.top + 10};
        MouseTo(panel);
        LeftButton(true);
        bool moving = WaitUntil([&] { return (ThreadInfoOf(brisq.Launcher()).flags & GUI_INMOVESIZE) != 0; },
                                std::chrono::seconds(2));
        for (int step = 1; step <= 4 && moving; ++step) MouseTo(POINT{panel.x + 10 * step, panel.y + 5 * step});
        LeftButton(false);
        if (!moving) continue;
        RECT now{};
        moved = WaitUntil([&] {
            GetWindowRect(brisq.Launcher(), &now);
            return now.left == window.left + 40 && now.top == window.top + 20;
        });
        EXPECT_TRUE(moved) << now.left - window.left << "," << now.top - window.top;
    }
    EXPECT_TRUE(moved);
}

TEST(Look, UniformlyTranslucent) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    EXPECT_TRUE(GetWindowLongA(brisq.Launcher(), GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(brisq.Launcher(), &key, &alpha, &flags));
    EXPECT_EQ(alpha, 230);
    EXPECT_EQ(flags, DWORD(LWA_ALPHA));
}

TEST(Look, HoverLightsACaptionButton) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    HWND about = GetDlgItem(brisq.Launcher(), kAboutButton);
    ASSERT_NE(about, nullptr);
    RECT r{};
    GetWindowRect(about, &r);
    POINT top{(r.left + r.right) / 2, r.top + 2};  // the gradient's first row
    RECT window{};
    GetWindowRect(brisq.Launcher(), &window);
    MouseTo(POINT{window.left + 200, window.top + 10});  // an earlier test may have left the pointer on it
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(top) == RGB(0xCC, 0xCC, 0xCC); })) << std::hex << ScreenPixel(top);

    MouseTo(CentreOf(about));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(top) == RGB(0xEE, 0xEE, 0xEE); })) << std::hex << ScreenPixel(top);
    SaveScreenshot("launcher-lit-button");

    MouseTo(POINT{window.left + 200, window.top + 10});
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(top) == RGB(0xCC, 0xCC, 0xCC); })) << std::hex << ScreenPixel(top);
    SaveScreenshot("launcher-skinned", brisq.Launcher());
}

// The button's own mouse messages, posted in order from outside: the pointer is
// parked off the window so that no real pointer event mixes in.
TEST(Look, CloseButtonClicksOnlyWhenReleasedOnIt) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    HWND close = GetDlgItem(brisq.Launcher(), kCloseButton);
    ASSERT_NE(close, nullptr);
    MouseTo(POINT{5, 5});
    auto post = [&](UINT id, WPARAM keys, int x, int y) { PostMessageA(close, id, keys, MAKELPARAM(x, y)); };

    // Pressed on the button, dragged off and released there: no question.
    post(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    ASSERT_TRUE(WaitUntil([&] { return CaptureOf(close) == close; }));
    post(WM_MOUSEMOVE, MK_LBUTTON, 5, 60);
    post(WM_LBUTTONUP, 0, 5, 60);
    // A click would show the question before the capture goes.
    ASSERT_TRUE(WaitUntil([&] { return CaptureOf(close) == nullptr || ExitQuestion(brisq); }));
    EXPECT_EQ(ExitQuestion(brisq), nullptr);

    // Pressed and released on it: the exit question.
    post(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    ASSERT_TRUE(WaitUntil([&] { return CaptureOf(close) == close; }));
    post(WM_LBUTTONUP, 0, 5, 5);
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = ExitQuestion(brisq)) != nullptr; }));
    SaveScreenshot("exit-question-from-close-button", question);
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_FALSE(brisq.HasExited());
}
