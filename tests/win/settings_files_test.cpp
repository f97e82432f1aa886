#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/files.h"
#include "framework/files.h"
#include "framework/module.h"
#include "settings/app_settings.h"
#include "settings/settings_files.h"

namespace {

const char* const kDefaultSettings = testkit::kDefaultSettingsXml;
const char* const kEmptyAliases = testkit::kEmptyAliasesXml;

std::string Beside(const char* name) { return PathBesideExecutable(name); }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Contents(const std::string& path) {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(path, std::size_t(-1), bytes), FileRead::kRead) << path;
    return bytes;
}

void Write(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD done = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    CloseHandle(file);
}

// Every file these tests make lives beside the test executable and is gone afterwards.
class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        for (const char* name : {"aliases.xml", "settings.xml"}) {
            std::string path = Beside(name);
            RemoveDirectoryA((path + ".tmp").c_str());
            for (std::string file : {path, path + ".tmp", path + ".bad", path + ".bad2", path + ".bad3", path + ".bad4"}) {
                SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);  // some tests make them read-only
                DeleteFileA(file.c_str());
            }
        }
    }
};

}  // namespace

TEST_F(SettingsFiles, FreshStartWritesBothFilesInTheProgramsForm) {
    AppSettings settings;
    settings.aliases.Append("stale", "gone after load");
    EXPECT_FALSE(settings.Load());
    EXPECT_EQ(settings.aliases.Count(), 0u);
    EXPECT_EQ(settings.hot_key_key, 82);
    EXPECT_TRUE(settings.Save());
    EXPECT_EQ(Contents(Beside("settings.xml")), kDefaultSettings);
    EXPECT_EQ(Contents(Beside("aliases.xml")), kEmptyAliases);
    EXPECT_FALSE(Exists(Beside("aliases.xml.tmp")));
    EXPECT_FALSE(Exists(Beside("settings.xml.tmp")));
    EXPECT_FALSE(Exists(Beside("aliases.xml.bad")));

    // Saving again over existing files gives the same bytes.
    EXPECT_TRUE(settings.Save());
    EXPECT_EQ(Contents(Beside("settings.xml")), kDefaultSettings);
}

TEST_F(SettingsFiles, HandWrittenFilesSurviveLoadAndSave) {
    const std::string myAliases = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<aliases>\r\n"
                                  "  <alias alias=\"np\" cmd=\"notepad.exe\" />\r\n</aliases>\r\n";
    const std::string mySettings = "<settings><show><start_menu val='0'/></show>"
                                   "<general><hot_key key='65'/></general></settings>";
    Write(Beside("aliases.xml"), myAliases);
    Write(Beside("settings.xml"), mySettings);
    AppSettings settings;
    EXPECT_TRUE(settings.Load());
    ASSERT_EQ(settings.aliases.Count(), 1u);
    EXPECT_EQ(settings.aliases[0].command, "notepad.exe");
    EXPECT_EQ(settings.start_menu, 0);
    EXPECT_EQ(settings.hot_key_key, 65);
    EXPECT_EQ(settings.hot_key_mod, 2);
    settings.Save();  // nothing changed: nothing written
    EXPECT_EQ(Contents(Beside("aliases.xml")), myAliases);
    EXPECT_EQ(Contents(Beside("settings.xml")), mySettings);

    // What changed is written in the program's form.
    settings.aliases.Append("g", "google.com");
    settings.icon_in_tray = 1;
    settings.Save();
    EXPECT_EQ(Contents(Beside("aliases.xml")), "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<aliases>\r\n"
                                               "    <alias alias=\"np\" cmd=\"notepad.exe\" />\r\n"
                                               "    <alias alias=\"g\" cmd=\"google.com\" />\r\n</aliases>\r\n");
    std::string expected = kDefaultSettings;
    expected.replace(expected.find("<icon_in_tray val=\"0\""), 21, "<icon_in_tray val=\"1\"");
    expected.replace(expected.find("key=\"82\""), 8, "key=\"65\"");
    expected.replace(expected.find("<start_menu val=\"1\""), 19, "<start_menu val=\"0\"");
    EXPECT_EQ(Contents(Beside("settings.xml")), expected);
    EXPECT_FALSE(Exists(Beside("aliases.xml.bad")));
    EXPECT_FALSE(Exists(Beside("settings.xml.bad")));
}

