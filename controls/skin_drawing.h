#pragma once
// The launcher's skin, drawn at any DPI: a white panel with a grey border, a
// shadow to the right and below, cut corners and the product's lettering, with
// the key colour (magenta) outside. Drawn for each DPI, not stretched.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "controls/colour.h"

enum SkinInk : std::uint8_t { kSkinKey, kSkinPanel, kSkinBorder, kSkinShadowNear, kSkinShadowFar, kSkinLetters };

// The colour of each ink, in the order above.
inline constexpr Colour kSkinPalette[] = {MakeColour(0xFF, 0x00, 0xFF), MakeColour(0xFF, 0xFF, 0xFF),
                                          MakeColour(0x8C, 0x8C, 0x8C), MakeColour(0xA8, 0xA8, 0xA8),
                                          MakeColour(0xD4, 0xD4, 0xD4), MakeColour(0x1E, 0x5A, 0xB4)};

struct SkinPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> inks;  // one SkinInk per pixel, rows top first

    SkinInk At(int x, int y) const { return SkinInk(inks[std::size_t(y) * std::size_t(width) + std::size_t(x)]); }
};

// The skin's size at 96 DPI.
inline constexpr int kSkinWidth = 491, kSkinHeight = 62;

struct SkinSize {
    int width = 0, height = 0;
};
// kSkinWidth x kSkinHeight, scaled to the DPI.
SkinSize SkinSizeAt(int dpi);

// The skin at the DPI, every length scaled to it and lines at least one pixel:
// SkinSizeAt(dpi) of inks into rows `stride` bytes apart, top row first.
void DrawSkin(int dpi, std::uint8_t* rows, std::size_t stride);
// The same as a picture of its own.
SkinPicture DrawSkin(int dpi);
