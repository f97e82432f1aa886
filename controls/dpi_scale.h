#pragma once
// Sizes at a display's DPI. Everything the program draws is designed at 96 DPI
// (100 %); these rules give its size and picture at any other.

constexpr int kDesignDpi = 96;

// value * dpi / 96, halves away from zero (as MulDiv rounds).
int ScaleToDpi(int value, int dpi);

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};
// Each edge scaled, so rectangles that meet at 96 DPI still meet.
PixelRect ScaleToDpi(const PixelRect& rect, int dpi);

// The scales, in per cent, at which res/draw_pictures.py draws the small pictures.
inline constexpr int kDrawnScales[] = {100, 125, 150, 175, 200};

// Which drawn picture a DPI shows: the one drawn at `scale` per cent, enlarged
// `factor` times pixel by pixel. The largest that is not larger than the DPI
// asks for, so it always fits the room laid out for it and is never blurred;
// between two drawn scales it is the lower one, above 200 % a whole multiple.
struct PictureChoice {
    int scale = 100;
    int factor = 1;
    bool operator==(const PictureChoice&) const = default;
};
PictureChoice ChoosePicture(int dpi);

// The side of a picture designed `designSize` pixels wide, as chosen.
int PictureSize(int designSize, const PictureChoice& choice);

// The resource id of the picture `baseId` drawn at a scale: the 100 % one keeps
// its id, the others follow it in steps of 1000 (res/resource.h).
int PictureResourceId(int baseId, int scale);
