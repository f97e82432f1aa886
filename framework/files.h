#pragma once
#include <cstddef>
#include <string>

enum class FileRead { kMissing, kRead, kUnreadable };

// The whole file, when it is no larger than limit bytes. A folder counts as
// missing; a file that cannot be opened or read, or is larger, as unreadable
// (|bytes| is then empty).
FileRead ReadWholeFile(const std::string& path, std::size_t limit, std::string& bytes);
