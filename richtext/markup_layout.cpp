#include "richtext/markup_layout.h"

#include <algorithm>
#include <climits>
#include <cstring>

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
// A face name and its NUL fill the logical font's 32 bytes.
const std::size_t kFaceNameLimit = sizeof(FontDescription::faceName) - 1;

const std::int32_t kPlainWeight = 400, kBoldWeight = 700;

std::string_view UpToNul(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    // Command lengths are 32-bit; no window text comes near this.
    return text.substr(0, std::size_t(INT32_MAX));
}

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The longest prefix of at most limit bytes that cuts no character.
std::size_t CharacterPrefix(const CodePage& page, std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + CharLength(page, text.data(), end, text.size());
        if (next > limit) break;
        end = next;
    }
    return end;
}

int Clamped(long long value) { return int(std::clamp<long long>(value, INT_MIN, INT_MAX)); }
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

std::uint32_t MarkupTextHash(std::string_view text) {
    std::uint32_t h = 0;
    for (char c : text) h = h * 33 + std::uint32_t(std::int32_t(static_cast<signed char>(c)));
    return h;
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

// The state of one layout pass over one text.
class MarkupLayout::Scan {
public:
    Scan(MarkupLayout& layout, std::string_view text, const MarkupColours& colours,
         const MarkupCharacters& characters, MarkupDevice& device)
        : out_(layout), text_(text), colours_(colours), characters_(characters), page_(characters.Page()),
          device_(device) {}

    void Run(const FontDescription& baseFont) {
        font_ = baseFont;
        fontHeight_ = device_.AddFont(font_);
        out_.fonts_.push_back({font_, fontHeight_});
        style_ = MarkupStyle{0, colours_.text, colours_.background, kAlignLeft};
        out_.styles_.push_back(style_);
        Append(MarkupCommand::kStyle, 0, 0);

        std::size_t i = 0;
        while (i < text_.size()) {
            char c = text_[i];
            if (c == '\n') {
                Flush();
                Append(MarkupCommand::kBreak, 1, lineHeight_);
                lineHeight_ = 0;
                ++i;
            } else if (c == '<') {
                Flush();
                i = ReadTag(i);
            } else if (std::size_t entity = c == '&' ? ReadEntity(i) : 0) {
                i += entity;
            } else {
                // An "&" that begins no entity is an ordinary character.
                unsigned length = CharLength(page_, text_.data(), i, text_.size());
                pending_ += std::int32_t(length);
                lineHeight_ = std::max(lineHeight_, fontHeight_);
                i += length;
            }
        }
        Flush();
    }

private:
    void Append(std::int32_t kind, std::size_t length, std::int32_t value) {
        out_.commands_.push_back({kind, std::int32_t(length), value});
    }

    // Line heights count only characters of runs, never entities.
    void Flush() {
        if (pending_ > 0) Append(MarkupCommand::kText, std::size_t(pending_), lineHeight_);
        pending_ = 0;
    }

    // The length of the entity at i, appended; 0 when none begins there.
    std::size_t ReadEntity(std::size_t i) {
        for (const Entity& entity : kEntities) {
            if (text_.compare(i, entity.text.size(), entity.text) != 0) continue;
            Flush();
            Append(MarkupCommand::kEntity, entity.text.size(), static_cast<unsigned char>(entity.character));
            return entity.text.size();
        }
        return 0;
    }

    // Returns where the scan goes on.
    std::size_t ReadTag(std::size_t start) {
        std::size_t i = start + 1;
        while (i < text_.size() && text_[i] != ' ' && text_[i] != '>') i += Step(i);
        std::string name(text_.substr(start + 1, i - start - 1));
        characters_.Upper(name);

        std::size_t attributesStart = i;
        while (i < text_.size() && text_[i] != '>') i += Step(i);
        std::string_view attributes = text_.substr(attributesStart, i - attributesStart);
        std::string upper(attributes.substr(0, CharacterPrefix(page_, attributes, kAttributeTextLimit)));
        characters_.Upper(upper);
        std::size_t end = std::min(i + 1, text_.size());

        Apply(name, upper);

        style_.font = FindOrAddFont();
        styleIndex_ = FindOrAddStyle();
        Append(MarkupCommand::kStyle, end - start, styleIndex_);
        return end;
    }

    unsigned Step(std::size_t i) const { return CharLength(page_, text_.data(), i, text_.size()); }

    void Apply(const std::string& name, const std::string& attributes) {
        if (name == "B") font_.weight = kBoldWeight;
        else if (name == "/B") font_.weight = kPlainWeight;
        else if (name == "I") font_.italic = 1;
        else if (name == "/I") font_.italic = 0;
        else if (name == "UL") font_.underline = 1;
        else if (name == "/UL") font_.underline = 0;
        else if (name == "FONT") {
            out_.styleStack_.push_back(styleIndex_);
            std::string value;
            if (Attribute(attributes, " COLOR", value)) style_.text = MarkupColourValue(value, colours_);
            if (Attribute(attributes, " SIZE", value)) font_.height = MarkupSizeHeight(value, out_.key_.dpi);
            if (Attribute(attributes, " FACE", value)) SetFace(value);
        } else if (name == "DIV") {
            out_.styleStack_.push_back(styleIndex_);
            std::string value;
            if (Attribute(attributes, " ALIGN", value)) {
                if (value == "CENTER") style_.alignment = kAlignCentre;
                else if (value == "LEFT") style_.alignment = kAlignLeft;
                else if (value == "RIGHT") style_.alignment = kAlignRight;
            }
        } else if (name == "/FONT" || name == "/DIV") {
            if (out_.styleStack_.empty()) return;  // nothing open: nothing to close
            style_ = out_.styles_[std::size_t(out_.styleStack_.back())];
            out_.styleStack_.pop_back();
            const MarkupFont& font = out_.fonts_[std::size_t(style_.font)];
            font_ = font.description;
            fontHeight_ = font.height;
        } else if (name == "BR") {
            Append(MarkupCommand::kBreak, 0, lineHeight_);
            lineHeight_ = 0;
        }
    }

    // The first " NAME" anywhere in the attribute text counts; without an "="
    // after it the attribute is there with an empty value.
    bool Attribute(std::string_view attributes, std::string_view name, std::string& value) const {
        std::size_t i = 0;
        while (i < attributes.size() && attributes.compare(i, name.size(), name) != 0)
            i += CharLength(page_, attributes.data(), i, attributes.size());
        if (i >= attributes.size()) return false;
        i += name.size();
        value.clear();
        while (i < attributes.size() && IsWhiteSpace(attributes[i])) ++i;
        if (i >= attributes.size() || attributes[i] != '=') return true;
        ++i;
        while (i < attributes.size() && IsWhiteSpace(attributes[i])) ++i;
        std::size_t start = i;
        if (i < attributes.size() && (attributes[i] == '"' || attributes[i] == '\'')) {
            char quote = attributes[i];
            start = ++i;
            while (i < attributes.size() && attributes[i] != quote)
                i += CharLength(page_, attributes.data(), i, attributes.size());
        } else {
            while (i < attributes.size()) {
                unsigned char c = static_cast<unsigned char>(attributes[i]);
                if (!characters_.IsAlphaNumeric(c) && c != '-' && c != '#') break;
                i += CharLength(page_, attributes.data(), i, attributes.size());
            }
        }
        value.assign(attributes.substr(start, std::min(i, attributes.size()) - start));
        return true;
    }

    // Cut to what the face name holds, never inside a character.
    void SetFace(std::string_view face) {
        std::memset(font_.faceName, 0, sizeof(font_.faceName));
        std::size_t length = CharacterPrefix(page_, face, kFaceNameLimit);
        std::memcpy(font_.faceName, face.data(), length);
    }

    std::int32_t FindOrAddFont() {
        auto& fonts = out_.fonts_;
        for (std::size_t i = 0; i < fonts.size(); ++i) {
            if (fonts[i].description == font_) {
                fontHeight_ = fonts[i].height;
                return std::int32_t(i);
            }
        }
        fontHeight_ = device_.AddFont(font_);
        fonts.push_back({font_, fontHeight_});
        return std::int32_t(fonts.size() - 1);
    }

    std::int32_t FindOrAddStyle() {
        auto& styles = out_.styles_;
        auto found = std::find(styles.begin(), styles.end(), style_);
        if (found != styles.end()) return std::int32_t(found - styles.begin());
        styles.push_back(style_);
        return std::int32_t(styles.size() - 1);
    }

    MarkupLayout& out_;
    std::string_view text_;
    const MarkupColours& colours_;
    const MarkupCharacters& characters_;
    const CodePage& page_;
    MarkupDevice& device_;

    FontDescription font_;
    int fontHeight_ = 0;
    MarkupStyle style_;
    std::int32_t styleIndex_ = 0;
    std::int32_t lineHeight_ = 0;
    std::int32_t pending_ = 0;
};

void MarkupLayout::Layout(std::string_view text, const MarkupCacheKey& key, const FontDescription& baseFont,
                          const MarkupColours& colours, const MarkupCharacters& characters, MarkupDevice& device) {
    device.ClearFonts();
    fonts_.clear();
    styles_.clear();
    commands_.clear();
    styleStack_.clear();
    key_ = key;
    Scan(*this, UpToNul(text), colours, characters, device).Run(baseFont);
    styleStack_.clear();
    needsLayout_ = false;
    ++layouts_;
}

void MarkupLayout::Replay(std::string_view text, const MarkupRect& client, const CodePage& page,
                          MarkupDevice& device) {
    text = UpToNul(text);
    penX_ = client.left;
    penY_ = client.top;
    alignment_ = kAlignLeft;
    std::size_t position = 0;
    for (MarkupCommand& command : commands_) {
        // A list made from another text is never read past this one.
        if (command.length < 0 || std::size_t(command.length) > text.size() - position) break;
        std::string_view bytes = text.substr(position, std::size_t(command.length));
        switch (command.kind) {
        case MarkupCommand::kStyle:
            if (command.value >= 0 && std::size_t(command.value) < styles_.size()) {
                const MarkupStyle& style = styles_[std::size_t(command.value)];
                device.SelectStyle(style);
                alignment_ = style.alignment;
            }
            break;
        case MarkupCommand::kEntity: {
            const char character = char(command.value);
            std::string_view one(&character, 1);
            device.Draw(Clamped(penX_), Clamped(penY_), one, alignment_);
            penX_ += device.Measure(one).width;
            break;
        }
        case MarkupCommand::kBreak:
            if (command.value == 0) command.value = device.Measure("X").height;  // once per layout
            penX_ = client.left;
            penY_ += command.value;
            break;
        case MarkupCommand::kText: DrawRun(bytes, command.value, client, page, device); break;
        }
        position += bytes.size();
    }
}

std::string MarkupLayout::PlainText(std::string_view text) const {
    text = UpToNul(text);
    std::string plain;
    std::size_t position = 0;
    for (const MarkupCommand& command : commands_) {
        if (command.length < 0 || std::size_t(command.length) > text.size() - position) break;
        if (command.kind == MarkupCommand::kText) plain.append(text.substr(position, std::size_t(command.length)));
        else if (command.kind == MarkupCommand::kEntity) plain += char(command.value);
        else if (command.kind == MarkupCommand::kBreak) plain += '\n';
        position += std::size_t(command.length);
    }
    return plain;
}

// Wraps only at spaces inside the run; a run without a usable space is drawn
// where the pen stands and clipped at the edge.
void MarkupLayout::DrawRun(std::string_view run, std::int32_t wrapHeight, const MarkupRect& client,
                           const CodePage& page, MarkupDevice& device) {
    std::string_view rest = run;
    for (;;) {
        long long width = device.Measure(rest).width;
        if (penX_ + width <= client.right) {
            device.Draw(Clamped(penX_), Clamped(penY_), rest, alignment_);
            penX_ += width;
            return;
        }
        // The last space, short of the run's end, that still fits; a prefix is
        // never narrower than a shorter one, so the search stops at the first misfit.
        std::size_t fits = 0;
        for (std::size_t k = 0; k + 1 < rest.size(); k += CharLength(page, rest.data(), k, rest.size())) {
            if (rest[k] != ' ') continue;
            if (penX_ + device.Measure(rest.substr(0, k + 1)).width > client.right) break;
            fits = k + 1;
        }
        if (fits == 0) {
            device.Draw(Clamped(penX_), Clamped(penY_), rest, alignment_);
            penX_ += width;
            return;
        }
        device.Draw(Clamped(penX_), Clamped(penY_), rest.substr(0, fits), alignment_);
        penX_ = client.left;
        penY_ += wrapHeight;
        rest.remove_prefix(fits);
    }
}
