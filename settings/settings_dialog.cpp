#include "settings/settings_dialog.h"

#include <commctrl.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "framework/center_window.h"
#include "framework/module.h"
#include "res/resource.h"
#include "settings/alias_dialog.h"
#include "settings/app_settings.h"
#include "settings/icon_cache.h"

namespace {
const COLORREF kPictureMask = RGB(0xFF, 0x00, 0xFF);
const int kPictureSize = 16;
// A cell is read in a buffer that doubles until the text fits; this bounds it.
const std::size_t kLongestCell = std::size_t(1) << 28;

struct Option {
    int control;
    std::int32_t AppSettings::*field;
};
const Option kOptions[] = {
    {IDC_START_WITH_WINDOWS, &AppSettings::start_with_windows},
    {IDC_ICON_IN_TRAY, &AppSettings::icon_in_tray},
    {IDC_RUN_HISTORY, &AppSettings::run_history},
    {IDC_TYPED_URLS, &AppSettings::typed_urls},
    {IDC_START_MENU, &AppSettings::start_menu},
};

void InsertColumn(HWND list, int index, const char* text, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}
}  // namespace

const MessageEntry<SettingsDialog> SettingsDialog::kMessages[] = {
    OnMessage(WM_INITDIALOG, &SettingsDialog::OnInitDialog),
    OnCommand(IDOK, BN_CLICKED, &SettingsDialog::OnOK),
    OnCommand(IDCANCEL, BN_CLICKED, &SettingsDialog::OnCancel),
    OnCommand(IDC_ADD_ALIAS, BN_CLICKED, &SettingsDialog::OnAddAlias),
    OnCommand(IDC_DELETE_ALIAS, BN_CLICKED, &SettingsDialog::OnDeleteAlias),
    OnCommand(IDC_EDIT_ALIAS, BN_CLICKED, &SettingsDialog::OnEditAlias),
    OnNotify(IDC_ALIAS_LIST, NM_DBLCLK, &SettingsDialog::OnEditAlias),
    OnNotify(IDC_ALIAS_LIST, LVN_GETDISPINFOA, &SettingsDialog::OnRowImage),
    OnNotify(IDC_ALIAS_LIST, LVN_GETDISPINFOW, &SettingsDialog::OnRowImage),
};

bool SettingsDialog::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

INT_PTR SettingsDialog::Run(HWND owner) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_HOTKEY_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    return RunModal(Module::Instance(), IDD_SETTINGS, owner);
}

void SettingsDialog::OnInitDialog(Message& m) {
    CenterWindow(window_);
    for (const Option& option : kOptions) {
        std::int32_t& value = settings_.*option.field;
        if (value < 0 || value > 2) value = 0;  // kept even if the dialog is cancelled
        CheckDlgButton(window_, option.control, UINT(value));
    }

    list_ = GetDlgItem(window_, IDC_ALIAS_LIST);
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    InsertColumn(list_, 0, "Alias", 100);
    InsertColumn(list_, 1, "Command", 340);
    // Shared: the list was made to leave the shell's image list alone.
    SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(IconCache::Instance().SystemImageList()));
    FillAliasList();

    hotKey_ = GetDlgItem(window_, IDC_HOT_KEY);
    SendMessageA(hotKey_, HKM_SETHOTKEY, MAKEWORD(settings_.hot_key_key & 0xFF, settings_.hot_key_mod & 0xFF), 0);

    const struct {
        IconButton& button;
        int control, picture;
        const char* tip;
    } buttons[] = {
        {addButton_, IDC_ADD_ALIAS, IDB_ADD_ALIAS, "Add New Alias"},
        {deleteButton_, IDC_DELETE_ALIAS, IDB_DELETE_ALIAS, "Delete Selected Alias"},
        {editButton_, IDC_EDIT_ALIAS, IDB_EDIT_ALIAS, "Edit Selected Alias"},
    };
    for (const auto& b : buttons) {
        b.button.Attach(GetDlgItem(window_, b.control));
        b.button.SetImageFromBitmap(kPictureSize, b.picture, kPictureMask);
        b.button.SetToolTipText(b.tip);
    }
    m.result = TRUE;  // the dialog manager focuses the first control that takes it
}

