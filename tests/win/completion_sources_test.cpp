#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "command/launch_name_map.h"
#include "common/window_reading.h"
#include "common/files.h"
#include "completion/completion_sources.h"
#include "res/resource.h"
#include "settings/app_settings.h"
#include "scratch_values.h"
#include "common/start_menu_fixtures.h"
#include "text/system_code_page.h"

using fixtures::SaveShortcut;

namespace {
INT_PTR CALLBACK PlainDialog(HWND, UINT id, WPARAM, LPARAM) { return id == WM_INITDIALOG; }

std::string StartMenu(int folder) {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, folder, TRUE);
    return path;
}

class CompletionSourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr, PlainDialog, 0);
        ASSERT_NE(dialog, nullptr);
        box = GetDlgItem(dialog, IDC_COMMAND_BOX);
        ASSERT_TRUE(combo.Attach(box));
        settings.typed_urls = settings.run_history = settings.start_menu = 0;
    }
    void TearDown() override {
        if (dialog) DestroyWindow(dialog);
        // Links first: removing a folder through one would empty its target.
        for (const auto& [folder, name] : links) EXPECT_TRUE(fixtures::RemoveTree(folder, name)) << name;
        // Deepest first, so every folder is empty when it goes.
        for (auto file = files.rbegin(); file != files.rend(); ++file) DeleteFileA(file->c_str());
        for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) RemoveDirectoryA(folder->c_str());
        CoUninitialize();
    }

    std::string Folder(const std::string& path) {
        CreateDirectoryA(path.c_str(), nullptr);
        folders.push_back(path);
        return path;
    }
    // A symbolic link in folder to target (relative to folder), which Wine
    // shows as a plain folder; Windows has junctions that do the same.
    void FolderLink(const std::string& folder, const std::string& name, const std::string& target) {
        links.emplace_back(folder, name);
        std::string link = folder + "\\" + name;
        ASSERT_TRUE(fixtures::LinkFolder(folder, name, target)) << link;
        ASSERT_NE(GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << link;
    }
    void Shortcut(const std::string& file, const std::string& target) {
        files.push_back(file);
        ASSERT_TRUE(SaveShortcut(file, target)) << file;
    }

    std::vector<std::string> DropDown() const { return testkit::ComboBoxItems(box); }
    std::vector<std::string> List() const {
        const CompletionList& list = combo.Edit().Entries();
        return std::vector<std::string>(list.begin(), list.end());
    }
    // Position in the list, or -1.
    int At(const std::string& entry) const {
        std::vector<std::string> entries = List();
        auto it = std::find(entries.begin(), entries.end(), entry);
        return it == entries.end() ? -1 : int(it - entries.begin());
    }
    long Occurrences(const std::string& entry) const {
        std::vector<std::string> entries = List();
        return long(std::count(entries.begin(), entries.end(), entry));
    }
    CompletionSources Sources() { return CompletionSources(combo, names, settings, kAscii); }

    HWND dialog = nullptr, box = nullptr;
    CompletionCombo combo{kAscii};
    LaunchNameMap names;
    AppSettings settings;
    std::vector<std::string> files, folders;
    std::vector<std::pair<std::string, std::string>> links;
    static inline const SingleByteCodePage kAscii;
};
}  // namespace

TEST_F(CompletionSourcesTest, NothingToFillGivesOneEmptyItem) {
    EXPECT_TRUE(Sources().FillCompletion());
    EXPECT_EQ(DropDown(), std::vector<std::string>{""});
    EXPECT_EQ(List(), std::vector<std::string>{""});
    EXPECT_EQ(names.Count(), 0u);
}

TEST_F(CompletionSourcesTest, AliasesInStoredOrderTheLaterOneWins) {
    settings.aliases.Append("np", "notepad.exe");
    settings.aliases.Append("calc", "calc.exe");
    settings.aliases.Append("NP", "notepad.exe $param");
    Sources().FillCompletion();
    EXPECT_EQ(DropDown(), (std::vector<std::string>{"np", "calc", "NP"}));
    EXPECT_EQ(List(), (std::vector<std::string>{"calc", "NP"}));
    EXPECT_EQ(names.Find("np"), "notepad.exe $param");
    EXPECT_EQ(names.Find("calc"), "calc.exe");
}

