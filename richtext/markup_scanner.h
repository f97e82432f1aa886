#pragma once
// The markup label's scanner: a small HTML-like text split into runs of plain
// characters, line feeds, character entities and tags, and the values of the
// tags' attributes read. Pure; the layout makes the display list from it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "controls/colour.h"
#include "controls/dpi_scale.h"
#include "text/code_page.h"

// The character questions the scanner asks; the Win32 side answers with the
// system's functions, tests with a simulated code page.
class MarkupCharacters {
public:
    virtual ~MarkupCharacters() = default;
    virtual const CodePage& Page() const = 0;
    // Upper-cases tag and attribute text; trail bytes of double-byte characters stay.
    virtual void Upper(std::string& text) const = 0;
    virtual bool IsAlphaNumeric(unsigned char byte) const = 0;
};

// ASCII letters and digits over a given code page.
class AsciiMarkupCharacters final : public MarkupCharacters {
public:
    explicit AsciiMarkupCharacters(const CodePage& page) : page_(&page) {}
    const CodePage& Page() const override { return *page_; }
    void Upper(std::string& text) const override;
    bool IsAlphaNumeric(unsigned char byte) const override;

private:
    const CodePage* page_;
};

struct MarkupToken {
    enum Kind { kRun, kLineFeed, kEntity, kTag };
    Kind kind = kRun;
    std::size_t length = 0;  // bytes of the text
    char character = 0;      // the one an entity stands for
    // A tag's name and attribute text, upper-cased; only the first 126 bytes of
    // the attribute text are kept.
    std::string name, attributes;
};

class MarkupScanner {
public:
    MarkupScanner(std::string_view text, const MarkupCharacters& characters)
        : text_(text), characters_(characters) {}

    // The token where the scan stands, which it then steps over; false at the
    // end of the text. A "<" always opens a tag, to its ">" or the end; an "&"
    // that begins no entity is a character of a run.
    bool Next(MarkupToken& token);

private:
    void ReadTag(MarkupToken& token);
    unsigned Step(std::size_t at) const { return CharLength(characters_.Page(), text_.data(), at, text_.size()); }

    std::string_view text_;
    const MarkupCharacters& characters_;
    std::size_t at_ = 0;
};

// The value of the attribute " NAME" (name with its space) where it first
// stands in a tag's attribute text: none when it is not there, empty when no
// "=" follows it.
std::optional<std::string> MarkupAttribute(std::string_view attributes, std::string_view name,
                                           const MarkupCharacters& characters);

// The colours a layout reads: the base colours and the four that COLOR names.
struct MarkupColours {
    Colour text = 0, background = 0;
    Colour window = 0, windowText = 0, buttonFace = 0, buttonText = 0;
};

// The LOGFONT height for a SIZE value, at a DPI.
std::int32_t MarkupSizeHeight(std::string_view value, int dpi = kDesignDpi);
// A COLOR value: #RRGGBB, one of four system colour names, else black.
Colour MarkupColourValue(std::string_view value, const MarkupColours& colours);

// The longest prefix of at most limit bytes that cuts no character.
std::size_t CharacterPrefix(const CodePage& page, std::string_view text, std::size_t limit);
