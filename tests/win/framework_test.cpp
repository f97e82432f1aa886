#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "framework/center_window.h"
#include "framework/control_object.h"
#include "framework/dialog_object.h"
#include "framework/module.h"
#include "res/resource.h"

namespace {
// A control object that counts what reaches its table and claims reflected commands.
class CountingButton final : public ControlObject {
public:
    bool ProcessMessage(Message& m) override;
    int reflectedClicks = 0;
    int finalMessages = 0;
    void OnFinalMessage(HWND) override { ++finalMessages; }

private:
    void OnReflectedCommand(Message& m) {
        if (m.NotifyCode() == BN_CLICKED) ++reflectedClicks;
        m.result = 0;
    }
    static const MessageEntry<CountingButton> kMessages[];
};
const MessageEntry<CountingButton> CountingButton::kMessages[] = {
    OnMessage(WM_COMMAND + kReflectedOffset, &CountingButton::OnReflectedCommand),
};
bool CountingButton::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

// Runs the launcher's template with its own small table, to see the
// framework's dialog plumbing from inside a real modal loop.
class ProbeDialog final : public DialogObject {
public:
    bool ProcessMessage(Message& m) override;

    std::vector<std::string> seen;
    CountingButton close;
    LRESULT answer = 0;
    RECT placed{};

private:
    void OnInit(Message& m) {
        seen.push_back("init");
        close.Attach(GetDlgItem(window_, IDC_CLOSE_BUTTON));
        CenterWindow(window_);
        GetWindowRect(window_, &placed);
        PostMessageA(window_, WM_APP, 0, 0);
        m.result = TRUE;
    }
    void OnApp(Message&) {
        answer = SendMessageA(window_, WM_APP + 1, 0, 0);
        SendMessageA(GetDlgItem(window_, IDC_CLOSE_BUTTON), BM_CLICK, 0, 0);
        SendMessageA(window_, WM_APP + 2, 0, 0);
    }
    void OnAnswer(Message& m) { m.result = 2291; }
    void OnPassOn(Message& m) {
        seen.push_back("first");
        m.handled = false;  // let the next entry see it too
    }
    void OnSecond(Message&) { seen.push_back("second"); End(77); }
    void OnCommandClose(Message&) { seen.push_back("command"); }

    static const MessageEntry<ProbeDialog> kMessages[];
};
const MessageEntry<ProbeDialog> ProbeDialog::kMessages[] = {
    OnMessage(WM_INITDIALOG, &ProbeDialog::OnInit),
    OnMessage(WM_APP, &ProbeDialog::OnApp),
    OnMessage(WM_APP + 1, &ProbeDialog::OnAnswer),
    OnRange(WM_APP + 2, WM_APP + 3, &ProbeDialog::OnPassOn),
    OnMessage(WM_APP + 2, &ProbeDialog::OnSecond),
    ReflectNotifications<ProbeDialog>(),
    OnCommand(IDC_CLOSE_BUTTON, &ProbeDialog::OnCommandClose),
};
bool ProbeDialog::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }
}  // namespace

TEST(Framework, DialogTableReflectionAndResults) {
    ProbeDialog dialog;
    INT_PTR result = dialog.RunModal(GetModuleHandleA(nullptr), IDD_LAUNCHER, nullptr);
    EXPECT_EQ(result, 77);
    // The result travels through DWLP_MSGRESULT.
    EXPECT_EQ(dialog.answer, 2291);
    // The click was reflected to the button's object, which handled it, so the
    // dialog's own command entry further down never saw it.
    EXPECT_EQ(dialog.close.reflectedClicks, 1);
    EXPECT_EQ(dialog.seen, (std::vector<std::string>{"init", "first", "second"}));
    // The control saw its last message and let go of the window.
    EXPECT_EQ(dialog.close.finalMessages, 1);
    EXPECT_EQ(dialog.close.Handle(), nullptr);

    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int width = dialog.placed.right - dialog.placed.left, height = dialog.placed.bottom - dialog.placed.top;
    EXPECT_EQ(dialog.placed.left, (work.left + work.right) / 2 - width / 2);
    EXPECT_EQ(dialog.placed.top, (work.top + work.bottom) / 2 - height / 2);
}

