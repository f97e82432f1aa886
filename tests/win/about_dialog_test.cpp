#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "about/about_dialog.h"
#include "about/version_info.h"
#include "framework/module.h"
#include "modal_script.h"
#include "res/resource.h"

namespace {
std::string TooltipOf(HWND link) {
    auto* object = dynamic_cast<HyperLink*>(WindowObject::FromHandle(link));
    if (!object || !object->ToolTipWindow()) return "<no link>";
    char text[256] = "";
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = link;
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageA(object->ToolTipWindow(), TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
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
    HWND dialog = nullptr;
    ModalScript script({[&] {
        if (!(dialog = ActiveDialog("About..."))) return false;
        RECT size{0, 0, 251, 166}, client{};
        MapDialogRect(dialog, &size);
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, size.right);
        EXPECT_EQ(client.bottom, size.bottom);

        VersionInfo version;
        version.LoadFromModule(nullptr);
        HWND label = GetDlgItem(dialog, IDC_ABOUT_TEXT);
        EXPECT_NE(dynamic_cast<MarkupLabel*>(WindowObject::FromHandle(label)), nullptr);
        EXPECT_EQ(ControlText(label), AboutDialog::ProductText(version));
        EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_ABOUT_WEB_LINK)), "www.brisq.org");
        EXPECT_EQ(TooltipOf(GetDlgItem(dialog, IDC_ABOUT_WEB_LINK)), kMakerWebAddress);
        EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_ABOUT_MAIL_LINK)), "support@brisq.org");
        EXPECT_EQ(TooltipOf(GetDlgItem(dialog, IDC_ABOUT_MAIL_LINK)), "mailto:support@brisq.org?Subject=Brisq");
        for (int id : {IDC_ABOUT_LOWER_LINE, IDC_ABOUT_UPPER_LINE}) {
            auto* line = dynamic_cast<SeparatorLine*>(WindowObject::FromHandle(GetDlgItem(dialog, id)));
            EXPECT_TRUE(line && line->Raised()) << id;
        }
        auto big = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0));
        auto small = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ(IconWidth(big), GetSystemMetrics(SM_CXICON));
        EXPECT_EQ(IconWidth(small), GetSystemMetrics(SM_CXSMICON));
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));

        // Only a plain command closes it: the next step still runs.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 1), 0);
        return true;
    }, [&] {
        PressButton(dialog, IDCANCEL);
        return true;
    }});
    EXPECT_EQ(AboutDialog().RunModal(Module::Instance(), IDD_ABOUT, nullptr), IDCANCEL);
    EXPECT_TRUE(script.Finished()) << "stopped at step " << script.StepReached();
}
