#pragma once
// The program's icon drawn at any size: a rounded blue tile with a white
// prompt. The icon resource holds it at 16 and 32 pixels (res/draw_pictures.py);
// the tray and the About dialog draw the other sizes a DPI asks for, sharp.

#include <cstdint>
#include <vector>

struct IconPixel {
    std::uint8_t red, green, blue, alpha;
    bool operator==(const IconPixel&) const = default;
};

// size x size pixels, rows top first; alpha 0 outside the tile, 255 inside.
std::vector<IconPixel> DrawProgramIcon(int size);
