#include "richtext/markup_layout.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
// A face name and its NUL fill the logical font's 32 bytes.
const std::size_t kFaceNameLimit = sizeof(FontDescription::faceName) - 1;

const std::int32_t kPlainWeight = 400, kBoldWeight = 700;

std::string_view UpToNul(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    // Command lengths are 32-bit; no window text comes near this.
    return text.substr(0, std::size_t(INT32_MAX));
}

int Clamped(long long value) { return int(std::clamp<long long>(value, INT_MIN, INT_MAX)); }
}  // namespace

std::uint32_t MarkupTextHash(std::string_view text) {
    std::uint32_t h = 0;
    for (char c : text) h = h * 33 + std::uint32_t(std::int32_t(static_cast<signed char>(c)));
    return h;
}

// The state of one layout pass over one text.
class MarkupLayout::Pass {
public:
    Pass(MarkupLayout& layout, std::string_view text, const MarkupColours& colours,
         const MarkupCharacters& characters, MarkupDevice& device)
        : out_(layout), text_(text), colours_(colours), characters_(characters), device_(device) {}

    void Run(const FontDescription& baseFont) {
        font_ = baseFont;
        fontHeight_ = device_.AddFont(font_);
        out_.fonts_.push_back({font_, fontHeight_});
        style_ = MarkupStyle{0, colours_.text, colours_.background, kAlignLeft};
        out_.styles_.push_back(style_);
        Append(MarkupCommand::kStyle, 0, 0);

        MarkupScanner scanner(text_, characters_);
        MarkupToken token;
        while (scanner.Next(token)) {
            if (token.kind != MarkupToken::kRun) Flush();
            switch (token.kind) {
            case MarkupToken::kRun:
                pending_ += std::int32_t(token.length);
                lineHeight_ = std::max(lineHeight_, fontHeight_);
                break;
            case MarkupToken::kLineFeed:
                Append(MarkupCommand::kBreak, token.length, lineHeight_);
                lineHeight_ = 0;
                break;
            case MarkupToken::kEntity:
                Append(MarkupCommand::kEntity, token.length, static_cast<unsigned char>(token.character));
                break;
            case MarkupToken::kTag:
                Apply(token.name, token.attributes);
                style_.font = FindOrAddFont();
                styleIndex_ = FindOrAddStyle();
                Append(MarkupCommand::kStyle, token.length, styleIndex_);
                break;
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

    void Apply(const std::string& name, const std::string& attributes) {
        if (name == "B") font_.weight = kBoldWeight;
        else if (name == "/B") font_.weight = kPlainWeight;
        else if (name == "I") font_.italic = 1;
        else if (name == "/I") font_.italic = 0;
        else if (name == "UL") font_.underline = 1;
        else if (name == "/UL") font_.underline = 0;
        else if (name == "FONT") {
            out_.styleStack_.push_back(styleIndex_);
            if (auto value = MarkupAttribute(attributes, " COLOR", characters_))
                style_.text = MarkupColourValue(*value, colours_);
            if (auto value = MarkupAttribute(attributes, " SIZE", characters_))
                font_.height = MarkupSizeHeight(*value, out_.key_.dpi);
            if (auto value = MarkupAttribute(attributes, " FACE", characters_)) SetFace(*value);
        } else if (name == "DIV") {
            out_.styleStack_.push_back(styleIndex_);
            if (auto value = MarkupAttribute(attributes, " ALIGN", characters_)) {
                if (*value == "CENTER") style_.alignment = kAlignCentre;
                else if (*value == "LEFT") style_.alignment = kAlignLeft;
                else if (*value == "RIGHT") style_.alignment = kAlignRight;
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

    // Cut to what the face name holds, never inside a character.
    void SetFace(std::string_view face) {
        std::memset(font_.faceName, 0, sizeof(font_.faceName));
        std::size_t length = CharacterPrefix(characters_.Page(), face, kFaceNameLimit);
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
    Pass(*this, UpToNul(text), colours, characters, device).Run(baseFont);
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
