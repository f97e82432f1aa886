#include "settings/settings_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <utility>

#include "controls/dpi_scale.h"
#include "framework/center_window.h"
#include "framework/dpi.h"
#include "framework/module.h"
#include "res/resource.h"
#include "settings/alias_dialog.h"
#include "settings/app_settings.h"
#include "settings/icon_cache.h"
#include "text/system_code_page.h"
#include "text/system_conversion.h"

namespace {
const COLORREF kPictureMask = RGB(0xFF, 0x00, 0xFF);
const int kPictureSize = 16;
const int kAliasColumnWidth = 100;    // pixels at 96 DPI
const int kCommandColumnWidth = 340;  // pixels at 96 DPI
// A row whose icon is not asked yet: neither an index nor I_IMAGENONE (-2),
// which a row keeps when there is no icon.
const int kIconNotAsked = -3;

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

// As much of |text| as the list's buffer takes.
void CopyCell(const std::string& text, char* buffer, int size) {
    if (!buffer || size <= 0) return;
    std::size_t length = std::min(text.size(), std::size_t(size - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}
void CopyCell(const std::string& text, wchar_t* buffer, int size) {
    if (!buffer || size <= 0) return;
    std::wstring wide = Widen(text);
    std::size_t length = std::min(wide.size(), std::size_t(size - 1));
    std::wmemcpy(buffer, wide.data(), length);
    buffer[length] = L'\0';
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
    OnNotify<NMLVDISPINFOA>(IDC_ALIAS_LIST, LVN_GETDISPINFOA, &SettingsDialog::OnRowDisplay),
    OnNotify<NMLVDISPINFOW>(IDC_ALIAS_LIST, LVN_GETDISPINFOW, &SettingsDialog::OnRowDisplay),
};

SettingsDialog::SettingsDialog(AppSettings& settings)
    : settings_(settings),
      search_(probe_, SystemCodePage()),
      icons_(search_, SystemCodePage(), IconCache::Instance().UrlIconIndex(),
             [](const std::string& path) { return IconCache::Instance().GetIconIndex(path); }) {}

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
        if (value < BST_UNCHECKED || value > BST_INDETERMINATE) value = BST_UNCHECKED;  // kept even if cancelled
        CheckDlgButton(window_, option.control, UINT(value));
    }

    list_ = GetDlgItem(window_, IDC_ALIAS_LIST);
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    const int dpi = WindowDpi(list_);
    InsertColumn(list_, 0, "Alias", ScaleToDpi(kAliasColumnWidth, dpi));
    InsertColumn(list_, 1, "Command", ScaleToDpi(kCommandColumnWidth, dpi));
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

// The list holds no rows of its own: it asks for what it draws. A row's icon is
// asked of the shell only then, and kept: a shell call takes milliseconds, and
// a long list shows few rows.
void SettingsDialog::OnRowDisplay(Message& m) {
    m.result = 0;
    // Both forms share every field but the text's type.
    auto* wanted = reinterpret_cast<NMLVDISPINFOA*>(m.lParam);
    LVITEMA& item = wanted->item;
    if (wanted->hdr.hwndFrom != list_ || item.iItem < 0 || std::size_t(item.iItem) >= rows_.size()) return;
    Row& row = rows_[std::size_t(item.iItem)];
    if (item.mask & LVIF_TEXT) {
        const std::string& text = item.iSubItem == 0 ? row.name : row.command;
        if (wanted->hdr.code == LVN_GETDISPINFOW) CopyCell(text, reinterpret_cast<wchar_t*>(item.pszText), item.cchTextMax);
        else CopyCell(text, item.pszText, item.cchTextMax);
    }
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) {
        if (row.icon == kIconNotAsked) {
            int index = icons_.IconOf(row.command);
            row.icon = index == -1 ? I_IMAGENONE : index;
        }
        item.iImage = row.icon;
    }
}

void SettingsDialog::FillAliasList() {
    rows_.clear();
    rows_.reserve(settings_.aliases.Count());
    for (const AliasEntry& alias : settings_.aliases) rows_.push_back({alias.name, alias.command, kIconNotAsked});
    SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), 0);
}

// A new row at the end; the list neither selects it nor scrolls to it.
void SettingsDialog::AppendRow(const std::string& name, const std::string& command) {
    rows_.push_back({name, command, kIconNotAsked});
    SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
}

void SettingsDialog::SetRow(int row, const std::string& name, const std::string& command) {
    rows_[std::size_t(row)] = {name, command, kIconNotAsked};
    SendMessageA(list_, LVM_REDRAWITEMS, row, row);
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
    if (row < 0 || std::size_t(row) >= rows_.size()) return;
    AliasDialog dialog;
    dialog.name = rows_[std::size_t(row)].name;
    dialog.command = rows_[std::size_t(row)].command;
    if (dialog.Run(window_) == IDOK) SetRow(row, dialog.name, dialog.command);
}

// The row below moves up; it gets the selection mark, not the selection.
void SettingsDialog::OnDeleteAlias(Message&) {
    int row = SelectedRow();
    if (row < 0 || std::size_t(row) >= rows_.size()) return;
    rows_.erase(rows_.begin() + row);
    SendMessageA(list_, LVM_DELETEITEM, row, 0);
    if (std::size_t(row) < rows_.size()) SendMessageA(list_, LVM_SETSELECTIONMARK, 0, row);
}

// The same table, refilled: it carries what was learnt when its file was loaded.
void SettingsDialog::StoreAliasList() {
    settings_.aliases.Clear();
    for (Row& row : rows_) settings_.aliases.Append(std::move(row.name), std::move(row.command));
    rows_.clear();
}

void SettingsDialog::OnOK(Message&) {
    for (const Option& option : kOptions)
        settings_.*option.field = std::int32_t(IsDlgButtonChecked(window_, option.control));
    auto hotKey = WORD(SendMessageA(hotKey_, HKM_GETHOTKEY, 0, 0));
    settings_.hot_key_key = LOBYTE(hotKey);
    settings_.hot_key_mod = HIBYTE(hotKey) & ~HOTKEYF_EXT;  // the control's mark of keys such as Home
    StoreAliasList();
    End(IDOK);
}

void SettingsDialog::OnCancel(Message&) { End(IDCANCEL); }
