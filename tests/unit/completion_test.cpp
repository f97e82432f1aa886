#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "completion/completion_list.h"
#include "completion/source_rules.h"
#include "settings/paths.h"
#include "simulated_code_pages.h"
#include "text/utf8.h"

namespace {
const SingleByteCodePage kSingleByte;
const SimulatedDoubleByteCodePage kDoubleByte;

std::vector<std::string> EntriesOf(const CompletionList& list) {
    return std::vector<std::string>(list.begin(), list.end());
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

namespace {
// Counts the questions the list asks about characters: the work of comparing texts.
class CountingDoubleByteCodePage final : public CodePage {
public:
    mutable std::size_t questions = 0;
    bool IsLeadByte(unsigned char b) const override {
        ++questions;
        return b >= 0x81 && b <= 0x9F;
    }
    bool IsDoubleByte() const override { return true; }
};
}  // namespace

TEST(CompletionList, AddingCostsTheSameHoweverLongTheListIs) {
    CountingDoubleByteCodePage page;
    CompletionList list(page);
    const std::size_t n = 5000;
    for (std::size_t i = 0; i < n; ++i) list.Add("entry" + std::to_string(100000 + i));  // all of one length
    for (std::size_t i = n; i-- > 0;) list.Add("ENTRY" + std::to_string(100000 + i));   // each moves to the end
    EXPECT_EQ(list.Count(), n);
    EXPECT_EQ(*list.begin(), "ENTRY" + std::to_string(100000 + n - 1));
    // Comparing each text with its one equal entry asks 22 questions; scanning the
    // list for it would ask millions.
    EXPECT_LT(page.questions, 50 * n);
}

TEST(CompletionList, KeepsOrderAndOneOfEachThroughManyChanges) {
    const char* stems[] = {"a", "A", "ab", "AB", "aB", "b", "", "\x83\x41", "\x83\x61", "abc"};
    for (const CodePage* page : {static_cast<const CodePage*>(&kSingleByte), static_cast<const CodePage*>(&kDoubleByte)}) {
        std::mt19937 random(7);
        CompletionList list(*page);
        std::vector<std::string> model;  // the plain list the index must behave like
        for (int step = 0; step < 10000; ++step) {
            std::string text = stems[random() % 10] + std::to_string(random() % 40);
            auto same = std::find_if(model.begin(), model.end(),
                                     [&](const std::string& e) { return EqualIgnoringCase(e, text, *page); });
            if (same != model.end()) model.erase(same);
            if (random() % 3 == 0) {
                list.Remove(text);
            } else {
                list.Add(text);
                model.push_back(text);
            }
            if (step % 2500 == 2499) {  // empty it, so the holes outnumber the entries
                for (const std::string& entry : model) list.Remove(entry);
                model.clear();
            }
            if (step % 250 == 0) {
                ASSERT_EQ(EntriesOf(list), model) << "step " << step;
                ASSERT_EQ(list.Count(), model.size());
                auto first = std::find_if(model.begin(), model.end(), [&](const std::string& e) {
                    return StartsWithIgnoringCase(e, "ab", *page);
                });
                ASSERT_EQ(CompletionOf(list, "ab"), first == model.end() ? "<none>" : *first);
            }
        }
    }
}

TEST(CodePages, Utf8StepsByWholeSequences) {
    const Utf8CodePage utf8;
    EXPECT_EQ(CharLength(utf8, "\xE2\x82\xAC", 0, 3), 3u);
    EXPECT_EQ(CharLength(utf8, "\xF0\x9F\x98\x80", 0, 4), 4u);
    EXPECT_EQ(CharLength(utf8, "a\xC3\xA9", 1, 3), 2u);
    // A sequence cut short or broken is a byte alone, so the backslash after it is seen.
    EXPECT_EQ(CharLength(utf8, "\xE2\x82", 0, 2), 1u);
    EXPECT_EQ(CharLength(utf8, "\xC3\\", 0, 2), 1u);
    EXPECT_EQ(PathInFolderOf("C:\\caf\xC3\xA9\\\xE2\x82\xAC.exe", "a.xml", utf8), "C:\\caf\xC3\xA9\\a.xml");

    // Characters that differ only in their last byte differ; ASCII still folds.
    EXPECT_FALSE(EqualIgnoringCase("\xE2\x82\xAC", "\xE2\x82\xAD", utf8));
    EXPECT_TRUE(EqualIgnoringCase("\xE2\x82\xAC" "A", "\xE2\x82\xAC" "a", utf8));
    CompletionList list(utf8);
    list.Add("\xE2\x82\xAD" "x");
    list.Add("\xE2\x82\xAC" "uro");
    EXPECT_EQ(CompletionOf(list, "\xE2\x82\xAC"), "\xE2\x82\xAC" "uro");
    EXPECT_EQ(CompletionOf(list, "\xE2\x82\xAC" "UR"), "\xE2\x82\xAC" "uro");
    EXPECT_EQ(CompletionOf(list, "\xE2\x82"), "<none>") << "would cut a character";
    EXPECT_EQ(LowerCase("\xC3\x89T\xC3\xA9", utf8), "\xC3\x89t\xC3\xA9");
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
    EXPECT_EQ(ChildPath(folder, "abcde", kSingleByte), folder + "abcde");  // 259: fits with its terminator
    EXPECT_FALSE(ChildPath(folder, "abcdef", kSingleByte));
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