TEST_F(CompletionSourcesTest, TypedUrlsAndRunHistoryFromTheRegistry) {
    {
        ScratchValues urls("Software\\Microsoft\\Internet Explorer\\TypedURLs");
        urls.Set("url101", "http://brisq-h.example/");
        urls.Set("url102", "ftp://brisq-f.example");
        urls.Set("url103", "HTTP://brisq-caps.example");
        urls.Set("url104", "brisq-bare.example/");
        ScratchValues runs("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU");
        runs.Set("y", "brisq-cmd\\1");
        runs.Set("z", "C:\\\\1");
        runs.Set("x", "brisq tool1");
        runs.Set("MRUList", "zyx");
        settings.typed_urls = settings.run_history = 1;
        Sources().FillCompletion();
    }
    for (const char* entry : {"http://brisq-h.example", "brisq-h.example", "ftp://brisq-f.example", "brisq-f.example",
                              "HTTP://brisq-caps.example", "brisq-bare.example", "brisq-cmd", "C:\\", "brisq tool1"})
        EXPECT_NE(At(entry), -1) << entry;
    EXPECT_EQ(At("brisq-caps.example"), -1);
    EXPECT_EQ(At("zyx"), -1);
    EXPECT_EQ(Occurrences("brisq-bare.example"), 1);
    // Typed addresses come first, so they complete first.
    EXPECT_LT(At("brisq-bare.example"), At("brisq-cmd"));

    EXPECT_EQ(names.Find("brisq-h.example"), "http://brisq-h.example/");
    EXPECT_EQ(names.Find("brisq-f.example"), "ftp://brisq-f.example");
    EXPECT_EQ(names.Find("brisq-bare.example"), "brisq-bare.example/");
    EXPECT_FALSE(names.Find("brisq-caps.example"));
    EXPECT_FALSE(names.Find("brisq-cmd"));
    // Nothing went to the drop-down, so it holds the placeholder.
    EXPECT_EQ(DropDown(), std::vector<std::string>{""});
}

