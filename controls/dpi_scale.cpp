#include "controls/dpi_scale.h"

#include <algorithm>
#include <iterator>

#include "controls/colour.h"

int ScaleToDpi(int value, int dpi) { return RoundedMulDiv(value, dpi, kDesignDpi); }

PixelRect ScaleToDpi(const PixelRect& rect, int dpi) {
    return PixelRect{ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.right, dpi),
                     ScaleToDpi(rect.bottom, dpi)};
}

PictureChoice ChoosePicture(int dpi) {
    PictureChoice best;
    dpi = std::min(dpi, 16 * kDesignDpi);  // no display asks for more; keeps the products small
    // A whole multiple k of a drawn scale s fits when s * k * 96 <= dpi * 100; of
    // equal sizes the one enlarged least wins.
    for (int factor = 1; 100 * factor * kDesignDpi <= dpi * 100; ++factor)
        for (int scale : kDrawnScales)
            if (scale * factor * kDesignDpi <= dpi * 100 && scale * factor > best.scale * best.factor)
                best = PictureChoice{scale, factor};
    return best;
}

int PictureSize(int designSize, const PictureChoice& choice) {
    return (designSize * choice.scale + 50) / 100 * choice.factor;
}

int PictureResourceId(int baseId, int scale) {
    for (int step = 0; step < int(std::size(kDrawnScales)); ++step)
        if (kDrawnScales[step] == scale) return baseId + 1000 * step;
    return baseId;
}
