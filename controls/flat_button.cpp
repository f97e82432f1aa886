#include "controls/flat_button.h"

#include <windowsx.h>

#include <new>

#include "framework/module.h"

const MessageEntry<FlatButtonBase> FlatButtonBase::kMessages[] = {
    OnMessage(WM_DESTROY, &FlatButtonBase::OnDestroy),
    OnRange(WM_MOUSEMOVE, WM_XBUTTONDBLCLK, &FlatButtonBase::OnMouseRelay),
    OnMessage(WM_ERASEBKGND, &FlatButtonBase::OnEraseBackground),
    OnMessage(WM_PAINT, &FlatButtonBase::OnPaint),
    OnMessage(WM_PRINTCLIENT, &FlatButtonBase::OnPaint),
    OnMessage(WM_SETFOCUS, &FlatButtonBase::OnFocus),
    OnMessage(WM_KILLFOCUS, &FlatButtonBase::OnFocus),
    OnMessage(WM_LBUTTONDOWN, &FlatButtonBase::OnLeftButtonDown),
    OnMessage(WM_LBUTTONDBLCLK, &FlatButtonBase::OnLeftButtonDoubleClick),
    OnMessage(WM_LBUTTONUP, &FlatButtonBase::OnLeftButtonUp),
    OnMessage(WM_CAPTURECHANGED, &FlatButtonBase::OnCaptureChanged),
    OnMessage(WM_ENABLE, &FlatButtonBase::OnEnable),
    OnMessage(WM_MOUSEMOVE, &FlatButtonBase::OnMouseMove),
    OnMessage(WM_MOUSELEAVE, &FlatButtonBase::OnMouseLeave),
    OnMessage(WM_KEYDOWN, &FlatButtonBase::OnKey),
    OnMessage(WM_KEYUP, &FlatButtonBase::OnKey),
    OnMessage(WM_UPDATEUISTATE, &FlatButtonBase::OnUpdateUiState),
};

bool FlatButtonBase::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

bool FlatButtonBase::Attach(HWND button) {
    if (!ControlObject::Attach(button)) return false;
    Init();
    return true;
}

void FlatButtonBase::Init() {
    SetWindowLongPtrA(window_, GWL_STYLE, GetWindowLongPtrA(window_, GWL_STYLE) | BS_OWNERDRAW);
    if (tooltipText_) tooltip_.Show(window_, tooltipText_->c_str());
}

bool FlatButtonBase::SetToolTipText(const char* text) {
    tooltipText_.reset();
    if (!text) {
        tooltip_.Deactivate();
        return true;
    }
    try {
        tooltipText_.emplace(text);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (window_) tooltip_.Show(window_, tooltipText_->c_str());
    return true;
}

bool FlatButtonBase::SetImageFromBitmap(int size, int bitmapId, COLORREF maskColour) {
    imageList_.Reset();
    Bitmap bitmap(LoadBitmapA(Module::Instance(), MAKEINTRESOURCEA(bitmapId)));
    if (!bitmap) return false;
    HIMAGELIST list = ImageList_Create(size, size, ILC_MASK | ILC_COLOR16, 1, 1);
    if (!list) return false;
    imageList_.Reset(list);
    ImageList_AddMasked(list, bitmap.get(), maskColour);
    ImageList_GetIconSize(list, &imageWidth_, &imageHeight_);
    return true;
}

void FlatButtonBase::Repaint() {
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
}

void FlatButtonBase::OnDestroy(Message& m) {
    tooltip_.Destroy();
    m.handled = false;
}

void FlatButtonBase::OnMouseRelay(Message& m) {
    tooltip_.Relay(m);
    m.handled = false;
}

void FlatButtonBase::OnEraseBackground(Message& m) { m.result = 1; }

void FlatButtonBase::OnPaint(Message& m) {
    PaintDc dc(window_, reinterpret_cast<HDC>(m.wParam));
    if (dc.get()) DoPaint(dc.get());
    m.result = 0;
}

void FlatButtonBase::OnFocus(Message& m) {
    focused_ = m.id == WM_SETFOCUS;
    Repaint();
    m.handled = false;
}

void FlatButtonBase::OnLeftButtonDown(Message& m) {
    SetCapture(window_);
    if (HasCapture()) {
        pressed_ = true;
        Repaint();
    }
    m.result = 0;
}

void FlatButtonBase::OnLeftButtonDoubleClick(Message& m) {
    if (!HasCapture()) SetCapture(window_);
    if (!pressed_) {
        pressed_ = true;
        Repaint();
    }
    m.result = 0;
}

void FlatButtonBase::OnLeftButtonUp(Message& m) {
    if (HasCapture()) {
        if (pressed_) {
            HWND self = window_;
            SendMessageA(GetParent(self), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), BN_CLICKED),
                         reinterpret_cast<LPARAM>(self));
        }
        ReleaseCapture();
    }
    m.result = 0;
}

void FlatButtonBase::OnCaptureChanged(Message& m) {
    if (pressed_) {
        pressed_ = false;
        Repaint();
    }
    m.handled = false;
}

void FlatButtonBase::OnEnable(Message& m) {
    Repaint();
    m.handled = false;
}

void FlatButtonBase::OnMouseMove(Message& m) {
    if (HasCapture()) {
        POINT cursor{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
        ClientToScreen(window_, &cursor);
        RECT bounds{};
        GetWindowRect(window_, &bounds);
        bool inside = PtInRect(&bounds, cursor) != FALSE;
        if (inside != pressed_) {
            pressed_ = inside;
            Repaint();
        }
    } else if (!mouseOver_) {
        mouseOver_ = true;
        Repaint();
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
        TrackMouseEvent(&track);
    }
    m.handled = false;
}

void FlatButtonBase::OnMouseLeave(Message& m) {
    if (mouseOver_) {
        mouseOver_ = false;
        Repaint();
    }
    m.result = 0;
}

void FlatButtonBase::OnKey(Message& m) {
    // In hover mode Space does not press the button.
    if (m.wParam == VK_SPACE) m.result = 0;
    else m.handled = false;
}

void FlatButtonBase::OnUpdateUiState(Message& m) { m.result = 0; }
