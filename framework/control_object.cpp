#include "framework/control_object.h"

bool ControlObject::Attach(HWND control) {
    // Messages to another thread's window run there, where this object is unknown.
    if (!IsWindowOfThisThread(control) || window_) return false;
    Bind(control);  // before the new procedure can see a message
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProcedure)));
    if (!previous_) {
        Unbind();
        return false;
    }
    return true;
}

void ControlObject::Detach() {
    if (!window_) return;
    if (previous_ && IsWindow(window_))
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    Unbind();
    previous_ = nullptr;
}

LRESULT ControlObject::CallPrevious(const Message& m) const {
    return CallPrevious(m.id, m.wParam, m.lParam);
}

LRESULT ControlObject::CallPrevious(UINT id, WPARAM wParam, LPARAM lParam) const {
    return CallWindowProcA(previous_, window_, id, wParam, lParam);
}

LRESULT ControlObject::CallPreviousWide(UINT id, WPARAM wParam, LPARAM lParam) const {
    return CallWindowProcW(previous_, window_, id, wParam, lParam);
}

LRESULT CALLBACK ControlObject::ControlProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<ControlObject*>(FromHandle(window));
    if (!self) return DefWindowProcA(window, id, wParam, lParam);

    Message m{window, id, wParam, lParam};
    CheckNotification(m);
    bool handled = false;
    try {  // nothing may unwind through USER32
        handled = !IsReflection(id) && self->ProcessMessage(m);  // a reflection from outside is no notification
    } catch (...) {
        handled = false;
    }
    LRESULT result = handled ? m.result : self->CallPrevious(m);
    if (id == WM_NCDESTROY) {
        self->Detach();
        self->OnFinalMessage(window);
    }
    return result;
}
