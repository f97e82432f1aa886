// Brisq without a mouse: every button pressed from the keyboard, and every
// control named for a screen reader.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver.h"

using namespace e2e;

namespace {
const int kCloseButton = 1019, kAboutButton = 1020, kSettingsButton = 1021;
const int kAliasList = 1013, kAddAlias = 1018, kDeleteAlias = 1019, kEditAlias = 1020;
const int kAliasName = 1020, kAliasCommand = 1021;
const int kAboutText = 1028, kWebLink = 1035, kMailLink = 1036;

HWND WaitForDialog(const Brisq& brisq, const char* caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = DialogWithCaption(brisq.ProcessId(), caption)) && IsWindowEnabled(found); });
    return found;
}

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
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return "<no object>";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string text = "<no name>";
    if (SUCCEEDED(object->get_accName(self, &name)) && name) {
        int length = WideCharToMultiByte(CP_UTF8, 0, name, -1, nullptr, 0, nullptr, nullptr);
        text.assign(std::size_t(length > 0 ? length - 1 : 0), '\0');
        if (length > 1) WideCharToMultiByte(CP_UTF8, 0, name, -1, text.data(), length, nullptr, nullptr);
        SysFreeString(name);
    }
    object->Release();
    return text;
}

class ComApartment {
public:
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};
}  // namespace

TEST(Keyboard, OpensAboutAndSettingsAndAddsAnAliasWithoutTheMouse) {
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    HWND launcher = brisq.Launcher();

    // Enter on the focused About button opens About; Tab reaches its links.
    ASSERT_TRUE(TabTo(brisq, GetDlgItem(launcher, kAboutButton))) << brisq.Describe();
    SaveScreenshot("keyboard-about-button-focused", launcher);
    PressKey(VK_RETURN);
    HWND about = WaitForDialog(brisq, "About...");
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(TabTo(brisq, GetDlgItem(about, kWebLink)));
    ASSERT_TRUE(TabTo(brisq, GetDlgItem(about, kMailLink)));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about) && brisq.IsForeground(); }));

    // Space on the focused Settings button opens Settings.
    ASSERT_TRUE(TabTo(brisq, GetDlgItem(launcher, kSettingsButton))) << brisq.Describe();
    PressKey(VK_SPACE);
    HWND settings = WaitForDialog(brisq, "Settings");
    ASSERT_NE(settings, nullptr);

    // Enter on the focused "+" is the button's: the Alias dialog opens and Settings stays.
    ASSERT_TRUE(TabTo(brisq, GetDlgItem(settings, kAddAlias)));
    SaveScreenshot("keyboard-add-button-focused", settings);
    PressKey(VK_RETURN);
    HWND alias = WaitForDialog(brisq, "Alias");
    ASSERT_NE(alias, nullptr);
    EXPECT_TRUE(IsWindow(settings));
    ASSERT_TRUE(WaitUntil([&] { return brisq.FocusWindow() == GetDlgItem(alias, kAliasName); }));
    TypeText("kb");
    PressKey(VK_TAB);
    TypeText("notepad.exe");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(alias); }));
    HWND list = GetDlgItem(settings, kAliasList);
    EXPECT_TRUE(WaitUntil([&] { return testkit::Ask(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));

    ASSERT_TRUE(TabTo(brisq, GetDlgItem(settings, IDOK)));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(settings) && brisq.IsForeground(); }));
    std::vector<std::string> entries = brisq.DropDownEntries();
    EXPECT_NE(std::find(entries.begin(), entries.end(), "kb"), entries.end());
}

TEST(Keyboard, EveryControlHasANameThatSaysWhatItDoes) {
    ComApartment com;
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    HWND launcher = brisq.Launcher();
    EXPECT_EQ(AccessibleName(launcher), "Brisq");
    EXPECT_EQ(AccessibleName(GetDlgItem(launcher, kSettingsButton)), "Settings");
    EXPECT_EQ(AccessibleName(GetDlgItem(launcher, kAboutButton)), "About");
    EXPECT_EQ(AccessibleName(GetDlgItem(launcher, kCloseButton)), "Close");

    PostMessageA(launcher, WM_COMMAND, kAboutButton, 0);
    HWND about = WaitForDialog(brisq, "About...");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(AccessibleName(GetDlgItem(about, kAboutText)),
              "Brisq\nVersion 1.0.1.23\nCopyright (C) 2026 Brisq Software\n\n"
              "Brisq is a FREE tool for quick launch of most recent used commands and applications.\n\n"
              "Brisq is absolutely free and does not contain adware or spyware functions.");
    EXPECT_EQ(AccessibleName(GetDlgItem(about, kWebLink)), "www.brisq.org");
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));

    PostMessageA(launcher, WM_COMMAND, kSettingsButton, 0);
    HWND settings = WaitForDialog(brisq, "Settings");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(AccessibleName(GetDlgItem(settings, kAddAlias)), "Add New Alias");
    EXPECT_EQ(AccessibleName(GetDlgItem(settings, kDeleteAlias)), "Delete Selected Alias");
    EXPECT_EQ(AccessibleName(GetDlgItem(settings, kEditAlias)), "Edit Selected Alias");

    PostMessageA(settings, WM_COMMAND, kAddAlias, LPARAM(GetDlgItem(settings, kAddAlias)));
    HWND alias = WaitForDialog(brisq, "Alias");
    ASSERT_NE(alias, nullptr);
    EXPECT_EQ(AccessibleName(GetDlgItem(alias, kAliasName)), "Alias");
    EXPECT_EQ(AccessibleName(GetDlgItem(alias, kAliasCommand)), "Command line");
    PostMessageA(alias, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(alias); }));
    PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(settings); }));
}
