#include "about/about_dialog.h"

#include "about/version_info.h"
#include "framework/center_window.h"
#include "framework/module.h"
#include "res/resource.h"

const char kMakerWebAddress[] = "http://www.brisq.org/";
const char kSupportMailTarget[] = "mailto:support@brisq.org?Subject=Brisq";

namespace {
const char kDescription[] =
    "<B>Brisq</B> is a <B>FREE</B> tool for quick launch of most recent used commands and applications.<BR><BR>"
    "<B>Brisq</B> is absolutely free and does not contain adware or spyware functions.";

HICON LoadProgramIcon(int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageA(Module::Instance(), MAKEINTRESOURCEA(IDI_BRISQ), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0));
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
    bigIcon_.Reset(LoadProgramIcon(SM_CXICON, SM_CYICON));
    smallIcon_.Reset(LoadProgramIcon(SM_CXSMICON, SM_CYSMICON));
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

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
