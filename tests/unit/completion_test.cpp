#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "completion/completion_list.h"
#include "completion/source_rules.h"
#include "simulated_code_pages.h"

namespace {
const SingleByteCodePage kSingleByte;
const SimulatedDoubleByteCodePage kDoubleByte;

std::vector<std::string> EntriesOf(const CompletionList& list) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < list.Count(); ++i) entries.push_back(list[i]);
    return entries;
}
std::string CompletionOf(const CompletionList& list, const std::string& typed) {
    const std::string* entry = list.Complete(typed);
    return entry ? *entry : "<none>";
}
}  // namespace

TEST(CompletionList, FirstMatchInListOrderIgnoringCase) {
    CompletionList list(kSingleByte);
    list.Add("notepad");
    list.Add("note");
    list.Add("calc");
    EXPECT_EQ(CompletionOf(list, "no"), "notepad");
    EXPECT_EQ(CompletionOf(list, "NOT"), "notepad");
    EXPECT_EQ(CompletionOf(list, "note"), "notepad");
    EXPECT_EQ(CompletionOf(list, "NOTEPAD"), "notepad");
    EXPECT_EQ(CompletionOf(list, "notepad2"), "<none>");  // entries shorter than the typed text never match
    EXPECT_EQ(CompletionOf(list, "x"), "<none>");
    EXPECT_EQ(CompletionOf(list, ""), "<none>");
}

