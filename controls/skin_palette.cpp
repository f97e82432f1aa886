#include "controls/skin_palette.h"

#include "framework/owners.h"

namespace {
int ReadScreenColours() {
    WindowDc screen(nullptr);
    return screen.get() ? GetDeviceCaps(screen.get(), NUMCOLORS) : -1;
}

DisplayColourCount& DisplayColours() {
    static DisplayColourCount count(ReadScreenColours);
    return count;
}
}  // namespace

COLORREF SelectionTint() {
    return SelectionTint(GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_HIGHLIGHT), DisplayColours());
}

void InitSkinPalette() {
    SystemColours system{GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_BTNFACE),
                         GetSysColor(COLOR_WINDOWTEXT)};
    SkinPalette::Instance() = ComputeSkinPalette(system, DisplayColours());
}
