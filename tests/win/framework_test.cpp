#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "completion/completion_combo.h"
#include "controls/glyph_button.h"
#include "framework/center_window.h"
#include "framework/control_object.h"
#include "framework/dialog_object.h"
#include "framework/module.h"
#include "framework/owners.h"
#include "res/resource.h"
#include "richtext/hyperlink.h"

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
// Run by its own loop, which waits for an event as well as for messages.
class WaitingDialog final : public DialogObject {
public:
    bool ProcessMessage(Message& m) override {
        if (m.id == WM_INITDIALOG) {
            SetEvent(event.get());  // before the loop first waits
            SetTimer(m.window, 1, 10000, nullptr);  // a loop that never hands it over ends failed
        }
        if (m.id == WM_TIMER) End(IDABORT);
        if (m.id == WM_COMMAND && m.CommandId() == IDCANCEL) End(IDCANCEL);
        return false;
    }
    KernelHandle event{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    int signals = 0;

private:
    HANDLE SignalToWaitFor() const override { return event.get(); }
    void OnSignalled() override {
        ResetEvent(event.get());
        ++signals;
        // Escape, as typed: the dialog manager's keys work in this loop too.
        PostMessageA(Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
};
}  // namespace

TEST(Framework, OwnLoopHandsOverTheSignalAndKeepsTheDialogKeys) {
    WaitingDialog dialog;
    EXPECT_EQ(dialog.RunModalWaiting(GetModuleHandleA(nullptr), IDD_LAUNCHER, nullptr), IDCANCEL);
    EXPECT_EQ(dialog.signals, 1);
    EXPECT_EQ(dialog.Handle(), nullptr);  // the window is gone with the loop
}

namespace {
// Records the reflected messages its table is handed.
class Recorder final : public ControlObject {
public:
    bool ProcessMessage(Message& m) override {
        if (m.id < kReflectedOffset) return false;
        seen.push_back(m.id - kReflectedOffset);
        return true;
    }
    std::vector<UINT> seen;
};

// Reflects its children's notifications and passes them on, as the command box does.
class Reflector final : public ControlObject {
public:
    bool ProcessMessage(Message& m) override { return DispatchTable(kMessages, *this, m); }
    static const MessageEntry<Reflector> kMessages[1];
};
const MessageEntry<Reflector> Reflector::kMessages[1] = {ReflectAndPassOn<Reflector>()};

const int kChildId = 77;

class ReflectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        parentWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        childWindow = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, parentWindow,
                                      HMENU(kChildId), nullptr, nullptr);
        ASSERT_TRUE(parent.Attach(parentWindow));
        ASSERT_TRUE(child.Attach(childWindow));
    }
    void TearDown() override { DestroyWindow(parentWindow); }

    HWND parentWindow = nullptr, childWindow = nullptr;
    Reflector parent;
    Recorder child;
};
}  // namespace

