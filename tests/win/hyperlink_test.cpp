#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "richtext/hyperlink.h"
#include "res/resource.h"
#include "modal_script.h"
#include "scratch_values.h"
#include "window_picture.h"

namespace {
const char kBrowserSettings[] = "Software\\Microsoft\\Internet Explorer\\Settings";

// A link that notes what it would open instead of opening it.
class NotedLink final : public HyperLink {
public:
    std::vector<std::string> opened;

protected:
    INT_PTR Open(const std::string& target, int) override {
        opened.push_back(target);
        return 42;
    }
};

// The About template, modeless, with one of its links taken over. The dialog
// notes the commands it gets, so a key that should reach the link and not
// the default button shows.
class LinkHost {
public:
    explicit LinkHost(DWORD alignment = SS_LEFT, const char* target = nullptr, int id = IDC_ABOUT_WEB_LINK) {
        dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, Procedure,
                                     reinterpret_cast<LPARAM>(this));
        HWND control = GetDlgItem(dialog_, id);
        LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
        SetWindowLongPtrA(control, GWL_STYLE, (style & ~LONG_PTR(SS_TYPEMASK)) | alignment);
        link.Attach(control);
        if (target) link.SetTarget(target);
        ShowWindow(dialog_, SW_SHOW);
    }
    ~LinkHost() { DestroyWindow(dialog_); }

    HWND Dialog() const { return dialog_; }
    HWND Link() const { return link.Handle(); }
    POINT InsideText() const {
        const RECT& r = link.LinkRect();
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Mouse(UINT id, POINT at) {
        SendMessageA(Link(), id, id == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(at.x, at.y));
    }
    // A key press at the focus, through the dialog manager.
    void Key(WORD key) { PressThroughDialog(dialog_, key); }

    NotedLink link;
    std::vector<WORD> commands;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
        if (id == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);
        auto* self = reinterpret_cast<LinkHost*>(GetWindowLongPtrA(window, DWLP_USER));
        if (self && id == WM_COMMAND) self->commands.push_back(LOWORD(wParam));
        return id == WM_INITDIALOG;
    }

    HWND dialog_;
};

std::string ToolText(const HyperLink& link) {
    char text[256] = "";
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = link.Handle();
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageA(link.ToolTipWindow(), TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}
}  // namespace

