#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "settings/icon_rules.h"

// The small shell icon of a command line, as an index into the shell's system
// image list, asked of the shell once per file type. One for the process,
// made on first use and kept until exit.
class IconCache {
public:
    static IconCache& Instance();

    // The icon index, or -1 when the shell knows none.
    int GetIconIndex(const std::string& path);

    // The shell's list of small icons: shared, never destroyed by the program.
    HIMAGELIST SystemImageList() const { return systemImageList_; }
    // The icon of an Internet shortcut, -1 when it could not be found out.
    int UrlIconIndex() const { return urlIconIndex_; }

private:
    IconCache();
    int FindUrlIconIndex();

    HIMAGELIST systemImageList_ = nullptr;
    int urlIconIndex_ = -1;
    ExtensionIcons extensionIcons_;
};
