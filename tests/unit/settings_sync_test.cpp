#include <gtest/gtest.h>

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

// The two files, and what was done to them.
class MemoryDisk final : public SettingsDisk {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> locked, readOnly;
    std::multiset<std::string> written, setAside;

    FileRead Read(const char* name, std::string& bytes) const override {
        bytes.clear();
        if (locked.count(name)) return FileRead::kUnreadable;
        auto file = files.find(name);
        if (file == files.end()) return FileRead::kMissing;
        bytes = file->second;
        return FileRead::kRead;
    }
    bool IsReadOnly(const char* name) const override { return readOnly.count(name) != 0; }
    bool SetAside(const char* name) override {
        if (locked.count(name)) return false;
        files[std::string(name) + ".bad"] = files[name];
        files.erase(name);
        setAside.insert(name);
        return true;
    }
    bool Replace(const char* name, std::string_view bytes) override {
        if (locked.count(name)) return false;
        files[name] = std::string(bytes);
        written.insert(name);
        return true;
    }
    std::string PathOf(const char* name) const override { return std::string("C:\\Tools\\") + name; }
};

// "a=1 b=2": aliases a and b with the commands 1 and 2.
std::vector<AliasEntry> Aliases(const std::string& compact) {
    std::vector<AliasEntry> aliases;
    std::istringstream words(compact);
    for (std::string word; words >> word;) {
        std::size_t equals = word.find('=');
        aliases.push_back({word.substr(0, equals), word.substr(equals + 1)});
    }
    return aliases;
}

std::string Compact(const std::vector<AliasEntry>& aliases) {
    std::string text;
    for (const AliasEntry& alias : aliases) text += (text.empty() ? "" : " ") + alias.name + "=" + alias.command;
    return text;
}

std::string AliasesFile(const std::string& compact) { return WriteAliasesXml(Aliases(compact), kSameBytes); }

void EditInTheDialog(AppSettings& settings, const std::string& compact) {
    settings.aliases.Clear();
    for (const AliasEntry& alias : Aliases(compact)) settings.aliases.Append(alias.name, alias.command);
}

// Settings OK on options: the dialog opened on |start|, ended with |dialog|,
// and the file held |disk| by then. Gives what the launcher holds afterwards.
SettingsOptions AfterOk(const SettingsOptions& start, const SettingsOptions& dialog, const SettingsOptions& disk,
                        MemoryDisk& files) {
    files.files["settings.xml"] = WriteSettingsXml(start);
    AppSettings settings;
    settings.Load(files, kSameBytes);
    static_cast<SettingsOptions&>(settings) = dialog;
    files.files["settings.xml"] = WriteSettingsXml(disk);
    settings.Save(files, kSameBytes, SaveKind::kFromSettings);
    settings.Reload(files, kSameBytes);  // as the launcher does once the dialog has closed
    return settings;
}

// A hand-written file: any save by the program would show in its bytes.
const char kHandWritten[] = "<aliases>\n\t<alias alias='np' cmd='notepad.exe'/>\n</aliases>\n";
// Cut short, as an editor leaves it half-way through its save.
const char kHalfSaved[] = "<aliases>\n\t<alias alias='np' cmd='notepad.exe'/>\n\t<alias alias='g' c";

// Reloads until the file settles or |most| reads were made; returns the reads.
int ReloadUntilSettled(AppSettings& settings, MemoryDisk& disk, SettingsReload& last, int most = 50) {
    int reads = 0;
    do {
        last = settings.Reload(disk, kSameBytes);
        ++reads;
    } while (last.retryAfterMs != 0 && last.notice.empty() && reads < most);
    return reads;
}

}  // namespace

// Settings OK: what the dialog started from, what it ended with and what the
// file holds by then give what is written. The dialog wins where both changed an alias.
TEST(SettingsMerge, TheDialogsChangesAreAppliedToTheFileAsItIsNow) {
    const struct {
        const char* kind;
        const char* start;
        const char* dialog;
        const char* disk;
        const char* written;
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
        disk.files["aliases.xml"] = AliasesFile(row.start);
        AppSettings settings;
        settings.Load(disk, kSameBytes);
        EditInTheDialog(settings, row.dialog);
        disk.files["aliases.xml"] = AliasesFile(row.disk);
        settings.Save(disk, kSameBytes, SaveKind::kFromSettings);
        EXPECT_EQ(disk.files["aliases.xml"], AliasesFile(row.written)) << row.kind;
        settings.Reload(disk, kSameBytes);  // as the launcher does once the dialog has closed
        EXPECT_EQ(Compact(settings.aliases.Entries()), row.written) << row.kind << ": what completes";
    }
}

