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

INT_PTR DialogObject::RunModalWaiting(HINSTANCE instance, int templateId, HWND owner) {
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner, DialogProcedure,
                                     reinterpret_cast<LPARAM>(this));
    if (!dialog) return -1;
    ownLoop_ = true;
    ended_ = false;
    // Messages first, as GetMessage takes them: a wait only once none is left,
    // which is also when the process counts as waiting for input.
    MSG message;
    while (!ended_ && Handle()) {  // destroyed from outside, it ends too
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(int(message.wParam));  // for whoever runs the loop outside
                break;
            }
            // As the dialog manager's own loop: in UTF-16, so typed characters
            // reach a Unicode control whole.
            if (IsDialogMessageW(dialog, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
            continue;
        }
        HANDLE signal = SignalToWaitFor();
        if (MsgWaitForMultipleObjectsEx(signal ? 1 : 0, &signal, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
                WAIT_OBJECT_0 &&
            signal)
            OnSignalled();
    }
    ownLoop_ = false;
    if (Handle()) DestroyWindow(dialog);
    return result_;
}

void DialogObject::End(INT_PTR result) {
    if (!ownLoop_) {
        EndDialog(window_, result);
        return;
    }
    result_ = result;
    ended_ = true;
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