namespace {
// Records the reflected messages its table is handed.
class Recorder final : public ControlObject {
public:
    bool ProcessMessage(Message& m) override {
        if (m.id < kReflectedOffset) return false;
        seen.push_back(m.id);
        m.result = 0;
        return true;
    }
    std::vector<UINT> seen;
};

// A control that reflects its children's notifications and passes them on, as the command box does.
class Reflector final : public ControlObject {
public:
    bool ProcessMessage(Message& m) override { return DispatchTable(kMessages, *this, m); }
    static const MessageEntry<Reflector> kMessages[1];
};
const MessageEntry<Reflector> Reflector::kMessages[1] = {ReflectAndPassOn<Reflector>()};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

const int kChildId = 77;

// A parent control with one child button, each taken over by an object.
class ReflectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        parentWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, instance, nullptr);
        childWindow = CreateWindowExA(0, "BUTTON", "child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, parentWindow,
                                      HMENU(kChildId), instance, nullptr);
        ASSERT_TRUE(parent.Attach(parentWindow));
        ASSERT_TRUE(child.Attach(childWindow));
        child.seen.clear();
    }
    void TearDown() override { DestroyWindow(parentWindow); }
    bool Reflected(UINT id) const {
        return std::count(child.seen.begin(), child.seen.end(), id + kReflectedOffset) == 1;
    }

    HWND parentWindow = nullptr, childWindow = nullptr;
    Reflector parent;
    Recorder child;
};

// Another thread's window, taken over there, with a window property that
// looks like an object of this program's framework.
class ForeignWindow {
public:
    ForeignWindow() {
        thread_ = std::thread([this] {
            window_ = CreateWindowExA(0, "BUTTON", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
            object_.Attach(window_);
            SetPropA(window_, "Brisq.WindowObject", HANDLE(0x10));  // what the framework once trusted
            ready_ = true;
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
            DestroyWindow(window_);
        });
    }
    bool Ready() const {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!ready_ && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
        return ready_;
    }
    ~ForeignWindow() {
        PostThreadMessageA(GetWindowThreadProcessId(window_, nullptr), WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_; }
    const Recorder& Object() const { return object_; }

private:
    std::thread thread_;
    HWND window_ = nullptr;
    Recorder object_;
    std::atomic<bool> ready_{false};
};
}  // namespace

// The command box and the framework share one list, and every message on it
// reaches the child it names.
TEST_F(ReflectionTest, EveryReflectedMessageReachesTheChildItNames) {
    LPARAM childParam = LPARAM(childWindow);
    NMHDR header{childWindow, kChildId, NM_CLICK};
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_BUTTON, draw.CtlID = kChildId, draw.hwndItem = childWindow;
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_LISTBOX, measure.CtlID = kChildId;
    COMPAREITEMSTRUCT compare{};
    compare.CtlType = ODT_LISTBOX, compare.CtlID = kChildId, compare.hwndItem = childWindow;
    DELETEITEMSTRUCT deleted{};
    deleted.CtlType = ODT_LISTBOX, deleted.CtlID = kChildId, deleted.hwndItem = childWindow;
    struct Case {
        UINT id;
        WPARAM wParam;
        LPARAM lParam;
    } cases[] = {
        {WM_COMMAND, MAKEWPARAM(kChildId, BN_CLICKED), childParam},
        {WM_NOTIFY, kChildId, LPARAM(&header)},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, kChildId), childParam},
        {WM_DRAWITEM, kChildId, LPARAM(&draw)},
        {WM_MEASUREITEM, kChildId, LPARAM(&measure)},
        {WM_COMPAREITEM, kChildId, LPARAM(&compare)},
        {WM_DELETEITEM, kChildId, LPARAM(&deleted)},
        {WM_VKEYTOITEM, MAKEWPARAM(VK_DOWN, 0), childParam},
        {WM_CHARTOITEM, MAKEWPARAM('a', 0), childParam},
        {WM_HSCROLL, SB_LINEDOWN, childParam},
        {WM_VSCROLL, SB_LINEDOWN, childParam},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(IsReflectedMessage(c.id)) << std::hex << c.id;
        SendMessageA(parentWindow, c.id, c.wParam, c.lParam);
        EXPECT_TRUE(Reflected(c.id)) << std::hex << c.id;
    }
    HDC dc = GetDC(parentWindow);
    for (UINT id = WM_CTLCOLORMSGBOX; id <= WM_CTLCOLORSTATIC; ++id) {
        EXPECT_TRUE(IsReflectedMessage(id)) << std::hex << id;
        SendMessageA(parentWindow, id, WPARAM(dc), childParam);
        EXPECT_TRUE(Reflected(id)) << std::hex << id;
    }
    ReleaseDC(parentWindow, dc);
    // A click on the child, reported by point in the parent's client area.
    child.seen.clear();
    SendMessageA(parentWindow, WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(20, 15));
    EXPECT_TRUE(Reflected(WM_PARENTNOTIFY));
    // Nothing else is reflected, and a zero control id means a menu, not a child.
    child.seen.clear();
    EXPECT_FALSE(IsReflectedMessage(WM_SETTEXT));
    SendMessageA(parentWindow, WM_DRAWITEM, 0, LPARAM(&draw));
    SendMessageA(parentWindow, WM_APP, 0, childParam);
    EXPECT_EQ(child.seen, std::vector<UINT>{});
}

