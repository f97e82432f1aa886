#pragma once
#include <optional>
#include <string>

#include "framework/window_object.h"

// The form a control's messages take once it is taken over: its own, or
// UTF-16, so typed or pasted characters arrive whole whatever their code page.
enum class ControlForm { Own, Unicode };

// Takes over an existing control (subclassing); every message its table does
// not handle goes to the control's previous procedure. A Unicode control stays
// one: its messages then arrive in their UTF-16 form, typed characters whole.
class ControlObject : public WindowObject {
public:
    explicit ControlObject(ControlForm form = ControlForm::Own) : form_(form) {}
    ~ControlObject() override { Detach(); }

    // Takes the control over and runs the class's own set-up, all or nothing:
    // a control that cannot be taken over is left as it was.
    bool Attach(HWND control);
    void Detach();
    WNDPROC WindowProcedure() const override { return wide_ ? WideProcedure : ControlProcedure; }

    // The control's own behaviour for a message that reached this object.
    LRESULT CallPrevious(const Message& m) const;
    // The same for parameters of the caller's own: ANSI, or UTF-16. The system
    // converts them to what the control speaks.
    LRESULT CallPreviousAnsi(UINT id, WPARAM wParam, LPARAM lParam) const;
    LRESULT CallPreviousWide(UINT id, WPARAM wParam, LPARAM lParam) const;
    // A text parameter of a message that reached this object, in the process's
    // code page whatever form it came in; none for a null one.
    std::optional<std::string> TextParameter(LPARAM text) const;

    static LRESULT CALLBACK ControlProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WideProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam);

protected:
    // The class's own set-up, run by Attach once the control is taken over:
    // the control already exists, so no creation message reaches the object.
    virtual void OnAttached() {}

private:
    static LRESULT Dispatch(bool wide, HWND window, UINT id, WPARAM wParam, LPARAM lParam);

    WNDPROC previous_ = nullptr;      // in the control's own form
    WNDPROC previousAnsi_ = nullptr;  // the same, for ANSI parameters
    WNDPROC previousWide_ = nullptr;  // the same, for UTF-16 parameters
    bool wide_ = false;
    ControlForm form_;
};

// Makes a control that takes typed or pasted text a Unicode window, so a
// character arrives whole whatever its code page: an ANSI window is handed
// each typed character converted to the keyboard's code page, one unit at a time.
bool MakeUnicodeWindow(HWND control);

// True when the key message a WM_GETDLGCODE names (its lParam) is Enter, down
// or typed: a control answers DLGC_WANTMESSAGE to take it, or the dialog
// presses its default button.
bool IsEnterKey(LPARAM message);
