#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "common/files.h"
#include "common/wait.h"
#include "settings/settings_files.h"
#include "settings/settings_watch.h"

namespace {

using testkit::WriteFile;

std::string AliasesWith(const std::string& name) {
    return "<aliases><alias alias='np' cmd='notepad.exe'/><alias alias='" + name + "' cmd='" + name +
           ".exe'/></aliases>";
}

// The watch as the launcher runs it: its two messages, handed to it from this
// thread's queue, on a window of the test's.
class SettingsWatchTest : public testing::Test {
protected:
    void SetUp() override {
        Clean();
        window_ = CreateWindowA("STATIC", "watch", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_);
        WriteFile(aliases_, AliasesWith("first"));
        AppSettings& settings = AppSettings::Instance();
        watch_.Start(window_);
        settings.Load();
    }
    void TearDown() override {
        watch_.Stop();
        DestroyWindow(window_);
        Clean();
        AppSettings& settings = AppSettings::Instance();  // the defaults again, for the tests after
        static_cast<SettingsOptions&>(settings) = SettingsOptions();
        settings.Load();
    }
    static void Clean() {
        for (const char* name : {"aliases.xml", "aliases.xml.tmp", "aliases.xml.new", "settings.xml"})
            DeleteFileA(PathBesideExecutable(name).c_str());
    }

    // Handles the watch's messages until a read took something in.
    std::optional<SettingsWatch::Outcome> NextChange() {
        std::optional<SettingsWatch::Outcome> changed;
        testkit::WaitUntil([&] {
            MSG message;
            while (!changed && PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
                if (message.message == SettingsWatch::kChangedMessage) watch_.OnChanged();
                if (message.message != WM_TIMER || message.wParam != SettingsWatch::kTimerId) continue;
                SettingsWatch::Outcome outcome = watch_.Read();
                if (outcome.effects.completion || outcome.effects.hotKey) changed = outcome;
            }
            return changed.has_value();
        });
        return changed;
    }

    HWND window_ = nullptr;
    SettingsWatch watch_;
    const std::string aliases_ = PathBesideExecutable("aliases.xml");
};

}  // namespace

TEST_F(SettingsWatchTest, AFileWrittenInPlaceOrReplacedByARenameIsReadAgain) {
    AppSettings& settings = AppSettings::Instance();
    ASSERT_EQ(settings.aliases.Count(), 2u);

    WriteFile(aliases_, AliasesWith("second"));
    ASSERT_TRUE(NextChange()) << "written in place";
    ASSERT_EQ(settings.aliases.Count(), 2u);
    EXPECT_EQ(settings.aliases[1].name, "second");

    WriteFile(aliases_ + ".new", AliasesWith("third"));
    ASSERT_TRUE(MoveFileExA((aliases_ + ".new").c_str(), aliases_.c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_TRUE(NextChange()) << "replaced by a rename";
    EXPECT_EQ(settings.aliases[1].name, "third");

    WriteFile(PathBesideExecutable("settings.xml"),
              "<settings><general><hot_key key='75' mod='4'/></general></settings>");
    std::optional<SettingsWatch::Outcome> hotKey = NextChange();
    ASSERT_TRUE(hotKey);
    EXPECT_TRUE(hotKey->effects.hotKey);
    EXPECT_FALSE(hotKey->effects.completion || hotKey->effects.tray || hotKey->effects.autostart);
    EXPECT_EQ(settings.hot_key_key, 75);
}

// Held while the Settings dialog is open: the record stays as the dialog found
// it, and the change is read once the dialog has closed.
TEST_F(SettingsWatchTest, AChangeWhileHeldIsReadOnResume) {
    AppSettings& settings = AppSettings::Instance();
    WriteFile(aliases_, AliasesWith("later"));
    bool held = testkit::WaitUntil([&] {
        MSG message;
        while (PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
            if (message.message == SettingsWatch::kChangedMessage) watch_.OnChanged();
            if (message.message == WM_TIMER && message.wParam == SettingsWatch::kTimerId) {
                watch_.Hold();
                return true;
            }
        }
        return false;
    });
    ASSERT_TRUE(held);
    EXPECT_EQ(settings.aliases[1].name, "first");
    watch_.Resume();
    ASSERT_TRUE(NextChange());
    EXPECT_EQ(settings.aliases[1].name, "later");
}
