#pragma once
#include "framework/window_object.h"

// Takes over an existing control (subclassing); every message its table does
// not handle goes to the control's previous procedure.
class ControlObject : public WindowObject {
public:
    ~ControlObject() override { Detach(); }

    bool Attach(HWND control);
    void Detach();
    WNDPROC WindowProcedure() const override { return ControlProcedure; }

    // The control's own behaviour for a message.
    LRESULT CallPrevious(const Message& m) const;
    LRESULT CallPrevious(UINT id, WPARAM wParam, LPARAM lParam) const;
    // The same with UTF-16 parameters, for messages whose ANSI form the system mishandles.
    LRESULT CallPreviousWide(UINT id, WPARAM wParam, LPARAM lParam) const;

    static LRESULT CALLBACK ControlProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam);

private:
    WNDPROC previous_ = nullptr;
};
