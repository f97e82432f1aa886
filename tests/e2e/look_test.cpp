#include <gtest/gtest.h>

#include <vector>

#include "controls/skin_drawing.h"
#include "driver.h"

using namespace e2e;

namespace {
const int kCloseButton = 1019, kAboutButton = 1020, kSettingsButton = 1021;

// The real pointer, for what needs the real input path. It starts and ends
// the test at its rest, away from every window, with the button up.
class RealPointer {
public:
    RealPointer() : parked_(testkit::ParkPointer()) {}
    ~RealPointer() {
        if (pressed_) testkit::ReleaseLeftButtonAndPark();
        else testkit::ParkPointer();
    }
    bool Parked() const { return parked_; }
    // The caller waits for what the press does.
    bool PressLeftButton() {
        pressed_ = true;
        return testkit::PressLeftButton();
    }
    bool ReleaseLeftButtonAndPark() {
        pressed_ = false;
        return testkit::ReleaseLeftButtonAndPark();
    }

private:
    bool parked_;
    bool pressed_ = false;
};
using testkit::MovePointer;

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

    const SkinPicture skin = DrawSkin(96);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(brisq.Launcher(), region), COMPLEXREGION);
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
            bool key = skin.At(x, y) == kSkinKey;
            keyPixels += key;
            if (key == (PtInRegion(region, x, y) != FALSE)) ++mismatches;
            if (skin.At(x, y) != kSkinLetters) continue;
            ++letterPixels;
            for (const RECT& r : controls) covered += PtInRect(&r, POINT{x, y}) != FALSE;
        }
    DeleteObject(region);
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
                                    testkit::kReplyTimeoutMs, &hit));
    EXPECT_EQ(hit, DWORD_PTR(HTCAPTION));

    POINT box = CentreOf(brisq.CommandBox());
    HWND under = WindowFromPoint(box);
    EXPECT_TRUE(under == brisq.CommandBox() || under == brisq.CommandEdit());
    ASSERT_TRUE(SendMessageTimeoutA(under, WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y), SMTO_BLOCK, testkit::kReplyTimeoutMs, &hit));
    EXPECT_NE(hit, DWORD_PTR(HTCAPTION));

    // Pressing on the panel and moving drags the window, as far as the pointer went.
    // One move: Wine reads a pointer event against where it last put the window, so
    // an event the X server made before that window's move reached it would count twice.
    RealPointer pointer;
    ASSERT_TRUE(pointer.Parked());
    GetWindowRect(brisq.Launcher(), &window);
    panel = POINT{window.left + 200, window.top + 10};
    ASSERT_TRUE(MovePointer(panel));
    ASSERT_TRUE(pointer.PressLeftButton());
    ASSERT_TRUE(WaitUntil([&] { return (ThreadInfoOf(brisq.Launcher()).flags & GUI_INMOVESIZE) != 0; }));
    ASSERT_TRUE(MovePointer(POINT{panel.x + 40, panel.y + 20}));
    RECT now{};
    EXPECT_TRUE(WaitUntil([&] {
        GetWindowRect(brisq.Launcher(), &now);
        return now.left == window.left + 40 && now.top == window.top + 20;
    })) << now.left - window.left << "," << now.top - window.top;
    ASSERT_TRUE(pointer.ReleaseLeftButtonAndPark());
    EXPECT_TRUE(WaitUntil([&] { return (ThreadInfoOf(brisq.Launcher()).flags & GUI_INMOVESIZE) == 0; }));
    GetWindowRect(brisq.Launcher(), &now);
    EXPECT_EQ(now.left - window.left, 40);
    EXPECT_EQ(now.top - window.top, 20);
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
    RealPointer pointer;
    ASSERT_TRUE(pointer.Parked());
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(top) == RGB(0xCC, 0xCC, 0xCC); })) << std::hex << ScreenPixel(top);

    ASSERT_TRUE(MovePointer(CentreOf(about)));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(top) == RGB(0xEE, 0xEE, 0xEE); })) << std::hex << ScreenPixel(top);
    SaveScreenshot("launcher-lit-button");

    ASSERT_TRUE(MovePointer(POINT{window.left + 200, window.top + 10}));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(top) == RGB(0xCC, 0xCC, 0xCC); })) << std::hex << ScreenPixel(top);
    SaveScreenshot("launcher-skinned", brisq.Launcher());
}

// The button's own mouse messages, posted in order from outside. The real
// pointer stays at its rest, where no window comes and goes, so no pointer
// event of the system's mixes in while the button holds the capture.
TEST(Look, CloseButtonClicksOnlyWhenReleasedOnIt) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    ASSERT_TRUE(brisq.BringUp()) << brisq.Describe();
    HWND close = GetDlgItem(brisq.Launcher(), kCloseButton);
    ASSERT_NE(close, nullptr);
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
