#include <gtest/gtest.h>

#include <map>
#include <string>

#include "richtext/link_rules.h"

namespace {
constexpr std::uint32_t kString = 1, kExpandable = 2, kBinary = 3, kDword = 4;

std::optional<Colour> Parse(const std::string& text, std::uint32_t type = kString) {
    return LinkColourFromValue(type, std::string_view(text.c_str(), text.size() + 1));
}

// A classes root in memory: key path to default value; absent keys read as nothing.
struct FakeClasses {
    std::map<std::string, std::optional<std::string>> values;
    std::vector<std::string> asked;
    DefaultValueReader Reader() {
        return [this](const std::string& path) -> std::optional<std::string> {
            asked.push_back(path);
            auto found = values.find(path);
            return found == values.end() ? std::nullopt : found->second;
        };
    }
};
}  // namespace

TEST(LinkColour, ThreeCommaSeparatedNumbers) {
    EXPECT_EQ(Parse("255,0,0"), MakeColour(255, 0, 0));
    EXPECT_EQ(Parse("0,128,64", kExpandable), MakeColour(0, 128, 64));
    EXPECT_EQ(Parse(" 1, 2, 3"), MakeColour(1, 2, 3));  // atoi skips blanks
    EXPECT_EQ(Parse("256,257,-2"), MakeColour(0, 1, 254));  // each cut to its low 8 bits
    EXPECT_EQ(Parse("a,b,c"), MakeColour(0, 0, 0));  // atoi reads no digits as 0
    EXPECT_EQ(Parse("1,2,3,4"), MakeColour(1, 2, 3));
    EXPECT_EQ(Parse("255,128,064"), MakeColour(255, 128, 64));  // eleven characters: the most that fits
}

TEST(LinkColour, AnythingElseKeepsTheDefault) {
    EXPECT_EQ(Parse("255,0"), std::nullopt);  // two numbers
    EXPECT_EQ(Parse("255,0,"), std::nullopt);  // an empty third
    EXPECT_EQ(Parse("red"), std::nullopt);  // a name
    EXPECT_EQ(Parse("-1,0,0"), std::nullopt);
    EXPECT_EQ(Parse("0,-1,0"), std::nullopt);
    EXPECT_EQ(Parse(""), std::nullopt);
    EXPECT_EQ(Parse("255,128,0640"), std::nullopt);  // twelve characters do not fit the buffer
    EXPECT_EQ(Parse("255,0,0", kBinary), std::nullopt);
    EXPECT_EQ(Parse("255,0,0", kDword), std::nullopt);
    EXPECT_EQ(LinkColourFromValue(kString, "255,0,0"), std::nullopt);  // no final NUL
    EXPECT_EQ(LinkColourFromValue(kString, ""), std::nullopt);
    EXPECT_EQ(Parse("99999999999"), std::nullopt);  // no comma, however large
    EXPECT_EQ(LinkColourFromValue(kString, std::string_view("1,2\0,3\0", 7)), std::nullopt);  // read up to the first NUL
}

TEST(FallbackCommand, CutAtThePlaceholderThenTheTarget) {
    EXPECT_EQ(FallbackCommand("\"C:\\Browser\\browser.exe\" \"%1\" -new-tab", "http://www.brisq.org/"),
              "\"C:\\Browser\\browser.exe\"  http://www.brisq.org/");
    EXPECT_EQ(FallbackCommand("browser.exe %1 -x", "t"), "browser.exe  t");
    EXPECT_EQ(FallbackCommand("browser.exe -nohome", "t"), "browser.exe -nohome t");
    // The quoted placeholder wins over an earlier bare one.
    EXPECT_EQ(FallbackCommand("b.exe %1x \"%1\"", "t"), "b.exe %1x  t");
}

TEST(FallbackCommand, ALineThatWouldNotFitIsNotMade) {
    std::string command(500, 'c');
    std::string fitting(kFallbackCommandCapacity - 1 - command.size() - 1, 't');
    ASSERT_TRUE(FallbackCommand(command, fitting));
    EXPECT_EQ(FallbackCommand(command, fitting)->size(), kFallbackCommandCapacity - 1);
    EXPECT_EQ(FallbackCommand(command, fitting + "t"), std::nullopt);
    EXPECT_EQ(FallbackCommand("b.exe", std::string(2000, 't')), std::nullopt);
}

TEST(FallbackCommand, ReadsTheHtmlClassThenItsOpenCommand) {
    FakeClasses classes;
    classes.values[".htm"] = "htmlfile";
    classes.values["htmlfile\\shell\\open\\command"] = "\"browser.exe\" \"%1\"";
    EXPECT_EQ(HtmlFallbackCommand(classes.Reader(), "mailto:support@brisq.org?Subject=Brisq"),
              "\"browser.exe\"  mailto:support@brisq.org?Subject=Brisq");
    EXPECT_EQ(classes.asked, (std::vector<std::string>{".htm", "htmlfile\\shell\\open\\command"}));
}

TEST(FallbackCommand, NothingRunsFromAValueThatWasNotRead) {
    FakeClasses noClass;
    EXPECT_EQ(HtmlFallbackCommand(noClass.Reader(), "t"), std::nullopt);
    EXPECT_EQ(noClass.asked.size(), 1u);

    FakeClasses unreadableClass;  // the key opens, its value does not read
    unreadableClass.values[".htm"] = std::nullopt;
    unreadableClass.values["\\shell\\open\\command"] = "evil.exe";
    EXPECT_EQ(HtmlFallbackCommand(unreadableClass.Reader(), "t"), std::nullopt);

    FakeClasses emptyClass;
    emptyClass.values[".htm"] = "";
    emptyClass.values["\\shell\\open\\command"] = "evil.exe";
    EXPECT_EQ(HtmlFallbackCommand(emptyClass.Reader(), "t"), std::nullopt);

    FakeClasses noCommand;
    noCommand.values[".htm"] = "htmlfile";
    EXPECT_EQ(HtmlFallbackCommand(noCommand.Reader(), "t"), std::nullopt);
    noCommand.values["htmlfile\\shell\\open\\command"] = std::nullopt;
    EXPECT_EQ(HtmlFallbackCommand(noCommand.Reader(), "t"), std::nullopt);
    noCommand.values["htmlfile\\shell\\open\\command"] = "";
    EXPECT_EQ(HtmlFallbackCommand(noCommand.Reader(), "t"), std::nullopt);
}