TEST(HyperLink, InitMakesTheTextLabelAndTargetWithAnUnderlinedFont) {
    LinkHost host;
    EXPECT_TRUE(GetWindowLongPtrA(host.Link(), GWL_STYLE) & SS_NOTIFY);
    LOGFONTA font{};
    ASSERT_TRUE(GetObjectA(host.link.LinkFont(), sizeof(font), &font));
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_EQ(SendMessageA(host.Link(), WM_GETFONT, 0, 0), SendMessageA(host.Dialog(), WM_GETFONT, 0, 0));
    ASSERT_NE(host.link.ToolTipWindow(), nullptr);
    EXPECT_EQ(SendMessageA(host.link.ToolTipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(ToolText(host.link), "www.brisq.org");

    // A new target replaces the tool: the tooltip names the newest target.
    ASSERT_TRUE(host.link.SetTarget("mailto:support@brisq.org?Subject=Brisq"));
    EXPECT_EQ(SendMessageA(host.link.ToolTipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(ToolText(host.link), "mailto:support@brisq.org?Subject=Brisq");
    char text[64] = "";
    GetWindowTextA(host.Link(), text, sizeof(text));
    EXPECT_STREQ(text, "www.brisq.org");  // the label stays

    // The tooltip goes with the control.
    HWND tip = host.link.ToolTipWindow();
    DestroyWindow(host.Link());
    EXPECT_FALSE(IsWindow(tip));
}

TEST(HyperLink, TheLinkRectangleFollowsTheAlignment) {
    LinkHost left(SS_LEFT), centre(SS_CENTER), right(SS_RIGHT);
    RECT client{};
    GetClientRect(left.Link(), &client);
    const RECT &l = left.link.LinkRect(), &c = centre.link.LinkRect(), &r = right.link.LinkRect();
    int width = l.right - l.left;
    ASSERT_GT(width, 10);
    ASSERT_LT(width, client.right - 4);  // the text is shorter than the control
    EXPECT_EQ(l.left, 0);
    EXPECT_EQ(c.right - c.left, width);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(c.left, (client.right - width) / 2);
    EXPECT_EQ(r.right, client.right);
    EXPECT_EQ(l.top, 0);
    EXPECT_GT(l.bottom, 0);
}

TEST(HyperLink, OnlyAPressAndReleaseOnTheTextNavigates) {
    LinkHost host;
    POINT inside = host.InsideText();
    POINT beside{host.link.LinkRect().right + 3, inside.y};
    POINT away{inside.x + 300, inside.y + 40};

    host.Mouse(WM_LBUTTONDOWN, beside);  // in the control, beside the text
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_NE(GetFocus(), host.Link());
    host.Mouse(WM_LBUTTONUP, beside);
    EXPECT_TRUE(host.link.opened.empty());

    host.Mouse(WM_LBUTTONDOWN, inside);
    EXPECT_EQ(GetCapture(), host.Link());
    EXPECT_EQ(GetFocus(), host.Link());
    host.Mouse(WM_MOUSEMOVE, away);
    host.Mouse(WM_LBUTTONUP, away);  // dragged off the text
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(host.link.opened.empty());
    EXPECT_FALSE(host.link.Visited());

    host.Mouse(WM_LBUTTONDOWN, inside);
    host.Mouse(WM_LBUTTONUP, inside);
    EXPECT_EQ(host.link.opened, std::vector<std::string>{"www.brisq.org"});
    EXPECT_TRUE(host.link.Visited());
    host.Mouse(WM_LBUTTONUP, inside);  // a release without a press
    EXPECT_EQ(host.link.opened.size(), 1u);
}

TEST(HyperLink, TheHandShowsOverTheTextOnly) {
    LinkHost host;
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND), arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    host.Mouse(WM_MOUSEMOVE, POINT{host.link.LinkRect().right + 3, 1});
    EXPECT_EQ(GetCursor(), arrow);
    host.Mouse(WM_MOUSEMOVE, host.InsideText());
    EXPECT_EQ(GetCursor(), hand);
}

TEST(HyperLink, SpaceAndEnterNavigateWhenFocusedOtherKeysDoNot) {
    LinkHost host;
    SetFocus(host.Link());
    ASSERT_EQ(GetFocus(), host.Link());
    host.Key('A');
    EXPECT_TRUE(host.link.opened.empty());
    host.Key(VK_SPACE);
    EXPECT_EQ(host.link.opened.size(), 1u);
    host.Key(VK_RETURN);  // reaches the link, not the default button
    EXPECT_EQ(host.link.opened.size(), 2u);
    EXPECT_TRUE(host.commands.empty());

    SetFocus(GetDlgItem(host.Dialog(), IDOK));
    host.Key(VK_RETURN);  // elsewhere Enter is the dialog's again
    EXPECT_EQ(host.link.opened.size(), 2u);
    EXPECT_EQ(host.commands, std::vector<WORD>{IDOK});
}

TEST(HyperLink, PaintedInTheLinkVisitedAndGreyColoursWithAFocusRectangle) {
    LinkHost host;
    const COLORREF blue = RGB(0, 0, 255), purple = RGB(128, 0, 128);
    WindowPicture fresh(host.Link());
    EXPECT_GT(fresh.Count(blue), 10);
    EXPECT_EQ(fresh.Count(purple), 0);
    // The underline: a row of the text's whole width in the link colour.
    const RECT& text = host.link.LinkRect();
    int underline = 0;
    for (int y = text.top; y < text.bottom; ++y) {
        int run = 0;
        for (int x = text.left; x < text.right; ++x) run += fresh.At(x, y) == blue;
        underline = std::max(underline, run);
    }
    EXPECT_GT(underline, (text.right - text.left) * 9 / 10);

    host.link.Navigate();
    WindowPicture visited(host.Link());
    EXPECT_EQ(visited.Count(blue), 0);
    EXPECT_GT(visited.Count(purple), 10);

    EnableWindow(host.Link(), FALSE);
    WindowPicture disabled(host.Link());
    EXPECT_EQ(disabled.Count(purple), 0);
    EXPECT_GT(disabled.Count(GetSysColor(COLOR_GRAYTEXT)), 10);
    EnableWindow(host.Link(), TRUE);

    // The focus rectangle is dotted round the text: its corners differ from an unfocused paint.
    SetFocus(host.Link());
    WindowPicture focused(host.Link());
    int changed = 0;
    for (int x = text.left; x < text.right; ++x) changed += focused.At(x, text.top) != visited.At(x, text.top);
    EXPECT_GT(changed, 3);
}

TEST(HyperLink, ColoursComeFromTheBrowsersSettingsWhenTheyAreThreeNumbers) {
    {
        ScratchValues browser(kBrowserSettings);
        browser.Set("Anchor Color", "255,0,0");
        browser.Set("Anchor Color Visited", "0,128,0");
        LinkHost host;
        EXPECT_EQ(host.link.LinkColour(), RGB(255, 0, 0));
        EXPECT_EQ(host.link.VisitedColour(), RGB(0, 128, 0));
        WindowPicture picture(host.Link());
        EXPECT_GT(picture.Count(RGB(255, 0, 0)), 10);
    }
    for (const char* value : {"255,0", "red", "255,128,0640", ""}) {
        ScratchValues browser(kBrowserSettings);
        browser.Set("Anchor Color", value);
        browser.Set("Anchor Color Visited", value);
        LinkHost host;
        EXPECT_EQ(host.link.LinkColour(), RGB(0, 0, 255)) << value;
        EXPECT_EQ(host.link.VisitedColour(), RGB(128, 0, 128)) << value;
    }
}
