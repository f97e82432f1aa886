#include "framework/dialog_object.h"

namespace {
// Messages whose result a dialog procedure returns directly instead of
// through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT id) {
    switch (id) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON: return true;
    default: return false;
    }
}
}  // namespace

INT_PTR DialogObject::RunModal(HINSTANCE instance, int templateId, HWND owner) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, DialogProcedure,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogObject::DialogProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<DialogObject*>(FromHandle(window));
    if (id == WM_INITDIALOG) {
        if (self) return FALSE;  // a second one comes from outside, with an address of its own
        self = reinterpret_cast<DialogObject*>(lParam);
        self->Bind(window);
    }
    if (!self || IsReflection(id)) return FALSE;

    Message m{window, id, wParam, lParam};
    CheckNotification(m);
    bool handled = false;
    try {  // nothing may unwind through the dialog manager
        handled = self->ProcessMessage(m);
    } catch (...) {
        handled = false;
    }
    if (id == WM_NCDESTROY) {
        self->Unbind();
        self->OnFinalMessage(window);
    }
    if (!handled) return FALSE;
    if (ReturnsResultDirectly(id)) return static_cast<INT_PTR>(m.result);
    SetWindowLongPtrA(window, DWLP_MSGRESULT, m.result);
    return TRUE;
}
