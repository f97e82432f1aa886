#include "command/program_search.h"

#include "command/launch_limits.h"
#include "text/code_page.h"

namespace {
// What the system takes when PATHEXT is not set.
const char kDefaultExtensions[] = ".COM;.EXE;.BAT;.CMD";
// No file name is longer; longer texts are never probed.
constexpr std::size_t kLongestName = kWindowsShellLimits.file;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool HasDrive(const std::string& name) { return name.size() >= 2 && IsAsciiLetter(name[0]) && name[1] == ':'; }

// Characters no file name holds: a name with one names no file (a colon past
// the drive would name a stream of another file).
bool CanNameFile(const std::string& name, const CodePage& page) {
    if (name.empty() || name.size() > kLongestName) return false;
    for (std::size_t i = 0; i < name.size(); i += CharLength(page, name.data(), i, name.size())) {
        char c = name[i];
        if (c == '"' || c == '<' || c == '>' || c == '|' || c == '*' || c == '?' || (c == ':' && i != 1) ||
            static_cast<unsigned char>(c) < 0x20)
            return false;
    }
    return true;
}

bool HasFolder(const std::string& name, const CodePage& page) {
    return HasDrive(name) || FindCharacter(name, '\\', 0, page) != std::string::npos ||
           FindCharacter(name, '/', 0, page) != std::string::npos;
}

// The text after the last '.' of the last part of the path, with the dot; empty without one.
std::string ExtensionOf(const std::string& name, const CodePage& page) {
    std::size_t dot = std::string::npos;
    for (std::size_t i = 0; i < name.size(); i += CharLength(page, name.data(), i, name.size())) {
        if (name[i] == '.') dot = i;
        else if (IsSeparator(name[i])) dot = std::string::npos;
    }
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string Unquoted(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}
}  // namespace

std::vector<std::string> PathListParts(const std::string& list, const CodePage& page) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (from <= list.size()) {
        std::size_t end = FindCharacter(list, ';', from, page);
        if (end == std::string::npos) end = list.size();
        std::string part = Unquoted(list.substr(from, end - from));
        if (!part.empty()) parts.push_back(std::move(part));
        from = end + 1;
    }
    return parts;
}

ProgramSearch::ProgramSearch(const CommandProbe& probe, const CodePage& page) : probe_(probe), page_(page) {
    user_ = probe.Variable("USERPROFILE").value_or(std::string());
    SystemFolders system = probe.Folders();
    for (std::string* folder : {&system.system, &system.system16, &system.windows})
        if (!folder->empty()) folders_.push_back(std::move(*folder));
    for (std::string& folder : PathListParts(probe.Variable("PATH").value_or(std::string()), page))
        folders_.push_back(std::move(folder));
    own_ = std::move(system.own);
    std::string extensions = probe.Variable("PATHEXT").value_or(std::string());
    for (std::string& extension : PathListParts(extensions.empty() ? kDefaultExtensions : extensions, page))
        if (extension[0] == '.') extensions_.push_back(LowerCase(extension, page));
}

std::string ProgramSearch::InUserFolder(const std::string& name) const {
    if (user_.empty() || HasDrive(name) || (IsSeparator(name[0]) && name.size() > 1 && IsSeparator(name[1])))
        return name;  // absolute, or on a drive of its own
    if (IsSeparator(name[0])) return HasDrive(user_) ? user_.substr(0, 2) + name : name;  // the root of the user's drive
    return WithTrailingBackslash(user_, page_) + name;
}

std::optional<std::string> ProgramSearch::FindFileOrFolder(const std::string& name) const {
    if (!CanNameFile(name, page_)) return std::nullopt;
    std::string path = InUserFolder(name);
    if (probe_.KindOf(path) == PathKind::Missing) return std::nullopt;
    return path;
}

std::vector<std::string> ProgramSearch::ProgramNames(const std::string& name) const {
    std::string extension = LowerCase(ExtensionOf(name, page_), page_);
    for (const std::string& known : extensions_)
        if (extension == known) return {name};
    std::vector<std::string> names;
    for (const std::string& known : extensions_) names.push_back(name + known);
    return names;
}

std::optional<std::string> ProgramSearch::FileIn(const std::string& folder, const std::vector<std::string>& names) const {
    std::string prefix = folder.empty() ? std::string() : WithTrailingBackslash(folder, page_);
    for (const std::string& name : names) {
        std::string path = prefix + name;
        if (probe_.KindOf(path) == PathKind::File) return path;
    }
    return std::nullopt;
}

std::optional<std::string> ProgramSearch::RegisteredProgram(const std::vector<std::string>& names) const {
    for (AppPathsHive hive : {AppPathsHive::CurrentUser, AppPathsHive::LocalMachine}) {
        for (const std::string& name : names) {
            std::optional<std::string> stored = probe_.AppPath(hive, name);
            if (!stored) continue;
            std::string path = Unquoted(ExpandVariables(*stored, probe_, page_, kLongestName));
            if (CanNameFile(path, page_) && probe_.KindOf(path) == PathKind::File) return path;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProgramSearch::FindProgram(const std::string& name) const {
    if (!CanNameFile(name, page_)) return std::nullopt;
    std::vector<std::string> names = ProgramNames(name);
    if (HasFolder(name, page_)) {
        for (std::string& each : names) each = InUserFolder(each);
        return FileIn({}, names);
    }
    if (!user_.empty())
        if (auto found = FileIn(user_, names)) return found;
    for (const std::string& folder : folders_)
        if (auto found = FileIn(folder, names)) return found;
    if (auto found = RegisteredProgram(names)) return found;
    if (!own_.empty()) return FileIn(own_, names);
    return std::nullopt;
}
