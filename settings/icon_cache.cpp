#include "settings/icon_cache.h"

#include <shellapi.h>

#include <vector>

#include "command/program_search.h"
#include "command/system_probe.h"
#include "command/web_address.h"
#include "framework/owners.h"
#include "text/system_code_page.h"

namespace {
// The shell's answer for one path, without the flag that would let it answer
// from file attributes: a path that does not exist mostly gets nothing.
std::optional<int> AskShell(const std::string& path) {
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX)) return std::nullopt;
    return info.iIcon;
}

std::string WindowsTempFile(const char* name) {
    UINT length = GetWindowsDirectoryA(nullptr, 0);
    if (length == 0) return {};
    std::vector<char> folder(length);
    UINT got = GetWindowsDirectoryA(folder.data(), length);
    if (got == 0 || got >= length) return {};
    std::string path(folder.data(), got);
    if (path.back() != '\\') path += '\\';
    return path + "TEMP\\" + name;
}

// A file made for a moment: deleted on every way out, a throw included.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& path)
        : path_(path),
          file_(ValidOrNull(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))) {}
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile() {
        if (!file_) return;
        file_.Reset();
        DeleteFileA(path_.c_str());
    }
    explicit operator bool() const { return bool(file_); }

private:
    std::string path_;
    KernelHandle file_;
};
}  // namespace

IconCache& IconCache::Instance() {
    static IconCache cache;
    return cache;
}

IconCache::IconCache() {
    SHFILEINFOA info{};
    systemImageList_ = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    urlIconIndex_ = FindUrlIconIndex();
}

// Every web address shows the icon of an Internet shortcut; the shell tells it
// for an empty one made for the purpose.
int IconCache::FindUrlIconIndex() {
    std::string path = WindowsTempFile("IEH87.url");
    if (path.empty()) return -1;
    ScratchFile file(path);
    return file ? GetIconIndex(path) : -1;
}

int IconCache::GetIconIndex(const std::string& path) { return extensionIcons_.GetIconIndex(path, AskShell); }

// The icon of what the command starts, found as a launch finds it: the shell
// knows nothing of a command line with arguments or variables.
int IconCache::AliasIconIndex(const std::string& command) {
    SystemProbe probe;
    ProgramSearch search(probe, SystemCodePage());
    int index = GetIconIndex(ReadCommand(command, {}, search, SystemCodePage()).program);
    if (index == -1 && IsWebAddress(command, SystemCodePage())) index = urlIconIndex_;
    return index;
}