TEST(SettingsMerge, OptionsMergeOneByOne) {
    using Field = std::int32_t SettingsOptions::*;
    const Field options[] = {&SettingsOptions::start_with_windows, &SettingsOptions::icon_in_tray,
                             &SettingsOptions::run_history, &SettingsOptions::typed_urls, &SettingsOptions::start_menu};
    // For each option: changed in the dialog, changed by hand, changed by both.
    const struct {
        int dialog, disk, written;
    } changes[] = {{1, 0, 1}, {0, 1, 1}, {1, 2, 1}};
    for (Field option : options) {
        for (const auto& change : changes) {
            SettingsOptions start, dialog, disk;
            start.*option = 0;
            dialog.*option = change.dialog;
            disk.*option = change.disk;
            disk.hot_key_key = 'K';  // and an option the dialog left alone, changed by hand
            MemoryDisk files;
            SettingsOptions after = AfterOk(start, dialog, disk, files);
            SettingsOptions expected = disk;
            expected.*option = change.written;
            EXPECT_EQ(files.files["settings.xml"], WriteSettingsXml(expected)) << change.dialog << change.disk;
            EXPECT_TRUE(after == expected);
        }
    }
    // The hot key is one option: its key from one side and its modifiers from the
    // other would be a hot key nobody chose.
    const struct {
        std::uint16_t dialogKey, dialogMod, diskKey, diskMod, key, mod;
    } hotKeys[] = {{'Q', 2, 'R', 4, 'Q', 2}, {'R', 2, 'R', 4, 'R', 4}, {'R', 1, 'K', 2, 'R', 1}};
    for (const auto& h : hotKeys) {
        SettingsOptions start, dialog, disk;
        dialog.hot_key_key = h.dialogKey, dialog.hot_key_mod = h.dialogMod;
        disk.hot_key_key = h.diskKey, disk.hot_key_mod = h.diskMod;
        MemoryDisk files;
        SettingsOptions after = AfterOk(start, dialog, disk, files);
        EXPECT_EQ(after.hot_key_key, h.key) << h.dialogKey << "/" << h.dialogMod;
        EXPECT_EQ(after.hot_key_mod, h.mod) << h.dialogKey << "/" << h.dialogMod;
    }
}

TEST(SettingsSync, OnlyWhatBrisqChangedIsEverWritten) {
    MemoryDisk disk;
    disk.files["aliases.xml"] = kHandWritten;
    disk.files["settings.xml"] = "<settings><general><icon_in_tray val='1'/></general></settings>";
    AppSettings settings;
    settings.Load(disk, kSameBytes);
    settings.Save(disk, kSameBytes, SaveKind::kUnsaved);  // the exit
    settings.Save(disk, kSameBytes, SaveKind::kFromSettings);  // OK without a change
    EXPECT_TRUE(disk.written.empty());
    EXPECT_EQ(disk.files["aliases.xml"], kHandWritten);

    // A change writes that file, in the program's form, and only that file.
    settings.aliases.Append("g", "google.com");
    settings.Save(disk, kSameBytes, SaveKind::kFromSettings);
    EXPECT_EQ(disk.written, std::multiset<std::string>{"aliases.xml"});
    EXPECT_EQ(disk.files["aliases.xml"], AliasesFile("np=notepad.exe g=google.com"));

    // Its own save, seen again by the folder's notification, is no edit: nothing
    // changes, nothing is written, no read is asked for again.
    SettingsReload reload = settings.Reload(disk, kSameBytes);
    EXPECT_FALSE(reload.aliasesChanged || reload.optionsChanged);
    EXPECT_EQ(reload.retryAfterMs, 0u);
    settings.Save(disk, kSameBytes, SaveKind::kUnsaved);
    EXPECT_EQ(disk.written.size(), 1u);

    // An edit by hand is taken in, option by option and alias by alias.
    disk.files["aliases.xml"] = AliasesFile("np=notepad.exe g=google.com w=wordpad.exe");
    disk.files["settings.xml"] = "<settings><general><hot_key key='75' mod='4'/></general></settings>";
    reload = settings.Reload(disk, kSameBytes);
    EXPECT_TRUE(reload.aliasesChanged && reload.optionsChanged);
    EXPECT_EQ(Compact(settings.aliases.Entries()), "np=notepad.exe g=google.com w=wordpad.exe");
    EXPECT_EQ(settings.hot_key_key, 75);
    EXPECT_EQ(settings.icon_in_tray, 1) << "left out of the file: as it was";
    settings.Save(disk, kSameBytes, SaveKind::kUnsaved);
    EXPECT_EQ(disk.written.size(), 1u);
}

