#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "settings/app_settings.h"
#include "settings/settings_xml.h"

namespace {

// Text passes through unchanged: these tests are about what is written when.
class SameBytes final : public AnsiUtf8Converter {
public:
    bool AnsiToUtf8(std::string_view ansi, std::string& utf8) const override { return utf8.assign(ansi), true; }
    bool Utf8ToAnsi(std::string_view utf8, std::string& ansi) const override { return ansi.assign(utf8), true; }
};
const SameBytes kSameBytes;

// A hand-written file: any save by the program would show in its bytes.
const char kHandWritten[] = "<aliases>\n\t<alias alias='np' cmd='notepad.exe'/>\n</aliases>\n";
// Cut short, as an editor leaves it half-way through its save.
const char kHalfSaved[] = "<aliases>\n\t<alias alias='np' cmd='notepad.exe'/>\n\t<alias alias='g' c";

// Both files, in memory; |writes| counts what was written or set aside.
class MemoryDisk final : public SettingsDisk {
public:
    std::map<std::string, std::string> files{{"aliases.xml", kHandWritten},
                                             {"settings.xml", WriteSettingsXml(SettingsOptions())}};
    std::set<std::string> locked;
    int writes = 0;

    FileRead Read(const char* name, std::string& bytes) const override {
        bytes.clear();
        if (locked.count(name)) return FileRead::kUnreadable;
        auto file = files.find(name);
        if (file == files.end()) return FileRead::kMissing;
        bytes = file->second;
        return FileRead::kRead;
    }
    bool IsReadOnly(const char*) const override { return false; }
    bool SetAside(const char* name) override {
        files[std::string(name) + ".bad"] = files[name];
        files.erase(name);
        ++writes;
        return true;
    }
    bool Replace(const char* name, std::string_view bytes) override {
        files[name] = std::string(bytes);
        ++writes;
        return true;
    }
    std::string PathOf(const char* name) const override { return std::string("C:\\Tools\\") + name; }
};

// "a=1 b=2": aliases a and b with the commands 1 and 2.
std::vector<AliasEntry> Aliases(const std::string& compact) {
    std::vector<AliasEntry> aliases;
    std::istringstream words(compact);
    for (std::string word; words >> word;)
        aliases.push_back({word.substr(0, word.find('=')), word.substr(word.find('=') + 1)});
    return aliases;
}
std::string Compact(const AliasTable& table) {
    std::string text;
    for (const AliasEntry& alias : table) text += (text.empty() ? "" : " ") + alias.name + "=" + alias.command;
    return text;
}
std::string AliasesFile(const std::string& compact) { return WriteAliasesXml(Aliases(compact), kSameBytes); }

// Settings OK: the dialog opened on |start|, ended with |dialog|, and the files
// held |disk| by then. Gives what the launcher holds once it read them again.
template <class Edit>
AppSettings AfterOk(MemoryDisk& files, const std::string& start, const SettingsOptions& startOptions, Edit dialog,
                    const std::string& disk, const SettingsOptions& diskOptions) {
    files.files = {{"aliases.xml", AliasesFile(start)}, {"settings.xml", WriteSettingsXml(startOptions)}};
    AppSettings settings;
    settings.Load(files, kSameBytes);
    dialog(settings);
    files.files = {{"aliases.xml", AliasesFile(disk)}, {"settings.xml", WriteSettingsXml(diskOptions)}};
    settings.Save(files, kSameBytes, SaveKind::kFromSettings);
    settings.Reload(files, kSameBytes);
    return settings;
}

// Reloads until the file settles (or 50 reads were made); returns the reads.
int ReloadUntilSettled(AppSettings& settings, MemoryDisk& disk, SettingsReload& last) {
    int reads = 0;
    do {
        last = settings.Reload(disk, kSameBytes);
    } while (++reads < 50 && last.retryAfterMs != 0 && last.notice.empty());
    return reads;
}

}  // namespace

