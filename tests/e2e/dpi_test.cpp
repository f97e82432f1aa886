// Brisq at the display's DPI: run at 96 DPI with the rest of the suite, and at
// 144 DPI once more (e2e_dpi144). Sizes follow the DPI's ratio, and the text of
// every static control and button fits its control.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver.h"

using namespace e2e;

namespace {
const int kCommandBox = 1000, kCloseButton = 1019, kAboutButton = 1020, kSettingsButton = 1021;
const int kLabel = 1028, kAddAlias = 1018;

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}
int Scaled(int value, int dpi) { return MulDiv(value, dpi, 96); }

SIZE SizeOf(HWND window, bool client) {
    RECT r{};
    if (client) GetClientRect(window, &r);
    else GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// Within a few per cent of the size at 96 DPI times the DPI's ratio.
void ExpectScaled(const char* what, int size, int at96, int dpi) {
    double expected = at96 * dpi / 96.0;
    EXPECT_NEAR(size, expected, expected * 0.04 + 1) << what << " at " << dpi << " DPI";
}

// The room a text needs in the dialog manager's font for "MS Shell Dlg" 8 at a
// DPI: wrapped as a static control wraps it in `width` pixels, or on one line
// beside a button's box or inside its frame.
SIZE TextNeeds(const std::string& text, bool isStatic, LONG style, int dpi, int width) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                             0, "MS Shell Dlg");
    HGDIOBJ previous = SelectObject(dc, font);
    RECT need{0, 0, width, 0};
    if (isStatic) {
        DrawTextA(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    } else {
        DrawTextA(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
        LONG kind = style & BS_TYPEMASK;
        if (kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX) need.right += Scaled(13 + 3, dpi);  // the box and its gap
        else if (kind == BS_GROUPBOX) need.right += Scaled(2 * 6, dpi);
        else need.right += 2 * GetSystemMetrics(SM_CXEDGE);
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);
    return SIZE{need.right - need.left, need.bottom - need.top};
}

bool Fits(SIZE need, SIZE room) { return need.cx <= room.cx && need.cy <= room.cy; }

// Every static text and button of a dialog: its text fits the control, unless
// it did not fit at 96 DPI either.
void ExpectTextFits(HWND dialog, int dpi, const std::vector<int>& skip) {
    int checked = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(child);
        if (std::find(skip.begin(), skip.end(), id) != skip.end()) continue;
        char type[32] = "";
        GetClassNameA(child, type, sizeof(type));
        std::string text = WindowText(child);
        if (text.empty()) continue;
        LONG style = LONG(GetWindowLongPtrA(child, GWL_STYLE));
        bool isStatic = lstrcmpiA(type, "Static") == 0;
        if (!isStatic && lstrcmpiA(type, "Button") != 0) continue;
        if (isStatic && (style & SS_TYPEMASK) > SS_RIGHT) continue;  // pictures and frames
        SIZE room = SizeOf(child, true), room96{MulDiv(room.cx, 96, dpi), MulDiv(room.cy, 96, dpi)};
        if (!Fits(TextNeeds(text, isStatic, style, 96, room96.cx), room96)) continue;  // cut already at 96 DPI
        ++checked;
        SIZE need = TextNeeds(text, isStatic, style, dpi, room.cx);
        EXPECT_TRUE(Fits(need, room)) << "\"" << text << "\" (" << id << ") needs " << need.cx << " x " << need.cy
                                      << " in " << room.cx << " x " << room.cy << " at " << dpi << " DPI";
    }
    EXPECT_GT(checked, 2);
}

// The widest run of pixels in a row of a control that differ from the corner's colour.
int PictureWidth(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    HDC screen = GetDC(nullptr);
    COLORREF face = GetPixel(screen, r.left + 1, r.top + 1);
    int widest = 0;
    for (int y = r.top + 2; y < r.bottom - 2; ++y) {
        int first = -1, last = -1;
        for (int x = r.left + 2; x < r.right - 2; ++x)
            if (GetPixel(screen, x, y) != face) {
                if (first < 0) first = x;
                last = x;
            }
        if (first >= 0) widest = std::max(widest, last - first + 1);
    }
    ReleaseDC(nullptr, screen);
    return widest;
}
}  // namespace

TEST(Dpi, LauncherFollowsTheDpi) {
    const int dpi = ScreenDpi();
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    HWND launcher = brisq.Launcher();
    SIZE window = SizeOf(launcher, false);
    // The skin is drawn for the DPI at start-up: exactly its size (its region is the skin's shape).
    EXPECT_EQ(window.cx, Scaled(491, dpi));
    EXPECT_EQ(window.cy, Scaled(62, dpi));

    // Sized at start-up by the DPI's layout (where it puts them is checked in the core).
    const struct {
        int id, width, height;  // at 96 DPI
    } controls[] = {{kCloseButton, 20, 18}, {kAboutButton, 20, 18}, {kSettingsButton, 20, 18}, {kCommandBox, 468, 21}};
    for (const auto& c : controls) {
        HWND control = GetDlgItem(launcher, c.id);
        RECT r{};
        GetWindowRect(control, &r);
        ExpectScaled("a launcher control's width", r.right - r.left, c.width, dpi);
        ExpectScaled("a launcher control's height", r.bottom - r.top, c.height, dpi);
    }
    ASSERT_TRUE(brisq.BringUp());
    TypeText("Brisq gyp");
    EXPECT_TRUE(WaitUntil([&] { return brisq.FieldText() == "Brisq gyp"; })) << brisq.Describe();
    SaveScreenshot("dpi-" + std::to_string(dpi) + "-launcher", launcher);
}

TEST(Dpi, DialogsFollowTheDpiAndTheirTextFits) {
    const int dpi = ScreenDpi();
    Brisq brisq;
    ASSERT_TRUE(brisq.Start());
    const struct {
        int command;
        const char *caption, *name;
        int width, height;  // of the client area at 96 DPI
        std::vector<int> skip;
    } dialogs[] = {
        {kSettingsButton, "Settings", "settings", 546, 444, {}},
        {kAboutButton, "About...", "about", 377, 270, {kLabel}},  // the label draws its own markup
    };
    for (const auto& d : dialogs) {
        PostMessageA(brisq.Launcher(), WM_COMMAND, d.command, 0);
        HWND dialog = WaitForDialog(brisq, d.caption);
        ASSERT_NE(dialog, nullptr) << d.caption;
        SIZE client = SizeOf(dialog, true);
        ExpectScaled(d.caption, client.cx, d.width, dpi);
        ExpectScaled(d.caption, client.cy, d.height, dpi);
        ExpectTextFits(dialog, dpi, d.skip);
        // The alias buttons' pictures are drawn at the DPI's size: the plus sign is 14 of 16 pixels wide.
        if (d.command == kSettingsButton)
            ExpectScaled("the add button's picture", PictureWidth(GetDlgItem(dialog, kAddAlias)), 14, dpi);
        SaveScreenshot("dpi-" + std::to_string(dpi) + "-" + d.name, dialog);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }
}
