#include "framework/window_object.h"

namespace {
const char kObjectProperty[] = "Brisq.WindowObject";

HWND ChildOf(const Message& m) {
    switch (m.id) {
    case WM_COMMAND: return reinterpret_cast<HWND>(m.lParam);
    case WM_NOTIFY: return reinterpret_cast<const NMHDR*>(m.lParam)->hwndFrom;
    case WM_DRAWITEM: return reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam)->hwndItem;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
    case WM_HSCROLL:
    case WM_VSCROLL: return reinterpret_cast<HWND>(m.lParam);
    default: return nullptr;
    }
}
}  // namespace

WindowObject* WindowObject::FromHandle(HWND window) {
    return window ? static_cast<WindowObject*>(GetPropA(window, kObjectProperty)) : nullptr;
}

void WindowObject::Bind(HWND window) {
    window_ = window;
    SetPropA(window, kObjectProperty, this);
}

void WindowObject::Unbind() {
    if (window_) RemovePropA(window_, kObjectProperty);
    window_ = nullptr;
}

bool WindowObject::ReflectToChild(Message& m) {
    HWND child = ChildOf(m);
    if (!child || child == m.window) return false;
    WindowObject* object = FromHandle(child);
    if (!object) return false;
    Message reflected{child, m.id + kReflectedOffset, m.wParam, m.lParam};
    if (!object->ProcessMessage(reflected)) return false;
    m.result = reflected.result;
    return true;
}
