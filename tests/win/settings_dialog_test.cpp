#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "canvas.h"
#include "command/web_address.h"
#include "completion/icon_cache.h"
#include "controls/skin_palette.h"
#include "modal_script.h"
#include "res/resource.h"
#include "settings/alias_dialog.h"
#include "settings/app_settings.h"
#include "settings/settings_dialog.h"

namespace {
using Step = ModalScript::Step;
using Aliases = std::vector<std::pair<std::string, std::string>>;

Aliases AliasesOf(const AppSettings& settings) {
    Aliases aliases;
    for (const AliasEntry& alias : settings.aliases) aliases.emplace_back(alias.name, alias.command);
    return aliases;
}

// A click as the mouse makes it, on a flat button of a dialog.
void ClickFlatButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

// Runs the dialog once the script's first step has found it.
class DialogTest : public testing::Test {
protected:
    static void SetUpTestSuite() { InitSkinPalette(); }

    // Waits for a dialog with this caption and keeps it in found.
    static Step Find(const char* caption, HWND& found) {
        return [caption, &found] { return (found = ActiveDialog(caption)) != nullptr; };
    }
    static Step Do(std::function<void()> action) {
        return [action] {
            action();
            return true;
        };
    }
    // Runs the steps against the Settings dialog; a step may rely on dialog and list.
    INT_PTR RunSettings(std::vector<Step> steps) {
        steps.insert(steps.begin(), Do([this] { list = GetDlgItem(dialog, IDC_ALIAS_LIST); }));
        steps.insert(steps.begin(), Find("Settings", dialog));
        ModalScript script(std::move(steps));
        INT_PTR result = SettingsDialog(settings).Run(nullptr);
        EXPECT_TRUE(script.Finished()) << "the script stopped at step " << script.StepReached();
        return result;
    }

    int Rows() const { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
    std::string Cell(int row, int column) const {
        std::string text(8192, '\0');
        LVITEMA cell{};
        cell.iSubItem = column;
        cell.pszText = text.data();
        cell.cchTextMax = int(text.size());
        text.resize(SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell)));
        return text;
    }
    int Image(int row) const {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }
    int Selected() const { return int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); }
    int SelectionMark() const { return int(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0)); }
    void Select(int row) const {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
    // A double click on a row, as the mouse gives it to the list.
    void DoubleClickRow(int row) const {
        RECT cell{LVIR_LABEL};
        SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
        SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(cell.left + 4, (cell.top + cell.bottom) / 2));
        SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(cell.left + 4, (cell.top + cell.bottom) / 2));
    }
    void SetAliases(const Aliases& aliases) {
        settings.aliases.Clear();
        for (const auto& [name, command] : aliases) settings.aliases.Append(name, command);
    }

    AppSettings settings;
    HWND dialog = nullptr, list = nullptr, alias = nullptr, box = nullptr;
};

using AliasDialogTest = DialogTest;
using SettingsDialogTest = DialogTest;
}  // namespace

TEST_F(AliasDialogTest, RefusesAnEmptyNameThenAnEmptyCommandWithTheFocusOnIt) {
    AliasDialog edit;
    std::vector<std::string> messages;
    int focusAfterName = 0, focusAfterCommand = 0;  // control ids
    auto dismissBox = [&] {
        if (!(box = ActiveDialog("Error"))) return false;
        messages.push_back(MessageBoxText(box));
        PressButton(box, IDOK);
        return true;
    };
    ModalScript script({
        Find("Alias", alias),
        Do([&] { PressButton(alias, IDOK); }),  // both empty
        dismissBox,
        Do([&] { focusAfterName = GetDlgCtrlID(GetFocus()); }),
        Do([&] {
            SetDlgItemTextA(alias, IDC_ALIAS_NAME, " ");  // a blank is a name
            PressButton(alias, IDOK);
        }),
        dismissBox,
        Do([&] { focusAfterCommand = GetDlgCtrlID(GetFocus()); }),
        Do([&] {
            SetDlgItemTextA(alias, IDC_ALIAS_COMMAND, "notepad.exe");
            PressButton(alias, IDOK);
        }),
    });
    EXPECT_EQ(edit.Run(nullptr), IDOK);
    ASSERT_TRUE(script.Finished()) << script.StepReached();
    EXPECT_EQ(messages, (std::vector<std::string>{"Alias can not be empty!", "Command can not be empty!"}));
    EXPECT_EQ(focusAfterName, IDC_ALIAS_NAME);
    EXPECT_EQ(focusAfterCommand, IDC_ALIAS_COMMAND);
    EXPECT_EQ(edit.name, " ");
    EXPECT_EQ(edit.command, "notepad.exe");
}

