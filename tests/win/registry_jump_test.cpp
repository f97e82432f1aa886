#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "command/registry_jump.h"
#include "command/remote_tree_view.h"

namespace {
const char kTestKey[] = "Software\\BrisqJumpTest";
const std::string kTestPath = "HKEY_CURRENT_USER\\Software\\BrisqJumpTest";

HWND Editor() { return FindWindowA("RegEdit_RegEdit", nullptr); }

HWND Tree(HWND editor) {
    HWND found = nullptr;
    EnumChildWindows(
        editor,
        [](HWND window, LPARAM param) -> BOOL {
            char name[32];
            GetClassNameA(window, name, sizeof(name));
            if (lstrcmpA(name, "SysTreeView32") != 0) return TRUE;
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The selected item's labels from the root key down, as the tree itself holds them.
std::string SelectedPath() {
    RemoteTreeView tree(Tree(Editor()));
    std::string path;
    for (HTREEITEM item = tree.Selected(); item; item = tree.Parent(item)) {
        if (!tree.Parent(item)) break;  // the root stands for the computer, not a key
        path = tree.Label(item) + (path.empty() ? "" : "\\") + path;
    }
    return path;
}

bool SelectedIsExpanded() {
    RemoteTreeView tree(Tree(Editor()));
    RemoteTreeView::Item item;
    return tree.Read(tree.Selected(), item) && item.expanded;
}

std::string StatusText() {
    char text[1024] = "";
    SendMessageA(FindWindowExA(Editor(), nullptr, "msctls_statusbar32", nullptr), WM_GETTEXT, sizeof(text),
                 LPARAM(text));
    return text;
}

// Ends the editor a test made the jump start: the process behind its window, by handle.
void CloseEditor() {
    HWND editor = Editor();
    if (!editor) return;
    DWORD id = 0;
    GetWindowThreadProcessId(editor, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    ASSERT_TRUE(process);
    PostMessageA(editor, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

class RegistryJumpTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Editor()) << "a registry editor is already open on this desktop";
        for (const char* sub : {"\\Deep\\Deeper\\Deepest", "\\Other\\Child", "\\Alpha"}) {
            HKEY key;
            ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kTestKey) + sub).c_str(), 0, nullptr, 0,
                                      KEY_WRITE, nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            RegCloseKey(key);
        }
    }
    void TearDown() override {
        CloseEditor();
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
    }
};
}  // namespace

TEST_F(RegistryJumpTest, StartsTheClosedEditorAndSelectsTheKey) {
    ASSERT_TRUE(RegistryJump::JumpToKey(kTestPath + "\\Deep\\Deeper"));
    EXPECT_EQ(SelectedPath(), kTestPath + "\\Deep\\Deeper");
    EXPECT_NE(StatusText().find(kTestPath + "\\Deep\\Deeper"), std::string::npos) << StatusText();
    EXPECT_EQ(GetForegroundWindow(), Editor());
}

TEST_F(RegistryJumpTest, AMissingKeyStopsAtItsDeepestExistingParent) {
    ASSERT_TRUE(RegistryJump::JumpToKey(kTestPath + "\\Deep\\NoSuchKey\\Deepest"));
    EXPECT_EQ(SelectedPath(), kTestPath + "\\Deep");
    ASSERT_TRUE(RegistryJump::JumpToKey(kTestPath + "\\Alpha\\Child"));  // Alpha has no subkeys
    EXPECT_EQ(SelectedPath(), kTestPath + "\\Alpha");
}

TEST_F(RegistryJumpTest, ANameThatBeginsALabelSelectsIt) {
    ASSERT_TRUE(RegistryJump::JumpToKey("HKEY_CURRENT_USER\\Software\\BrisqJump\\Oth\\Ch"));
    EXPECT_EQ(SelectedPath(), kTestPath + "\\Other\\Child");
}

TEST_F(RegistryJumpTest, OnlyAClosingSeparatorOpensTheLastKey) {
    // A name the editor cannot remember from an earlier run, so nothing has opened it yet.
    std::string fresh = "Fresh" + std::to_string(GetCurrentProcessId());
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\" + fresh + "\\Child").c_str(), 0,
                              nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_TRUE(RegistryJump::JumpToKey(kTestPath + "\\" + fresh));
    EXPECT_EQ(SelectedPath(), kTestPath + "\\" + fresh);
    EXPECT_FALSE(SelectedIsExpanded());
    ASSERT_TRUE(RegistryJump::JumpToKey(kTestPath + "\\" + fresh + "\\"));
    EXPECT_EQ(SelectedPath(), kTestPath + "\\" + fresh);
    EXPECT_TRUE(SelectedIsExpanded());
}
