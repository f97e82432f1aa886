#pragma once
// Which shell icon a command line gets: the rules of the per-extension record,
// apart from the shell call itself, which the caller supplies.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class CodePage;
class ProgramSearch;

// The text after the last '.' of the whole path (it may hold blanks or
// backslashes when the dot lies in a folder name or an argument); none
// without a dot. A '.' is never the second byte of a double-byte character,
// so a plain byte search is safe in every ANSI code page.
std::optional<std::string> PathExtension(std::string_view path);

// Executables and icon files each carry an icon of their own: never recorded.
bool HasOwnIcon(std::string_view extension);

// The icon index recorded per extension, so the shell is asked once per file
// type. Keys are compared byte for byte: "txt" and "TXT" are two types.
class ExtensionIcons {
public:
    // The shell's icon index for a path, or none when it knows no icon.
    using AskShell = std::function<std::optional<int>(const std::string& path)>;

    // The icon index for a path or command line, -1 when there is none.
    int GetIconIndex(const std::string& path, const AskShell& askShell);
    std::size_t Count() const { return icons_.size(); }

private:
    std::unordered_map<std::string, int> icons_;
};

// The icons of the aliases one opening of the Settings dialog shows: that of
// the program or file a command starts, found as a launch finds it, or the
// Internet-shortcut icon for an address a launch opens on the web. A program
// is asked once per opening however many aliases start it; one the shell had
// no icon for is asked again.
class AliasIcons {
public:
    // A file's icon index, or -1: what the icon cache answers for a path.
    using PathIcon = std::function<int(const std::string& path)>;

    AliasIcons(const ProgramSearch& search, const CodePage& page, int webIcon, PathIcon pathIcon);
    int IconOf(const std::string& command);

private:
    const ProgramSearch& search_;
    const CodePage& page_;
    int webIcon_;
    PathIcon pathIcon_;
    std::unordered_map<std::string, int> asked_;  // by the program's path
};
