#include "richtext/hyperlink.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <new>

#include "framework/dpi.h"
#include "framework/module.h"
#include "framework/owners.h"
#include "richtext/link_rules.h"

namespace {
const char kBrowserSettings[] = "Software\\Microsoft\\Internet Explorer\\Settings";

// A default value under the classes root, as long as it fits the read buffer.
std::optional<std::string> ReadClassesDefault(const std::string& path) {
    RegistryKey key = OpenRegistryKey(HKEY_CLASSES_ROOT, path.c_str(), KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    char data[kDefaultValueCapacity];
    DWORD type = 0, size = sizeof(data);
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::string_view text(data, size);
    return std::string(text.substr(0, text.find('\0')));
}

bool Copy(std::optional<std::string>& slot, const char* text) {
    slot.reset();
    if (!text) return false;
    try {
        slot.emplace(text);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
}  // namespace

const MessageEntry<HyperLink> HyperLink::kMessages[] = {
    OnRange(WM_MOUSEFIRST, WM_MOUSELAST, &HyperLink::OnMouseRelay),
    OnMessage(WM_MOUSEMOVE, &HyperLink::OnMouseMove),
    OnMessage(WM_SETCURSOR, &HyperLink::OnSetCursor),
    OnMessage(WM_LBUTTONDOWN, &HyperLink::OnLeftButtonDown),
    OnMessage(WM_LBUTTONUP, &HyperLink::OnLeftButtonUp),
    OnMessage(WM_CHAR, &HyperLink::OnChar),
    OnMessage(WM_GETDLGCODE, &HyperLink::OnGetDlgCode),
    OnMessage(WM_SETFOCUS, &HyperLink::OnFocus),
    OnMessage(WM_KILLFOCUS, &HyperLink::OnFocus),
    OnMessage(WM_ENABLE, &HyperLink::OnEnable),
    OnMessage(WM_PAINT, &HyperLink::OnPaint),
    OnMessage(WM_PRINTCLIENT, &HyperLink::OnPaint),
    OnMessage(WM_ERASEBKGND, &HyperLink::OnEraseBackground),
    OnMessage(WM_SETFONT, &HyperLink::OnSetFont),
    OnMessage(WM_GETFONT, &HyperLink::OnGetFont),
    OnMessage(WM_UPDATEUISTATE, &HyperLink::OnUpdateUiState),
    OnMessage(WM_DESTROY, &HyperLink::OnDestroy),
    OnMessage(WM_DPICHANGED_AFTERPARENT, &HyperLink::OnDpiChanged),
};

bool HyperLink::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

void HyperLink::OnAttached() {
    char type[8] = "";
    GetClassNameA(window_, type, sizeof(type));
    // A static reports no clicks and is passed over by Tab: a link must do both.
    LONG_PTR style = GetWindowLongPtrA(window_, GWL_STYLE) | WS_TABSTOP;
    if (lstrcmpiA(type, "static") == 0) style |= SS_NOTIFY;
    SetWindowLongPtrA(window_, GWL_STYLE, style);
    hand_ = LoadCursorA(nullptr, IDC_HAND);
    normalFont_ = reinterpret_cast<HFONT>(SendMessageA(GetParent(window_), WM_GETFONT, 0, 0));
    if (!normalFont_) normalFont_ = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    if (!linkFont_) MakeLinkFont();
    if (!label_) {
        std::string text = WindowText(window_);
        if (!text.empty()) SetLabel(text.c_str());
    }
    ComputeLinkRect();
    if (target_) ShowToolTip();
    else if (label_) SetTarget(label_->c_str());  // the label doubles as the target
    ReadLinkColours();
}

void HyperLink::MakeLinkFont() {
    LOGFONTA font{};
    if (!GetObjectA(normalFont_, sizeof(font), &font)) return;
    font.lfUnderline = TRUE;
    linkFont_.Reset(CreateFontIndirectA(&font));
}

// The dialog has its font at the new DPI by now: the link's follows it, and
// so does the rectangle it takes clicks in.
void HyperLink::OnDpiChanged(Message& m) {
    if (auto font = reinterpret_cast<HFONT>(SendMessageA(GetParent(window_), WM_GETFONT, 0, 0))) normalFont_ = font;
    MakeLinkFont();
    ComputeLinkRect();
    InvalidateRect(window_, nullptr, TRUE);
    m.handled = false;
}

bool HyperLink::SetLabel(const char* text) {
    if (!Copy(label_, text)) return false;
    ComputeLinkRect();
    if (target_) ShowToolTip();  // the tool follows the text
    SetWindowTextA(window_, label_->c_str());
    return true;
}

bool HyperLink::SetTarget(const char* text) {
    if (!Copy(target_, text)) return false;
    if (!label_) ComputeLinkRect();
    ShowToolTip();
    return true;
}

void HyperLink::Navigate() {
    if (target_) Open(*target_, SW_SHOWNORMAL);
    visited_ = true;
    InvalidateRect(window_, nullptr, TRUE);
}

INT_PTR HyperLink::OpenTarget(const std::string& target, int show) {
    auto shell = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, show));
    if (shell > 32) return shell;
    std::optional<std::string> command = HtmlFallbackCommand(ReadClassesDefault, target);
    if (!command) return shell;
    return WinExec(command->c_str(), UINT(show));
}

const std::string* HyperLink::Text() const { return label_ ? &*label_ : target_ ? &*target_ : nullptr; }

UINT HyperLink::Alignment() const {
    LONG_PTR type = GetWindowLongPtrA(window_, GWL_STYLE) & SS_TYPEMASK;
    return type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : DT_LEFT;
}

void HyperLink::ComputeLinkRect() {
    const std::string* text = Text();
    if (!window_ || !text) return;
    RECT client{};
    GetClientRect(window_, &client);
    RECT measured = client;
    UINT alignment = Alignment();
    {
        WindowDc dc(window_);
        SelectionGuard font(dc.get(), linkFont_ ? linkFont_.get() : normalFont_);
        DrawTextA(dc.get(), text->c_str(), -1, &measured, alignment | DT_CALCRECT | DT_WORDBREAK);
    }
    if (alignment == DT_CENTER) OffsetRect(&measured, (client.right - measured.right) / 2, 0);
    else if (alignment == DT_RIGHT) OffsetRect(&measured, client.right - measured.right, 0);
    linkRect_ = measured;
}

// One tip, naming the newest target over the text.
void HyperLink::ShowToolTip() {
    if (window_ && target_) tooltip_.Show(window_, target_->c_str(), linkRect_);
}

// Only read: asking for write access would lose the user's colours where the key is read-only.
void HyperLink::ReadLinkColours() {
    RegistryKey key = OpenRegistryKey(HKEY_CURRENT_USER, kBrowserSettings, KEY_QUERY_VALUE);
    if (!key) return;
    auto read = [&](const char* name, COLORREF& colour) {
        char data[kLinkColourValueCapacity];
        DWORD type = 0, size = sizeof(data);
        if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
            return;
        if (std::optional<Colour> value = LinkColourFromValue(type, std::string_view(data, size))) colour = *value;
    };
    read("Anchor Color", linkColour_);
    read("Anchor Color Visited", visitedColour_);
}

bool HyperLink::OverLink(LPARAM point) const {
    return PtInRect(&linkRect_, POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)}) != FALSE;
}

