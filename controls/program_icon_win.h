#pragma once
#include <windows.h>

#include "framework/owners.h"

// The program's icon `size` pixels square: the icon resource's own picture
// at the sizes it holds (16, 32), drawn for any other (a DPI's), never stretched.
Icon LoadProgramIcon(HINSTANCE instance, int resource, int size);