TEST_F(SettingsFiles, BrokenFilesAreSetAsideBeforeTheNextSave) {
    const std::string brokenAliases = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<aliases>\n    <alias alias=\"np\" cm";
    const std::string brokenSettings = std::string(kDefaultSettings).substr(0, 120);
    Write(Beside("aliases.xml"), brokenAliases);
    Write(Beside("settings.xml"), brokenSettings);
    Write(Beside("aliases.xml.bad"), "an older one");

    AppSettings settings;
    EXPECT_FALSE(settings.Load());
    EXPECT_EQ(settings.aliases.Count(), 0u);
    EXPECT_EQ(Contents(Beside("aliases.xml")), brokenAliases) << "loading changes nothing on disk";

    // Refilling the table the way the Settings dialog does keeps the promise.
    settings.aliases.Clear();
    settings.aliases.Append("reg", "regedit.exe");
    settings.Save();
    EXPECT_EQ(Contents(Beside("aliases.xml.bad")), "an older one");
    EXPECT_EQ(Contents(Beside("aliases.xml.bad2")), brokenAliases);
    EXPECT_EQ(Contents(Beside("settings.xml.bad")), brokenSettings);
    EXPECT_NE(Contents(Beside("aliases.xml")).find("alias=\"reg\""), std::string::npos);
    EXPECT_EQ(Contents(Beside("settings.xml")), kDefaultSettings);

    // Set aside once: later saves just replace the new files.
    settings.Save();
    EXPECT_FALSE(Exists(Beside("aliases.xml.bad3")));
    EXPECT_FALSE(Exists(Beside("settings.xml.bad2")));

    // A zero-length file holds nothing to keep.
    Write(Beside("aliases.xml"), "");
    AliasTable table;
    EXPECT_FALSE(table.LoadFromFile());
    table.SaveToFile();
    EXPECT_FALSE(Exists(Beside("aliases.xml.bad3")));
    EXPECT_EQ(Contents(Beside("aliases.xml")), kEmptyAliases);
}

TEST_F(SettingsFiles, ASaveThatCannotWriteLeavesTheOldFile) {
    const std::string old = "<aliases><alias alias='keep' cmd='me'/></aliases>";
    const std::string path = Beside("aliases.xml");
    Write(path, old);
    AliasTable table;
    EXPECT_TRUE(table.LoadFromFile());
    table.Append("new", "entry");

    // The temporary file cannot be made.
    ASSERT_TRUE(CreateDirectoryA((path + ".tmp").c_str(), nullptr));
    EXPECT_TRUE(table.SaveToFile());
    EXPECT_EQ(Contents(path), old);
    RemoveDirectoryA((path + ".tmp").c_str());

    // The old file is held open by someone who does not allow it to be replaced.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(SaveFileAtomically(path, "replacement"));
    EXPECT_FALSE(Exists(path + ".tmp"));
    CloseHandle(held);
    EXPECT_EQ(Contents(path), old);

    table.SaveToFile();
    EXPECT_NE(Contents(path).find("alias=\"new\""), std::string::npos);
    EXPECT_FALSE(Exists(path + ".tmp"));
}

TEST_F(SettingsFiles, AFileLockedAtStartIsNeitherReadNorReplaced) {
    const std::string path = Beside("settings.xml");
    const std::string mine = "<settings><general><icon_in_tray val='1'/></general></settings>";
    Write(path, mine);
    HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    AppSettings settings;
    EXPECT_FALSE(settings.Load());
    EXPECT_EQ(settings.icon_in_tray, 0);
    EXPECT_GT(settings.RetryAfterMs(), 0u);
    settings.start_menu = 0;  // confirmed in Settings while it is locked
    settings.Save(SaveKind::kFromSettings);
    EXPECT_EQ(settings.Reload().notice, "");
    CloseHandle(locked);
    EXPECT_EQ(Contents(path), mine);
    EXPECT_FALSE(Exists(path + ".tmp"));

    // The lock is gone: read, never set aside, and what was confirmed merged in.
    SettingsReload reload = settings.Reload();
    EXPECT_TRUE(reload.optionsChanged);
    EXPECT_EQ(reload.retryAfterMs, 0u);
    EXPECT_EQ(settings.icon_in_tray, 1);
    EXPECT_FALSE(Exists(path + ".bad"));
    std::string expected = kDefaultSettings;
    expected.replace(expected.find("<icon_in_tray val=\"0\""), 21, "<icon_in_tray val=\"1\"");
    expected.replace(expected.find("<start_menu val=\"1\""), 19, "<start_menu val=\"0\"");
    EXPECT_EQ(Contents(path), expected);
}

