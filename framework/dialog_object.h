#pragma once
#include "framework/window_object.h"

// A modal dialog run from a template; the object is known to its window from
// WM_INITDIALOG on.
class DialogObject : public WindowObject {
public:
    WNDPROC WindowProcedure() const override { return nullptr; }  // dialogs run DialogProcedure

    // DialogBoxParamA's result: the value given to End, or -1 / 0 on failure.
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND owner);
    void End(INT_PTR result) { EndDialog(window_, result); }

    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam);
};
