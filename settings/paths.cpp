#include "settings/paths.h"

std::string PathInFolderOf(std::string_view modulePath, std::string_view fileName, const CodePage& page) {
    std::size_t folderLength = 0;
    for (std::size_t i = 0; i < modulePath.size(); i += CharLength(page, modulePath.data(), i, modulePath.size())) {
        if (modulePath[i] == '\\') folderLength = i + 1;
    }
    std::string path(modulePath.substr(0, folderLength));
    path += fileName;
    return path;
}