TEST_F(SettingsFiles, ReadOnlyFilesAreNeitherReplacedNorChanged) {
    const std::string aliases = Beside("aliases.xml"), settings = Beside("settings.xml");
    const std::string myAliases = "<?xml version=\"1.0\"?>\n<!-- mine, hands off -->\n<aliases>\n"
                                  "  <alias alias=\"np\" cmd=\"notepad.exe\" note=\"kept\" />\n</aliases>\n";
    const std::string mySettings = "<settings><general><icon_in_tray val='1'/></general><!-- kept --></settings>";
    auto readOnly = [](const std::string& path) {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    };
    Write(aliases, myAliases);
    Write(settings, mySettings);
    ASSERT_TRUE(SetFileAttributesA(aliases.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY));

    AppSettings loaded;
    EXPECT_TRUE(loaded.Load());
    ASSERT_EQ(loaded.aliases.Count(), 1u);
    EXPECT_EQ(loaded.icon_in_tray, 1);
    loaded.aliases.Append("new", "entry");  // the program runs on with what it loaded and changed
    loaded.start_menu = 0;
    loaded.Save();
    EXPECT_EQ(Contents(aliases), myAliases);
    EXPECT_EQ(Contents(settings), mySettings);
    EXPECT_TRUE(readOnly(aliases));
    EXPECT_TRUE(readOnly(settings));
    for (const std::string& path : {aliases, settings}) {
        EXPECT_FALSE(Exists(path + ".tmp")) << path;
        EXPECT_FALSE(Exists(path + ".bad")) << path;
    }

    // A broken file marked read-only is not set aside either; once writable, it is.
    const std::string broken = "<aliases><alias alias='np' cm";
    ASSERT_TRUE(SetFileAttributesA(aliases.c_str(), FILE_ATTRIBUTE_NORMAL));
    Write(aliases, broken);
    ASSERT_TRUE(SetFileAttributesA(aliases.c_str(), FILE_ATTRIBUTE_READONLY));
    AliasTable table;
    EXPECT_FALSE(table.LoadFromFile());
    table.SaveToFile();
    EXPECT_EQ(Contents(aliases), broken);
    EXPECT_FALSE(Exists(aliases + ".bad"));
    ASSERT_TRUE(SetFileAttributesA(aliases.c_str(), FILE_ATTRIBUTE_NORMAL));
    table.SaveToFile();
    EXPECT_EQ(Contents(aliases + ".bad"), broken);
    EXPECT_EQ(Contents(aliases), kEmptyAliases);
}

TEST_F(SettingsFiles, NonAsciiTextIsStoredAsUtf8) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252, have " << GetACP();
    AliasTable table;
    table.Append("caf\xE9", "\x80 \xFC");  // euro sign, u umlaut
    table.SaveToFile();
    const std::string path = Beside("aliases.xml");
    EXPECT_NE(Contents(path).find("alias=\"caf\xC3\xA9\" cmd=\"\xE2\x82\xAC \xC3\xBC\""), std::string::npos);
    AliasTable back;
    EXPECT_TRUE(back.LoadFromFile());
    ASSERT_EQ(back.Count(), 1u);
    EXPECT_EQ(back[0].name, "caf\xE9");
    EXPECT_EQ(back[0].command, "\x80 \xFC");

    // Written raw by an older build.
    Write(path, "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<aliases>\n    <alias alias=\"caf\xE9\" cmd=\"x\" />\n</aliases>\n");
    EXPECT_TRUE(back.LoadFromFile());
    ASSERT_EQ(back.Count(), 1u);
    EXPECT_EQ(back[0].name, "caf\xE9");

    // A character the code page cannot hold: loaded as a stand-in; the file kept
    // aside once a change is written, never before.
    const std::string smiley = "<aliases><alias alias='\xE2\x98\xBA' cmd='x'/></aliases>";
    Write(path, smiley);
    EXPECT_TRUE(back.LoadFromFile());
    ASSERT_EQ(back.Count(), 1u);
    back.SaveToFile();
    EXPECT_EQ(Contents(path), smiley);
    back.Append("new", "entry");
    back.SaveToFile();
    EXPECT_EQ(Contents(path + ".bad"), smiley);
}

// Processes cannot be started from such a folder under Wine, but a module can be
// mapped from one, and its name read back the way the program reads its own.
TEST(LongModulePath, NameIsNotCut) {
    wchar_t self[1024];
    ASSERT_GT(GetModuleFileNameW(nullptr, self, 1024), 0u);
    std::wstring folder = std::wstring(L"\\\\?\\") + self;
    folder.resize(folder.rfind(L'\\'));
    std::wstring top = folder + L"\\long-path-test";
    std::wstring deep = top;
    CreateDirectoryW(deep.c_str(), nullptr);
    for (int i = 0; i < 3; ++i) {
        deep += L"\\" + std::wstring(100, L'd');
        CreateDirectoryW(deep.c_str(), nullptr);
    }
    std::wstring copy = deep + L"\\brisq-copy.exe";
    ASSERT_TRUE(CopyFileW(self, copy.c_str(), FALSE)) << GetLastError();
    HMODULE module = LoadLibraryExW(copy.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    DWORD error = GetLastError();
    std::string name = module ? ModuleFileName(module) : std::string();
    if (module) FreeLibrary(module);
    DeleteFileW(copy.c_str());
    for (int i = 0; i < 3; ++i) {
        RemoveDirectoryW(deep.c_str());
        deep.resize(deep.rfind(L'\\'));
    }
    RemoveDirectoryW(top.c_str());
    ASSERT_NE(module, nullptr) << error;

    std::string expected(copy.begin() + 4, copy.end());  // the folders here are ASCII
    EXPECT_GT(expected.size(), 300u);
    EXPECT_EQ(name.size(), expected.size());
    EXPECT_EQ(name, expected);
}
