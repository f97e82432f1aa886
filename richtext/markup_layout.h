#pragma once
// The markup label's layout and replay: what the scanner finds in the text
// turned into a display list (fonts, styles and drawing commands) and drawn
// over a device that creates fonts, measures and draws. Pure, so it is tested
// and fuzzed on the host; the Win32 label supplies a GDI device.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "controls/colour.h"
#include "controls/dpi_scale.h"
#include "richtext/markup_scanner.h"
#include "text/code_page.h"

// A font as the layout describes it: the fields of the system's logical font,
// so the Win32 side copies them one to one.
struct FontDescription {
    std::int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
    std::uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    char faceName[32] = {};

    bool operator==(const FontDescription&) const = default;
};

struct MarkupFont {
    FontDescription description;
    int height = 0;  // the character cell height of the font made from it
};

// Alignments are the values of DT_LEFT, DT_CENTER and DT_RIGHT.
enum : std::int32_t { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

struct MarkupStyle {
    std::int32_t font = 0;
    Colour text = 0;
    Colour background = 0;
    std::int32_t alignment = kAlignLeft;

    bool operator==(const MarkupStyle&) const = default;
};

struct MarkupCommand {
    enum Kind : std::int32_t { kText = 0, kEntity = 1, kStyle = 2, kBreak = 3 };
    std::int32_t kind;
    std::int32_t length;  // bytes of the text the command stands for
    // text: the height a wrap moves down; entity: the character; style: its
    // index; break: the height of the line it ends (0: still to be measured).
    std::int32_t value;

    bool operator==(const MarkupCommand&) const = default;
};

struct MarkupRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const MarkupRect&) const = default;
};

// What a layout depends on; a paint lays out again when any of it changed.
struct MarkupCacheKey {
    MarkupRect client;
    Colour text = 0, background = 0;
    std::uint64_t font = 0;  // the base font's handle
    std::uint32_t hash = 0;
    std::uint64_t length = 0;  // a cheap guard against two texts with one hash
    std::int32_t dpi = kDesignDpi;  // the SIZE heights follow it

    bool operator==(const MarkupCacheKey&) const = default;
};

struct TextSize {
    int width = 0, height = 0;
};

// Where the layout makes its fonts and the replay measures and draws.
class MarkupDevice {
public:
    virtual ~MarkupDevice() = default;
    // Forgets every font of the last layout.
    virtual void ClearFonts() = 0;
    // Makes the next font of the table, selects it and returns its character height.
    virtual int AddFont(const FontDescription& description) = 0;
    virtual void SelectStyle(const MarkupStyle& style) = 0;
    // The extent of text in the selected font.
    virtual TextSize Measure(std::string_view text) = 0;
    // Draws text on one line from (x, y) towards the right and bottom edges of
    // the client rectangle, placed there by the alignment.
    virtual void Draw(int x, int y, std::string_view text, std::int32_t alignment) = 0;
};

// h = h * 33 + b over the bytes, each taken as signed, modulo 2^32.
std::uint32_t MarkupTextHash(std::string_view text);

class MarkupLayout {
public:
    bool NeedsLayout(const MarkupCacheKey& key) const { return needsLayout_ || !(key == key_); }

    // Builds the tables for text (up to its first NUL) and stores the key.
    void Layout(std::string_view text, const MarkupCacheKey& key, const FontDescription& baseFont,
                const MarkupColours& colours, const MarkupCharacters& characters, MarkupDevice& device);
    // Draws the display list over the text it was made from, starting at the
    // client rectangle's top-left corner.
    void Replay(std::string_view text, const MarkupRect& client, const CodePage& page, MarkupDevice& device);
    // What the display list draws of the text it was made from, without its
    // tags: runs and entities as their characters, each line break a line feed.
    std::string PlainText(std::string_view text) const;

    const std::vector<MarkupFont>& Fonts() const { return fonts_; }
    const std::vector<MarkupStyle>& Styles() const { return styles_; }
    const std::vector<MarkupCommand>& Commands() const { return commands_; }
    const MarkupCacheKey& Key() const { return key_; }
    // How many layouts ran, so a caller can see a repaint that needed none.
    unsigned LayoutCount() const { return layouts_; }

private:
    class Pass;
    void DrawRun(std::string_view run, std::int32_t wrapHeight, const MarkupRect& client, const CodePage& page,
                 MarkupDevice& device);

    MarkupCacheKey key_;
    bool needsLayout_ = true;
    std::vector<MarkupFont> fonts_;
    std::vector<MarkupStyle> styles_;
    std::vector<MarkupCommand> commands_;
    std::vector<std::int32_t> styleStack_;
    unsigned layouts_ = 0;

    // The replay's pen and alignment.
    long long penX_ = 0, penY_ = 0;
    std::int32_t alignment_ = kAlignLeft;
};
