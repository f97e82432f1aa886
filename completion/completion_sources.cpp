#include "completion/completion_sources.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "command/launch_name_map.h"
#include "completion/shortcut_file.h"
#include "completion/source_rules.h"
#include "framework/files.h"
#include "framework/owners.h"
#include "settings/app_settings.h"
#include "text/system_conversion.h"

namespace {
const char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const char kRunHistoryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const std::size_t kShortcutTargetSize = 1024;

// The folder the path leads to, through any link or junction on the way.
std::optional<FolderIdentity> IdentityOf(const std::string& folder) {
    KernelHandle handle(ValidOrNull(CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
    BY_HANDLE_FILE_INFORMATION info;
    if (!handle || !GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
    return FolderIdentity{info.dwVolumeSerialNumber, std::uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
}
}  // namespace

bool CompletionSources::FillCompletion() {
    AddAliasEntries();
    if (settings_.typed_urls) AddTypedUrls();
    if (settings_.run_history) AddRunHistory();
    if (settings_.start_menu) AddStartMenu();
    // Never an empty drop-down: the first run line replaces this again.
    if (SendMessageA(box_.Handle(), CB_GETCOUNT, 0, 0) == 0) SendMessageA(box_.Handle(), CB_ADDSTRING, 0, LPARAM(""));
    return true;
}

void CompletionSources::RefillCompletion(const std::vector<std::string>& runLines) {
    HWND box = box_.Handle();
    SendMessageA(box, CB_RESETCONTENT, 0, 0);  // empties the list as well
    names_.Clear();
    for (const std::string& line : runLines) SendMessageA(box, CB_ADDSTRING, 0, LPARAM(line.c_str()));
    FillCompletion();
    // Run lines complete after every source, the latest last, as when they were run.
    for (auto line = runLines.rbegin(); line != runLines.rend(); ++line) box_.AddItem(line->c_str());
}

// A file may hold many thousands of aliases. The drop-down makes room once and is
// redrawn once, and each name goes to the list and the drop-down directly, as the
// take-over would pass it on, instead of through its window procedure per name.
bool CompletionSources::AddAliasEntries() {
    const AliasTable& aliases = settings_.aliases;
    HWND box = box_.Handle();
    if (!box) return true;
    std::size_t bytes = 0;
    for (const AliasEntry& alias : aliases) bytes += alias.name.size() + 1;
    SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    struct RedrawAtEnd {  // also when running out of memory half way
        HWND box;
        ~RedrawAtEnd() {
            SendMessageA(box, WM_SETREDRAW, TRUE, 0);
            // Only an open drop-down shows the names; the closed box looks the same.
            if (SendMessageA(box, CB_GETDROPPEDSTATE, 0, 0))
                RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
    } redraw{box};
    SendMessageA(box, CB_INITSTORAGE, aliases.Count(), LPARAM(bytes));
    for (const AliasEntry& alias : aliases) {
        box_.AddItem(alias.name.c_str());
        box_.CallPreviousAnsi(CB_ADDSTRING, 0, LPARAM(alias.name.c_str()));
        names_.Put(alias.name, alias.command);
    }
    return true;
}

// Calls take(name, data) for each string value until the first that cannot be read whole.
// Read as UTF-16: the buffers hold 259 characters and a terminator, which in the
// process's code page may take more bytes than the ANSI call's buffers have.
template <class Take>
bool CompletionSources::ReadValues(const char* keyPath, Take take) {
    RegistryKey key = OpenRegistryKey(HKEY_CURRENT_USER, keyPath, KEY_READ);
    if (!key) return false;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kPathBufferSize], data[kPathBufferSize + 1];
        DWORD nameSize = kPathBufferSize, dataSize = kPathBufferSize * sizeof(wchar_t), type = 0;
        if (RegEnumValueW(key.get(), index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data),
                          &dataSize) != ERROR_SUCCESS)
            break;
        data[dataSize / sizeof(wchar_t)] = L'\0';  // stored data need not carry its terminator
        take(Narrow(std::wstring_view(name, nameSize)), Narrow(data));
    }
    return true;
}

bool CompletionSources::AddTypedUrls() {
    return ReadValues(kTypedUrlsKey, [&](const std::string&, const std::string& stored) {
        TypedUrlNames names = TypedUrlNamesOf(stored);
        box_.AddItem(names.entry.c_str());
        if (names.launchName) {
            names_.Put(*names.launchName, stored);
            box_.AddItem(names.launchName->c_str());
        }
    });
}

bool CompletionSources::AddRunHistory() {
    return ReadValues(kRunHistoryKey, [&](const std::string& name, const std::string& command) {
        if (IsRunHistoryBookkeeping(name)) return;
        box_.AddItem(WithoutRunMarker(command, page_).c_str());
    });
}

bool CompletionSources::AddStartMenu() {
    HWND owner = GetParent(box_.Handle());
    FolderWalk walk;  // shared: a folder of one menu linked from the other is walked once
    for (int folder : {CSIDL_COMMON_STARTMENU, CSIDL_STARTMENU}) {
        wchar_t path[MAX_PATH];
        bool exact = false;
        std::string narrow;
        if (SHGetSpecialFolderPathW(owner, path, folder, FALSE) && (narrow = Narrow(path, &exact), exact))
            ScanStartMenuFolder(narrow, walk, 0);
    }
    return true;
}

void CompletionSources::ScanStartMenuFolder(const std::string& folder) {
    FolderWalk walk;
    ScanStartMenuFolder(folder, walk, 0);
}

void CompletionSources::ScanStartMenuFolder(const std::string& folderPath, FolderWalk& walk, unsigned depth) {
    std::string folder = WithTrailingBackslash(folderPath, page_);
    if (!walk.Enter(IdentityOf(folder), depth)) return;
    std::optional<std::string> pattern = ChildPath(folder, "*", page_);
    if (!pattern) return;
    // Names come as UTF-16: the ANSI record holds 260 bytes, fewer than a long
    // name may take in the process's code page.
    WIN32_FIND_DATAW found;
    FileSearch search(ValidOrNull(FindFirstFileW(Widen(*pattern).c_str(), &found)));
    if (!search) return;
    do {
        bool exact = false;
        std::string entry = Narrow(found.cFileName, &exact);
        // A name the code page cannot hold could not be opened, and its stand-in
        // '?' would search as a wildcard.
        if (!exact || entry == "." || entry == "..") continue;
        std::optional<std::string> path = ChildPath(folder, entry, page_);
        if (!path) continue;  // would not fit the path buffers the shell works with
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ScanStartMenuFolder(*path, walk, depth + 1);
            continue;
        }
        if (!LooksLikeShortcut(entry)) continue;
        std::optional<ShortcutNames> names = ShortcutNamesOf(entry, ResolveShortcut(*path), page_);
        if (!names) continue;
        names_.Put(names->withExtension, *path);
        names_.Put(names->withoutExtension, *path);
        box_.AddItem(names->withoutExtension.c_str());
    } while (FindNextFileW(search.get(), &found));
}

std::string CompletionSources::ResolveShortcut(const std::string& shortcut) {
    // The shell's loader reads past a truncated or forged file.
    std::string bytes;
    if (ReadWholeFile(shortcut, kLargestShortcut, bytes) != FileRead::kRead || !IsWholeShortcut(bytes)) return {};
    // The Unicode interface: its buffer counts characters, which the ANSI one counts in bytes.
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Out())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.Out())) ||
        FAILED(file->Load(Widen(shortcut).c_str(), STGM_READ)))
        return {};
    wchar_t path[kShortcutTargetSize] = L"";
    if (FAILED(link->GetPath(path, kShortcutTargetSize, nullptr, SLGP_UNCPRIORITY))) return {};
    return Narrow(path);
}
