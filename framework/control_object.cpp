#include "framework/control_object.h"

#include "text/system_conversion.h"

bool ControlObject::Attach(HWND control) {
    // Messages to another thread's window run there, where this object is unknown.
    if (!IsWindowOfThisThread(control) || window_) return false;
    if (form_ == ControlForm::Unicode) MakeUnicodeWindow(control);
    // Replacing the procedure through the ANSI call would make a Unicode control an ANSI one.
    wide_ = IsWindowUnicode(control) != FALSE;
    previousAnsi_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC));
    previousWide_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
    Bind(control);  // before the new procedure can see a message
    previous_ = wide_ ? reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC,
                                                                    reinterpret_cast<LONG_PTR>(WideProcedure)))
                      : reinterpret_cast<WNDPROC>(SetWindowLongPtrA(control, GWLP_WNDPROC,
                                                                    reinterpret_cast<LONG_PTR>(ControlProcedure)));
    if (!previous_) {
        Unbind();
        return false;
    }
    OnAttached();
    return true;
}

void ControlObject::Detach() {
    if (!window_) return;
    if (previous_ && IsWindow(window_)) {
        if (wide_) SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        else SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    }
    Unbind();
    previous_ = previousAnsi_ = previousWide_ = nullptr;
}

LRESULT ControlObject::CallPrevious(const Message& m) const {
    return wide_ ? CallWindowProcW(previous_, window_, m.id, m.wParam, m.lParam)
                 : CallWindowProcA(previous_, window_, m.id, m.wParam, m.lParam);
}

LRESULT ControlObject::CallPreviousAnsi(UINT id, WPARAM wParam, LPARAM lParam) const {
    return CallWindowProcA(previousAnsi_, window_, id, wParam, lParam);
}

LRESULT ControlObject::CallPreviousWide(UINT id, WPARAM wParam, LPARAM lParam) const {
    return CallWindowProcW(previousWide_, window_, id, wParam, lParam);
}

std::optional<std::string> ControlObject::TextParameter(LPARAM text) const {
    if (!text) return std::nullopt;
    if (wide_) return Narrow(reinterpret_cast<const wchar_t*>(text));
    return std::string(reinterpret_cast<const char*>(text));
}

LRESULT ControlObject::Dispatch(bool wide, HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<ControlObject*>(FromHandle(window));
    if (!self) return wide ? DefWindowProcW(window, id, wParam, lParam) : DefWindowProcA(window, id, wParam, lParam);

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

LRESULT CALLBACK ControlObject::ControlProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    return Dispatch(false, window, id, wParam, lParam);
}

LRESULT CALLBACK ControlObject::WideProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    return Dispatch(true, window, id, wParam, lParam);
}

// The control's own procedure, set again through the Unicode call.
bool MakeUnicodeWindow(HWND control) {
    if (!control) return false;
    if (!IsWindowUnicode(control)) {
        LONG_PTR own = GetWindowLongPtrW(control, GWLP_WNDPROC);
        if (own) SetWindowLongPtrW(control, GWLP_WNDPROC, own);
    }
    return IsWindowUnicode(control) != FALSE;
}

bool IsEnterKey(LPARAM message) {
    const auto* key = reinterpret_cast<const MSG*>(message);
    return key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN;
}