// One list serves the framework and the command box, and each message on it
// reaches the child it names.
TEST_F(ReflectionTest, EveryReflectedMessageReachesTheChildItNames) {
    LPARAM byHandle = LPARAM(childWindow);
    NMHDR header{childWindow, kChildId, NM_CLICK};
    DRAWITEMSTRUCT draw{};
    draw.hwndItem = childWindow;
    MEASUREITEMSTRUCT measure{};
    measure.CtlID = kChildId;
    COMPAREITEMSTRUCT compare{};
    compare.hwndItem = childWindow;
    DELETEITEMSTRUCT deleted{};
    deleted.hwndItem = childWindow;
    std::vector<std::pair<UINT, LPARAM>> cases = {
        {WM_COMMAND, byHandle},           {WM_NOTIFY, LPARAM(&header)},  {WM_PARENTNOTIFY, byHandle},
        {WM_DRAWITEM, LPARAM(&draw)},     {WM_MEASUREITEM, LPARAM(&measure)}, {WM_COMPAREITEM, LPARAM(&compare)},
        {WM_DELETEITEM, LPARAM(&deleted)}, {WM_VKEYTOITEM, byHandle},     {WM_CHARTOITEM, byHandle},
        {WM_HSCROLL, byHandle},           {WM_VSCROLL, byHandle}};
    for (UINT id = WM_CTLCOLORMSGBOX; id <= WM_CTLCOLORSTATIC; ++id) cases.emplace_back(id, byHandle);
    std::vector<UINT> sent;
    for (auto [id, lParam] : cases) {
        EXPECT_TRUE(IsReflectedMessage(id)) << std::hex << id;
        // WM_CREATE for the parent notice; a control id for the item messages.
        SendMessageA(parentWindow, id, id == WM_PARENTNOTIFY ? WM_CREATE : kChildId, lParam);
        sent.push_back(id);
    }
    EXPECT_EQ(child.seen, sent);
    // A click reported by point; a zero control id means a menu; other messages are not reflected.
    child.seen.clear();
    SendMessageA(parentWindow, WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(20, 15));
    SendMessageA(parentWindow, WM_DRAWITEM, 0, LPARAM(&draw));
    SendMessageA(parentWindow, WM_SETTEXT, 0, LPARAM(""));
    EXPECT_EQ(child.seen, std::vector<UINT>{WM_PARENTNOTIFY});
}

// A real notification is sent by a window of this thread: one posted, or
// naming an address or a window that is not this thread's, is not taken.
TEST_F(ReflectionTest, NotificationsAreTakenOnlyFromWindowsOfThisThread) {
    NMHDR header{childWindow, kChildId, NM_CLICK}, strangers{GetDesktopWindow(), 1, NM_CLICK};
    PostMessageA(parentWindow, WM_NOTIFY, kChildId, LPARAM(&header));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    SendMessageA(parentWindow, WM_NOTIFY, 0, 0x10);
    SendMessageA(parentWindow, WM_NOTIFY, 1, LPARAM(&strangers));
    EXPECT_EQ(child.seen, std::vector<UINT>{});
    SendMessageA(parentWindow, WM_NOTIFY, kChildId, LPARAM(&header));
    EXPECT_EQ(child.seen, std::vector<UINT>{WM_NOTIFY});
}

// Whoever holds it as a plain control object, taking a control over runs the class's own set-up.
TEST(ControlObject, AttachThroughTheBaseRunsTheClassesOwnSetUp) {
    OwnedWindow dialog(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr,
                                          [](HWND, UINT id, WPARAM, LPARAM) -> INT_PTR { return id == WM_INITDIALOG; },
                                          0));
    ASSERT_TRUE(dialog);
    HWND button = GetDlgItem(dialog.get(), IDC_CLOSE_BUTTON), box = GetDlgItem(dialog.get(), IDC_COMMAND_BOX);
    HWND label = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 20, 10, dialog.get(), nullptr, nullptr, nullptr);
    // This Wine's own edit controls are Unicode windows already: a field of an ANSI class of the test's.
    WNDCLASSA ansi{};
    ansi.lpfnWndProc = DefWindowProcA;
    ansi.hInstance = GetModuleHandleA(nullptr);
    ansi.lpszClassName = "BrisqAnsiField";
    RegisterClassA(&ansi);
    HWND field = CreateWindowExA(0, ansi.lpszClassName, "", WS_CHILD, 0, 0, 20, 10, dialog.get(), nullptr, nullptr,
                                 nullptr);
    ASSERT_FALSE(IsWindowUnicode(field));
    GlyphButton glyph;
    CompletionCombo combo;
    CompletionEdit edit;
    HyperLink link;
    for (auto [object, control] : {std::pair<ControlObject*, HWND>{&glyph, button}, {&combo, box}, {&edit, field},
                                   {&link, label}})
        ASSERT_TRUE(object->Attach(control));
    EXPECT_EQ(GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(WindowObject::FromHandle(FindWindowExA(box, nullptr, "Edit", nullptr)), &combo.Edit());
    EXPECT_TRUE(IsWindowUnicode(field));
    EXPECT_TRUE(GetWindowLongPtrA(label, GWL_STYLE) & WS_TABSTOP);
}
