#include "richtext/link_rules.h"

#include "richtext/decimal_text.h"

namespace {
// The registry's type numbers, fixed by the platform.
constexpr std::uint32_t kString = 1, kExpandableString = 2;

// The number before the next comma; the text moves past the comma.
std::optional<long long> TakeNumberBeforeComma(std::string_view& text) {
    std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    long long value = DecimalPrefixValue(text.substr(0, comma));
    if (value == -1) return std::nullopt;
    text.remove_prefix(comma + 1);
    return value;
}
}  // namespace

std::optional<Colour> LinkColourFromValue(std::uint32_t type, std::string_view data) {
    if (type != kString && type != kExpandableString) return std::nullopt;
    if (data.empty() || data.size() > kLinkColourValueCapacity || data.back() != '\0') return std::nullopt;
    std::string_view text = data.substr(0, data.find('\0'));
    std::optional<long long> red = TakeNumberBeforeComma(text);
    if (!red) return std::nullopt;
    std::optional<long long> green = TakeNumberBeforeComma(text);
    if (!green || text.empty()) return std::nullopt;
    long long blue = DecimalPrefixValue(text);
    return MakeColour(int(*red & 0xFF), int(*green & 0xFF), int(blue & 0xFF));
}

std::optional<std::string> FallbackCommand(std::string_view documentCommand, std::string_view target) {
    std::size_t cut = documentCommand.find("\"%1\"");
    if (cut == std::string_view::npos) cut = documentCommand.find("%1");
    std::string line(documentCommand.substr(0, cut));
    line += ' ';
    line += target;
    if (line.size() + 1 > kFallbackCommandCapacity) return std::nullopt;
    return line;
}

std::optional<std::string> HtmlFallbackCommand(const DefaultValueReader& readDefault, std::string_view target) {
    std::optional<std::string> documentClass = readDefault(".htm");
    if (!documentClass || documentClass->empty()) return std::nullopt;
    std::optional<std::string> command = readDefault(*documentClass + "\\shell\\open\\command");
    if (!command || command->empty()) return std::nullopt;
    return FallbackCommand(*command, target);
}
