#pragma once
#include <windows.h>

// Centres a window over its visible owner (a child: its parent), else over the
// primary work area, keeping it inside the work area.
void CenterWindow(HWND window);
