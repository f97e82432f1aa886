#pragma once
// A device for the markup layout without a screen: a font's cell height is its
// description's height, each byte is half that wide (two more when bold), and
// every drawn piece is recorded.

#include <string>
#include <string_view>
#include <vector>

#include "richtext/markup_layout.h"

class FakeMarkupDevice final : public MarkupDevice {
public:
    struct Piece {
        int x, y;
        std::string text;
        std::int32_t alignment;
        FontDescription font;
        Colour colour;
    };

    static int CellHeight(const FontDescription& font) { return font.height; }
    static int ByteWidth(const FontDescription& font) { return font.height / 2 + (font.weight >= 700 ? 2 : 0); }

    void ClearFonts() override { fonts.clear(); }
    int AddFont(const FontDescription& description) override {
        fonts.push_back(description);
        selected = description;
        return CellHeight(description);
    }
    void SelectStyle(const MarkupStyle& style) override {
        selected = fonts.at(std::size_t(style.font));
        colour = style.text;
    }
    TextSize Measure(std::string_view text) override {
        ++measures;
        if (text == "X") ++measuresOfX;
        return TextSize{int(text.size()) * ByteWidth(selected), CellHeight(selected)};
    }
    void Draw(int x, int y, std::string_view text, std::int32_t alignment) override {
        pieces.push_back({x, y, std::string(text), alignment, selected, colour});
    }

    std::vector<FontDescription> fonts;
    FontDescription selected;
    Colour colour = 0;
    std::vector<Piece> pieces;
    int measures = 0;
    int measuresOfX = 0;
};