TEST(CompletionList, ReAddingMovesToTheEndWithTheNewCase) {
    CompletionList list(kSingleByte);
    list.Add("calc");
    list.Add("cmd");
    list.Add("Calc");
    EXPECT_EQ(EntriesOf(list), (std::vector<std::string>{"cmd", "Calc"}));
    EXPECT_EQ(CompletionOf(list, "c"), "cmd");

    list.Remove("CALC");
    list.Remove("absent");
    EXPECT_EQ(EntriesOf(list), (std::vector<std::string>{"cmd"}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
}

TEST(CompletionList, EmptyEntryIsKeptButNeverMatches) {
    CompletionList list(kSingleByte);
    list.Add("");
    list.Add("");
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(CompletionOf(list, "a"), "<none>");
    list.Remove("");
    EXPECT_EQ(list.Count(), 0u);
}

TEST(CompletionList, OnlyAsciiLettersFold) {
    CompletionList list(kSingleByte);
    list.Add("\xE9t\xE9");  // Latin-1 lower e acute
    EXPECT_EQ(CompletionOf(list, "\xC9"), "<none>");
    EXPECT_EQ(CompletionOf(list, "\xE9T"), "\xE9t\xE9");
    // Punctuation next to the letter range is no letter: '[' and '{' stay apart.
    EXPECT_FALSE(EqualIgnoringCase("[", "{", kSingleByte));
}

TEST(CompletionList, DoubleByteCharactersAreWholeUnits) {
    // 0x83 0x41 and 0x83 0x61 are two different characters whose trail bytes look like 'A' and 'a'.
    EXPECT_FALSE(EqualIgnoringCase("\x83\x41", "\x83\x61", kDoubleByte));
    EXPECT_TRUE(EqualIgnoringCase("\x83\x41x", "\x83\x41X", kDoubleByte));
    // The same bytes in a single-byte page are two letters each and do fold.
    EXPECT_TRUE(EqualIgnoringCase("\x83\x41", "\x83\x61", kSingleByte));

    CompletionList list(kDoubleByte);
    list.Add("\x83\x5C" "abc");  // a character whose trail byte is a backslash
    list.Add("\x83" "abc");       // in this page: 0x83 'a' is one character, then "bc"
    // A lone lead byte typed so far would cut the character in two.
    EXPECT_EQ(CompletionOf(list, "\x83"), "<none>");
    EXPECT_EQ(CompletionOf(list, "\x83\x5C"), "\x83\x5C" "abc");
    EXPECT_EQ(CompletionOf(list, "\x83\x5C" "A"), "\x83\x5C" "abc");
    EXPECT_EQ(CompletionOf(list, "\x83" "A"), "<none>");
    EXPECT_EQ(CompletionOf(list, "\x83" "aB"), "\x83" "abc");
    // Character boundaries are found from the start, so an ASCII-looking trail byte is never a start.
    EXPECT_FALSE(StartsWithIgnoringCase("\x83\x41", "\x83\x61", kDoubleByte));
}

TEST(TypedUrls, SlashesSchemeAndLaunchName) {
    TypedUrlNames http = TypedUrlNamesOf("http://h.example/");
    EXPECT_EQ(http.entry, "http://h.example");
    EXPECT_EQ(http.launchName, "h.example");

    TypedUrlNames ftp = TypedUrlNamesOf("ftp://h.example");
    EXPECT_EQ(ftp.entry, "ftp://h.example");
    EXPECT_EQ(ftp.launchName, "h.example");

    EXPECT_EQ(TypedUrlNamesOf("https://h.example///").entry, "https://h.example");
    EXPECT_EQ(TypedUrlNamesOf("https://h.example///").launchName, "h.example");

    // A bare host: one entry and no launch name.
    EXPECT_EQ(TypedUrlNamesOf("h.example").entry, "h.example");
    EXPECT_FALSE(TypedUrlNamesOf("h.example").launchName);
    // With a slash: the launch name is the host and leads to the stored value.
    EXPECT_EQ(TypedUrlNamesOf("h.example/").entry, "h.example");
    EXPECT_EQ(TypedUrlNamesOf("h.example/").launchName, "h.example");
    // The scheme test is case-sensitive: a capital scheme stays.
    EXPECT_EQ(TypedUrlNamesOf("HTTP://h.example").entry, "HTTP://h.example");
    EXPECT_FALSE(TypedUrlNamesOf("HTTP://h.example").launchName);
    // Nothing but slashes leaves no name to launch by.
    EXPECT_EQ(TypedUrlNamesOf("///").entry, "");
    EXPECT_FALSE(TypedUrlNamesOf("///").launchName);
}

TEST(RunHistory, EndMarker) {
    EXPECT_EQ(WithoutRunMarker("notepad\\1", kSingleByte), "notepad");
    EXPECT_EQ(WithoutRunMarker("C:\\\\1", kSingleByte), "C:\\");
    EXPECT_EQ(WithoutRunMarker("notepad", kSingleByte), "notepad");
    EXPECT_EQ(WithoutRunMarker("tool1", kSingleByte), "tool1");
    EXPECT_EQ(WithoutRunMarker("\\1", kSingleByte), "");
    EXPECT_EQ(WithoutRunMarker("1", kSingleByte), "1");
    EXPECT_EQ(WithoutRunMarker("", kSingleByte), "");
    // The backslash of 0x83 0x5C belongs to the character: no marker there.
    EXPECT_EQ(WithoutRunMarker("\x83\x5C" "1", kDoubleByte), "\x83\x5C" "1");
    EXPECT_EQ(WithoutRunMarker("\x83\x5C\\1", kDoubleByte), "\x83\x5C");

    EXPECT_TRUE(IsRunHistoryBookkeeping("MRUList"));
    EXPECT_TRUE(IsRunHistoryBookkeeping("mrulist"));
    EXPECT_FALSE(IsRunHistoryBookkeeping("a"));
}

TEST(StartMenu, ShortcutNames) {
    EXPECT_TRUE(LooksLikeShortcut("Tool.lnk"));
    EXPECT_FALSE(LooksLikeShortcut("Tool.LNK"));
    EXPECT_FALSE(LooksLikeShortcut("Tool.url"));

    auto tool = ShortcutNamesOf("Tool.lnk", "C:\\Tools\\TOOL.EXE", kSingleByte);
    ASSERT_TRUE(tool);
    EXPECT_EQ(tool->withExtension, "tool.lnk");
    EXPECT_EQ(tool->withoutExtension, "tool");

    auto dotted = ShortcutNamesOf("Foo.Bar.lnk", "c:\\foo.exe", kSingleByte);
    ASSERT_TRUE(dotted);
    EXPECT_EQ(dotted->withExtension, "foo.bar.lnk");
    EXPECT_EQ(dotted->withoutExtension, "foo.bar");

    EXPECT_TRUE(ShortcutNamesOf("Services.lnk", "C:\\windows\\system32\\services.MSC", kSingleByte));
    EXPECT_TRUE(ShortcutNamesOf("Console.lnk", "C:\\windows\\system32\\mmc.exe", kSingleByte));
    EXPECT_FALSE(ShortcutNamesOf("Readme.lnk", "C:\\docs\\readme.txt", kSingleByte));
    EXPECT_FALSE(ShortcutNamesOf("Docs.lnk", "C:\\docs", kSingleByte));
    EXPECT_FALSE(ShortcutNamesOf("Broken.lnk", "", kSingleByte));
    EXPECT_FALSE(ShortcutNamesOf("Uninstall Foo.lnk", "C:\\foo\\remove.exe", kSingleByte));
    EXPECT_FALSE(ShortcutNamesOf("Remove Foo.lnk", "C:\\foo\\UNINS000.exe", kSingleByte));
}

TEST(StartMenu, DoubleByteNamesStayWhole) {
    // 0x83 'E' 'X' 'E' is no ".exe": the lead byte swallows the 'E'.
    EXPECT_FALSE(ContainsText("a.\x83" "exe", ".exe", kDoubleByte));
    EXPECT_TRUE(ContainsText("a\x83\x41.exe", ".exe", kDoubleByte));
    EXPECT_FALSE(ContainsText("\x83.", ".", kDoubleByte));
    // Lower-casing leaves trail bytes alone.
    EXPECT_EQ(LowerCase("A\x83\x41.LNK", kDoubleByte), "a\x83\x41.lnk");
    EXPECT_EQ(LowerCase("A\x83\x41.LNK", kSingleByte), "a\x83" "a.lnk");

    auto names = ShortcutNamesOf("\x83\x41.lnk", "c:\\x.exe", kDoubleByte);
    ASSERT_TRUE(names);
    EXPECT_EQ(names->withoutExtension, "\x83\x41");
}

TEST(StartMenu, PathsThatDoNotFitAreRefused) {
    EXPECT_EQ(WithTrailingBackslash("C:\\Menu", kSingleByte), "C:\\Menu\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\Menu\\", kSingleByte), "C:\\Menu\\");
    // A trail byte 0x5C is no separator.
    EXPECT_EQ(WithTrailingBackslash("C:\\\x83\x5C", kDoubleByte), "C:\\\x83\x5C\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\\x83\x5C", kSingleByte), "C:\\\x83\x5C");

    std::string folder = "C:\\" + std::string(250, 'f') + "\\";  // 254 bytes
    EXPECT_EQ(ChildPath(folder, "abcde"), folder + "abcde");  // 259: fits with its terminator
    EXPECT_FALSE(ChildPath(folder, "abcdef"));
}