// A reload that finds the file unreadable, cut short or gone waits for it to
// settle; meanwhile, and after, the aliases stay as they were.
TEST(SettingsSync, ASaveCaughtHalfWayIsWaitedFor) {
    const struct {
        const char* kind;
        void (*catchIt)(MemoryDisk&);
    } problems[] = {
        {"cut short", [](MemoryDisk& d) { d.files["aliases.xml"] = kHalfSaved; }},
        {"emptied", [](MemoryDisk& d) { d.files["aliases.xml"] = ""; }},
        {"locked", [](MemoryDisk& d) { d.locked.insert("aliases.xml"); }},
        {"gone for the rename", [](MemoryDisk& d) { d.files.erase("aliases.xml"); }},
    };
    for (const auto& problem : problems) {
        MemoryDisk disk;
        disk.files["aliases.xml"] = kHandWritten;
        AppSettings settings;
        settings.Load(disk, kSameBytes);
        problem.catchIt(disk);
        unsigned waited = 0;
        for (int read = 0; read < 3; ++read) {
            SettingsReload reload = settings.Reload(disk, kSameBytes);
            EXPECT_GT(reload.retryAfterMs, waited) << problem.kind << ": waits longer each time";
            waited = reload.retryAfterMs;
            EXPECT_EQ(reload.notice, "") << problem.kind;
            EXPECT_EQ(Compact(settings.aliases.Entries()), "np=notepad.exe") << problem.kind;
        }
        // The save completes.
        disk.locked.clear();
        disk.files["aliases.xml"] = AliasesFile("np=notepad.exe g=google.com");
        SettingsReload reload = settings.Reload(disk, kSameBytes);
        EXPECT_TRUE(reload.aliasesChanged) << problem.kind;
        EXPECT_EQ(reload.retryAfterMs, 0u) << problem.kind;
        EXPECT_EQ(Compact(settings.aliases.Entries()), "np=notepad.exe g=google.com") << problem.kind;
        EXPECT_TRUE(disk.written.empty() && disk.setAside.empty()) << problem.kind;
    }
}

// A file that stays broken is left as it is, and the user is told once where.
TEST(SettingsSync, AFileThatStaysBrokenIsLeftAloneAndReportedOnce) {
    MemoryDisk disk;
    disk.files["aliases.xml"] = kHandWritten;
    AppSettings settings;
    settings.Load(disk, kSameBytes);
    disk.files["aliases.xml"] = kHalfSaved;
    SettingsReload last;
    int reads = ReloadUntilSettled(settings, disk, last);
    EXPECT_GT(reads, 3);
    EXPECT_LT(reads, 10);
    EXPECT_NE(last.notice.find("C:\\Tools\\aliases.xml"), std::string::npos) << last.notice;
    EXPECT_NE(last.notice.find("line 3, column"), std::string::npos) << last.notice;
    EXPECT_EQ(last.retryAfterMs, 0u) << "not read again until it changes";
    last = settings.Reload(disk, kSameBytes);  // another file in the folder changed
    EXPECT_EQ(last.notice, "");
    EXPECT_EQ(last.retryAfterMs, 0u);
    EXPECT_EQ(Compact(settings.aliases.Entries()), "np=notepad.exe");

    settings.Save(disk, kSameBytes, SaveKind::kUnsaved);  // nothing unsaved: the exit leaves it
    EXPECT_EQ(disk.files["aliases.xml"], kHalfSaved);
    EXPECT_EQ(disk.written.count("aliases.xml") + disk.setAside.size(), 0u);

    // Something to save: the broken file is kept aside before it is replaced.
    settings.aliases.Append("g", "google.com");
    settings.Save(disk, kSameBytes, SaveKind::kFromSettings);
    EXPECT_EQ(disk.files["aliases.xml.bad"], kHalfSaved);
    EXPECT_EQ(disk.files["aliases.xml"], AliasesFile("np=notepad.exe g=google.com"));
}

