// Brisq without a mouse: every button pressed from the keyboard, and every
// control named for a screen reader.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <string_view>
#include <utility>

#include "driver.h"
#include "framework/owners.h"

using namespace e2e;

namespace {
const int kCloseButton = 1019, kAboutButton = 1020, kSettingsButton = 1021;
const int kAddAlias = 1018, kDeleteAlias = 1019, kEditAlias = 1020;
const int kAliasName = 1020, kAliasCommand = 1021;
const int kAboutText = 1028, kWebLink = 1035, kMailLink = 1036;

// Tabs forward until the control has the focus, each press once the focus has moved.
bool TabTo(const Brisq& brisq, HWND control) {
    for (int presses = 0; presses < 20; ++presses) {
        HWND before = brisq.FocusWindow();
        if (before == control) return true;
        PressKey(VK_TAB);
        if (!WaitUntil([&] { return brisq.FocusWindow() != before; })) return false;
    }
    return brisq.FocusWindow() == control;
}

// What a screen reader hears for a window, read as one reads it: from outside, through oleacc.
std::string AccessibleName(HWND window) {
    ComPtr<IAccessible> object;
    if (FAILED(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible, object.Out())) || !object)
        return "<no object>";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string text = "<no name>";
    if (SUCCEEDED(object->get_accName(self, &name)) && name) {
        text = testkit::Utf8(std::wstring_view(name, SysStringLen(name)));
        SysFreeString(name);
    }
    return text;
}

void ExpectNames(HWND dialog, std::initializer_list<std::pair<int, const char*>> names) {
    for (const auto& [id, name] : names) EXPECT_EQ(AccessibleName(GetDlgItem(dialog, id)), name) << id;
}
}  // namespace

TEST(Keyboard, EveryButtonPressesFromTheKeysAndEveryControlSaysWhatItDoes) {
    ComApartment com;
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    HWND launcher = brisq.Launcher();
    EXPECT_EQ(AccessibleName(launcher), "Brisq");
    ExpectNames(launcher, {{kSettingsButton, "Settings"}, {kAboutButton, "About"}, {kCloseButton, "Close"}});

    // Enter on the focused About button opens About; Tab reaches its links.
    ASSERT_TRUE(TabTo(brisq, GetDlgItem(launcher, kAboutButton))) << brisq.Describe();
    SaveScreenshot("keyboard-about-button-focused", launcher);
    PressKey(VK_RETURN);
    HWND about = WaitForDialog(brisq, "About...");
    ASSERT_NE(about, nullptr);
    ExpectNames(about, {{kAboutText,
                         "Brisq\nVersion 1.0.1.23\nCopyright (C) 2026 Brisq Software\n\n"
                         "Brisq is a FREE tool for quick launch of most recent used commands and applications.\n\n"
                         "Brisq is absolutely free and does not contain adware or spyware functions."},
                        {kWebLink, "www.brisq.org"}});
    ASSERT_TRUE(TabTo(brisq, GetDlgItem(about, kWebLink)));
    ASSERT_TRUE(TabTo(brisq, GetDlgItem(about, kMailLink)));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about) && brisq.IsForeground(); }));

    // Space on the focused Settings button opens Settings.
    ASSERT_TRUE(TabTo(brisq, GetDlgItem(launcher, kSettingsButton))) << brisq.Describe();
    PressKey(VK_SPACE);
    HWND settings = WaitForDialog(brisq, "Settings");
    ASSERT_NE(settings, nullptr);
    ExpectNames(settings, {{kAddAlias, "Add New Alias"},
                           {kDeleteAlias, "Delete Selected Alias"},
                           {kEditAlias, "Edit Selected Alias"}});

    // Enter on the focused "+" is the button's: the Alias dialog opens and Settings stays.
    ASSERT_TRUE(TabTo(brisq, GetDlgItem(settings, kAddAlias)));
    SaveScreenshot("keyboard-add-button-focused", settings);
    PressKey(VK_RETURN);
    HWND alias = WaitForDialog(brisq, "Alias");
    ASSERT_NE(alias, nullptr);
    EXPECT_TRUE(IsWindow(settings));
    EXPECT_TRUE(WaitUntil([&] { return brisq.FocusWindow() == GetDlgItem(alias, kAliasName); }));
    ExpectNames(alias, {{kAliasName, "Alias"}, {kAliasCommand, "Command line"}});
    PostMessageA(alias, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(alias); }));
    PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(settings); }));
}
