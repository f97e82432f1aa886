#include "about/about_dialog.h"

#include "about/version_info.h"
#include "controls/program_icon_win.h"
#include "framework/center_window.h"
#include "framework/dpi.h"
#include "framework/module.h"
#include "res/resource.h"

const char kMakerWebAddress[] = "http://www.brisq.org/";
const char kSupportMailTarget[] = "mailto:support@brisq.org?Subject=Brisq";

namespace {
const char kDescription[] =
    "<B>Brisq</B> is a <B>FREE</B> tool for quick launch of most recent used commands and applications.<BR><BR>"
    "<B>Brisq</B> is absolutely free and does not contain adware or spyware functions.";

// The icon at the dialog's DPI.
Icon ProgramIcon(HWND dialog, int sizeMetric) {
    return LoadProgramIcon(Module::Instance(), IDI_BRISQ, SystemMetricAtDpi(sizeMetric, WindowDpi(dialog)));
}
}  // namespace

const MessageEntry<AboutDialog> AboutDialog::kMessages[] = {
    OnMessage(WM_INITDIALOG, &AboutDialog::OnInitDialog),
    OnCommand(IDOK, BN_CLICKED, &AboutDialog::OnEnd),
    OnCommand(IDCANCEL, BN_CLICKED, &AboutDialog::OnEnd),
};

bool AboutDialog::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

INT_PTR AboutDialog::Run(HWND owner) { return RunModal(Module::Instance(), IDD_ABOUT, owner); }

std::string AboutDialog::ProductText(const VersionInfo& version) {
    return "<B>" + version.ProductName() + "</B><BR>Version " + version.FileVersion() + "<BR>" +
           version.LegalCopyright() + "<BR><BR>" + kDescription;
}

void AboutDialog::OnInitDialog(Message& m) {
    CenterWindow(window_);
    bigIcon_ = ProgramIcon(window_, SM_CXICON);
    smallIcon_ = ProgramIcon(window_, SM_CXSMICON);
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    // The template's icon control was given the 32-pixel picture; it shows the DPI's.
    for (HWND child = GetWindow(window_, GW_CHILD); child && bigIcon_; child = GetWindow(child, GW_HWNDNEXT)) {
        char type[8] = "";
        GetClassNameA(child, type, sizeof(type));
        if (lstrcmpiA(type, "static") == 0 && (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(bigIcon_.get()), 0);
    }

    VersionInfo version;
    version.LoadFromModule(nullptr);  // without one the strings stay empty

    // Attaching first makes each link's text both label and target; the target then changes.
    webLink_.Attach(GetDlgItem(window_, IDC_ABOUT_WEB_LINK));
    webLink_.SetTarget(kMakerWebAddress);
    mailLink_.Attach(GetDlgItem(window_, IDC_ABOUT_MAIL_LINK));
    mailLink_.SetTarget(kSupportMailTarget);

    lowerLine_.Attach(GetDlgItem(window_, IDC_ABOUT_LOWER_LINE));
    upperLine_.Attach(GetDlgItem(window_, IDC_ABOUT_UPPER_LINE));
    lowerLine_.SetRaised(true);
    upperLine_.SetRaised(true);

    label_.Attach(GetDlgItem(window_, IDC_ABOUT_TEXT));
    SetWindowTextA(label_.Handle(), ProductText(version).c_str());
    m.result = TRUE;  // the dialog manager focuses OK
}

void AboutDialog::OnEnd(Message& m) { End(m.CommandId()); }