TEST(StartMenu, EachFolderIsEnteredOnceAndNoDeeperThanTheBound) {
    FolderWalk walk;
    EXPECT_TRUE(walk.Enter(FolderIdentity{7, 100}, 0));
    EXPECT_FALSE(walk.Enter(FolderIdentity{7, 100}, 2));  // reached again through a link
    EXPECT_TRUE(walk.Enter(FolderIdentity{8, 100}, 1));   // same index, other volume
    EXPECT_TRUE(walk.Enter(std::nullopt, kStartMenuDepthLimit));
    EXPECT_FALSE(walk.Enter(std::nullopt, kStartMenuDepthLimit + 1));
}

TEST(RunLines, MostRecentFirstOnceEachAtMostNineteen) {
    RunLines lines(kSingleByte);
    lines.Note("notepad");
    lines.Note("calc");
    lines.Note("NOTEPAD");
    EXPECT_EQ(lines.MostRecentFirst(), (std::vector<std::string>{"NOTEPAD", "calc"}));
    for (int i = 0; i < 25; ++i) lines.Note("line " + std::to_string(i));
    ASSERT_EQ(lines.MostRecentFirst().size(), 19u);
    EXPECT_EQ(lines.MostRecentFirst().front(), "line 24");
    EXPECT_EQ(lines.MostRecentFirst().back(), "line 6");
}
