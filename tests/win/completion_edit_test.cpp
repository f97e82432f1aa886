#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/input.h"
#include "common/wait.h"
#include "common/window_reading.h"
#include "completion/completion_combo.h"
#include "res/resource.h"

namespace {
int editChanges = 0;  // CBN_EDITCHANGE notifications that reached the dialog

INT_PTR CALLBACK CountingDialog(HWND, UINT id, WPARAM wParam, LPARAM) {
    if (id == WM_COMMAND && LOWORD(wParam) == IDC_COMMAND_BOX && HIWORD(wParam) == CBN_EDITCHANGE) ++editChanges;
    return id == WM_INITDIALOG;
}

// The launcher's template with the command box taken over, typed into
// through the edit field's own messages.
class CompletionBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr,
                                    CountingDialog, 0);
        ASSERT_NE(dialog, nullptr);
        box = GetDlgItem(dialog, IDC_COMMAND_BOX);
        ASSERT_TRUE(combo.Attach(box));
        edit = FindWindowExA(box, nullptr, "Edit", nullptr);
        ASSERT_NE(edit, nullptr);
        ASSERT_EQ(WindowObject::FromHandle(edit), &combo.Edit());
        ShowWindow(dialog, SW_SHOW);
        SetFocus(edit);
        editChanges = 0;
    }
    void TearDown() override {
        if (dialog) DestroyWindow(dialog);
    }

    void Key(WPARAM key, char typed = 0) {
        SendMessageA(edit, WM_KEYDOWN, key, 1);
        if (typed) SendMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(typed)), 1);
        SendMessageA(edit, WM_KEYUP, key, 0xC0000001);
    }
    void Type(const std::string& text) {
        for (char c : text) Key(VkKeyScanA(c) & 0xFF, c);
    }
    std::string Text() const {
        std::vector<char> text(GetWindowTextLengthA(edit) + 1);
        GetWindowTextA(edit, text.data(), int(text.size()));
        return text.data();
    }
    std::pair<DWORD, DWORD> Selection() const {
        DWORD start = 0, end = 0;  // in the field's own characters
        SendMessageW(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        return {start, end};
    }
    std::vector<std::string> Entries() const {
        const CompletionList& list = combo.Edit().Entries();
        return std::vector<std::string>(list.begin(), list.end());
    }

    HWND dialog = nullptr, box = nullptr, edit = nullptr;
    CompletionCombo combo;
};
using Sel = std::pair<DWORD, DWORD>;
}  // namespace

TEST_F(CompletionBoxTest, TypingCompletesAndSelectsTheTail) {
    combo.AddItem("notepad");
    Type("n");
    EXPECT_EQ(Text(), "notepad");
    Type("o");
    EXPECT_EQ(Text(), "notepad");
    EXPECT_EQ(Selection(), Sel(2, 7));
    Type("t");
    EXPECT_EQ(Text(), "notepad");
    EXPECT_EQ(Selection(), Sel(3, 7));
    // The combo box still tells its parent about the edit's changes.
    EXPECT_EQ(editChanges, 3);
}

TEST_F(CompletionBoxTest, LetterCaseOfTheEntryWins) {
    combo.AddItem("notepad");
    Type("NOT");
    EXPECT_EQ(Text(), "notepad");
    EXPECT_EQ(Selection(), Sel(3, 7));
    Type("EPAD");
    EXPECT_EQ(Text(), "notepad");
    EXPECT_EQ(Selection(), Sel(7, 7));  // nothing left to select
}

TEST_F(CompletionBoxTest, FirstMatchInListOrder) {
    combo.AddItem("notepad");
    combo.AddItem("note");
    Type("note");
    EXPECT_EQ(Text(), "notepad");
    Type("x");
    EXPECT_EQ(Text(), "notex");  // no entry: what was typed stays
}

TEST_F(CompletionBoxTest, BackspaceRemovesTheTailWithoutCompleting) {
    combo.AddItem("notepad");
    Type("no");
    Key(VK_BACK, '\b');
    EXPECT_EQ(Text(), "no");
    Key(VK_BACK, '\b');
    EXPECT_EQ(Text(), "n");
    Type("o");
    EXPECT_EQ(Text(), "notepad");
    EXPECT_EQ(Selection(), Sel(2, 7));
}

TEST_F(CompletionBoxTest, DeleteSuppressesUntilAnotherKey) {
    combo.AddItem("notepad");
    Type("noxte");
    EXPECT_EQ(Text(), "noxte");
    SendMessageA(edit, EM_SETSEL, 2, 2);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), "note");  // a prefix of notepad, yet not completed
    Key(VK_END);                // ends the suppression, changes no text
    EXPECT_EQ(Text(), "note");
    Type("p");
    EXPECT_EQ(Text(), "notepad");
    EXPECT_EQ(Selection(), Sel(5, 7));
}

TEST_F(CompletionBoxTest, EmptyListOrFieldChangesNothing) {
    Type("no");
    EXPECT_EQ(Text(), "no");
    combo.AddItem("");
    Key(VK_BACK, '\b');
    Key(VK_BACK, '\b');
    Type("x");
    EXPECT_EQ(Text(), "x");
}

