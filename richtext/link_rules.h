#pragma once
// The hyperlink's decisions that need no window: the browser's link colours as
// the registry holds them, and the command that opens a target with the
// program registered for HTML documents when the shell cannot.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "controls/colour.h"

// The link colour values are read into this many bytes, their NUL included.
constexpr std::size_t kLinkColourValueCapacity = 12;
// The fallback command line and its NUL must fit this many bytes.
constexpr std::size_t kFallbackCommandCapacity = 520;
// A key's default value is read into this many bytes, its NUL included.
constexpr std::size_t kDefaultValueCapacity = 260;

// A value as read from the registry (its type and every byte of its data):
// "red,green,blue" in decimal. Nothing when it is not a string ending with its
// NUL, longer than the read buffer, or not three comma-separated numbers.
std::optional<Colour> LinkColourFromValue(std::uint32_t type, std::string_view data);

// The document command cut at its "%1" placeholder (the quoted one first), a
// space and the target. Nothing when the line and its NUL would not fit the
// command buffer: a cut-off command line is never run.
std::optional<std::string> FallbackCommand(std::string_view documentCommand, std::string_view target);

// Reads the default value of a key under the classes root; nothing when the key
// cannot be opened or its value cannot be read.
using DefaultValueReader = std::function<std::optional<std::string>(const std::string& keyPath)>;

// The ".htm" class, its open command, and FallbackCommand over it. Nothing when
// a value could not be read or is empty: an unread value is never run.
std::optional<std::string> HtmlFallbackCommand(const DefaultValueReader& readDefault, std::string_view target);
