#include "settings/alias_dialog.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "framework/center_window.h"
#include "framework/control_object.h"
#include "framework/module.h"
#include "res/resource.h"
#include "settings/alias_name.h"
#include "text/code_page.h"
#include "text/system_code_page.h"
#include "text/system_conversion.h"

namespace {
// Room for the long paths the file dialog can give, beyond MAX_PATH: 32,768
// characters, in as many bytes as they can take in the process's code page.
const DWORD kFileNameCapacity = 32768 * kMostBytesPerCharacter;

bool ReadText(HWND control, std::string& text) {
    if (!control) return false;
    text = WindowText(control);
    return true;
}

// The file dialog's hook: the dialog does everything itself.
UINT_PTR CALLBACK FileDialogHook(HWND, UINT, WPARAM, LPARAM) { return 0; }
}  // namespace

const MessageEntry<AliasDialog> AliasDialog::kMessages[] = {
    OnMessage(WM_INITDIALOG, &AliasDialog::OnInitDialog),
    OnCommand(IDOK, BN_CLICKED, &AliasDialog::OnOK),
    OnCommand(IDCANCEL, BN_CLICKED, &AliasDialog::OnCancel),
    OnCommand(IDC_ALIAS_BROWSE, BN_CLICKED, &AliasDialog::OnBrowse),
};

bool AliasDialog::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

INT_PTR AliasDialog::Run(HWND owner) { return RunModal(Module::Instance(), IDD_ALIAS, owner); }

void AliasDialog::OnInitDialog(Message& m) {
    CenterWindow(window_);
    // Typed characters must arrive whole: the fields are Unicode windows, and stay so.
    for (int field : {IDC_ALIAS_NAME, IDC_ALIAS_COMMAND}) MakeUnicodeWindow(GetDlgItem(window_, field));
    nameField_.Attach(GetDlgItem(window_, IDC_ALIAS_NAME));
    commandField_.Attach(GetDlgItem(window_, IDC_ALIAS_COMMAND));
    PutFields();
    m.result = TRUE;  // the dialog manager focuses the name field
}

bool AliasDialog::PutFields() {
    for (auto [id, text] : {std::pair{IDC_ALIAS_NAME, &name}, std::pair{IDC_ALIAS_COMMAND, &command}}) {
        if (!SetDlgItemTextA(window_, id, text->c_str())) {
            MessageBeep(0xFFFFFFFF);
            SetFocus(GetDlgItem(window_, id));
            return false;
        }
    }
    return true;
}

bool AliasDialog::GetFields() {
    for (auto [id, text] : {std::pair{IDC_ALIAS_NAME, &name}, std::pair{IDC_ALIAS_COMMAND, &command}}) {
        if (!ReadText(GetDlgItem(window_, id), *text)) {
            MessageBeep(0xFFFFFFFF);
            SetFocus(GetDlgItem(window_, id));
            return false;
        }
    }
    return true;
}

void AliasDialog::Refuse(const char* text, int control) {
    MessageBoxA(window_, text, "Error", MB_OK | MB_ICONINFORMATION);
    SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window_, control)), TRUE);
}

// Only an empty text counts as empty: blanks are a name like any other.
void AliasDialog::OnOK(Message&) {
    GetFields();
    if (name.empty()) Refuse("Alias can not be empty!", IDC_ALIAS_NAME);
    else if (command.empty()) Refuse("Command can not be empty!", IDC_ALIAS_COMMAND);
    else End(IDOK);
}

void AliasDialog::OnCancel(Message&) { End(IDCANCEL); }

// The dialog opens in the Program Files folder. Brisq's own current folder
// stays as it was: the file dialog would otherwise leave it where the file was
// picked, and names typed later would resolve there.
void AliasDialog::OnBrowse(Message&) {
    GetFields();
    wchar_t programFiles[MAX_PATH] = L"";
    bool exact = false;
    std::string initialFolder;
    if (SHGetSpecialFolderPathW(window_, programFiles, CSIDL_PROGRAM_FILES, FALSE))
        initialFolder = Narrow(programFiles, &exact);

    std::vector<char> file(kFileNameCapacity, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kFileNameCapacity;
    dialog.lpstrInitialDir = exact && !initialFolder.empty() ? initialFolder.c_str() : nullptr;
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK |
                   OFN_NOCHANGEDIR;
    dialog.lpfnHook = FileDialogHook;
    if (!GetOpenFileNameA(&dialog)) return;  // cancelled: the fields stay as typed

    command = file.data();
    if (name.empty()) name = AliasNameFromPath(command, SystemCodePage());
    PutFields();
}
