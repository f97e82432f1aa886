#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "about/about_dialog.h"
#include "about/version_info.h"
#include "framework/module.h"
#include "res/resource.h"

namespace {
// Runs checks from inside the dialog's own modal loop, one per timer tick, so
// a step only runs while the dialog is still running.
std::vector<std::function<void(HWND)>> steps;
std::size_t stepsRun = 0;

void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (stepsRun >= steps.size()) return;
    steps[stepsRun++](GetActiveWindow());
    if (stepsRun < steps.size()) SetTimer(nullptr, 0, 0, Tick);
}

INT_PTR RunAbout(std::vector<std::function<void(HWND)>> script) {
    steps = std::move(script);
    stepsRun = 0;
    SetTimer(nullptr, 0, 0, Tick);
    AboutDialog about;
    INT_PTR result = about.RunModal(Module::Instance(), IDD_ABOUT, nullptr);
    steps.clear();
    return result;
}

std::string Text(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string TooltipOf(HWND link) {
    auto* object = dynamic_cast<HyperLink*>(WindowObject::FromHandle(link));
    if (!object || !object->ToolTip()) return "<no link>";
    char text[256] = "";
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = link;
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageA(object->ToolTip(), TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}
}  // namespace

TEST(AboutDialog, ShowsTheVersionTextTheLinksRaisedLinesAndIcons) {
    INT_PTR result = RunAbout({[&](HWND dialog) {
        EXPECT_EQ(Text(dialog), "About...");
        RECT size{0, 0, 251, 166}, client{};
        MapDialogRect(dialog, &size);
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, size.right);
        EXPECT_EQ(client.bottom, size.bottom);

        VersionInfo version;
        version.LoadFromModule(nullptr);
        HWND label = GetDlgItem(dialog, IDC_ABOUT_TEXT);
        EXPECT_NE(dynamic_cast<MarkupLabel*>(WindowObject::FromHandle(label)), nullptr);
        EXPECT_EQ(Text(label), AboutDialog::ProductText(version));
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_ABOUT_WEB_LINK)), "www.brisq.org");
        EXPECT_EQ(TooltipOf(GetDlgItem(dialog, IDC_ABOUT_WEB_LINK)), kMakerWebAddress);
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_ABOUT_MAIL_LINK)), "support@brisq.org");
        EXPECT_EQ(TooltipOf(GetDlgItem(dialog, IDC_ABOUT_MAIL_LINK)), "mailto:support@brisq.org?Subject=Brisq");
        for (int id : {IDC_ABOUT_LOWER_LINE, IDC_ABOUT_UPPER_LINE}) {
            auto* line = dynamic_cast<SeparatorLine*>(WindowObject::FromHandle(GetDlgItem(dialog, id)));
            ASSERT_NE(line, nullptr) << id;
            EXPECT_TRUE(line->Raised()) << id;
        }
        auto big = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0));
        auto small = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ(IconWidth(big), GetSystemMetrics(SM_CXICON));
        EXPECT_EQ(IconWidth(small), GetSystemMetrics(SM_CXSMICON));
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));

        // Only a plain command closes it: the next step still runs.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 1), 0);
    }, [](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }});
    EXPECT_EQ(stepsRun, 2u);
    EXPECT_EQ(result, IDCANCEL);
}