// A row's icon is asked of the shell only when the list first needs it, to
// draw the row: a shell call takes milliseconds, and a long list shows few rows.
void SettingsDialog::AppendRow(const std::string& name, const std::string& command) {
    LVITEMA item{};
    item.iItem = int(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>("");
    int row = int(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row >= 0) SetRow(row, name, command);
}

void SettingsDialog::SetRow(int row, const std::string& name, const std::string& command) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = const_cast<char*>(name.c_str());
    item.iImage = I_IMAGECALLBACK;
    SendMessageA(list_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    LVITEMA cell{};
    cell.iSubItem = 1;
    cell.pszText = const_cast<char*>(command.c_str());
    SendMessageA(list_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
}

// The list keeps the answer; a row without an icon keeps "none", so it is not asked again.
void SettingsDialog::OnRowImage(Message& m) {
    m.result = 0;
    // Only the fields both character sets share are read or written.
    auto* wanted = reinterpret_cast<NMLVDISPINFOA*>(m.lParam);
    LVITEMA& item = wanted->item;
    if (item.iSubItem != 0 || !(item.mask & LVIF_IMAGE)) return;
    int index = IconCache::Instance().AliasIconIndex(CellText(item.iItem, 1));
    item.iImage = index == -1 ? I_IMAGENONE : index;
    item.mask |= LVIF_DI_SETITEM;
}

void SettingsDialog::FillAliasList() {
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    for (const AliasEntry& alias : settings_.aliases) AppendRow(alias.name, alias.command);
}

std::string SettingsDialog::CellText(int row, int column) const {
    for (std::size_t capacity = 1024; capacity <= kLongestCell; capacity *= 2) {
        std::vector<char> text(capacity, '\0');
        LVITEMA cell{};
        cell.iSubItem = column;
        cell.pszText = text.data();
        cell.cchTextMax = int(capacity);
        auto length = std::size_t(SendMessageA(list_, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell)));
        if (length + 1 < capacity) return std::string(text.data(), length);  // not cut short
    }
    return {};
}

int SettingsDialog::SelectedRow() const {
    return int(SendMessageA(list_, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

void SettingsDialog::OnAddAlias(Message&) {
    AliasDialog dialog;
    if (dialog.Run(window_) == IDOK) AppendRow(dialog.name, dialog.command);
}

void SettingsDialog::OnEditAlias(Message& m) {
    m.result = 0;
    int row = SelectedRow();
    if (row < 0) return;
    AliasDialog dialog;
    dialog.name = CellText(row, 0);
    dialog.command = CellText(row, 1);
    if (dialog.Run(window_) == IDOK) SetRow(row, dialog.name, dialog.command);
}

// The row below moves up; it gets the selection mark, not the selection.
void SettingsDialog::OnDeleteAlias(Message&) {
    int row = SelectedRow();
    if (row < 0) return;
    SendMessageA(list_, LVM_DELETEITEM, row, 0);
    if (row < int(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)))
        SendMessageA(list_, LVM_SETSELECTIONMARK, 0, row);
}

void SettingsDialog::StoreAliasList() {
    int rows = int(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::pair<std::string, std::string>> read;
    read.reserve(rows);
    for (int row = 0; row < rows; ++row) read.emplace_back(CellText(row, 0), CellText(row, 1));
    // The same table, refilled: it carries what was learnt when its file was loaded.
    settings_.aliases.Clear();
    for (auto& [name, command] : read) settings_.aliases.Append(std::move(name), std::move(command));
}

void SettingsDialog::OnOK(Message&) {
    for (const Option& option : kOptions)
        settings_.*option.field = std::int32_t(IsDlgButtonChecked(window_, option.control));
    auto hotKey = WORD(SendMessageA(hotKey_, HKM_GETHOTKEY, 0, 0));
    settings_.hot_key_key = LOBYTE(hotKey);
    settings_.hot_key_mod = HIBYTE(hotKey);
    StoreAliasList();
    End(IDOK);
}

void SettingsDialog::OnCancel(Message&) { End(IDCANCEL); }
