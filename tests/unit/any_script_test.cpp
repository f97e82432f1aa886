// Text in any script, as Brisq holds it with UTF-8 as its code page: characters
// of two to four bytes are counted, compared, folded and split whole.
// (This file is UTF-8; its literals are the bytes Brisq holds.)
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "command/command_line.h"
#include "command/launch_limits.h"
#include "command/launch_name_map.h"
#include "command/launch_plan.h"
#include "completion/completion_list.h"
#include "completion/source_rules.h"
#include "simulated_code_pages.h"
#include "text/utf8.h"

namespace {
const Utf8CodePage kUtf8;

// A machine whose only files are these programs, and which sets no variable.
class Programs final : public CommandProbe {
public:
    PathKind KindOf(const std::string& path) const override {
        return path == "C:\\bin\\notepad.exe" || path == "C:\\bin\\блокнот.exe" ? PathKind::File : PathKind::Missing;
    }
    std::optional<std::string> AppPath(AppPathsHive, const std::string&) const override { return std::nullopt; }
    SystemFolders Folders() const override { return {"C:\\bin", "", "", ""}; }
    std::optional<std::string> Variable(const std::string&) const override { return std::nullopt; }
};

std::string Repeat(const std::string& text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += text;
    return out;
}
}  // namespace

// What an edit control's positions and the shell's limits count: UTF-16 units.
TEST(AnyScript, CharactersAreCountedAsTheSystemCountsThem) {
    const SingleByteCodePage singleByte;
    const SimulatedDoubleByteCodePage doubleByte;
    const struct {
        const CodePage& page;
        std::string text;
        std::size_t characters;
    } cases[] = {
        {kUtf8, "notepad", 7},        {kUtf8, "привет", 6},  // two bytes each
        {kUtf8, "日本語メモ", 5},     // three bytes each
        {kUtf8, "a😀b", 4},           // four bytes: a surrogate pair
        {kUtf8, "\xD0", 1},           // cut short: one stand-in
        {kUtf8, "\xF0\x9F\x98", 3},   // no character: a stand-in for each byte
        {singleByte, "привет", 12},   {doubleByte, "\x83\x41x\x95\x5C", 3},
    };
    for (const auto& c : cases) EXPECT_EQ(CountCharacters(c.text, c.page), c.characters) << c.text;
}

// A page that knows no letters beyond ASCII folds no others.
TEST(AnyScript, CompletionMatchesWholeCharactersAndFoldsAsciiOnly) {
    CompletionList list(kUtf8);
    for (const char* entry : {"Привет мир", "привет", "日本語メモ", "😀 smile", "Notepad 日本"}) list.Add(entry);
    const struct {
        std::string typed, completed;
    } cases[] = {
        {"П", "Привет мир"}, {"пр", "привет"},       {"ПР", "<none>"},  // Cyrillic letters keep their case
        {"\xD0", "<none>"},  {"日本語\xE3\x83", "<none>"}, {"\xF0\x9F\x98", "<none>"},  // would cut a character
        {"😀", "😀 smile"},  {"NOTEPAD 日", "Notepad 日本"},
    };
    for (const auto& c : cases) {
        const std::string* entry = list.Complete(c.typed);
        EXPECT_EQ(entry ? *entry : "<none>", c.completed) << c.typed;
    }
}

TEST(AnyScript, LinesAreReadWholeAndFillTheirParameter) {
    LaunchNameMap names;
    names.Put("привет", "notepad.exe");
    names.Put("g", "http://поиск.example/?q=$param");
    const struct {
        std::string line, file, parameters;
    } cases[] = {
        {"привет мир", "C:\\bin\\notepad.exe", "мир"},
        {"ПРИВЕТ мир", "ПРИВЕТ мир", ""},  // this page folds only ASCII letters: no launch name
        {"g котята и щенки", "http://поиск.example/?q=котята и щенки", ""},
        {"блокнот.exe заметки.txt", "C:\\bin\\блокнот.exe", "заметки.txt"},
        {"пример.COM/Страница", "http://пример.COM/Страница", ""},  // the domain test lower-cases a copy
        {"пример.рф", "http://пример.рф", ""},  // a domain of today's root zone
        {"例子.中国/страница", "http://例子.中国/страница", ""},
    };
    for (const auto& c : cases) {
        LaunchPlan plan = PlanLaunch(c.line, names, Programs(), kUtf8);
        EXPECT_EQ(plan.file, c.file) << c.line;
        EXPECT_EQ(plan.parameters, c.parameters) << c.line;
    }
}

