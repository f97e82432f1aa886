#include "settings/alias_name.h"

std::string AliasNameFromPath(std::string_view path, const CodePage& page) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); i += CharLength(page, path.data(), i, path.size()))
        if (path[i] == '\\') start = i + 1;
    std::string_view name = path.substr(start);
    std::size_t dot = name.rfind('.');  // never a trail byte
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}