TEST_F(AliasDialogTest, ShowsWhatItIsGivenAndCancelKeepsIt) {
    AliasDialog edit;
    edit.name = "np";
    edit.command = "notepad.exe $param";
    std::string shownName, shownCommand;
    int focus = 0;
    ModalScript script({
        Find("Alias", alias),
        Do([&] {
            shownName = ControlText(GetDlgItem(alias, IDC_ALIAS_NAME));
            shownCommand = ControlText(GetDlgItem(alias, IDC_ALIAS_COMMAND));
            focus = GetDlgCtrlID(GetFocus());
            SetDlgItemTextA(alias, IDC_ALIAS_NAME, "changed");
            PressButton(alias, IDCANCEL);
        }),
    });
    EXPECT_EQ(edit.Run(nullptr), IDCANCEL);
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(shownName, "np");
    EXPECT_EQ(shownCommand, "notepad.exe $param");
    EXPECT_EQ(focus, IDC_ALIAS_NAME);
    EXPECT_EQ(edit.name, "np");
}

TEST_F(SettingsDialogTest, MatchesItsTemplate) {
    struct Control {
        int id;
        const char* type;
        const char* text;
        RECT units;  // left, top, width, height
    };
    const Control expected[] = {
        {IDOK, "Button", "OK", {255, 255, 50, 14}},
        {IDCANCEL, "Button", "Cancel", {310, 255, 50, 14}},
        {-1, "Button", "General", {4, 3, 356, 28}},
        {IDC_START_WITH_WINDOWS, "Button", "Start with Windows", {14, 15, 78, 10}},
        {-1, "Static", "Hot Key:", {225, 15, 29, 8}},
        {IDC_HOT_KEY, "msctls_hotkey32", "", {256, 12, 80, 14}},
        {-1, "Button", "Aliases", {4, 70, 356, 181}},
        {IDC_ALIAS_LIST, "SysListView32", "", {10, 81, 323, 164}},
        {-1, "Button", "Add to Autocomplete Items From", {4, 35, 356, 30}},
        {IDC_RUN_HISTORY, "Button", "Run History", {14, 48, 53, 10}},
        {IDC_TYPED_URLS, "Button", "Typed URLs", {85, 48, 54, 10}},
        {IDC_START_MENU, "Button", "Start Menu", {157, 48, 51, 10}},
        {IDC_ADD_ALIAS, "Button", "+", {337, 81, 17, 14}},
        {IDC_DELETE_ALIAS, "Button", "-", {337, 98, 17, 14}},
        {IDC_EDIT_ALIAS, "Button", " ...", {337, 115, 17, 14}},
        {IDC_ICON_IN_TRAY, "Button", "Show Icon in System Tray", {101, 15, 99, 10}},
    };
    std::vector<HWND> children;
    std::vector<int> tabOrder;
    RECT client{}, clientUnits{0, 0, 364, 273};
    LONG_PTR style = 0, listStyle = 0;
    std::string caption;
    RunSettings({Do([&] {
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            children.push_back(child);
        HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
        for (HWND item = first; item; item = GetNextDlgTabItem(dialog, item, FALSE)) {
            tabOrder.push_back(GetDlgCtrlID(item));
            if (GetNextDlgTabItem(dialog, item, FALSE) == first) break;
        }
        GetClientRect(dialog, &client);
        MapDialogRect(dialog, &clientUnits);
        style = GetWindowLongPtrA(dialog, GWL_STYLE);
        listStyle = GetWindowLongPtrA(list, GWL_STYLE);
        caption = ControlText(dialog);
        for (std::size_t i = 0; i < children.size() && i < std::size(expected); ++i) {
            const Control& c = expected[i];
            HWND child = children[i];
            char type[64] = "";
            GetClassNameA(child, type, sizeof(type));
            RECT want = c.units;  // each of x, y, width and height is mapped on its own
            MapDialogRect(dialog, &want);
            want.right += want.left;
            want.bottom += want.top;
            RECT got{};
            GetWindowRect(child, &got);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&got), 2);
            EXPECT_EQ(GetDlgCtrlID(child), c.id) << i;
            EXPECT_STREQ(type, c.type) << i;
            // The three small buttons are the icon buttons now: their captions stay for the fallback.
            EXPECT_EQ(ControlText(child), c.text) << i;
            EXPECT_TRUE(EqualRect(&got, &want)) << i << ": " << got.left << "," << got.top << "," << got.right
                                                << "," << got.bottom << " for " << want.left << "," << want.top
                                                << "," << want.right << "," << want.bottom;
        }
        PressButton(dialog, IDCANCEL);
    })});
    EXPECT_EQ(caption, "Settings");
    EXPECT_EQ(children.size(), std::size(expected));
    EXPECT_EQ(client.right, clientUnits.right);
    EXPECT_EQ(client.bottom, clientUnits.bottom);
    EXPECT_EQ(style & (DS_MODALFRAME | WS_CAPTION | WS_SYSMENU), DS_MODALFRAME | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(listStyle & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP),
              LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP);
    EXPECT_EQ(tabOrder, (std::vector<int>{IDOK, IDCANCEL, IDC_START_WITH_WINDOWS, IDC_HOT_KEY, IDC_ALIAS_LIST,
                                          IDC_RUN_HISTORY, IDC_TYPED_URLS, IDC_START_MENU, IDC_ADD_ALIAS,
                                          IDC_DELETE_ALIAS, IDC_EDIT_ALIAS, IDC_ICON_IN_TRAY}));
}

