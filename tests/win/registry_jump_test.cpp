#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "command/registry_jump.h"
#include "command/remote_tree_view.h"
#include "common/registry_editor.h"

namespace {
const char kTestKey[] = "Software\\BrisqJumpTest";
const std::string kTestPath = "HKEY_CURRENT_USER\\Software\\BrisqJumpTest";

using testkit::RegistryEditor;
using testkit::RegistryEditorStatus;

HWND Tree() { return testkit::RegistryEditorTree(RegistryEditor()); }

// The selected item's labels from the root key down, as the tree itself holds them.
std::string SelectedPath() {
    RemoteTreeView tree(Tree());
    std::string path;
    for (HTREEITEM item = tree.Selected(); item; item = tree.Parent(item)) {
        if (!tree.Parent(item)) break;  // the root stands for the computer, not a key
        path = tree.Label(item) + (path.empty() ? "" : "\\") + path;
    }
    return path;
}

bool SelectedIsExpanded() {
    RemoteTreeView tree(Tree());
    RemoteTreeView::Item item;
    return tree.Read(tree.Selected(), item) && item.expanded;
}

class RegistryJumpTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(RegistryEditor()) << "a registry editor is already open on this desktop";
        for (const char* sub : {"\\Deep\\Deeper\\Deepest", "\\Other\\Child", "\\Alpha"}) {
            HKEY key;
            ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kTestKey) + sub).c_str(), 0, nullptr, 0,
                                      KEY_WRITE, nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            RegCloseKey(key);
        }
    }
    void TearDown() override {
        EXPECT_TRUE(testkit::CloseRegistryEditor());
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
    }
};
}  // namespace

TEST_F(RegistryJumpTest, StartsTheClosedEditorAndSelectsTheKey) {
    ASSERT_TRUE(RegistryJump::JumpToKey(kTestPath + "\\Deep\\Deeper"));
    EXPECT_EQ(SelectedPath(), kTestPath + "\\Deep\\Deeper");
    EXPECT_NE(RegistryEditorStatus().find(kTestPath + "\\Deep\\Deeper"), std::string::npos) << RegistryEditorStatus();
    EXPECT_EQ(GetForegroundWindow(), RegistryEditor());
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
