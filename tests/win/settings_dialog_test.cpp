#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "canvas.h"
#include "common/input.h"
#include "common/window_reading.h"
#include "command/web_address.h"
#include "settings/icon_cache.h"
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
        RECT cell{};
        cell.left = LVIR_LABEL;
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

// Typed through the system's input into the dialog's own loop, as a keyboard
// gives them: the fields are Unicode windows, and an ANSI one would be handed
// "?" for each. Brisq reads them in its code page: 1252 cannot hold the name,
// UTF-8 (the script's other run, and Brisq's own) holds it whole. (This file is UTF-8.)
TEST_F(AliasDialogTest, TheFieldsTakeTypedCharactersWhole) {
    AliasDialog edit;
    auto typeInto = [&](int id, const std::string& text) -> std::vector<Step> {
        return {Do([&, id, text] {
                    SetForegroundWindow(alias);
                    SetFocus(GetDlgItem(alias, id));
                    testkit::TypeText(text);
                }),
                [&, id, text] { return testkit::WindowText(GetDlgItem(alias, id)) == text; }};
    };
    std::vector<Step> steps{Find("Alias", alias), Do([&] {
                                EXPECT_TRUE(IsWindowUnicode(GetDlgItem(alias, IDC_ALIAS_NAME)));
                                EXPECT_TRUE(IsWindowUnicode(GetDlgItem(alias, IDC_ALIAS_COMMAND)));
                            })};
    for (auto step : typeInto(IDC_ALIAS_NAME, "Блокнот")) steps.push_back(step);
    for (auto step : typeInto(IDC_ALIAS_COMMAND, "notepad.exe 日本.txt")) steps.push_back(step);
    steps.push_back(Do([&] { PressButton(alias, IDOK); }));
    ModalScript script(std::move(steps));
    EXPECT_EQ(edit.Run(nullptr), IDOK);
    ASSERT_TRUE(script.Finished()) << script.StepReached();
    if (GetACP() == CP_UTF8) {
        EXPECT_EQ(edit.name, "Блокнот");
        EXPECT_EQ(edit.command, "notepad.exe 日本.txt");
    } else {
        EXPECT_EQ(edit.name, "???????");
        EXPECT_EQ(edit.command, "notepad.exe ??.txt");
    }
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
    LRESULT hotKey = 0;
    HIMAGELIST images = nullptr;
    std::vector<std::string> cells;
    std::vector<int> imageIndexes;
    INT_PTR result = RunSettings({Do([&] {
        for (int id : {IDC_START_WITH_WINDOWS, IDC_ICON_IN_TRAY, IDC_RUN_HISTORY, IDC_TYPED_URLS, IDC_START_MENU})
            checks.push_back(IsDlgButtonChecked(dialog, id));
        runHistoryWhileOpen = settings.run_history;
        hotKey = SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_GETHOTKEY, 0, 0);
        images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        for (int row = 0; row < Rows(); ++row) {
            cells.push_back(Cell(row, 0) + "=" + Cell(row, 1));
            imageIndexes.push_back(Image(row));
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
    EXPECT_EQ(images, IconCache::Instance().SystemImageList());
    EXPECT_EQ(cells, (std::vector<std::string>{"np=" + notepad, "web=example.com", "none=no such program"}));
    ASSERT_EQ(imageIndexes.size(), 3u);
    EXPECT_EQ(imageIndexes[0], IconCache::Instance().GetIconIndex(notepad));
    EXPECT_NE(imageIndexes[0], -1);
    EXPECT_EQ(imageIndexes[1], IconCache::Instance().UrlIconIndex());
    EXPECT_EQ(imageIndexes[2], I_IMAGENONE);
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

// The control marks keys such as Home as extended, which is no modifier:
// registered, that flag would ask for the Windows key too.
TEST_F(SettingsDialogTest, AHotKeyIsStoredWithTheModifiersPressedOnly) {
    const struct {
        WORD shown, key, mod;
    } cases[] = {
        {0, 0, 0},  // emptied
        {MAKEWORD(VK_HOME, HOTKEYF_CONTROL | HOTKEYF_EXT), VK_HOME, HOTKEYF_CONTROL},
    };
    for (const auto& c : cases) {
        RunSettings({Do([&] {
            SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETHOTKEY, c.shown, 0);
            PressButton(dialog, IDOK);
        })});
        EXPECT_EQ(settings.hot_key_key, c.key);
        EXPECT_EQ(settings.hot_key_mod, c.mod);
    }
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
