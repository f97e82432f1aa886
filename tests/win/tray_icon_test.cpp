#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "app/tray_icon.h"
#include "res/resource.h"

namespace {
// The shell answers a modify only for an icon it holds.
bool IconPresent(HWND owner, UINT id) {
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V2_SIZE;
    probe.hWnd = owner;
    probe.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

class TrayIconTest : public testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowA("STATIC", "tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(owner_);
    }
    void TearDown() override { DestroyWindow(owner_); }
    HWND owner_ = nullptr;
};
}  // namespace

TEST_F(TrayIconTest, HideShowAndRemoveFollowTheShell) {
    TrayIcon tray;
    EXPECT_NE(tray.CallbackMessage(), 0u);
    EXPECT_EQ(tray.CallbackMessage(), RegisterWindowMessageA("TaskbarNotifyMsg"));
    EXPECT_EQ(tray.TaskbarCreatedMessage(), RegisterWindowMessageA("TaskbarCreated"));
    tray.Hide();
    tray.Show();  // before Install neither touches the shell
    EXPECT_FALSE(IconPresent(owner_, 1));

    EXPECT_TRUE(tray.Install(owner_, 1, IDI_BRISQ));
    EXPECT_TRUE(IconPresent(owner_, 1));
    tray.Hide();
    tray.Hide();
    EXPECT_FALSE(IconPresent(owner_, 1));
    tray.Show();
    tray.Show();
    EXPECT_TRUE(IconPresent(owner_, 1));
    EXPECT_TRUE(tray.Remove());
    EXPECT_FALSE(IconPresent(owner_, 1));
    EXPECT_FALSE(tray.Remove());
}

TEST_F(TrayIconTest, AShellRestartBringsBackOnlyAShownIcon) {
    TrayIcon tray;
    tray.Install(owner_, 1, IDI_BRISQ);
    NOTIFYICONDATAA forget{};
    forget.cbSize = NOTIFYICONDATAA_V2_SIZE;
    forget.hWnd = owner_;
    forget.uID = 1;
    Shell_NotifyIconA(NIM_DELETE, &forget);  // what a restarted shell has lost
    ASSERT_FALSE(IconPresent(owner_, 1));
    tray.Readd();
    EXPECT_TRUE(IconPresent(owner_, 1));

    tray.Hide();
    tray.Readd();
    EXPECT_FALSE(IconPresent(owner_, 1));
    tray.Show();
    EXPECT_TRUE(IconPresent(owner_, 1));
}

// Start-up with the icon off adds nothing; Show adds it when it is switched on.
TEST_F(TrayIconTest, InstalledHiddenAddsNothingUntilShown) {
    TrayIcon tray;
    tray.Install(owner_, 1, IDI_BRISQ, false);
    EXPECT_FALSE(IconPresent(owner_, 1));
    tray.Readd();
    EXPECT_FALSE(IconPresent(owner_, 1));
    tray.Show();
    EXPECT_TRUE(IconPresent(owner_, 1));
}

TEST_F(TrayIconTest, TheDestructorRemovesTheIconEvenWhenHidden) {
    {
        TrayIcon tray;
        tray.Install(owner_, 1, IDI_BRISQ);
    }
    EXPECT_FALSE(IconPresent(owner_, 1));
    {
        TrayIcon tray;
        tray.Install(owner_, 1, IDI_BRISQ);
        tray.Hide();
    }
    EXPECT_FALSE(IconPresent(owner_, 1));
}

TEST_F(TrayIconTest, MissingResourcesStillAddTheIconButShowNoMenu) {
    TrayIcon tray;
    tray.Install(owner_, 1, 999);
    EXPECT_TRUE(IconPresent(owner_, 1));
    EXPECT_FALSE(tray.ShowTrayMenu());
}

TEST_F(TrayIconTest, TheMenuPostsTheChosenCommandThenTheEmptyMessage) {
    TrayIcon tray;
    tray.Install(owner_, 1, IDI_BRISQ);
    // Up from no selection lands on the last item, "Exit".
    PostMessageA(owner_, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(owner_, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(tray.ShowTrayMenu());

    std::vector<UINT> posted;
    std::vector<WPARAM> commands;
    MSG message;
    while (PeekMessageA(&message, owner_, 0, 0, PM_REMOVE)) {
        if (message.message == WM_COMMAND) commands.push_back(message.wParam);
        if (message.message == WM_COMMAND || message.message == WM_NULL) posted.push_back(message.message);
    }
    EXPECT_EQ(posted, (std::vector<UINT>{WM_COMMAND, WM_NULL}));
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0]), ID_TRAY_EXIT);
}
