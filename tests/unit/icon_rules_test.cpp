#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "command/program_search.h"
#include "fake_probe.h"
#include "settings/icon_rules.h"
#include "settings/alias_name.h"
#include "simulated_code_pages.h"

namespace {
// A shell that knows a fixed set of paths and counts what it is asked.
class FakeShell {
public:
    std::map<std::string, int> known;
    std::vector<std::string> asked;

    ExtensionIcons::AskShell Asker() {
        return [this](const std::string& path) -> std::optional<int> {
            asked.push_back(path);
            auto found = known.find(path);
            if (found == known.end()) return std::nullopt;
            return found->second;
        };
    }
};
}  // namespace

TEST(IconRules, ExtensionIsTheTextAfterTheLastDotOfTheWholePath) {
    EXPECT_EQ(PathExtension("C:\\notes\\a.txt"), "txt");
    EXPECT_EQ(PathExtension("archive.tar.gz"), "gz");
    EXPECT_EQ(PathExtension("C:\\my.folder\\tool"), "folder\\tool");
    EXPECT_EQ(PathExtension("notepad c:\\a.txt"), "txt");
    EXPECT_EQ(PathExtension("trailing."), "");
    EXPECT_EQ(PathExtension("C:\\Windows\\notepad"), std::nullopt);
    EXPECT_TRUE(HasOwnIcon("exe"));
    EXPECT_TRUE(HasOwnIcon("EXE"));
    EXPECT_TRUE(HasOwnIcon("Ico"));
    EXPECT_FALSE(HasOwnIcon("exe "));
    EXPECT_FALSE(HasOwnIcon("lnk"));
}

TEST(IconRules, TheShellIsAskedOncePerExtensionAndTheRecordAnswersLater) {
    FakeShell shell;
    shell.known = {{"C:\\a.txt", 7}, {"C:\\b.txt", 9}};
    ExtensionIcons icons;
    EXPECT_EQ(icons.GetIconIndex("C:\\a.txt", shell.Asker()), 7);
    EXPECT_EQ(icons.GetIconIndex("C:\\b.txt", shell.Asker()), 7);  // from the record, not the shell's 9
    EXPECT_EQ(shell.asked, std::vector<std::string>{"C:\\a.txt"});
    // A command with a blank and a .txt path: the shell would know nothing, the record does.
    EXPECT_EQ(icons.GetIconIndex("notepad C:\\missing.txt", shell.Asker()), 7);
    EXPECT_EQ(shell.asked.size(), 1u);
    EXPECT_EQ(icons.Count(), 1u);
}

TEST(IconRules, ExeAndIcoAreAlwaysAskedAndNeverRecorded) {
    FakeShell shell;
    shell.known = {{"C:\\one.exe", 3}, {"C:\\two.EXE", 4}, {"C:\\a.ico", 5}};
    ExtensionIcons icons;
    EXPECT_EQ(icons.GetIconIndex("C:\\one.exe", shell.Asker()), 3);
    EXPECT_EQ(icons.GetIconIndex("C:\\two.EXE", shell.Asker()), 4);
    EXPECT_EQ(icons.GetIconIndex("C:\\one.exe", shell.Asker()), 3);
    EXPECT_EQ(icons.GetIconIndex("C:\\a.ico", shell.Asker()), 5);
    EXPECT_EQ(icons.GetIconIndex("C:\\gone.exe", shell.Asker()), -1);
    EXPECT_EQ(shell.asked.size(), 5u);
    EXPECT_EQ(icons.Count(), 0u);
}

TEST(IconRules, LetterCaseMakesAnotherKey) {
    FakeShell shell;
    shell.known = {{"C:\\a.txt", 7}, {"C:\\B.TXT", 8}};
    ExtensionIcons icons;
    EXPECT_EQ(icons.GetIconIndex("C:\\a.txt", shell.Asker()), 7);
    EXPECT_EQ(icons.GetIconIndex("C:\\B.TXT", shell.Asker()), 8);
    EXPECT_EQ(shell.asked.size(), 2u);
    EXPECT_EQ(icons.GetIconIndex("C:\\c.TXT", shell.Asker()), 8);
    EXPECT_EQ(icons.Count(), 2u);
}

