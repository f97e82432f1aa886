#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "common/files.h"
#include "common/wait.h"
#include "settings/settings_files.h"
#include "settings/settings_watch.h"

namespace {

std::string AliasesWith(const std::string& name) {
    return "<aliases><alias alias='np' cmd='notepad.exe'/><alias alias='" + name + "' cmd='x'/></aliases>";
}

}  // namespace

// The watch as the launcher runs it, on the files beside this program: its
// signal and its timer handed to it from this thread.
TEST(SettingsWatch, FilesWrittenInPlaceOrReplacedByARenameAreReadAgain) {
    const std::string aliases = PathBesideExecutable("aliases.xml"), options = PathBesideExecutable("settings.xml");
    testkit::WriteFile(aliases, AliasesWith("first"));
    DeleteFileA(options.c_str());
    HWND window = CreateWindowA("STATIC", "watch", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SettingsWatch watch;
    watch.Start(window);
    AppSettings& settings = AppSettings::Instance();
    static_cast<SettingsOptions&>(settings) = SettingsOptions();
    settings.Load();
    // Until a read took in what changed, or, with |hold|, until the first read was due.
    auto next = [&](bool hold = false) {
        SettingsWatch::Outcome outcome{};
        testkit::WaitUntil([&] {
            if (WaitForSingleObject(watch.ChangeSignal(), 0) == WAIT_OBJECT_0) watch.OnChanged();
            MSG message;
            while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
                if (message.message != WM_TIMER || message.wParam != SettingsWatch::kTimerId) continue;
                if (hold) {
                    watch.Hold();
                    return true;
                }
                outcome = watch.Read();
                if (outcome.effects.completion || outcome.effects.hotKey) return true;
            }
            return false;
        });
        return outcome;
    };

    testkit::WriteFile(aliases, AliasesWith("second"));
    EXPECT_TRUE(next().effects.completion);
    EXPECT_EQ(settings.aliases[1].name, "second");

    testkit::WriteFile(aliases + ".new", AliasesWith("third"));
    EXPECT_TRUE(MoveFileExA((aliases + ".new").c_str(), aliases.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(next().effects.completion);
    EXPECT_EQ(settings.aliases[1].name, "third");

    // Held while the Settings dialog is open: the record stays as the dialog
    // found it, and the change is read once the dialog has closed.
    testkit::WriteFile(options, "<settings><general><hot_key key='75' mod='4'/></general></settings>");
    next(true);
    EXPECT_EQ(settings.hot_key_key, 82);
    watch.Resume();
    SettingsEffects effects = next().effects;
    EXPECT_TRUE(effects.hotKey && !effects.completion && !effects.tray && !effects.autostart);
    EXPECT_EQ(settings.hot_key_key, 75);

    watch.Stop();
    DestroyWindow(window);
    for (const std::string& file : {aliases, options}) DeleteFileA(file.c_str());
    static_cast<SettingsOptions&>(settings) = SettingsOptions();  // the defaults again, for the tests after
    settings.Load();
}
