#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/module.h"
#include "res/resource.h"
#include "settings/autostart.h"
#include "settings/run_value.h"

namespace {
struct StoredValue {
    DWORD type = 0;
    std::string data;  // every byte, the NUL included when there is one
};

HKEY OpenRun() {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_READ | KEY_WRITE, &key);
    return key;
}

// The prefix's real Run key: the program's own value is kept and put back.
class RunValueTest : public testing::Test {
protected:
    void SetUp() override {
        run_ = OpenRun();
        ASSERT_TRUE(run_);
        name_ = LoadResourceString(IDS_PRODUCT_NAME);
        ASSERT_EQ(name_, "Brisq");
        saved_ = Read();
        RegDeleteValueA(run_, name_.c_str());
    }
    void TearDown() override {
        if (saved_) Write(saved_->type, saved_->data);
        else RegDeleteValueA(run_, name_.c_str());
        RegCloseKey(run_);
    }

    std::optional<StoredValue> Read() const {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(run_, name_.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
        std::vector<char> data(size + 1);
        if (RegQueryValueExA(run_, name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
            ERROR_SUCCESS)
            return {};
        return StoredValue{type, std::string(data.data(), size)};
    }
    void Write(DWORD type, const std::string& data) const {
        ASSERT_EQ(RegSetValueExA(run_, name_.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 DWORD(data.size())),
                  ERROR_SUCCESS);
    }
    void ExpectHolds(DWORD type, const std::string& text) const {
        std::optional<StoredValue> value = Read();
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, type);
        EXPECT_EQ(value->data, text + '\0');
    }

    HKEY run_ = nullptr;
    std::string name_;
    std::optional<StoredValue> saved_;
    const std::string command_ = "\"C:\\Program Files\\Brisq Test\\Brisq.exe\"";
};

std::string Upper(std::string text) {
    for (char& c : text) c = char(toupper(static_cast<unsigned char>(c)));
    return text;
}
}  // namespace

TEST_F(RunValueTest, OnWritesTheQuotedCommandWithItsNul) {
    ApplyRunValue(name_, true, command_);
    ExpectHolds(REG_SZ, command_);
}

TEST_F(RunValueTest, AnEqualValueIsLeftAsItIs) {
    Write(REG_SZ, Upper(command_) + '\0');
    ApplyRunValue(name_, true, command_);
    ExpectHolds(REG_SZ, Upper(command_));

    Write(REG_EXPAND_SZ, command_ + '\0');
    ApplyRunValue(name_, true, command_);
    ExpectHolds(REG_EXPAND_SZ, command_);
}

TEST_F(RunValueTest, AnythingElseIsReplaced) {
    for (const StoredValue& present : {
             StoredValue{REG_SZ, "\"D:\\Moved\\Brisq.exe\"" + std::string(1, '\0')},
             StoredValue{REG_SZ, command_ + std::string(300, 'x') + '\0'},  // longer than the read buffer
             StoredValue{REG_BINARY, command_ + '\0'},
             StoredValue{REG_SZ, ""},
             StoredValue{REG_SZ, command_},  // the same text without its NUL
         }) {
        Write(present.type, present.data);
        ApplyRunValue(name_, true, command_);
        ExpectHolds(REG_SZ, command_);
    }
}

TEST_F(RunValueTest, ALongPathIsWrittenWholeAndThenRecognised) {
    std::string longCommand = QuotedCommand("C:\\" + std::string(300, 'l') + "\\" + std::string(200, 'm') + ".exe");
    ApplyRunValue(name_, true, longCommand);
    ExpectHolds(REG_SZ, longCommand);

    Write(REG_SZ, Upper(longCommand) + '\0');
    ApplyRunValue(name_, true, longCommand);
    ExpectHolds(REG_SZ, Upper(longCommand));
}

TEST_F(RunValueTest, OffDeletesTheValueAndIsQuietWithoutOne) {
    Write(REG_SZ, command_ + '\0');
    ApplyRunValue(name_, false, command_);
    EXPECT_FALSE(Read());
    ApplyRunValue(name_, false, command_);
    EXPECT_FALSE(Read());
}

TEST(ModuleFileName, GrowsItsBufferUntilThePathFits) {
    char reference[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, reference, MAX_PATH);
    ASSERT_GT(length, 8u);
    EXPECT_EQ(ModuleFileName(), std::string(reference, length));
    EXPECT_EQ(ModuleFileName(nullptr, 4), std::string(reference, length));
    EXPECT_EQ(ModuleFileName(nullptr, length), std::string(reference, length));
    EXPECT_EQ(ModuleFileName(nullptr, length + 1), std::string(reference, length));
}