TEST_F(CompletionBoxTest, LongLinesAreAcceptedAndComparedWhole) {
    EXPECT_EQ(SendMessageA(edit, EM_LIMITTEXT, 5, 0), 0);
    std::string line(1200, 'x');
    SendMessageA(edit, EM_REPLACESEL, FALSE, LPARAM(line.c_str()));
    EXPECT_EQ(GetWindowTextLengthA(edit), 1200);
    EXPECT_GT(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 1200);

    // Two entries that differ only after byte 127.
    std::string shared(150, 'a');
    combo.AddItem((shared + "1st").c_str());
    combo.AddItem((shared + "2nd").c_str());
    SetWindowTextA(edit, "");
    SendMessageA(edit, EM_REPLACESEL, FALSE, LPARAM((shared + "2").c_str()));
    EXPECT_EQ(Text(), shared + "2nd");
    EXPECT_EQ(Selection(), Sel(151, 153));
}

TEST_F(CompletionBoxTest, DropDownChangesAreMirrored) {
    SendMessageA(box, CB_ADDSTRING, 0, LPARAM("alpha"));
    SendMessageA(box, CB_ADDSTRING, 0, LPARAM("beta"));
    SendMessageA(box, CB_INSERTSTRING, 0, LPARAM("gamma"));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    char first[16]{};
    SendMessageA(box, CB_GETLBTEXT, 0, LPARAM(first));
    EXPECT_STREQ(first, "gamma");  // the drop-down itself got it at the top

    SendMessageA(box, CB_ADDSTRING, 0, LPARAM("Calc"));
    combo.AddItem("calc");  // the same text from another source
    EXPECT_EQ(Entries().back(), "calc");
    LRESULT calc = SendMessageA(box, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("Calc"));
    SendMessageA(box, CB_DELETESTRING, calc, 0);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    EXPECT_EQ(SendMessageA(box, CB_GETCOUNT, 0, 0), 3);

    // No such item: the list stays, the box reports its own error.
    EXPECT_EQ(SendMessageA(box, CB_DELETESTRING, 99, 0), CB_ERR);
    EXPECT_EQ(Entries().size(), 3u);

    // An item longer than any fixed buffer is read whole before it goes.
    std::string longLine(1023, 'L');
    SendMessageA(box, CB_ADDSTRING, 0, LPARAM(longLine.c_str()));
    EXPECT_EQ(combo.ItemText(3), longLine);
    SendMessageA(box, CB_DELETESTRING, 3, 0);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    EXPECT_FALSE(combo.ItemText(3));

    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(SendMessageA(box, CB_GETCOUNT, 0, 0), 0);
}

namespace {
// This thread's messages, pumped as the dialog manager's loop does: through the
// Unicode calls, so a Unicode window's typed characters are never converted.
bool PumpUntil(const std::function<bool()>& done) {
    return testkit::WaitUntil([&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return done();
    });
}
}  // namespace

// Typed through the system's input, as a keyboard gives them: an ANSI field would
// be handed each character in the keyboard's code page, "?" for most scripts.
// Under the UTF-8 code page every script completes, with exactly the characters not
// typed selected; under 1252 (the other run) what that page holds. (This file is UTF-8.)
TEST_F(CompletionBoxTest, TypedCharactersArriveWholeAndCompleteWithTheUntypedTailSelected) {
    EXPECT_TRUE(IsWindowUnicode(edit));
    const bool utf8 = GetACP() == CP_UTF8;
    const struct {
        bool utf8Only;
        std::string entry, typed;
        Sel selected;
    } cases[] = {
        {false, "café au lait", "café", Sel(4, 12)},
        {true, "привет", "пр", Sel(2, 6)},
        {true, "日本語メモ", "日本", Sel(2, 5)},
        {true, "😀 smile", "😀 s", Sel(4, 8)},  // a surrogate pair is two
        {true, "Ωmega", "ΩM", Sel(2, 5)},
        {false, "", "Ключ", Sel(4, 4)},  // no entry: what was typed stays, whole
    };
    ASSERT_TRUE(SetForegroundWindow(dialog));
    for (const auto& c : cases) {
        if (c.utf8Only && !utf8) continue;
        // The entry as this code page holds it.
        std::wstring wide = testkit::Utf16(c.entry);
        std::string entry(wide.size() * 4 + 1, '\0');
        entry.resize(std::size_t(WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), entry.data(),
                                                     int(entry.size()), nullptr, nullptr)));
        combo.ClearItems();
        if (!entry.empty()) combo.AddItem(entry.c_str());
        SetWindowTextA(edit, "");
        SetFocus(edit);
        testkit::TypeText(c.typed);
        const std::string& shown = c.entry.empty() ? c.typed : c.entry;
        EXPECT_TRUE(PumpUntil([&] { return testkit::WindowText(edit) == shown && Selection() == c.selected; }))
            << c.typed << ": shows " << testkit::WindowText(edit) << ", selected " << Selection().first << "-"
            << Selection().second;
    }
}
