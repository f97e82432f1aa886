#pragma once
// Checks a shell link (.lnk) file before the shell's loader sees it. The
// loader trusts the sizes and offsets a file announces and reads past a
// truncated or forged part, which can end the process; such a file is
// skipped like one that will not load.

#include <cstddef>
#include <string_view>

// Larger files are no shortcuts anyone made by hand or by an installer.
inline constexpr std::size_t kLargestShortcut = 1 << 20;

// True when bytes hold a whole shell link: its header, and every part its
// flags announce, with each size, offset and string inside its container.
// A file that ends where its closing data block would start is whole.
bool IsWholeShortcut(std::string_view bytes);