void HyperLink::OnMouseRelay(Message& m) {
    tooltip_.Relay(m);
    m.handled = false;
}

void HyperLink::OnMouseMove(Message& m) {
    if (target_ && OverLink(m.lParam)) SetCursor(hand_);
    else m.handled = false;
}

void HyperLink::OnSetCursor(Message& m) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(window_, &cursor);
    if (target_ && PtInRect(&linkRect_, cursor)) m.result = TRUE;  // the hand stays
    else m.handled = false;
}

void HyperLink::OnLeftButtonDown(Message& m) {
    if (OverLink(m.lParam)) {
        SetFocus(window_);
        SetCapture(window_);
    }
    m.result = 0;
}

void HyperLink::OnLeftButtonUp(Message& m) {
    if (GetCapture() == window_) {
        ReleaseCapture();
        if (OverLink(m.lParam)) Navigate();
    }
    m.result = 0;
}

void HyperLink::OnChar(Message& m) {
    if (m.wParam == '\r' || m.wParam == ' ') Navigate();
    m.result = 0;
}

void HyperLink::OnGetDlgCode(Message& m) { m.result = DLGC_WANTCHARS | (IsEnterKey(m.lParam) ? DLGC_WANTMESSAGE : 0); }

void HyperLink::OnFocus(Message& m) {
    InvalidateRect(window_, nullptr, TRUE);  // the focus rectangle comes or goes
    m.result = 0;
}

void HyperLink::OnEnable(Message& m) {
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
    m.result = 0;
}

void HyperLink::OnPaint(Message& m) {
    PaintDc dc(window_, reinterpret_cast<HDC>(m.wParam));
    if (dc.get()) Paint(dc.get());
    m.result = 0;
}

void HyperLink::OnEraseBackground(Message& m) { m.result = 1; }

void HyperLink::OnSetFont(Message& m) {
    normalFont_ = reinterpret_cast<HFONT>(m.wParam);
    if (m.lParam) {
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
    }
    m.result = 0;
}

void HyperLink::OnGetFont(Message& m) { m.result = reinterpret_cast<LRESULT>(normalFont_); }

// The static control would repaint itself over the link.
void HyperLink::OnUpdateUiState(Message& m) { m.result = 0; }

void HyperLink::OnDestroy(Message& m) {
    tooltip_.Destroy();
    m.handled = false;
}

void HyperLink::Paint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(window_), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window_)));
    if (brush) FillRect(dc, &client, brush);
    SetBkMode(dc, TRANSPARENT);
    COLORREF colour = !IsWindowEnabled(window_) ? GetSysColor(COLOR_GRAYTEXT) : visited_ ? visitedColour_ : linkColour_;
    COLORREF previous = SetTextColor(dc, colour);
    {
        SelectionGuard font(dc, linkFont_ ? linkFont_.get() : normalFont_);
        if (const std::string* text = Text()) {
            RECT rect = linkRect_;
            DrawTextA(dc, text->c_str(), -1, &rect, Alignment() | DT_WORDBREAK);
        }
        if (GetFocus() == window_) DrawFocusRect(dc, &linkRect_);
    }
    SetTextColor(dc, previous);
}
