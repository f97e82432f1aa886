#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "command/session_environment.h"
#include "scratch_values.h"

namespace {
std::string Variable(const char* name) {
    char value[4096] = "";
    DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length < sizeof(value) ? std::string(value, length) : std::string();
}
}  // namespace

// What System Properties writes reaches the process once the change is announced.
TEST(SessionEnvironment, TheUsersVariablesAreReadAgainAndPathJoinsTheSystems) {
    const std::string windows = Variable("SystemRoot"), before = Variable("PATH");
    ASSERT_FALSE(windows.empty());
    ScratchValues user("Environment");
    user.Set("BRISQ_TEST_ADDED", "%SystemRoot%\\added", REG_EXPAND_SZ);
    user.Set("PATH", "C:\\brisq-test-bin");
    ReloadSessionEnvironment();
    EXPECT_EQ(Variable("BRISQ_TEST_ADDED"), windows + "\\added");
    std::string joined = Variable("PATH");
    EXPECT_EQ(joined.substr(joined.rfind(';')), ";C:\\brisq-test-bin") << joined;
    SetEnvironmentVariableA("BRISQ_TEST_ADDED", nullptr);
    SetEnvironmentVariableA("PATH", before.c_str());
}

TEST(SessionEnvironment, OnlyTheEnvironmentsNameCountsAndOnlyWhereItCanBeRead) {
    static const char environment[] = "Environment", lower[] = "environment", other[] = "Policy", shorter[] = "Environ";
    EXPECT_TRUE(NamesEnvironment(LPARAM(environment)));
    EXPECT_TRUE(NamesEnvironment(LPARAM(lower)));
    EXPECT_FALSE(NamesEnvironment(LPARAM(other)));
    EXPECT_FALSE(NamesEnvironment(LPARAM(shorter)));
    EXPECT_FALSE(NamesEnvironment(0));
    EXPECT_FALSE(NamesEnvironment(0x10));  // an address of another process, say
}
