#include "controls/flat_button.h"

#include <windowsx.h>

#include <new>

#include "controls/dpi_scale.h"
#include "framework/dpi.h"
#include "framework/accessible_name.h"
#include "framework/module.h"

namespace {
// How far inside the edge the focus cue runs: clear of the frames both kinds draw.
const int kFocusCueInset = 2;
// lParam of a key message: the key was already down (a repeat).
const LPARAM kKeyWasDown = LPARAM(1) << 30;
}  // namespace

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
    OnMessage(WM_KEYDOWN, &FlatButtonBase::OnKeyDown),
    OnMessage(WM_KEYUP, &FlatButtonBase::OnKeyUp),
    OnMessage(WM_CHAR, &FlatButtonBase::OnChar),
    OnMessage(WM_GETDLGCODE, &FlatButtonBase::OnGetDlgCode),
    OnMessage(WM_GETOBJECT, &FlatButtonBase::OnGetObject),
    OnMessage(WM_UPDATEUISTATE, &FlatButtonBase::OnUpdateUiState),
    OnMessage(WM_DPICHANGED_AFTERPARENT, &FlatButtonBase::OnDpiChanged),
};

bool FlatButtonBase::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

void FlatButtonBase::OnAttached() {
    dpi_ = WindowDpi(window_);
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
    picture_ = Picture{size, bitmapId, maskColour};
    return BuildImageList();
}

void FlatButtonBase::SetDpi(int dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    if (picture_) BuildImageList();
    if (window_) Repaint();
}

// The picture drawn for the DPI, or the next smaller one enlarged by whole pixels.
bool FlatButtonBase::BuildImageList() {
    imageList_.Reset();
    imageWidth_ = imageHeight_ = 0;
    PictureChoice choice = ChoosePicture(dpi_);
    Bitmap bitmap(LoadBitmapA(Module::Instance(), MAKEINTRESOURCEA(PictureResourceId(picture_->bitmapId, choice.scale))));
    if (!bitmap && choice.scale != 100) {  // a picture drawn at 100 % only
        choice = PictureChoice{100, choice.factor};
        bitmap.Reset(LoadBitmapA(Module::Instance(), MAKEINTRESOURCEA(picture_->bitmapId)));
    }
    if (!bitmap) return false;
    const int size = PictureSize(picture_->size, choice);
    if (choice.factor > 1) {
        BITMAP drawn{};
        GetObjectA(bitmap.get(), sizeof(drawn), &drawn);
        WindowDc screen(nullptr);
        MemoryDc from(screen.get()), to(screen.get());
        Bitmap enlarged(CreateCompatibleBitmap(screen.get(), drawn.bmWidth * choice.factor, drawn.bmHeight * choice.factor));
        if (!enlarged || !from || !to) return false;
        {
            SelectionGuard keepFrom(from.get(), bitmap.get()), keepTo(to.get(), enlarged.get());
            SetStretchBltMode(to.get(), COLORONCOLOR);
            StretchBlt(to.get(), 0, 0, drawn.bmWidth * choice.factor, drawn.bmHeight * choice.factor, from.get(), 0, 0,
                       drawn.bmWidth, drawn.bmHeight, SRCCOPY);
        }
        bitmap = std::move(enlarged);
    }
    HIMAGELIST list = ImageList_Create(size, size, ILC_MASK | ILC_COLOR16, 1, 1);
    if (!list) return false;
    imageList_.Reset(list);
    ImageList_AddMasked(list, bitmap.get(), picture_->mask);
    ImageList_GetIconSize(list, &imageWidth_, &imageHeight_);
    return true;
}

void FlatButtonBase::OnDpiChanged(Message& m) {
    SetDpi(WindowDpi(window_));
    m.handled = false;
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
    if (dc.get()) {
        DoPaint(dc.get());
        DrawFocusCue(dc.get());
    }
    m.result = 0;
}

void FlatButtonBase::DrawFocusCue(HDC dc) {
    if (!focused_ || (SendMessageA(window_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) return;
    RECT cue{};
    GetClientRect(window_, &cue);
    InflateRect(&cue, -kFocusCueInset, -kFocusCueInset);
    if (cue.right <= cue.left || cue.bottom <= cue.top) return;
    COLORREF text = SetTextColor(dc, RGB(0, 0, 0)), back = SetBkColor(dc, RGB(0xFF, 0xFF, 0xFF));
    DrawFocusRect(dc, &cue);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}

void FlatButtonBase::Click() {
    HWND self = window_;
    SendMessageA(GetParent(self), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), BN_CLICKED),
                 reinterpret_cast<LPARAM>(self));
}

void FlatButtonBase::OnFocus(Message& m) {
    focused_ = m.id == WM_SETFOCUS;
    if (!focused_ && HasCapture()) ReleaseCapture();  // a press the focus leaves does not click
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
        if (pressed_) Click();
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

// A press by Space holds the capture too; only a pointer that holds the
// left button drags the press off and on.
void FlatButtonBase::OnMouseMove(Message& m) {
    if (HasCapture()) {
        if (!(m.wParam & MK_LBUTTON)) {
            m.handled = false;
            return;
        }
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

// Space presses as a push button's does: down shows it pushed (and holds the
// mouse, so the pointer can still slide off), up clicks. A key that repeats
// while held presses once.
void FlatButtonBase::OnKeyDown(Message& m) {
    m.result = 0;
    if (m.wParam == VK_RETURN) {
        Click();
    } else if (m.wParam == VK_SPACE) {
        bool repeat = (m.lParam & kKeyWasDown) != 0;
        if (repeat || HasCapture()) return;
        SetCapture(window_);
        if (HasCapture()) {
            pressed_ = true;
            Repaint();
        }
    } else {
        m.handled = false;
    }
}

void FlatButtonBase::OnKeyUp(Message& m) {
    if (m.wParam != VK_SPACE) {
        m.handled = false;
        return;
    }
    if (HasCapture()) {
        if (pressed_) Click();
        ReleaseCapture();
    }
    m.result = 0;
}

// The characters of the keys handled above: the system button would act on them again.
void FlatButtonBase::OnChar(Message& m) {
    if (m.wParam == ' ' || m.wParam == '\r') m.result = 0;
    else m.handled = false;
}

// Enter on the focused button is the button's, not the dialog's default
// button's. Never a push button's code: the dialog manager would restyle the
// button as its default one, and it would stop being owner-drawn.
void FlatButtonBase::OnGetDlgCode(Message& m) {
    m.result = DLGC_BUTTON | (IsEnterKey(m.lParam) ? DLGC_WANTMESSAGE : 0);
}

// The text is a glyph or a picture's stand-in: the name says what the button does.
void FlatButtonBase::OnGetObject(Message& m) {
    const std::string* name = !accessibleName_.empty() ? &accessibleName_ : tooltipText_ ? &*tooltipText_ : nullptr;
    m.handled = name && AnswerAccessibleName(m, *name);
}

// The state changes as usual, but the system button must not draw itself for it.
void FlatButtonBase::OnUpdateUiState(Message& m) {
    m.result = DefWindowProcA(window_, m.id, m.wParam, m.lParam);
    Repaint();
}