TEST_F(SettingsDialogTest, OpensWithTheSettingsAndResetsAStoredSeven) {
    settings.start_with_windows = 1;
    settings.icon_in_tray = 2;
    settings.run_history = 7;
    settings.typed_urls = -1;
    settings.start_menu = 0;
    settings.hot_key_key = 'K';
    settings.hot_key_mod = HOTKEYF_CONTROL | HOTKEYF_ALT;
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string notepad = std::string(windows) + "\\notepad.exe";
    SetAliases({{"np", notepad}, {"web", "example.com"}, {"none", "no such program"}});

    std::vector<UINT> checks;
    std::int32_t runHistoryWhileOpen = -5;
    LRESULT hotKey = 0, extended = 0;
    HIMAGELIST images = nullptr;
    std::vector<std::string> columns, cells;
    std::vector<int> widths, imageIndexes;
    std::vector<std::string> tips;
    INT_PTR result = RunSettings({Do([&] {
        for (int id : {IDC_START_WITH_WINDOWS, IDC_ICON_IN_TRAY, IDC_RUN_HISTORY, IDC_TYPED_URLS, IDC_START_MENU})
            checks.push_back(IsDlgButtonChecked(dialog, id));
        runHistoryWhileOpen = settings.run_history;
        hotKey = SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_GETHOTKEY, 0, 0);
        extended = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        for (int column = 0; column < 2; ++column) {
            char text[32] = "";
            LVCOLUMNA info{};
            info.mask = LVCF_TEXT | LVCF_WIDTH;
            info.pszText = text;
            info.cchTextMax = sizeof(text);
            SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
            columns.push_back(text);
            widths.push_back(info.cx);
        }
        for (int row = 0; row < Rows(); ++row) {
            cells.push_back(Cell(row, 0) + "=" + Cell(row, 1));
            imageIndexes.push_back(Image(row));
        }
        for (int id : {IDC_ADD_ALIAS, IDC_DELETE_ALIAS, IDC_EDIT_ALIAS}) {
            HWND button = GetDlgItem(dialog, id);
            HWND tip = static_cast<IconButton*>(WindowObject::FromHandle(button))->ToolTip();
            char text[80] = "";
            TOOLINFOA tool{};
            tool.cbSize = TTTOOLINFOA_V2_SIZE;
            tool.hwnd = dialog;
            tool.uId = reinterpret_cast<UINT_PTR>(button);
            tool.lpszText = text;
            SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
            tips.push_back(text);
        }
        PressButton(dialog, IDCANCEL);
    })});

    EXPECT_EQ(result, IDCANCEL);
    // 2 is handed on (a two-state box shows it checked); 7 and -1 are reset in the record itself.
    EXPECT_EQ(checks, (std::vector<UINT>{1, 1, 0, 0, 0}));
    EXPECT_EQ(runHistoryWhileOpen, 0);
    EXPECT_EQ(settings.run_history, 0);  // kept although cancelled
    EXPECT_EQ(settings.typed_urls, 0);
    EXPECT_EQ(settings.icon_in_tray, 2);
    EXPECT_EQ(hotKey, MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT));
    EXPECT_EQ(extended & LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    EXPECT_EQ(images, IconCache::Instance().SystemImageList());
    EXPECT_EQ(columns, (std::vector<std::string>{"Alias", "Command"}));
    EXPECT_EQ(widths, (std::vector<int>{100, 340}));
    EXPECT_EQ(cells, (std::vector<std::string>{"np=" + notepad, "web=example.com", "none=no such program"}));
    ASSERT_EQ(imageIndexes.size(), 3u);
    EXPECT_EQ(imageIndexes[0], IconCache::Instance().GetIconIndex(notepad));
    EXPECT_NE(imageIndexes[0], -1);
    EXPECT_EQ(imageIndexes[1], IconCache::Instance().UrlIconIndex());
    EXPECT_EQ(imageIndexes[2], I_IMAGENONE);
    EXPECT_EQ(tips, (std::vector<std::string>{"Add New Alias", "Delete Selected Alias", "Edit Selected Alias"}));
    // The shell's list outlives the list view that shared it.
    int count = ImageList_GetImageCount(IconCache::Instance().SystemImageList());
    EXPECT_GT(count, 0);
}

