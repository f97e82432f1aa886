#pragma once
// Where the launcher's controls lie on its skin, at any DPI. At 96 DPI these
// are the places dialog template 129 gives them; at others, the same places
// scaled with the skin, so the command box and the caption buttons stay on the panel.

#include "controls/dpi_scale.h"

struct LauncherLayout {
    PixelRect commandBox;        // its height is that of the dropped list
    int commandFieldHeight = 0;  // the box's own field
    PixelRect closeButton, aboutButton, settingsButton;
};

// A DPI as a window may be asked to take it: within what displays offer, so a
// forged message cannot make the skin enormous.
int SaneDpi(int dpi);

LauncherLayout LayOutLauncher(int dpi);
