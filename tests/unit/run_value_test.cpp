#include <gtest/gtest.h>

#include <string>

#include "settings/run_value.h"

namespace {
constexpr std::uint32_t kString = 1, kExpandable = 2, kBinary = 3, kMultiString = 7;
const std::string kCommand = "\"C:\\Program Files\\Brisq\\Brisq.exe\"";

std::string WithNul(const std::string& text) { return text + '\0'; }
}  // namespace

TEST(RunValue, CommandIsThePathInQuotes) {
    EXPECT_EQ(QuotedCommand("C:\\Program Files\\Brisq\\Brisq.exe"), kCommand);
    std::string longPath = "C:\\" + std::string(400, 'd') + "\\Brisq.exe";
    EXPECT_EQ(QuotedCommand(longPath), "\"" + longPath + "\"");
}

TEST(RunValue, SameTextInEitherStringTypeAndAnyAsciiCaseIsCurrent) {
    EXPECT_TRUE(RunValueIsCurrent(kString, WithNul(kCommand), kCommand));
    EXPECT_TRUE(RunValueIsCurrent(kExpandable, WithNul(kCommand), kCommand));
    EXPECT_TRUE(RunValueIsCurrent(kString, WithNul("\"c:\\PROGRAM FILES\\brisq\\BRISQ.EXE\""), kCommand));
}

TEST(RunValue, AnythingElseMustBeRewritten) {
    EXPECT_FALSE(RunValueIsCurrent(kString, WithNul("\"D:\\Old\\Brisq.exe\""), kCommand));
    EXPECT_FALSE(RunValueIsCurrent(kString, WithNul(kCommand.substr(0, kCommand.size() - 1)), kCommand));
    EXPECT_FALSE(RunValueIsCurrent(kString, WithNul(kCommand + " "), kCommand));
    EXPECT_FALSE(RunValueIsCurrent(kString, WithNul("C:\\Program Files\\Brisq\\Brisq.exe"), kCommand));
    EXPECT_FALSE(RunValueIsCurrent(kBinary, WithNul(kCommand), kCommand));
    EXPECT_FALSE(RunValueIsCurrent(kMultiString, WithNul(kCommand) + '\0', kCommand));
    EXPECT_FALSE(RunValueIsCurrent(kString, "", kCommand));
    EXPECT_FALSE(RunValueIsCurrent(kString, WithNul(""), kCommand));
}

TEST(RunValue, DataWithoutItsTerminatingNulIsNotRead) {
    EXPECT_FALSE(RunValueIsCurrent(kString, kCommand, kCommand));
    EXPECT_FALSE(RunValueIsCurrent(kString, WithNul(kCommand) + "tail", kCommand));
}

TEST(RunValue, OnlyAsciiLettersFoldCase) {
    const std::string accented = "\"C:\\Caf\xE9\\Brisq.exe\"";
    EXPECT_TRUE(RunValueIsCurrent(kString, WithNul("\"c:\\caf\xE9\\brisq.exe\""), accented));
    EXPECT_FALSE(RunValueIsCurrent(kString, WithNul("\"C:\\Caf\xC9\\Brisq.exe\""), accented));
    // 0x02 and the quote differ only in the bit that folds letters
    EXPECT_FALSE(RunValueIsCurrent(kString, WithNul("\"C:\\Program Files\\Brisq\\Brisq.exe\x02"), kCommand));
}
