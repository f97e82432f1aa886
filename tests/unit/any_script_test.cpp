// Text in any script, as Brisq holds it with UTF-8 as its code page: characters
// of two to four bytes are counted, compared, folded and split as whole
// characters. (This file is UTF-8; its literals are the bytes Brisq holds.)
#include <gtest/gtest.h>

#include <string>

#include "command/command_line.h"
#include "command/launch_limits.h"
#include "command/launch_name_map.h"
#include "command/launch_plan.h"
#include "command/web_address.h"
#include "completion/completion_list.h"
#include "completion/source_rules.h"
#include "simulated_code_pages.h"
#include "text/utf8.h"

namespace {
const SingleByteCodePage kSingleByte;
const SimulatedDoubleByteCodePage kDoubleByte;
const Utf8CodePage kUtf8;

// A machine whose only programs are these, and which sets no variable.
class Programs final : public CommandProbe {
public:
    bool NamesFileOrFolder(const std::string&) const override { return false; }
    bool NamesProgram(const std::string& name) const override {
        return name == "recorder.exe" || name == "notepad.exe" || name == "блокнот.exe";
    }
    std::optional<std::string> Variable(const std::string&) const override { return std::nullopt; }
};
const Programs kPrograms;

std::string Repeat(const std::string& text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += text;
    return out;
}
}  // namespace

// What an edit control's positions and the shell's limits count: UTF-16 units.
TEST(AnyScript, CharactersAreCountedAsTheSystemCountsThem) {
    const struct {
        const CodePage& page;
        std::string text;
        std::size_t characters;
    } cases[] = {
        {kUtf8, "", 0},
        {kUtf8, "notepad", 7},
        {kUtf8, "привет", 6},         // two bytes each
        {kUtf8, "日本語メモ", 5},     // three bytes each
        {kUtf8, "a😀b", 4},           // four bytes: a surrogate pair
        {kUtf8, "при вет 日本 😀", 13},
        {kUtf8, "\xD0", 1},           // cut short: one stand-in
        {kUtf8, "a\xFF\xFE" "b", 4},  // no UTF-8 at all: a stand-in each
        {kUtf8, "\xF0\x9F\x98", 3},   // a four-byte character cut short: three stand-ins
        {kSingleByte, "caf\xE9", 4},
        {kSingleByte, "привет", 12},  // a single-byte page sees bytes
        {kDoubleByte, "\x83\x41x\x95\x5C", 3},
        {kDoubleByte, "x\x83", 2},    // a lead byte at the end stands alone
    };
    for (const auto& c : cases) EXPECT_EQ(CountCharacters(c.text, c.page), c.characters) << c.text;
}

TEST(AnyScript, CompletionMatchesWholeCharactersAndFoldsAsciiOnly) {
    CompletionList list(kUtf8);
    for (const char* entry : {"Привет мир", "привет", "日本語メモ", "😀 smile", "Notepad 日本"}) list.Add(entry);
    const struct {
        std::string typed;
        std::string completed;
    } cases[] = {
        {"П", "Привет мир"},
        {"пр", "привет"},
        {"ПР", "<none>"},            // Cyrillic letters keep their case
        {"\xD0", "<none>"},          // would end inside п
        {"日本", "日本語メモ"},
        {"日本語\xE3\x83", "<none>"},  // would end inside メ
        {"😀", "😀 smile"},
        {"\xF0\x9F\x98", "<none>"},  // would end inside 😀
        {"NOTEPAD 日", "Notepad 日本"},
        {"notepad 日本語", "<none>"},  // longer than the entry
    };
    for (const auto& c : cases) {
        const std::string* entry = list.Complete(c.typed);
        EXPECT_EQ(entry ? *entry : "<none>", c.completed) << c.typed;
    }
    // Equal apart from ASCII case only; the same letters in other scripts stay apart.
    list.Add("привет");
    list.Add("NOTEPAD 日本");
    EXPECT_EQ(list.Count(), 5u);
    EXPECT_EQ(LowerCase("ÉTÉ NOTE Ωmega 日本", kUtf8), "ÉtÉ note Ωmega 日本");
}

