#include "controls/skin_drawing.h"

#include <algorithm>

#include "controls/dpi_scale.h"

namespace {
// 5 x 9 letters, baseline under row 6; '#' is ink.
struct Glyph {
    char letter;
    const char* rows[9];
};
const Glyph kLettering[] = {
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####.", ".....", "....."}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#....", ".....", "....."}},
    {'i', {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####.", ".....", "....."}},
    {'q', {".....", ".....", ".####", "#...#", "#...#", ".####", "....#", "....#", "....#"}},
};

// A box with its corners cut off diagonally, `cut` pixels deep.
struct Octagon {
    int left, top, right, bottom, cut;  // inclusive edges

    // How far inside a pixel lies: 0 on the outline, negative outside.
    int Depth(int x, int y) const {
        int dx = std::min(x - left, right - x), dy = std::min(y - top, bottom - y);
        return std::min({dx, dy, dx + dy - cut});
    }
    bool Contains(int x, int y) const { return Depth(x, y) >= 0; }
};
}  // namespace

SkinSize SkinSizeAt(int dpi) {
    return {std::max(1, ScaleToDpi(kSkinWidth, dpi)), std::max(1, ScaleToDpi(kSkinHeight, dpi))};
}

void DrawSkin(int dpi, std::uint8_t* rows, std::size_t stride) {
    auto s = [dpi](int length) { return std::max(1, ScaleToDpi(length, dpi)); };
    const auto [width, height] = SkinSizeAt(dpi);
    const int line = s(1);  // the border's and the near shadow's width
    const Octagon panel{s(2), s(2), width - 1 - s(3), height - 1 - s(3), s(5)};
    const Octagon shadow{s(4), s(4), width - 1 - s(1), height - 1 - s(1), s(5)};
    auto ink = [&](int x, int y) -> std::uint8_t& { return rows[std::size_t(y) * stride + std::size_t(x)]; };

    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t& pixel = ink(x, y) = kSkinKey;
            int depth = panel.Depth(x, y);
            if (depth >= 0) {
                pixel = depth < line ? kSkinBorder : kSkinPanel;
            } else if (shadow.Contains(x, y)) {
                bool near = false;
                for (int dy = -line; dy <= line && !near; ++dy)
                    for (int dx = -line; dx <= line && !near; ++dx) near = panel.Contains(x + dx, y + dy);
                pixel = near ? kSkinShadowNear : kSkinShadowFar;
            }
        }

    // The lettering in whole blocks, so it stays as crisp as at 96 DPI.
    const int block = s(2), left = s(11), top = s(6);
    int column = 0;
    for (const Glyph& glyph : kLettering) {
        for (int gy = 0; gy < 9; ++gy)
            for (int gx = 0; gx < 5; ++gx) {
                if (glyph.rows[gy][gx] != '#') continue;
                for (int by = 0; by < block; ++by)
                    for (int bx = 0; bx < block; ++bx) {
                        int x = left + (column + gx) * block + bx, y = top + gy * block + by;
                        if (x < width && y < height && ink(x, y) == kSkinPanel) ink(x, y) = kSkinLetters;
                    }
            }
        column += 6;
    }
}

SkinPicture DrawSkin(int dpi) {
    const SkinSize size = SkinSizeAt(dpi);
    SkinPicture picture{size.width, size.height, {}};
    picture.inks.resize(std::size_t(size.width) * std::size_t(size.height));
    DrawSkin(dpi, picture.inks.data(), std::size_t(size.width));
    return picture;
}