// A name of 259 characters fits the system's buffers however many bytes it
// takes here; refusing by bytes would refuse most names in other scripts.
TEST(AnyScript, LimitsCountCharactersNotBytes) {
    LaunchNameMap names;
    names.Put("expand", Repeat("$param", 10));
    const std::string address = "http://example.com/?q=";  // 22 characters
    const struct {
        std::string line;
        const ShellLimits& limits;
        LaunchRefusal refusal;
    } cases[] = {
        {Repeat("я", 259), kWindowsShellLimits, LaunchRefusal::None},
        {Repeat("я", 260), kWindowsShellLimits, LaunchRefusal::FileTooLong},
        {"x" + Repeat("😀", 129), kWindowsShellLimits, LaunchRefusal::None},  // 259 units
        {Repeat("😀", 130), kWindowsShellLimits, LaunchRefusal::FileTooLong},
        {address + Repeat("щ", 996 - 22), kWineShellLimits, LaunchRefusal::None},
        {address + Repeat("щ", 997 - 22), kWineShellLimits, LaunchRefusal::AddressTooLong},
        {"notepad.exe " + Repeat("п", 32505), kWindowsShellLimits, LaunchRefusal::ParametersTooLong},
        {"expand " + Repeat("日", 25), kWindowsShellLimits, LaunchRefusal::None},  // 250 of 750 bytes
        {"expand " + Repeat("日", 26), kWindowsShellLimits, LaunchRefusal::FileTooLong},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckLaunchPlan(PlanLaunch(c.line, names, Programs(), kUtf8), c.limits, kUtf8), c.refusal)
            << c.line.size() << " bytes";
    const std::string folder = "C:\\" + Repeat("м", 250) + "\\";  // 254 characters, 504 bytes
    EXPECT_EQ(ChildPath(folder, "abc😀", kUtf8), folder + "abc😀");  // 259: fits with its terminator
    EXPECT_FALSE(ChildPath(folder, "abcd😀", kUtf8));
}

namespace {
// The UTF-8 page with a few letters of other scripts folded as the system's
// ordinal comparison folds them: to upper case, one UTF-16 unit for one.
class FoldingUtf8Page final : public Utf8CodePage {
public:
    void AppendFolded(std::string_view characters, std::string& out) const override {
        static const std::map<std::string, std::string, std::less<>> upper = {
            {"п", "П"}, {"р", "Р"}, {"и", "И"}, {"в", "В"}, {"е", "Е"}, {"т", "Т"}, {"ё", "Ё"}, {"м", "М"},
            {"σ", "Σ"}, {"ο", "Ο"}, {"φ", "Φ"}, {"ι", "Ι"}, {"α", "Α"},
            {"é", "É"}, {"ı", "I"}, {"ａ", "Ａ"},
        };
        for (std::size_t i = 0; i < characters.size();) {
            std::size_t length = CharLength(*this, characters.data(), i, characters.size());
            std::string_view character = characters.substr(i, length);
            auto found = upper.find(character);
            out.append(found == upper.end() ? character : std::string_view(found->second));
            i += length;
        }
    }
};
}  // namespace

TEST(AnyScript, NamesCompareWithoutCaseInEveryScriptThePageFolds) {
    const FoldingUtf8Page page;
    const struct {
        std::string a, b;
        bool equal;
    } pairs[] = {
        {"Привет", "привет", true}, {"ПРИВЕТ", "привет", true}, {"Ёж", "ёж", true},
        {"ΣΟΦΙΑ", "σοφια", true},
        {"Été", "été", true},       {"ıstanbul", "ISTANBUL", true},  // two bytes fold to one
        {"ａbc", "ＡBC", true},     {"straße", "STRASSE", false},  // no one-for-one upper case
        {"привет", "превет", false}, {"日本", "日本", true},
    };
    for (const auto& p : pairs) EXPECT_EQ(EqualIgnoringCase(p.a, p.b, page), p.equal) << p.a << " " << p.b;

    LaunchNameMap names(page);
    names.Put("Привет", "notepad.exe");
    EXPECT_EQ(names.Find("привет").value_or("<none>"), "notepad.exe");
    EXPECT_EQ(names.Find("ПРИВЕТ").value_or("<none>"), "notepad.exe");
    EXPECT_EQ(PlanLaunch("ПРИВЕТ мир", names, Programs(), page).parameters, "мир");

    CompletionList list(page);
    for (const char* entry : {"Привет мир", "Σοφία", "Istanbul", "日本語"}) list.Add(entry);
    list.Add("привет МИР");  // the same entry in other letters: it moves, with the new case
    EXPECT_EQ(list.Count(), 4u);
    const struct {
        std::string typed, completed;
    } cases[] = {
        {"ПР", "привет МИР"}, {"пРИВЕТ м", "привет МИР"}, {"σ", "Σοφία"}, {"ıs", "Istanbul"},
        {"日本", "日本語"},    {"\xD0", "<none>"},         {"и", "<none>"},
    };
    for (const auto& c : cases) {
        const std::string* entry = list.Complete(c.typed);
        EXPECT_EQ(entry ? *entry : "<none>", c.completed) << c.typed;
    }
}