TEST_F(SettingsDialogTest, DeleteMovesTheSelectionMarkWithoutSelecting) {
    SetAliases({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    int rowsAfter = 0, rowsAfterSecond = 0, selected = 0, mark = 0;
    std::string moved;
    INT_PTR result = RunSettings({
        Do([&] {
            Select(1);
            SendMessageA(list, LVM_SETSELECTIONMARK, 0, 0);
            ClickFlatButton(dialog, IDC_DELETE_ALIAS);
            rowsAfter = Rows();
            moved = Cell(1, 0);
            selected = Selected();
            mark = SelectionMark();
            ClickFlatButton(dialog, IDC_DELETE_ALIAS);  // nothing selected: nothing happens
            rowsAfterSecond = Rows();
            ClickFlatButton(dialog, IDC_EDIT_ALIAS);  // nor here: no Alias dialog
        }),
        [&] { return ActiveDialog("Alias") == nullptr; },
        Do([&] { PressButton(dialog, IDOK); }),
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(rowsAfter, 2);
    EXPECT_EQ(moved, "c");
    EXPECT_EQ(selected, -1);
    EXPECT_EQ(mark, 1);
    EXPECT_EQ(rowsAfterSecond, 2);
    EXPECT_EQ(AliasesOf(settings), (Aliases{{"a", "1"}, {"c", "3"}}));
}

TEST_F(SettingsDialogTest, OkStoresTheOptionsTheHotKeyAndTheRowsInOrder) {
    SetAliases({{"np", "notepad.exe"}});
    std::string fieldsShown;
    int selectedAfterAdd = 0;
    INT_PTR result = RunSettings({
        Do([&] {
            CheckDlgButton(dialog, IDC_START_WITH_WINDOWS, BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_ICON_IN_TRAY, BST_CHECKED);
            CheckDlgButton(dialog, IDC_START_MENU, BST_UNCHECKED);
            SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETHOTKEY, MAKEWORD('J', HOTKEYF_SHIFT | HOTKEYF_ALT), 0);
            ClickFlatButton(dialog, IDC_ADD_ALIAS);  // runs the Alias dialog
        }),
        Find("Alias", alias),
        Do([&] {
            fieldsShown = ControlText(GetDlgItem(alias, IDC_ALIAS_NAME)) + "|" +
                          ControlText(GetDlgItem(alias, IDC_ALIAS_COMMAND));
            SetDlgItemTextA(alias, IDC_ALIAS_NAME, "np");  // the same name again is allowed
            SetDlgItemTextA(alias, IDC_ALIAS_COMMAND, "write.exe");
            PressButton(alias, IDOK);
        }),
        Do([&] {
            selectedAfterAdd = Selected();
            PressButton(dialog, IDOK);
        }),
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(fieldsShown, "|");
    EXPECT_EQ(selectedAfterAdd, -1);  // the new row is not selected
    EXPECT_EQ(settings.start_with_windows, 0);
    EXPECT_EQ(settings.icon_in_tray, 1);
    EXPECT_EQ(settings.run_history, 1);
    EXPECT_EQ(settings.start_menu, 0);
    EXPECT_EQ(settings.hot_key_key, 'J');
    EXPECT_EQ(settings.hot_key_mod, HOTKEYF_SHIFT | HOTKEYF_ALT);
    EXPECT_EQ(AliasesOf(settings), (Aliases{{"np", "notepad.exe"}, {"np", "write.exe"}}));
}

TEST_F(SettingsDialogTest, AnEmptiedHotKeyIsStoredAsZero) {
    RunSettings({Do([&] {
        SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETHOTKEY, 0, 0);
        PressButton(dialog, IDOK);
    })});
    EXPECT_EQ(settings.hot_key_key, 0);
    EXPECT_EQ(settings.hot_key_mod, 0);
}

// Cancel in each of its three forms leaves the settings as they were, whatever was changed.
TEST_F(SettingsDialogTest, CancelChangesNothing) {
    const Aliases before{{"a", "1"}, {"b", "2"}, {"c", "3"}};
    const std::vector<std::function<void(HWND)>> cancels{
        [](HWND d) { PressButton(d, IDCANCEL); },
        [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); },  // the close box
        [](HWND d) { PostMessageA(GetFocus() ? GetFocus() : d, WM_KEYDOWN, VK_ESCAPE, 0x00010001); },
    };
    for (std::size_t way = 0; way < cancels.size(); ++way) {
        SetAliases(before);
        settings.icon_in_tray = 0;
        settings.hot_key_key = 'R';
        settings.hot_key_mod = HOTKEYF_CONTROL;
        std::string editedShown;
        INT_PTR result = RunSettings({
            Do([&] {
                CheckDlgButton(dialog, IDC_ICON_IN_TRAY, BST_CHECKED);
                SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETHOTKEY, MAKEWORD('Q', HOTKEYF_ALT), 0);
                Select(0);
                ClickFlatButton(dialog, IDC_DELETE_ALIAS);
                Select(0);
                DoubleClickRow(0);  // edits b
            }),
            Find("Alias", alias),
            Do([&] {
                editedShown = ControlText(GetDlgItem(alias, IDC_ALIAS_NAME));
                SetDlgItemTextA(alias, IDC_ALIAS_NAME, "renamed");
                PressButton(alias, IDOK);
            }),
            Do([&] { ClickFlatButton(dialog, IDC_ADD_ALIAS); }),
            Find("Alias", alias),
            Do([&] {
                SetDlgItemTextA(alias, IDC_ALIAS_NAME, "new");
                SetDlgItemTextA(alias, IDC_ALIAS_COMMAND, "new.exe");
                PressButton(alias, IDOK);
            }),
            Do([&] {
                EXPECT_EQ(Cell(0, 0), "renamed");
                EXPECT_EQ(Rows(), 3);
                SetFocus(list);
                cancels[way](dialog);
            }),
        });
        EXPECT_EQ(result, IDCANCEL) << way;
        EXPECT_EQ(editedShown, "b") << way;
        EXPECT_EQ(AliasesOf(settings), before) << way;
        EXPECT_EQ(settings.icon_in_tray, 0) << way;
        EXPECT_EQ(settings.hot_key_key, 'R') << way;
        EXPECT_EQ(settings.hot_key_mod, HOTKEYF_CONTROL) << way;
    }
}

// A command from aliases.xml longer than any buffer the list was once read
// into comes back whole: through OK, and through an edit of its row.
TEST_F(SettingsDialogTest, ALongCommandSurvivesEditAndOkByteForByte) {
    std::string command;
    for (int i = 0; command.size() < 5000; ++i) command += "part" + std::to_string(i) + " \"q\" \xE9 ";
    command.resize(5000);
    SetAliases({{"long", command}, {"short", "x"}});
    std::size_t shownLength = 0;
    RunSettings({
        Do([&] {
            Select(0);
            DoubleClickRow(0);
        }),
        Find("Alias", alias),
        Do([&] {
            shownLength = ControlText(GetDlgItem(alias, IDC_ALIAS_COMMAND)).size();
            PressButton(alias, IDOK);
        }),
        Do([&] { PressButton(dialog, IDOK); }),
    });
    EXPECT_EQ(shownLength, 5000u);
    ASSERT_EQ(settings.aliases.Count(), 2u);
    EXPECT_EQ(settings.aliases[0].command, command);
    EXPECT_EQ(settings.aliases[1].command, "x");
}

TEST_F(SettingsDialogTest, OnlyTheListsDoubleClickEditsAndTheRowTakesTheNewIcon) {
    SetAliases({{"a", "1"}});
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string notepad = std::string(windows) + "\\notepad.exe";
    bool openedByOther = true;
    std::string shown, row;
    int imageBefore = 0, imageAfter = 0;
    RunSettings({
        Do([&] {
            imageBefore = Image(0);
            Select(0);
            HWND other = GetDlgItem(dialog, IDC_HOT_KEY);
            NMHDR header{other, IDC_HOT_KEY, UINT(NM_DBLCLK)};
            SendMessageA(dialog, WM_NOTIFY, IDC_HOT_KEY, reinterpret_cast<LPARAM>(&header));
        }),
        Do([&] { openedByOther = ActiveDialog("Alias") != nullptr; }),
        Do([&] { DoubleClickRow(0); }),
        Find("Alias", alias),
        Do([&] {
            shown = ControlText(GetDlgItem(alias, IDC_ALIAS_NAME)) + "=" +
                    ControlText(GetDlgItem(alias, IDC_ALIAS_COMMAND));
            SetDlgItemTextA(alias, IDC_ALIAS_COMMAND, notepad.c_str());
            PressButton(alias, IDOK);
        }),
        Do([&] {
            row = Cell(0, 0) + "=" + Cell(0, 1);
            imageAfter = Image(0);
            PressButton(dialog, IDCANCEL);
        }),
    });
    EXPECT_FALSE(openedByOther);
    EXPECT_EQ(shown, "a=1");
    EXPECT_EQ(row, "a=" + notepad);
    EXPECT_EQ(imageBefore, I_IMAGENONE);
    EXPECT_EQ(imageAfter, IconCache::Instance().GetIconIndex(notepad));
}

// Every open and close gives back what it took: icon buttons, tooltips,
// pictures and the list. (bench/settings_dialog_bench does it 200 times.)
TEST_F(SettingsDialogTest, OpeningAgainAndAgainGivesBackEveryGdiObject) {
    const int kOpens = 20;
    SetAliases({{"np", "notepad.exe"}, {"web", "example.com"}, {"txt", "C:\\windows\\win.ini"}});
    auto openOnce = [&] {
        RunSettings({Do([&] {
            HWND add = GetDlgItem(dialog, IDC_ADD_ALIAS);
            SendMessageA(add, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));  // painted lit, with its silhouette
            UpdateWindow(dialog);
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            PressButton(dialog, IDCANCEL);
        })});
    };
    openOnce();  // the shell's image list and the process-wide cache are made once
    DWORD before = LiveGdiObjects();
    for (int i = 0; i < kOpens; ++i) openOnce();
    DWORD after = LiveGdiObjects();
    EXPECT_EQ(after, before);
}
