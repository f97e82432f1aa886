#include "app/launcher_layout.h"

namespace {
// At 96 DPI: template 129's dialog units in its 8-point font, 6 x 13 base units.
const PixelRect kCommandBox{12, 31, 480, 577};
const PixelRect kCloseButton{464, 7, 484, 25};
const PixelRect kAboutButton{440, 7, 460, 25};
const PixelRect kSettingsButton{416, 7, 436, 25};
const int kCommandFieldHeight = 21;
}  // namespace

int SaneDpi(int dpi) { return dpi < kDesignDpi / 2 ? kDesignDpi / 2 : dpi > 8 * kDesignDpi ? 8 * kDesignDpi : dpi; }

LauncherLayout LayOutLauncher(int dpi) {
    LauncherLayout layout;
    layout.commandBox = ScaleToDpi(kCommandBox, dpi);
    layout.closeButton = ScaleToDpi(kCloseButton, dpi);
    layout.aboutButton = ScaleToDpi(kAboutButton, dpi);
    layout.settingsButton = ScaleToDpi(kSettingsButton, dpi);
    layout.commandFieldHeight = ScaleToDpi(kCommandFieldHeight, dpi);
    return layout;
}
