#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "command/session_environment.h"

namespace {
std::string Variable(const char* name) {
    char value[4096] = "";
    DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length < sizeof(value) ? std::string(value, length) : std::string();
}

// A value of HKCU\Environment for one test; the one there before comes back.
class UserVariable {
public:
    UserVariable(const char* name, const std::string& value, DWORD type) : name_(name) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Environment", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        DWORD size = sizeof(old_);
        had_ = RegQueryValueExA(key_, name, nullptr, &oldType_, reinterpret_cast<BYTE*>(old_), &size) == ERROR_SUCCESS;
        oldSize_ = size;
        RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
    }
    ~UserVariable() {
        if (had_) RegSetValueExA(key_, name_, 0, oldType_, reinterpret_cast<const BYTE*>(old_), oldSize_);
        else RegDeleteValueA(key_, name_);
        RegCloseKey(key_);
    }
    UserVariable(const UserVariable&) = delete;
    UserVariable& operator=(const UserVariable&) = delete;

private:
    const char* name_;
    HKEY key_ = nullptr;
    bool had_ = false;
    DWORD oldType_ = 0, oldSize_ = 0;
    char old_[4096] = "";
};
}  // namespace

// What System Properties writes reaches the process once the change is announced.
TEST(SessionEnvironment, TheUsersVariablesAreReadAgainAndPathJoinsTheSystems) {
    const std::string windows = Variable("SystemRoot"), before = Variable("PATH");
    ASSERT_FALSE(windows.empty());
    UserVariable added("BRISQ_TEST_ADDED", "%SystemRoot%\\added", REG_EXPAND_SZ);
    UserVariable path("PATH", "C:\\brisq-test-bin", REG_SZ);
    ReloadSessionEnvironment();
    EXPECT_EQ(Variable("BRISQ_TEST_ADDED"), windows + "\\added");
    std::string joined = Variable("PATH");
    EXPECT_EQ(joined.substr(joined.rfind(';')), ";C:\\brisq-test-bin") << joined;
    EXPECT_LT(joined.find(windows), joined.rfind(';')) << joined;  // the system's part first
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
