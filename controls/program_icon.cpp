#include "controls/program_icon.h"

#include <algorithm>
#include <cmath>

std::vector<IconPixel> DrawProgramIcon(int size) {
    const IconPixel blue{0x1E, 0x6F, 0xD9, 255}, deep{0x12, 0x45, 0x94, 255}, white{0xFF, 0xFF, 0xFF, 255};
    std::vector<IconPixel> pixels;
    if (size <= 0 || size > 1024) return pixels;
    pixels.reserve(std::size_t(size) * std::size_t(size));
    // Designed on a 32-unit grid.
    const double s = size / 32.0, radius = 6 * s;
    const double slope = 7.0 / 8.0, across = std::pow(1 + slope * slope, 0.5);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double cx = x + 0.5, cy = y + 0.5;
            // a rounded square, one unit in from the edge
            double dx = std::max({radius + s - cx, 0.0, cx - (size - s - radius)});
            double dy = std::max({radius + s - cy, 0.0, cy - (size - s - radius)});
            if (dx * dx + dy * dy > radius * radius) {
                pixels.push_back(IconPixel{0, 0, 0, 0});
                continue;
            }
            double t = cy / size;
            auto channel = [t](int top, int bottom) { return std::uint8_t(int(top * (1 - t) + bottom * t)); };
            IconPixel colour{channel(blue.red, deep.red), channel(blue.green, deep.green),
                             channel(blue.blue, deep.blue), 255};
            // a chevron from (9, 9) to (17, 16) to (9, 23), and an underscore
            double u = cx / s, v = cy / s;
            double d1 = 9 <= u && u <= 17.5 && v <= 16.5 ? std::abs((v - 9) - (u - 9) * 7 / 8) / across : 99;
            double d2 = 9 <= u && u <= 17.5 && v >= 15.5 ? std::abs((v - 23) + (u - 9) * 7 / 8) / across : 99;
            bool bar = 18.5 <= u && u <= 24.5 && 20.5 <= v && v <= 23.5;
            pixels.push_back(std::min(d1, d2) <= 1.7 || bar ? white : colour);
        }
    return pixels;
}
