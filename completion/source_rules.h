#pragma once
// How each completion source turns what it reads into list entries and
// launch names. Texts are ANSI bytes; the code page keeps double-byte
// characters whole.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "text/code_page.h"

// The buffers the Start-menu walk would fit its paths into (in the system's
// characters, whatever bytes they take here), and the Run dialog keeps its history in.
constexpr std::size_t kPathBufferSize = 260;
constexpr std::size_t kRunHistoryLines = 19;

// A typed address: the list entry (trailing slashes gone) and, when the
// address without its scheme differs from what was stored, that short name.
struct TypedUrlNames {
    std::string entry;
    std::optional<std::string> launchName;
};
TypedUrlNames TypedUrlNamesOf(std::string_view stored);

// A Run-dialog history value without its "\1" end marker.
std::string WithoutRunMarker(std::string_view command, const CodePage& page);
// The value that orders the others, not a command.
bool IsRunHistoryBookkeeping(std::string_view valueName);

// The names a Start-menu shortcut teaches: its lower-case file name, and
// that name without its extension (also the list entry).
struct ShortcutNames {
    std::string withExtension;
    std::string withoutExtension;
};
// Worth loading at all: the extension test is case-sensitive.
bool LooksLikeShortcut(std::string_view fileName);
// Null when the target is no program (.exe, .msc) or either name is an uninstaller's.
std::optional<ShortcutNames> ShortcutNamesOf(std::string_view fileName, std::string_view target,
                                             const CodePage& page);

// A byte search that only matches at character boundaries.
bool ContainsText(std::string_view text, std::string_view part, const CodePage& page);

// folder + name where folder ends with a backslash; null when the result
// would not fit a path buffer.
std::optional<std::string> ChildPath(std::string_view folder, std::string_view name, const CodePage& page);

// A folder as the file system knows it, whatever path led to it.
struct FolderIdentity {
    std::uint32_t volume = 0;
    std::uint64_t index = 0;
    auto operator<=>(const FolderIdentity&) const = default;
};

// Deeper than any Start menu a person or an installer makes.
constexpr unsigned kStartMenuDepthLimit = 32;

// The folders a Start-menu walk has entered. A link back to a parent (a
// junction, or a symbolic link that shows as a plain folder) leads to a
// folder already entered, so the walk enters each at most once; a folder
// whose identity cannot be read is still bounded by the depth.
class FolderWalk {
public:
    // True when the walk should enter the folder at this depth (0 for a root).
    bool Enter(const std::optional<FolderIdentity>& folder, unsigned depth);

private:
    std::set<FolderIdentity> entered_;
};

// Lines run since start-up, most recent first, as the drop-down keeps them.
class RunLines {
public:
    explicit RunLines(const CodePage& page) : page_(&page) {}
    void Note(std::string_view line);
    const std::vector<std::string>& MostRecentFirst() const { return lines_; }

private:
    const CodePage* page_;
    std::vector<std::string> lines_;
};
