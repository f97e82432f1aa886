#include "settings/icon_cache.h"

#include <shellapi.h>

namespace {
// The shell's answer for one path. Asked about the file itself (no flag), a
// path that does not exist mostly gets nothing; asked by type
// (SHGFI_USEFILEATTRIBUTES), only the extension counts.
std::optional<int> AskShell(const std::string& path, UINT flags) {
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), SHGFI_SYSICONINDEX | flags))
        return std::nullopt;
    return info.iIcon;
}
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

// Every web address shows the icon of an Internet shortcut. Asked by type, with
// no file: a file of a fixed name in a shared folder could be another user's
// (made first, or a link to elsewhere).
int IconCache::FindUrlIconIndex() {
    return extensionIcons_.GetIconIndex(".url", [](const std::string& path) {
        return AskShell(path, SHGFI_USEFILEATTRIBUTES);
    });
}

int IconCache::GetIconIndex(const std::string& path) {
    return extensionIcons_.GetIconIndex(path, [](const std::string& path) { return AskShell(path, 0); });
}
