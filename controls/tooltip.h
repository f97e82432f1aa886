#pragma once
// The tooltip of one control. Its window is made when the control first gets
// a tip (a window costs time at start-up, and most controls never get one) and
// goes with the control.

#include <windows.h>

#include "framework/message_table.h"
#include "framework/owners.h"

class ToolTip {
public:
    // The one tip of control: over the whole control, or over area of its client
    // area. Replaces the tip set before. False when the window cannot be made.
    bool Show(HWND control, const char* text);
    bool Show(HWND control, const char* text, const RECT& area);
    // The tip stays set but does not show.
    void Deactivate();
    // Hands a mouse message of the control on, so the tip knows when to show.
    void Relay(const Message& m) const;
    // With the control's WM_DESTROY, while the handle still names the tip.
    void Destroy() { window_.Reset(); }

    HWND Handle() const { return window_.get(); }

private:
    bool Show(HWND control, TOOLINFOA& tool);

    OwnedWindow window_;
};
