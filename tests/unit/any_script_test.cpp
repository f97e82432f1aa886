// Text in any script, as Brisq holds it with UTF-8 as its code page: characters
// of two to four bytes are counted, compared, folded and split whole.
// (This file is UTF-8; its literals are the bytes Brisq holds.)
#include <gtest/gtest.h>

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

// A machine whose only programs are these, and which sets no variable.
class Programs final : public CommandProbe {
public:
    bool NamesFileOrFolder(const std::string&) const override { return false; }
    bool NamesProgram(const std::string& name) const override { return name == "notepad.exe" || name == "блокнот.exe"; }
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

TEST(AnyScript, LinesSplitAtTheFirstBlankAndFillTheirParameter) {
    LaunchNameMap names;
    names.Put("привет", "notepad.exe");
    names.Put("g", "http://поиск.example/?q=$param");
    const struct {
        std::string line, file, parameters;
    } cases[] = {
        {"привет мир", "notepad.exe", "мир"},
        {"ПРИВЕТ мир", "ПРИВЕТ", "мир"},  // only ASCII letters fold in launch names
        {"g котята и щенки", "http://поиск.example/?q=котята и щенки", ""},
        {"блокнот.exe заметки.txt", "блокнот.exe", "заметки.txt"},
        {"пример.COM/Страница", "http://пример.COM/Страница", ""},  // the domain test lower-cases a copy
        {"пример.рф", "пример.рф", ""},
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
        {"tool " + Repeat("п", 32505), kWindowsShellLimits, LaunchRefusal::ParametersTooLong},
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