TEST(AnyScript, LinesSplitAtTheFirstBlankAndFillTheirParameter) {
    LaunchNameMap names;
    names.Put("привет", "recorder.exe");
    names.Put("g", "http://поиск.example/?q=$param");
    names.Put("日本語メモ", "notepad.exe 日本.txt");
    const struct {
        std::string line, file, parameters;
    } cases[] = {
        {"привет мир", "recorder.exe", "мир"},
        {"ПРИВЕТ мир", "ПРИВЕТ", "мир"},  // only ASCII letters fold in launch names
        {"g котята и щенки", "http://поиск.example/?q=котята и щенки", ""},
        {"日本語メモ", "notepad.exe", "日本.txt"},  // a stored command is read as program and arguments
        {"日本語メモ 😀.txt", "notepad.exe", "日本.txt 😀.txt"},
        {"блокнот.exe заметки.txt", "блокнот.exe", "заметки.txt"},
        {"пример.com", "http://пример.com", ""},  // the domain test lower-cases a copy
        {"пример.COM/Страница", "http://пример.COM/Страница", ""},
        {"пример.рф", "пример.рф", ""},
        {"C:\\Мои программы\\tool.exe /x", "C:\\Мои программы\\tool.exe /x", ""},
    };
    for (const auto& c : cases) {
        LaunchPlan plan = PlanLaunch(c.line, names, kPrograms, kUtf8);
        EXPECT_EQ(plan.file, c.file) << c.line;
        EXPECT_EQ(plan.parameters, c.parameters) << c.line;
    }
    EXPECT_TRUE(IsWebAddress("ПОИСК.EXAMPLE.ORG", kUtf8));
}

// A name of 259 characters fits the system's buffers however many bytes it
// takes here; refusing by bytes would refuse most names in other scripts.
TEST(AnyScript, LimitsCountCharactersNotBytes) {
    LaunchNameMap names;
    names.Put("expand", "$param$param$param$param$param$param$param$param$param$param");
    const auto refusal = [&](const std::string& line, const ShellLimits& limits) {
        return CheckLaunchPlan(PlanLaunch(line, names, kPrograms, kUtf8), limits, kUtf8);
    };
    const std::string address = "http://example.com/?q=";  // 22 characters
    const struct {
        std::string line;
        const ShellLimits& limits;
        LaunchRefusal refusal;
    } cases[] = {
        {Repeat("я", 259), kWindowsShellLimits, LaunchRefusal::None},
        {Repeat("я", 260), kWindowsShellLimits, LaunchRefusal::FileTooLong},
        {Repeat("日", 259), kWineShellLimits, LaunchRefusal::None},
        {"x" + Repeat("😀", 129), kWindowsShellLimits, LaunchRefusal::None},  // 259 units
        {Repeat("😀", 130), kWindowsShellLimits, LaunchRefusal::FileTooLong},   // 260 units
        {address + Repeat("щ", 2083 - 22), kWindowsShellLimits, LaunchRefusal::None},
        {address + Repeat("щ", 2084 - 22), kWindowsShellLimits, LaunchRefusal::AddressTooLong},
        {address + Repeat("щ", 996 - 22), kWineShellLimits, LaunchRefusal::None},
        {address + Repeat("щ", 997 - 22), kWineShellLimits, LaunchRefusal::AddressTooLong},
        {"tool " + Repeat("п", 32504), kWindowsShellLimits, LaunchRefusal::None},
        {"tool " + Repeat("п", 32505), kWindowsShellLimits, LaunchRefusal::ParametersTooLong},
        {"expand " + Repeat("日", 25), kWindowsShellLimits, LaunchRefusal::None},  // 250 of 750 bytes
        {"expand " + Repeat("日", 26), kWindowsShellLimits, LaunchRefusal::FileTooLong},
    };
    for (const auto& c : cases)
        EXPECT_EQ(refusal(c.line, c.limits), c.refusal) << c.line.substr(0, 40) << "... " << c.line.size() << " bytes";
    // A hostile expansion is cut in bytes, and still holds far more characters than a file may.
    names.Put("huge", Repeat("$param", 100000));
    LaunchPlan expanded = PlanLaunch("huge 😀", names, kPrograms, kUtf8);
    EXPECT_EQ(expanded.file.size(), kLongestShellText + 1);
    EXPECT_EQ(CheckLaunchPlan(expanded, kWindowsShellLimits, kUtf8), LaunchRefusal::FileTooLong);
}

TEST(AnyScript, StartMenuPathsFitByCharacters) {
    const std::string folder = "C:\\" + Repeat("м", 250) + "\\";  // 254 characters, 504 bytes
    EXPECT_EQ(ChildPath(folder, "abcde", kUtf8), folder + "abcde");  // 259: fits with its terminator
    EXPECT_FALSE(ChildPath(folder, "abcdef", kUtf8));
    EXPECT_EQ(ChildPath(folder, "abc😀", kUtf8), folder + "abc😀");  // 😀 is two
    EXPECT_FALSE(ChildPath(folder, "abcd😀", kUtf8));
    // Names keep their own letters; only ASCII is lowered.
    std::optional<ShortcutNames> names = ShortcutNamesOf("Блокнот Notes.lnk", "C:\\Блокнот\\NOTES.EXE", kUtf8);
    ASSERT_TRUE(names);
    EXPECT_EQ(names->withExtension, "Блокнот notes.lnk");
    EXPECT_EQ(names->withoutExtension, "Блокнот notes");
    EXPECT_EQ(WithoutRunMarker("блокнот\\1", kUtf8), "блокнот");
}