TEST_F(ReflectionTest, NotificationsAreTakenOnlyFromWindowsOfThisThread) {
    NMHDR header{childWindow, kChildId, NM_CLICK};
    // Posted: with no address at all, and with one that names the child. A
    // real notification is always sent; a posted one came from another program.
    PostMessageA(parentWindow, WM_NOTIFY, 0, 0);
    PostMessageA(parentWindow, WM_NOTIFY, kChildId, LPARAM(&header));
    PostMessageA(childWindow, WM_NOTIFY + kReflectedOffset, kChildId, LPARAM(&header));
    Pump();
    EXPECT_EQ(child.seen, std::vector<UINT>{});
    // Sent with an address that is no notification of this thread.
    SendMessageA(parentWindow, WM_NOTIFY, 0, 0);
    SendMessageA(parentWindow, WM_NOTIFY, 0, 0x10);
    NMHDR strangers{GetDesktopWindow(), 1, NM_CLICK};
    SendMessageA(parentWindow, WM_NOTIFY, 1, LPARAM(&strangers));
    EXPECT_EQ(child.seen, std::vector<UINT>{});
    // A reflection sent straight to the child did not come from its parent.
    SendMessageA(childWindow, WM_COMMAND + kReflectedOffset, MAKEWPARAM(kChildId, BN_CLICKED), LPARAM(childWindow));
    EXPECT_EQ(child.seen, std::vector<UINT>{});
    // The same notification, sent by this thread, is one.
    SendMessageA(parentWindow, WM_NOTIFY, kChildId, LPARAM(&header));
    EXPECT_TRUE(Reflected(WM_NOTIFY));
}

TEST_F(ReflectionTest, WindowsOfOtherThreadsAreNeverTakenForObjects) {
    ForeignWindow foreign;
    ASSERT_TRUE(foreign.Ready());
    EXPECT_EQ(WindowObject::FromHandle(foreign.Window()), nullptr);
    // Named as the sender of a command, a colour or a scroll: not reflected to,
    // neither to the object its thread made nor to the address its property holds.
    SendMessageA(parentWindow, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), LPARAM(foreign.Window()));
    SendMessageA(parentWindow, WM_CTLCOLORBTN, 0, LPARAM(foreign.Window()));
    SendMessageA(parentWindow, WM_VSCROLL, SB_LINEDOWN, LPARAM(foreign.Window()));
    NMHDR header{foreign.Window(), 1, NM_CLICK};
    SendMessageA(parentWindow, WM_NOTIFY, 1, LPARAM(&header));
    EXPECT_EQ(foreign.Object().seen, std::vector<UINT>{});
    // The property proves nothing on this thread's windows either.
    SetPropA(childWindow, "Brisq.WindowObject", HANDLE(0x10));
    EXPECT_EQ(WindowObject::FromHandle(childWindow), &child);
    // And a window of another thread cannot be taken over from here.
    Recorder outsider;
    EXPECT_FALSE(outsider.Attach(foreign.Window()));
}