// Removed by hand: not "no aliases", not made again at exit; OK in Settings writes it.
TEST(SettingsSync, AFileRemovedByHandComesBackOnlyFromSettings) {
    MemoryDisk disk;
    disk.files["aliases.xml"] = kHandWritten;
    AppSettings settings;
    settings.Load(disk, kSameBytes);
    settings.aliases.Append("g", "google.com");  // unsaved, say the save was refused
    disk.files.erase("aliases.xml");
    SettingsReload last;
    ReloadUntilSettled(settings, disk, last);
    EXPECT_EQ(last.notice, "");
    EXPECT_EQ(last.retryAfterMs, 0u);
    EXPECT_EQ(Compact(settings.aliases.Entries()), "np=notepad.exe g=google.com");
    settings.Save(disk, kSameBytes, SaveKind::kUnsaved);
    EXPECT_EQ(disk.files.count("aliases.xml"), 0u);
    settings.Save(disk, kSameBytes, SaveKind::kFromSettings);
    EXPECT_EQ(disk.files["aliases.xml"], AliasesFile("np=notepad.exe g=google.com"));

    // Removed right before the exit, before the notification came: not made again either.
    disk.files.erase("aliases.xml");
    settings.aliases.Append("w", "wordpad.exe");
    settings.Save(disk, kSameBytes, SaveKind::kUnsaved);
    EXPECT_EQ(disk.files.count("aliases.xml"), 0u);
}

// Held by a scanner or a sync client at start: not set aside, not written over,
// read in the background as soon as it can be; what was confirmed meanwhile is
// merged in then.
TEST(SettingsSync, AFileLockedAtStartIsReadOnceItCanBe) {
    MemoryDisk disk;
    disk.files["aliases.xml"] = kHandWritten;
    disk.locked.insert("aliases.xml");
    AppSettings settings;
    settings.Load(disk, kSameBytes);
    EXPECT_EQ(settings.aliases.Count(), 0u);
    EXPECT_GT(settings.RetryAfterMs(), 0u) << "read again in the background";
    settings.Save(disk, kSameBytes, SaveKind::kUnsaved);
    settings.aliases.Append("g", "google.com");  // confirmed in Settings while it is locked
    settings.Save(disk, kSameBytes, SaveKind::kFromSettings);
    EXPECT_EQ(disk.written.count("aliases.xml") + disk.setAside.size(), 0u);

    SettingsReload last;
    ReloadUntilSettled(settings, disk, last);
    EXPECT_NE(last.notice.find("could not open C:\\Tools\\aliases.xml"), std::string::npos) << last.notice;
    EXPECT_GT(last.retryAfterMs, 0u) << "still read now and then";
    last = settings.Reload(disk, kSameBytes);
    EXPECT_EQ(last.notice, "") << "told once";

    disk.locked.clear();
    last = settings.Reload(disk, kSameBytes);
    EXPECT_TRUE(last.aliasesChanged);
    EXPECT_EQ(last.retryAfterMs, 0u);
    EXPECT_EQ(Compact(settings.aliases.Entries()), "np=notepad.exe g=google.com");
    EXPECT_EQ(disk.files["aliases.xml"], AliasesFile("np=notepad.exe g=google.com"));
    EXPECT_TRUE(disk.setAside.empty());
}

// What start-up did before: a file missing at start is made by the first save, a
// broken one kept aside by it, silently; a read-only one is never written.
TEST(SettingsSync, StartUpCasesKeepTheirSaves) {
    MemoryDisk disk;
    disk.files["aliases.xml"] = kHalfSaved;
    AppSettings settings;
    EXPECT_FALSE(settings.Load(disk, kSameBytes));
    SettingsReload last;
    ReloadUntilSettled(settings, disk, last);
    EXPECT_EQ(last.notice, "") << "broken from the start: kept aside without a word";
    settings.Save(disk, kSameBytes, SaveKind::kUnsaved);
    EXPECT_EQ(disk.files["aliases.xml.bad"], kHalfSaved);
    EXPECT_EQ(disk.files["aliases.xml"], AliasesFile(""));
    EXPECT_EQ(disk.files["settings.xml"], WriteSettingsXml(SettingsOptions{}));

    MemoryDisk readOnly;
    readOnly.files["aliases.xml"] = kHandWritten;
    readOnly.readOnly.insert("aliases.xml");
    AppSettings mine;
    mine.Load(readOnly, kSameBytes);
    mine.aliases.Append("g", "google.com");
    mine.Save(readOnly, kSameBytes, SaveKind::kFromSettings);
    EXPECT_EQ(readOnly.files["aliases.xml"], kHandWritten);
}