TEST_F(CompletionSourcesTest, StartMenuShortcutsAtAnyDepth) {
    std::string common = StartMenu(CSIDL_COMMON_STARTMENU), user = StartMenu(CSIDL_STARTMENU);
    ASSERT_FALSE(common.empty());
    ASSERT_FALSE(user.empty());
    std::string shared = Folder(common + "\\Brisq Test"), sharedDeep = Folder(shared + "\\Deep");
    std::string mine = Folder(user + "\\Brisq Test"), deep = Folder(mine + "\\Deep"), deeper = Folder(deep + "\\Deeper");
    const std::string exe = "C:\\windows\\notepad.exe";

    Shortcut(deeper + "\\BrisqTool.lnk", exe);
    Shortcut(mine + "\\BrisqCaps.LNK", exe);
    Shortcut(mine + "\\Uninstall BrisqFoo.lnk", exe);
    Shortcut(mine + "\\BrisqRemove.lnk", "C:\\BrisqFoo\\unins000.exe");
    Shortcut(mine + "\\BrisqDoc.lnk", "C:\\brisq-readme.txt");
    Shortcut(mine + "\\BrisqFolder.lnk", "C:\\windows");
    Shortcut(mine + "\\BrisqConsole.lnk", "C:\\windows\\system32\\brisq.msc");
    Shortcut(mine + "\\BrisqFoo.Bar.lnk", exe);
    Shortcut(sharedDeep + "\\BrisqShared.lnk", exe);
    Shortcut(mine + "\\BrisqShared.lnk", exe);
    files.push_back(mine + "\\BrisqBroken.lnk");
    HANDLE broken = CreateFileA(files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(broken, "not a shortcut", 14, &written, nullptr);
    CloseHandle(broken);

    settings.aliases.Append("brisqtool", "alias-command");
    settings.start_menu = 1;
    Sources().FillCompletion();

    for (const char* taken : {"brisqtool", "brisqconsole", "brisqfoo.bar", "brisqshared"})
        EXPECT_NE(At(taken), -1) << taken;
    for (const char* skipped : {"brisqcaps", "uninstall brisqfoo", "brisqremove", "brisqdoc", "brisqfolder",
                                "brisqbroken"})
        EXPECT_EQ(At(skipped), -1) << skipped;
    EXPECT_EQ(names.Find("BRISQFOO.BAR"), mine + "\\BrisqFoo.Bar.lnk");
    EXPECT_EQ(names.Find("BRISQFOO.BAR.LNK"), mine + "\\BrisqFoo.Bar.lnk");
    EXPECT_FALSE(names.Find("brisqcaps"));
    // The user's shortcut comes second and takes the name.
    EXPECT_EQ(names.Find("brisqshared"), mine + "\\BrisqShared.lnk");
    EXPECT_EQ(Occurrences("brisqshared"), 1);
    // The alias's name moved to the shortcut's place, and its key to the shortcut.
    EXPECT_EQ(Occurrences("brisqtool"), 1);
    EXPECT_GT(At("brisqtool"), 0);
    EXPECT_EQ(names.Find("brisqtool"), deeper + "\\BrisqTool.lnk");
    EXPECT_EQ(DropDown(), std::vector<std::string>{"brisqtool"});

    EXPECT_EQ(CompletionSources::ResolveShortcut(mine + "\\BrisqBroken.lnk"), "");
    EXPECT_EQ(CompletionSources::ResolveShortcut(mine + "\\Missing.lnk"), "");
}

TEST_F(CompletionSourcesTest, RefillRebuildsAndKeepsTheRunLines) {
    settings.aliases.Append("np", "notepad.exe");
    settings.aliases.Append("calc", "calc.exe");
    Sources().FillCompletion();
    // Two lines run, as the launcher records them: top of the drop-down, end of the list.
    for (const char* line : {"run1", "run2"}) {
        SendMessageA(box, CB_INSERTSTRING, 0, LPARAM(line));
        combo.AddItem(line);
    }
    const std::vector<std::string> runLines{"run2", "run1"};

    Sources().RefillCompletion(runLines);
    EXPECT_EQ(DropDown(), (std::vector<std::string>{"run2", "run1", "np", "calc"}));
    EXPECT_EQ(List(), (std::vector<std::string>{"np", "calc", "run1", "run2"}));

    settings.aliases.Clear();
    settings.aliases.Append("ed", "notepad.exe");
    Sources().RefillCompletion(runLines);
    EXPECT_EQ(DropDown(), (std::vector<std::string>{"run2", "run1", "ed"}));
    EXPECT_EQ(List(), (std::vector<std::string>{"ed", "run1", "run2"}));
    EXPECT_FALSE(names.Find("np"));
    EXPECT_EQ(names.Find("ed"), "notepad.exe");

    // Nothing left at all: the placeholder again.
    settings.aliases.Clear();
    Sources().RefillCompletion({});
    EXPECT_EQ(DropDown(), std::vector<std::string>{""});
    EXPECT_EQ(names.Count(), 0u);
}

TEST_F(CompletionSourcesTest, StartMenuLoopsAreWalkedOnceAndBrokenShortcutsSkipped) {
    std::string user = StartMenu(CSIDL_STARTMENU);
    // What a run that was stopped half-way left, links and all; rm does not follow them.
    for (const char* stale : {"Brisq Loop", "../BrisqOutside"}) ASSERT_TRUE(fixtures::RemoveTree(user, stale)) << stale;
    std::string root = Folder(user + "\\Brisq Loop"), a = Folder(root + "\\a"), b = Folder(root + "\\b");
    std::string outside = Folder(user + "\\..\\BrisqOutside");
    const std::string exe = "C:\\windows\\notepad.exe";
    Shortcut(a + "\\BrisqLoopA.lnk", exe);
    files.push_back(b + "\\BrisqLoopB.lnk");  // every part the shell writes: the check must accept them all
    ASSERT_TRUE(SaveShortcut(files.back(), exe, true));
    Shortcut(outside + "\\BrisqOutside.lnk", exe);
    // The same shortcut cut short inside its item ids, where the shell's loader reads on.
    files.push_back(b + "\\BrisqCut.lnk");
    testkit::WriteFile(files.back(), testkit::ReadFile(a + "\\BrisqLoopA.lnk").substr(0, 120));
    FolderLink(a, "up", "..");  // back to Brisq Loop
    FolderLink(root, "elsewhere", "../../BrisqOutside");  // out of the menu: walked like a folder
    settings.start_menu = 1;
    Sources().FillCompletion();

    EXPECT_EQ(Occurrences("brisqloopa"), 1);
    EXPECT_EQ(Occurrences("brisqloopb"), 1);
    EXPECT_EQ(At("brisqcut"), -1);
    // Each shortcut keeps the path it was first reached by, not one through a link.
    EXPECT_EQ(names.Find("brisqloopa"), a + "\\BrisqLoopA.lnk");
    EXPECT_EQ(names.Find("brisqloopb"), b + "\\BrisqLoopB.lnk");
    EXPECT_EQ(names.Find("brisqoutside"), root + "\\elsewhere\\BrisqOutside.lnk");
}

namespace {
std::string Cyrillic(int characters) {
    std::string text;
    for (int i = 0; i < characters; ++i) text += "щ";
    return text;
}

// Folders made with their UTF-16 names, removed deepest first.
struct WideFolders {
    std::vector<std::wstring> made;
    std::vector<std::wstring> files;
    void Make(const std::wstring& path) {
        CreateDirectoryW(path.c_str(), nullptr);
        made.push_back(path);
    }
    ~WideFolders() {
        for (const std::wstring& file : files) DeleteFileW(file.c_str());
        for (auto folder = made.rbegin(); folder != made.rend(); ++folder) RemoveDirectoryW(folder->c_str());
    }
};
}  // namespace

// A path of 259 characters fits the system's buffers however many bytes it takes
// here: under UTF-8 (the script's other run) this Cyrillic one takes about twice
// as many, and so do history values of more than 130 characters. Under 1252 (this
// run) a name the code page cannot hold is passed by: it could not be opened, and
// its stand-in '?' would search as a wildcard. (This file is UTF-8.)
TEST_F(CompletionSourcesTest, DeepStartMenuPathsAndLongHistoryInAnyScript) {
    const bool utf8 = GetACP() == CP_UTF8;
    wchar_t menu[MAX_PATH] = L"";
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, menu, CSIDL_STARTMENU, TRUE));
    WideFolders tree;
    std::wstring deep = std::wstring(menu) + L"\\Brisq Глубоко";
    tree.Make(deep);
    const std::wstring name = L"Ярлык.lnk";
    while (deep.size() + 41 + 1 + name.size() + 40 < 259) tree.Make(deep += L"\\" + std::wstring(40, L'ж'));
    tree.Make(deep += L"\\" + std::wstring(259 - deep.size() - 2 - name.size(), L'я'));
    const std::wstring fits = deep + L"\\" + name, tooLong = deep + L"\\Ярлык2.lnk";
    ASSERT_EQ(fits.size(), 259u);
    for (const std::wstring& file : {fits, tooLong}) {
        tree.files.push_back(file);
        ASSERT_TRUE(SaveShortcut(file, "C:\\windows\\notepad.exe")) << testkit::Utf8(file) << " " << file.size();
    }
    settings.start_menu = settings.run_history = 1;
    {
        ScratchValues runs("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU");
        if (utf8) {
            runs.Set("brisq1", Cyrillic(200) + "\\1");  // 200 characters, 400 bytes
            runs.Set("brisq2", "после");
        }
        CompletionSources(combo, names, settings, SystemCodePage()).FillCompletion();
    }
    if (utf8) {
        const std::string shortcut = testkit::Utf8(fits);
        EXPECT_NE(At("Ярлык"), -1);
        EXPECT_EQ(names.Find("Ярлык"), shortcut);
        EXPECT_EQ(names.Find("Ярлык.lnk"), shortcut);
        EXPECT_EQ(At("Ярлык2"), -1);  // its path would not fit
        EXPECT_NE(At(Cyrillic(200)), -1);
        EXPECT_NE(At("после"), -1);  // the long value did not end the reading
    } else {
        for (const std::string& entry : List()) EXPECT_EQ(entry.find('?'), std::string::npos) << entry;
    }
}
