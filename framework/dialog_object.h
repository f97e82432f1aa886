#pragma once
#include "framework/window_object.h"

// A modal dialog run from a template; the object is known to its window from
// WM_INITDIALOG on.
class DialogObject : public WindowObject {
public:
    WNDPROC WindowProcedure() const override { return nullptr; }  // dialogs run DialogProcedure

    // DialogBoxParamA's result: the value given to End, or -1 / 0 on failure.
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND owner);
    // The same, run by a loop of its own that also waits for the object's
    // SignalToWaitFor: the program's one loop then hears a kernel object's
    // signal without a thread to pass it on. -1 when the dialog cannot be made.
    INT_PTR RunModalWaiting(HINSTANCE instance, int templateId, HWND owner);
    void End(INT_PTR result);

    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam);

protected:
    // Asked before each wait of RunModalWaiting's loop; null waits for messages alone.
    virtual HANDLE SignalToWaitFor() const { return nullptr; }
    // That object was signalled.
    virtual void OnSignalled() {}

private:
    bool ownLoop_ = false;
    bool ended_ = false;
    INT_PTR result_ = 0;
};
