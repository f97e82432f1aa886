#pragma once
// Which shell icon a command line gets: the rules of the per-extension record,
// apart from the shell call itself, which the caller supplies.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

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
