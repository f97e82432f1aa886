#pragma once
// The DPI a window is drawn at. The manifest makes the program aware of each
// monitor's DPI where the system has one per monitor (Windows 10 1607 on) and of
// the system DPI before that; these calls ask what the running system offers.

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

// The window's monitor's DPI, else the system's.
int WindowDpi(HWND window);
// The DPI every window of this process starts at: the system's, as the process sees it.
int SystemDpi();
// A system metric (SM_CXSMICON, ...) at a DPI; where the system cannot say,
// its own metric scaled from the system DPI.
int SystemMetricAtDpi(int index, int dpi);
// Lets the launcher rebuild itself alone on a DPI change: the dialog manager
// would otherwise move its controls and change its font by the template.
void KeepDialogLayoutOnDpiChange(HWND dialog);