// What the dialog started from, what it ended with and what the file holds by
// then give what is written. The dialog wins where both changed an alias.
TEST(SettingsMerge, TheDialogsChangesAreAppliedToTheFileAsItIsNow) {
    const struct {
        const char *kind, *start, *dialog, *disk, *written;
    } rows[] = {
        {"nothing changed on disk", "a=1 b=2", "a=1 b=3 c=4", "a=1 b=2", "a=1 b=3 c=4"},
        {"added by hand", "a=1", "a=1", "a=1 h=9", "a=1 h=9"},
        {"added on both sides", "a=1 b=2", "a=1 b=2 d=4", "a=1 h=9 b=2", "a=1 h=9 b=2 d=4"},
        {"deleted in the dialog, added by hand", "a=1 b=2", "b=2", "a=1 b=2 h=9", "b=2 h=9"},
        {"edited in the dialog, edited by hand", "a=1 b=2", "a=5 b=2", "a=7 b=2", "a=5 b=2"},
        {"deleted in the dialog, edited by hand", "a=1 b=2", "b=2", "a=7 b=2", "b=2"},
        {"edited in the dialog, deleted by hand", "a=1 b=2 c=3", "a=1 b=5 c=3", "a=1 c=3", "a=1 b=5 c=3"},
        {"deleted by hand", "a=1 b=2", "a=1 b=2", "b=2", "b=2"},
        {"edited by hand, the dialog edited another", "a=1 b=2", "a=5 b=2", "a=1 b=7", "a=5 b=7"},
        {"one name added on both sides", "a=1", "a=1 g=mine", "g=theirs a=1", "g=mine a=1"},
        {"the same alias added on both sides", "a=1", "a=1 g=2", "a=1 g=2", "a=1 g=2"},
        {"renamed in the dialog keeps its place", "a=1 b=2 c=3", "a=1 x=2 c=3", "a=1 b=2 c=3 h=9",
         "a=1 x=2 c=3 h=9"},
        {"the first renamed in the dialog", "a=1 b=2", "x=1 b=2", "a=1 b=2 h=9", "x=1 b=2 h=9"},
        {"added while Brisq had none", "", "g=1", "np=2", "np=2 g=1"},
        {"reordered by hand", "a=1 b=2", "a=1 b=2 d=4", "b=2 a=1", "b=2 d=4 a=1"},
        {"everything deleted in the dialog", "a=1 b=2", "", "a=1 b=2 h=9", "h=9"},
        {"duplicate names: the first deleted", "np=1 x=0 np=2", "x=0 np=2", "np=1 x=0 np=2 h=9", "x=0 np=2 h=9"},
        {"duplicate names: one edited", "np=1 np=2", "np=1 np=5", "np=1 np=2 h=9", "np=1 np=5 h=9"},
    };
    for (const auto& row : rows) {
        MemoryDisk disk;
        AppSettings after = AfterOk(
            disk, row.start, {},
            [&](AppSettings& s) {
                s.aliases.Clear();
                for (const AliasEntry& alias : Aliases(row.dialog)) s.aliases.Append(alias.name, alias.command);
            },
            row.disk, {});
        EXPECT_EQ(disk.files["aliases.xml"], AliasesFile(row.written)) << row.kind;
        EXPECT_EQ(Compact(after.aliases), row.written) << row.kind << ": what completes";
    }
}

// Option by option, the hot key as one: each changed in the dialog, by hand, or both.
TEST(SettingsMerge, OptionsMergeOneByOne) {
    using Field = std::int32_t SettingsOptions::*;
    for (Field option : {&SettingsOptions::start_with_windows, &SettingsOptions::icon_in_tray,
                         &SettingsOptions::run_history, &SettingsOptions::typed_urls, &SettingsOptions::start_menu}) {
        for (auto [mine, theirs, written] : {std::array{1, 0, 1}, {0, 1, 1}, {1, 2, 1}}) {
            SettingsOptions start, disk;
            start.*option = 0;
            disk.*option = theirs;
            disk.hot_key_key = 'K';  // and one the dialog left alone, changed by hand
            SettingsOptions expected = disk;
            expected.*option = written;
            MemoryDisk files;
            AppSettings after = AfterOk(files, "", start, [&](AppSettings& s) { s.*option = mine; }, "", disk);
            EXPECT_TRUE(static_cast<SettingsOptions&>(after) == expected) << mine << theirs;
            EXPECT_EQ(files.files["settings.xml"], WriteSettingsXml(expected)) << mine << theirs;
        }
    }
    // A key from one side and modifiers from the other would be a hot key nobody chose.
    for (auto [mineKey, mineMod, diskKey, diskMod, key, mod] :
         {std::array<int, 6>{'Q', 2, 'R', 4, 'Q', 2}, {'R', 2, 'R', 4, 'R', 4}}) {
        SettingsOptions disk;
        disk.hot_key_key = std::uint16_t(diskKey), disk.hot_key_mod = std::uint16_t(diskMod);
        MemoryDisk files;
        AppSettings after = AfterOk(
            files, "", {},
            [&](AppSettings& s) { s.hot_key_key = std::uint16_t(mineKey), s.hot_key_mod = std::uint16_t(mineMod); },
            "", disk);
        EXPECT_EQ(after.hot_key_key, key) << char(mineKey);
        EXPECT_EQ(after.hot_key_mod, mod) << char(mineKey);
    }
}

