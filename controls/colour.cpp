#include "controls/colour.h"

#include <algorithm>
#include <cstdlib>

int RoundedMulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    long long product = static_cast<long long>(a) * b;
    bool negative = (product < 0) != (c < 0);
    long long n = std::llabs(product), d = std::llabs(static_cast<long long>(c));
    long long q = (2 * n + d) / (2 * d);
    return static_cast<int>(negative ? -q : q);
}

namespace {
template <class Channel>
Colour PerChannel(Colour c, Channel f) {
    return MakeColour(f(RedOf(c)), f(GreenOf(c)), f(BlueOf(c)));
}
}  // namespace

Colour BlendColour(Colour a, Colour b, int weight) {
    if (b == kInvalidColour) return kInvalidColour;
    auto mix = [weight](int x, int y) { return (x * (255 - weight) + y * weight) / 256; };
    return MakeColour(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

Colour DarkenColour(int amount, Colour colour) {
    return PerChannel(colour, [amount](int ch) { return RoundedMulDiv(ch, 255 - amount, 255); });
}

Colour LightenColour(int amount, Colour colour) {
    return PerChannel(colour, [amount](int ch) { return ch + RoundedMulDiv(255 - ch, amount, 255); });
}

Colour MixColours(Colour a, Colour b) {
    auto mix = [](int x, int y) { return std::min(255, RoundedMulDiv(7, x, 10) + RoundedMulDiv(3, y, 10)); };
    return MakeColour(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

int DisplayColourCount::Get() {
    if (!known_) {
        count_ = read_ ? read_() : -1;
        if (count_ == -1) count_ = 64000;  // more than a palette holds
        known_ = true;
    }
    return count_;
}

Colour SelectionTint(Colour window, Colour highlight, DisplayColourCount& colours) {
    if (colours.Get() <= 256) return window;
    return MixColours(window, highlight);
}

SkinPalette& SkinPalette::Instance() {
    static SkinPalette palette;
    return palette;
}

SkinPalette ComputeSkinPalette(const SystemColours& system, DisplayColourCount& colours) {
    SkinPalette p;
    p.frameColour = system.highlight;
    p.pressedTop = SelectionTint(system.window, system.highlight, colours);
    p.pressedBottom = LightenColour(80, SelectionTint(system.window, system.highlight, colours));
    p.hotTop = SelectionTint(system.window, system.highlight, colours);
    p.hotBottom = DarkenColour(20, p.hotTop);
    p.iconShadow = BlendColour(system.buttonFace, system.windowText, 100);
    return p;
}
