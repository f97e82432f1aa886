#pragma once
// Colour arithmetic of the skin and the flat buttons. Colours are colour
// references: red in the low byte, then green, then blue.

#include <cstdint>

using Colour = std::uint32_t;

// All bits set: "no colour".
constexpr Colour kInvalidColour = 0xFFFFFFFF;

constexpr Colour MakeColour(int red, int green, int blue) {
    return Colour(red & 0xFF) | Colour(green & 0xFF) << 8 | Colour(blue & 0xFF) << 16;
}
constexpr int RedOf(Colour c) { return c & 0xFF; }
constexpr int GreenOf(Colour c) { return c >> 8 & 0xFF; }
constexpr int BlueOf(Colour c) { return c >> 16 & 0xFF; }

// a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0.
int RoundedMulDiv(int a, int b, int c);

// Each channel (a * (255 - weight) + b * weight) / 256, truncated.
Colour BlendColour(Colour a, Colour b, int weight);
Colour DarkenColour(int amount, Colour colour);
Colour LightenColour(int amount, Colour colour);
// 70 % of a and 30 % of b, each channel at most 255.
Colour MixColours(Colour a, Colour b);

// The number of colours of the display, read on first use and kept.
class DisplayColourCount {
public:
    using Reader = int (*)();
    explicit DisplayColourCount(Reader read) : read_(read) {}
    int Get();

private:
    Reader read_;
    int count_ = 0;
    bool known_ = false;
};

// The selection's tint: the window colour on palette displays, otherwise the
// window colour mixed with a little of the highlight.
Colour SelectionTint(Colour window, Colour highlight, DisplayColourCount& colours);

struct SystemColours {
    Colour highlight, window, buttonFace, windowText;
};

// Button colours shared by the caption and icon buttons.
struct SkinPalette {
    Colour frameColour = 0;
    Colour pressedTop = 0;
    Colour pressedBottom = 0;
    Colour hotTop = 0;
    Colour hotBottom = 0;
    Colour iconShadow = 0;

    static SkinPalette& Instance();
};

SkinPalette ComputeSkinPalette(const SystemColours& system, DisplayColourCount& colours);
