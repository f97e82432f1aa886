#include "richtext/markup_scanner.h"

#include <algorithm>

#include "richtext/decimal_text.h"

namespace {
struct Entity {
    std::string_view text;
    char character;
};
// Compared byte for byte, in this order.
const Entity kEntities[] = {
    {"&nbsp;", ' '}, {"&quot;", '"'}, {"&apos;", '\''}, {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'},
};

// Only this much of a tag's attribute text is looked at.
const std::size_t kAttributeTextLimit = 126;

// The entity that begins at text[at]; null when none does.
const Entity* EntityAt(std::string_view text, std::size_t at) {
    for (const Entity& entity : kEntities)
        if (text.compare(at, entity.text.size(), entity.text) == 0) return &entity;
    return nullptr;
}

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
}  // namespace

void AsciiMarkupCharacters::Upper(std::string& text) const {
    for (std::size_t i = 0; i < text.size();) {
        unsigned length = CharLength(*page_, text.data(), i, text.size());
        if (length == 1) text[i] = AsciiUpper(text[i]);
        i += length;
    }
}

bool AsciiMarkupCharacters::IsAlphaNumeric(unsigned char byte) const {
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

bool MarkupScanner::Next(MarkupToken& token) {
    if (at_ >= text_.size()) return false;
    const std::size_t start = at_;
    const char c = text_[start];
    if (c == '\n') {
        token.kind = MarkupToken::kLineFeed;
        at_ = start + 1;
    } else if (c == '<') {
        token.kind = MarkupToken::kTag;
        ReadTag(token);
    } else if (const Entity* entity = c == '&' ? EntityAt(text_, start) : nullptr) {
        token.kind = MarkupToken::kEntity;
        token.character = entity->character;
        at_ = start + entity->text.size();
    } else {
        token.kind = MarkupToken::kRun;
        do {
            at_ += Step(at_);
        } while (at_ < text_.size() && text_[at_] != '\n' && text_[at_] != '<' &&
                 !(text_[at_] == '&' && EntityAt(text_, at_)));
    }
    token.length = at_ - start;
    return true;
}

// The name runs to the first space or ">", the attribute text from there to the ">".
void MarkupScanner::ReadTag(MarkupToken& token) {
    std::size_t i = at_ + 1;
    while (i < text_.size() && text_[i] != ' ' && text_[i] != '>') i += Step(i);
    token.name.assign(text_.substr(at_ + 1, i - at_ - 1));
    characters_.Upper(token.name);

    const std::size_t attributesStart = i;
    while (i < text_.size() && text_[i] != '>') i += Step(i);
    std::string_view attributes = text_.substr(attributesStart, i - attributesStart);
    token.attributes.assign(attributes.substr(0, CharacterPrefix(characters_.Page(), attributes, kAttributeTextLimit)));
    characters_.Upper(token.attributes);
    at_ = std::min(i + 1, text_.size());
}

std::optional<std::string> MarkupAttribute(std::string_view attributes, std::string_view name,
                                           const MarkupCharacters& characters) {
    const CodePage& page = characters.Page();
    std::size_t i = 0;
    while (i < attributes.size() && attributes.compare(i, name.size(), name) != 0)
        i += CharLength(page, attributes.data(), i, attributes.size());
    if (i >= attributes.size()) return std::nullopt;
    i += name.size();
    while (i < attributes.size() && IsWhiteSpace(attributes[i])) ++i;
    if (i >= attributes.size() || attributes[i] != '=') return std::string();
    ++i;
    while (i < attributes.size() && IsWhiteSpace(attributes[i])) ++i;
    std::size_t start = i;
    if (i < attributes.size() && (attributes[i] == '"' || attributes[i] == '\'')) {
        char quote = attributes[i];
        start = ++i;
        while (i < attributes.size() && attributes[i] != quote)
            i += CharLength(page, attributes.data(), i, attributes.size());
    } else {
        while (i < attributes.size()) {
            unsigned char c = static_cast<unsigned char>(attributes[i]);
            if (!characters.IsAlphaNumeric(c) && c != '-' && c != '#') break;
            i += CharLength(page, attributes.data(), i, attributes.size());
        }
    }
    return std::string(attributes.substr(start, std::min(i, attributes.size()) - start));
}

std::int32_t MarkupSizeHeight(std::string_view value, int dpi) {
    static const std::int32_t kHeights[] = {15, 20, 24, 27, 36, 48, 72};
    long long size = DecimalPrefixValue(value);
    return ScaleToDpi(size >= 1 && size <= 7 ? kHeights[size - 1] : 24, dpi);
}

Colour MarkupColourValue(std::string_view value, const MarkupColours& colours) {
    if (!value.empty() && value[0] == '#') {
        std::uint32_t number = 0;
        for (std::size_t i = 1; i < value.size() && HexDigit(value[i]) >= 0; ++i)
            number = number * 16 + std::uint32_t(HexDigit(value[i]));
        return MakeColour(int(number >> 16 & 0xFF), int(number >> 8 & 0xFF), int(number & 0xFF));
    }
    if (value == "WINDOW") return colours.window;
    if (value == "WINDOWTEXT") return colours.windowText;
    if (value == "BUTTONFACE") return colours.buttonFace;
    if (value == "BUTTONTEXT") return colours.buttonText;
    return MakeColour(0, 0, 0);
}

std::size_t CharacterPrefix(const CodePage& page, std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + CharLength(page, text.data(), end, text.size());
        if (next > limit) break;
        end = next;
    }
    return end;
}
