#include "settings/icon_rules.h"

#include "command/command_line.h"
#include "command/web_address.h"
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

AliasIcons::AliasIcons(const ProgramSearch& search, const CodePage& page, int webIcon, PathIcon pathIcon)
    : search_(search), page_(page), webIcon_(webIcon), pathIcon_(std::move(pathIcon)) {}

// The web test comes first, on the program as read: what was found on disk is
// a full path by then, and an extension's record ("com") must not give a host
// name a file's icon.
int AliasIcons::IconOf(const std::string& command) {
    std::string program = ReadCommand(command, {}, search_, page_).program;
    if (IsWebAddress(program, page_)) return webIcon_;
    auto known = asked_.find(program);
    if (known != asked_.end()) return known->second;
    int index = pathIcon_(program);
    if (index != -1) asked_.emplace(std::move(program), index);
    return index;
}