TEST(IconRules, UnknownAndDotlessPathsAreAskedEveryTimeAndNeverRecorded) {
    FakeShell shell;
    shell.known = {{"C:\\Windows", 2}};
    ExtensionIcons icons;
    EXPECT_EQ(icons.GetIconIndex("C:\\Windows", shell.Asker()), 2);
    EXPECT_EQ(icons.GetIconIndex("C:\\Windows", shell.Asker()), 2);
    EXPECT_EQ(icons.GetIconIndex("notepad", shell.Asker()), -1);
    // A failed answer records nothing, so a later path of that type is asked again.
    EXPECT_EQ(icons.GetIconIndex("C:\\gone.doc", shell.Asker()), -1);
    shell.known["C:\\here.doc"] = 11;
    EXPECT_EQ(icons.GetIconIndex("C:\\here.doc", shell.Asker()), 11);
    EXPECT_EQ(shell.asked.size(), 5u);
    EXPECT_EQ(icons.Count(), 1u);
}

// One opening of the Settings dialog: a program is asked once however many
// aliases start it, one without an icon every time, and a host name never.
TEST(AliasIcons, EachProgramIsAskedOnceAndAHostNameNever) {
    const char notepad[] = "C:\\windows\\system32\\notepad.exe", more[] = "C:\\tools\\more.com";
    const SingleByteCodePage ascii;
    FakeProbe machine;
    machine.AddFiles({notepad, more});
    ProgramSearch search(machine, ascii);
    FakeShell shell;
    shell.known = {{notepad, 7}, {more, 9}};
    ExtensionIcons record;
    const int web = 42;
    AliasIcons icons(search, ascii, web, [&](const std::string& path) { return record.GetIconIndex(path, shell.Asker()); });

    const struct {
        const char* command;
        int icon;
    } aliases[] = {
        {more, 9},  // records "com"
        {"example.com", web},
        {"notepad C:\\a.txt", 7},
        {"notepad C:\\b.txt", 7},
        {"missing.exe", -1},
        {"missing.exe", -1},
    };
    for (const auto& alias : aliases) EXPECT_EQ(icons.IconOf(alias.command), alias.icon) << alias.command;
    EXPECT_EQ(shell.asked, (std::vector<std::string>{more, notepad, "missing.exe", "missing.exe"}));
}

TEST(AliasName, IsTheFileNameWithoutItsLastExtension) {
    const SingleByteCodePage ascii;
    EXPECT_EQ(AliasNameFromPath("C:\\Program Files\\Tools\\tool.exe", ascii), "tool");
    EXPECT_EQ(AliasNameFromPath("C:\\Downloads\\archive.tar.gz", ascii), "archive.tar");
    EXPECT_EQ(AliasNameFromPath("C:\\bin\\make", ascii), "make");
    EXPECT_EQ(AliasNameFromPath("C:\\my.folder\\make", ascii), "make");  // the dot of a folder does not count
    EXPECT_EQ(AliasNameFromPath("tool.exe", ascii), "tool");
    EXPECT_EQ(AliasNameFromPath("C:\\dir\\", ascii), "");
}

TEST(AliasName, ASecondByteThatLooksLikeABackslashDoesNotSplitTheName) {
    const SimulatedDoubleByteCodePage page;
    // 0x95 0x5C is one character whose trail byte is a backslash.
    std::string path = "C:\\A\\x\x95\x5Cy.exe";
    EXPECT_EQ(AliasNameFromPath(path, page), "x\x95\x5Cy");
    EXPECT_EQ(AliasNameFromPath(path, SingleByteCodePage()), "y");
}
