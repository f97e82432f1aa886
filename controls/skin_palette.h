#pragma once
#include <windows.h>

#include "controls/colour.h"

// The tint from the current system colours; the display's colour count is
// read once per process.
COLORREF SelectionTint();

// Fills SkinPalette::Instance() from the system colours; run once at start-up.
void InitSkinPalette();
