#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "controls/glyph_button.h"
#include "controls/icon_button.h"
#include "res/resource.h"
#include "button_host.h"
#include "modal_script.h"
#include "canvas.h"

namespace {
using GlyphHost = ButtonHost<GlyphButton>;
}  // namespace

// The tooltip window costs time at start-up: it is made with the first text only.
TEST(FlatButton, AttachMakesItOwnerDrawnAndATextItsTooltipWindow) {
    GlyphHost host;
    EXPECT_EQ(GetWindowLongPtrA(host.Button(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(host.button.ToolTipWindow(), nullptr);

    ASSERT_TRUE(host.button.SetToolTipText("Close"));
    HWND tip = host.button.ToolTipWindow();
    ASSERT_NE(tip, nullptr);
    char type[64] = "";
    GetClassNameA(tip, type, sizeof(type));
    EXPECT_STREQ(type, TOOLTIPS_CLASSA);
    ASSERT_TRUE(host.button.SetToolTipText("Close"));  // a second text replaces the first
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    char text[80] = "";
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = host.Parent();
    tool.uId = reinterpret_cast<UINT_PTR>(host.Button());
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "Close");
    EXPECT_TRUE(host.button.SetToolTipText(nullptr));

    // The tooltip goes with the button.
    DestroyWindow(host.Button());
    EXPECT_FALSE(IsWindow(tip));
}

TEST(FlatButton, PressAndReleaseInsideClicksOnce) {
    GlyphHost host;
    host.Press();
    EXPECT_EQ(GetCapture(), host.Button());
    EXPECT_TRUE(host.button.Pressed());
    EXPECT_EQ(host.clicks, 0);
    host.Release();
    EXPECT_EQ(host.clicks, 1);
    EXPECT_EQ(host.otherCommands, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(host.button.Pressed());  // cleared by the capture change
}

TEST(FlatButton, ReleaseOutsideDoesNotClick) {
    GlyphHost host;
    host.Press();
    host.Move(-30, 5);
    EXPECT_FALSE(host.button.Pressed());
    EXPECT_EQ(GetCapture(), host.Button());  // still captured, just not pressed
    host.Release(-30, 5);
    EXPECT_EQ(host.clicks, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(FlatButton, DragOutAndBackInClicksOnce) {
    GlyphHost host;
    host.Press();
    host.Move(5, 40);
    EXPECT_FALSE(host.button.Pressed());
    host.Move(6, 6);
    EXPECT_TRUE(host.button.Pressed());
    host.Release(6, 6);
    EXPECT_EQ(host.clicks, 1);
}

TEST(FlatButton, CaptureTakenAwayUnpresses) {
    GlyphHost host;
    host.Press();
    ASSERT_TRUE(host.button.Pressed());
    SetCapture(host.Parent());  // as a message box would
    EXPECT_FALSE(host.button.Pressed());
    ReleaseCapture();
    host.Release();
    EXPECT_EQ(host.clicks, 0);
}

TEST(FlatButton, DoubleClickPressesLikeAPress) {
    GlyphHost host;
    host.Press();
    host.Release();
    SendMessageA(host.Button(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(host.button.Pressed());
    host.Release();
    EXPECT_EQ(host.clicks, 2);
}

namespace {
// A dialog of the program's, modeless, with one of its buttons taken over; it
// notes the commands it gets. Keys go through the dialog manager, as in a modal loop.
template <class ButtonObject>
class KeyHost {
public:
    KeyHost(int dialog, int control) {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_HOTKEY_CLASS | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&classes);  // the Settings template's list and hot-key control
        dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialog), nullptr, Procedure,
                                     reinterpret_cast<LPARAM>(this));
        button.Attach(GetDlgItem(dialog_, control));
        ShowWindow(dialog_, SW_SHOW);
        SetForegroundWindow(dialog_);
        SetFocus(button.Handle());
    }
    ~KeyHost() { DestroyWindow(dialog_); }

    void Key(UINT message, WORD key, LPARAM flags = 0) { KeyThroughDialog(dialog_, message, key, flags); }
    void Press(WORD key) { PressThroughDialog(dialog_, key); }

    ButtonObject button;
    std::vector<WORD> commands;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
        if (id == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);
        auto* self = reinterpret_cast<KeyHost*>(GetWindowLongPtrA(window, DWLP_USER));
        if (self && id == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
            reinterpret_cast<HWND>(lParam) == self->button.Handle())
            self->commands.push_back(LOWORD(wParam));
        return id == WM_INITDIALOG;
    }

    HWND dialog_;
};

// Space presses on the way down and clicks on the way up, once however long
// it is held; Enter clicks the focused button, not the dialog's default one.
template <class ButtonObject>
void ExpectKeysPress(int dialog, int control) {
    KeyHost<ButtonObject> host(dialog, control);
    ASSERT_NE(host.button.Handle(), nullptr);
    ASSERT_EQ(GetFocus(), host.button.Handle());
    host.Key(WM_KEYDOWN, VK_SPACE);
    EXPECT_TRUE(host.button.Pressed());
    // The pointer is not the one pressing: moving it elsewhere keeps the press.
    SendMessageA(host.button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(-50, -50));
    EXPECT_TRUE(host.button.Pressed());
    host.Key(WM_KEYDOWN, VK_SPACE, LPARAM(1) << 30);  // held: the key repeats
    EXPECT_TRUE(host.commands.empty());
    host.Key(WM_KEYUP, VK_SPACE, LPARAM(0xC0000000));
    EXPECT_FALSE(host.button.Pressed());
    EXPECT_EQ(host.commands, std::vector<WORD>{WORD(control)});
    host.Press(VK_RETURN);
    EXPECT_EQ(host.commands, (std::vector<WORD>{WORD(control), WORD(control)}));
}
}  // namespace

TEST(FlatButton, SpaceAndEnterPressEachKindOfButton) {
    ExpectKeysPress<IconButton>(IDD_SETTINGS, IDC_ADD_ALIAS);
    ExpectKeysPress<GlyphButton>(IDD_LAUNCHER, IDC_ABOUT_BUTTON);
}

TEST(GlyphButton, HoverLightsAndLeavingRestores) {
    GlyphHost host;
    auto paint = [&] {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP picture = CreateCompatibleBitmap(screen, 19, 18);
        HGDIOBJ old = SelectObject(dc, picture);
        SendMessageA(host.Button(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        COLORREF top = GetPixel(dc, 9, 2), bottom = GetPixel(dc, 9, 15);
        COLORREF glyphPixels = 0;  // the near-black of the glyph
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 19; ++x) glyphPixels += GetPixel(dc, x, y) == RGB(0x12, 0, 0);
        SelectObject(dc, old);
        DeleteObject(picture);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return std::array<COLORREF, 3>{top, bottom, glyphPixels};
    };
    auto plain = paint();
    EXPECT_EQ(plain[0], RGB(0xCC, 0xCC, 0xCC));  // darker at the top
    EXPECT_GT(GetRValue(plain[1]), GetRValue(plain[0]));
    EXPECT_GT(plain[2], 4u);
    host.Move(3, 3);
    EXPECT_TRUE(host.button.MouseOver());
    auto lit = paint();
    EXPECT_EQ(lit[0], RGB(0xEE, 0xEE, 0xEE));  // lighter at the top
    EXPECT_LT(GetRValue(lit[1]), GetRValue(lit[0]));
    SendMessageA(host.Button(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(host.button.MouseOver());
    EXPECT_EQ(paint(), plain);
}

// The caption glyphs need the symbol font in the Wine prefix (scripts/wine-env).
TEST(GlyphButton, MarlettIsInstalled) {
    HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "marlett");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    char face[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof(face), face);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    EXPECT_STREQ(face, "Marlett");
}

TEST(GlyphButton, ImageListReplacesTheGlyph) {
    GlyphHost host;
    EXPECT_FALSE(host.button.SetImageFromBitmap(16, 9999, RGB(255, 255, 255)));  // no such bitmap
    EXPECT_TRUE(host.button.SetImageFromBitmap(16, IDB_TOOL, RGB(255, 255, 255)));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 19, 18);
    HGDIOBJ old = SelectObject(dc, picture);
    SendMessageA(host.Button(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    // The tool's black shows; its white field is masked away, leaving the gradient.
    int black = 0, white = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 19; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            black += c == RGB(0, 0, 0);
            white += c == RGB(255, 255, 255);
        }
    SelectObject(dc, old);
    DeleteObject(picture);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    EXPECT_GT(black, 40);
    EXPECT_EQ(white, 0);
}

TEST(GlyphButton, ThousandHoverRepaintsKeepTheGdiObjectCount) {
    GlyphHost host;
    host.Move(3, 3);  // the first paint makes the glyph font
    SendMessageA(host.Button(), WM_MOUSELEAVE, 0, 0);
    DWORD before = LiveGdiObjects();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 1000; ++i) {
        host.Move(3, 3);
        SendMessageA(host.Button(), WM_MOUSELEAVE, 0, 0);
    }
    EXPECT_EQ(LiveGdiObjects(), before);
}

namespace {
int ThreadToolTips() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM counted) -> BOOL {
            char type[64] = "";
            GetClassNameA(window, type, sizeof(type));
            if (std::string(type) == TOOLTIPS_CLASSA) ++*reinterpret_cast<int*>(counted);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}
}  // namespace

// Set-up is all or nothing: a button that could not be taken over leaves no
// tooltip window behind without an owner to destroy it.
TEST(FlatButton, AFailedAttachMakesNoTooltipWindow) {
    int before = ThreadToolTips();
    GlyphButton button;
    EXPECT_FALSE(button.Attach(nullptr));
    HWND gone = CreateWindowExA(0, "BUTTON", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(button.Attach(gone));
    EXPECT_EQ(button.ToolTipWindow(), nullptr);
    EXPECT_EQ(button.Handle(), nullptr);
    EXPECT_EQ(ThreadToolTips(), before);

    // Attached once, a second take-over is refused and makes no second tooltip.
    GlyphHost host;
    ASSERT_TRUE(host.button.SetToolTipText("tip"));
    EXPECT_EQ(ThreadToolTips(), before + 1);
    HWND other = CreateWindowExA(0, "BUTTON", "y", WS_CHILD, 0, 0, 10, 10, host.Parent(), nullptr, nullptr, nullptr);
    EXPECT_FALSE(host.button.Attach(other));
    EXPECT_EQ(ThreadToolTips(), before + 1);
}
