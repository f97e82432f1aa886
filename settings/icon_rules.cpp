#include "settings/icon_rules.h"

#include "text/code_page.h"

namespace {
bool EqualsAsciiLower(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (AsciiLower(text[i]) != lower[i]) return false;
    return true;
}
}  // namespace

std::optional<std::string> PathExtension(std::string_view path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    return std::string(path.substr(dot + 1));
}

bool HasOwnIcon(std::string_view extension) {
    return EqualsAsciiLower(extension, "exe") || EqualsAsciiLower(extension, "ico");
}

int ExtensionIcons::GetIconIndex(const std::string& path, const AskShell& askShell) {
    std::optional<std::string> extension = PathExtension(path);
    bool recordable = extension && !HasOwnIcon(*extension);
    if (recordable) {
        auto known = icons_.find(*extension);
        if (known != icons_.end()) return known->second;
    }
    std::optional<int> index = askShell(path);
    if (!index) return -1;
    if (recordable) icons_[*extension] = *index;
    return *index;
}
