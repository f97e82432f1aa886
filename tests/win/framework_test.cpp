#include <gtest/gtest.h>

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
