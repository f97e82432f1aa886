#include "completion/source_rules.h"

#include <algorithm>

#include "completion/completion_list.h"

TypedUrlNames TypedUrlNamesOf(std::string_view stored) {
    TypedUrlNames names;
    std::size_t end = stored.find_last_not_of('/');
    names.entry = std::string(stored.substr(0, end == std::string_view::npos ? 0 : end + 1));

    std::string_view rest = names.entry;
    for (std::string_view scheme : {"http://", "https://", "ftp://"}) {
        if (rest.starts_with(scheme)) {
            rest.remove_prefix(scheme.size());
            break;
        }
    }
    if (rest != stored && !rest.empty()) names.launchName = std::string(rest);
    return names;
}

std::string WithoutRunMarker(std::string_view command, const CodePage& page) {
    std::size_t last = LastCharacter(command, page);
    if (last != std::string_view::npos && last > 0 && command[last] == '1') {
        std::size_t before = LastCharacter(command.substr(0, last), page);
        if (before == last - 1 && command[before] == '\\') return std::string(command.substr(0, before));
    }
    return std::string(command);
}

bool IsRunHistoryBookkeeping(std::string_view valueName) {
    SingleByteCodePage ascii;  // registry value names ignore ASCII case
    return EqualIgnoringCase(valueName, "MRUList", ascii);
}

bool LooksLikeShortcut(std::string_view fileName) { return fileName.find(".lnk") != std::string_view::npos; }

std::optional<ShortcutNames> ShortcutNamesOf(std::string_view fileName, std::string_view target,
                                             const CodePage& page) {
    std::string lowerTarget = LowerCase(target, page);
    if (lowerTarget.empty()) return std::nullopt;
    if (!ContainsText(lowerTarget, ".exe", page) && !ContainsText(lowerTarget, ".msc", page)) return std::nullopt;
    if (ContainsText(lowerTarget, "unins", page)) return std::nullopt;

    ShortcutNames names;
    names.withExtension = LowerCase(fileName, page);
    if (ContainsText(names.withExtension, "unins", page)) return std::nullopt;

    std::size_t dot = std::string::npos;
    const std::string& name = names.withExtension;
    for (std::size_t i = 0; i < name.size(); i += CharLength(page, name.data(), i, name.size()))
        if (name[i] == '.') dot = i;
    names.withoutExtension = name.substr(0, dot);
    return names;
}

bool ContainsText(std::string_view text, std::string_view part, const CodePage& page) {
    if (part.empty()) return true;
    for (std::size_t i = 0; i + part.size() <= text.size(); i += CharLength(page, text.data(), i, text.size())) {
        if (text.compare(i, part.size(), part) != 0) continue;
        // The match must not end inside a double-byte character.
        std::size_t end = i + part.size(), j = i;
        while (j < end) j += CharLength(page, text.data(), j, text.size());
        if (j == end) return true;
    }
    return false;
}

std::optional<std::string> ChildPath(std::string_view folder, std::string_view name, const CodePage& page) {
    if (CountCharacters(folder, page) + CountCharacters(name, page) >= kPathBufferSize) return std::nullopt;
    std::string path(folder);
    path += name;
    return path;
}

bool FolderWalk::Enter(const std::optional<FolderIdentity>& folder, unsigned depth) {
    if (depth > kStartMenuDepthLimit) return false;
    return !folder || entered_.insert(*folder).second;
}

void RunLines::Note(std::string_view line) {
    auto same = std::find_if(lines_.begin(), lines_.end(),
                             [&](const std::string& run) { return EqualIgnoringCase(run, line, *page_); });
    if (same != lines_.end()) lines_.erase(same);
    lines_.insert(lines_.begin(), std::string(line));
    if (lines_.size() > kRunHistoryLines) lines_.resize(kRunHistoryLines);
}