TEST(SettingsSync, OnlyWhatBrisqChangedIsWrittenAndItsOwnSaveIsNoEdit) {
    MemoryDisk disk;
    AppSettings settings;
    settings.Load(disk, kSameBytes);
    settings.Save(disk, kSameBytes, SaveKind::kUnsaved);       // the exit
    settings.Save(disk, kSameBytes, SaveKind::kFromSettings);  // OK without a change
    EXPECT_EQ(disk.writes, 0);

    settings.aliases.Append("g", "google.com");
    settings.Save(disk, kSameBytes, SaveKind::kFromSettings);
    EXPECT_EQ(disk.writes, 1) << "that file only";
    EXPECT_EQ(disk.files["aliases.xml"], AliasesFile("np=notepad.exe g=google.com"));

    // Seen again by the folder's notification: nothing changes, nothing is
    // written, no read is asked for again.
    SettingsReload reload = settings.Reload(disk, kSameBytes);
    EXPECT_FALSE(reload.aliasesChanged || reload.optionsChanged);
    EXPECT_EQ(reload.retryAfterMs, 0u);
    settings.Save(disk, kSameBytes, SaveKind::kUnsaved);
    EXPECT_EQ(disk.writes, 1);
}

// A reload that finds the file cut short, emptied, locked or gone waits for it
// to settle, and the aliases stay meanwhile. A problem that stays is told once
// (a file removed by hand is none), and the file is left as it is.
TEST(SettingsSync, ASaveCaughtHalfWayIsWaitedForAndAProblemThatStaysIsToldOnce) {
    const struct {
        const char* kind;
        void (*catchIt)(MemoryDisk&);
        const char* notice;
        bool readOnAndOn;
    } problems[] = {
        {"cut short", [](MemoryDisk& d) { d.files["aliases.xml"] = kHalfSaved; }, "at line 3, column", false},
        {"emptied", [](MemoryDisk& d) { d.files["aliases.xml"] = ""; }, "not a well-formed XML file.", false},
        {"locked", [](MemoryDisk& d) { d.locked.insert("aliases.xml"); }, "could not open C:\\Tools\\aliases.xml",
         true},
        {"removed", [](MemoryDisk& d) { d.files.erase("aliases.xml"); }, "", false},
    };
    for (const auto& problem : problems) {
        for (bool settles : {false, true}) {
            MemoryDisk disk;
            AppSettings settings;
            settings.Load(disk, kSameBytes);
            problem.catchIt(disk);
            SettingsReload first = settings.Reload(disk, kSameBytes), second = settings.Reload(disk, kSameBytes);
            EXPECT_GT(second.retryAfterMs, first.retryAfterMs) << problem.kind << ": waits longer each time";
            EXPECT_EQ(first.notice + second.notice, "") << problem.kind;
            if (settles) {
                SettingsReload last;
                EXPECT_LT(ReloadUntilSettled(settings, disk, last), 10) << problem.kind << ": some seconds";
                EXPECT_EQ(last.notice.empty(), *problem.notice == '\0') << problem.kind;
                EXPECT_NE(last.notice.find(problem.notice), std::string::npos) << problem.kind << ": " << last.notice;
                EXPECT_EQ(last.retryAfterMs != 0, problem.readOnAndOn) << problem.kind;
                EXPECT_EQ(settings.Reload(disk, kSameBytes).notice, "") << problem.kind << ": told once";
            }
            EXPECT_EQ(Compact(settings.aliases), "np=notepad.exe") << problem.kind;
            settings.Save(disk, kSameBytes, SaveKind::kUnsaved);  // the exit: nothing unsaved
            EXPECT_EQ(disk.writes, 0) << problem.kind;

            disk.locked.clear();  // the save completes
            disk.files["aliases.xml"] = AliasesFile("np=notepad.exe g=google.com");
            EXPECT_TRUE(settings.Reload(disk, kSameBytes).aliasesChanged) << problem.kind;
            EXPECT_EQ(Compact(settings.aliases), "np=notepad.exe g=google.com") << problem.kind;
        }
    }
}

// What Brisq then changes: a broken file is kept aside before it is replaced; one
// removed by hand (noticed or not yet) is not made again at exit, only by OK in Settings.
TEST(SettingsSync, AChangeMeetsABrokenOrRemovedFile) {
    for (const char* problem : {"broken", "removed", "removed unnoticed"}) {
        MemoryDisk disk;
        AppSettings settings;
        settings.Load(disk, kSameBytes);
        bool broken = *problem == 'b';
        if (broken) disk.files["aliases.xml"] = kHalfSaved;
        else disk.files.erase("aliases.xml");
        SettingsReload last;
        if (problem != std::string("removed unnoticed")) ReloadUntilSettled(settings, disk, last);
        settings.aliases.Append("g", "google.com");
        settings.Save(disk, kSameBytes, SaveKind::kUnsaved);
        EXPECT_EQ(disk.files.count("aliases.xml"), broken ? 1u : 0u) << problem;
        settings.Save(disk, kSameBytes, SaveKind::kFromSettings);
        EXPECT_EQ(disk.files["aliases.xml"], AliasesFile("np=notepad.exe g=google.com")) << problem;
        EXPECT_EQ(disk.files["aliases.xml.bad"], broken ? kHalfSaved : "") << problem;
    }
}
