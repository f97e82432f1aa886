#include "controls/tooltip.h"

#include <commctrl.h>
#include <windowsx.h>

#include "framework/module.h"

namespace {
// The tool of a tip over part of a control; a whole control is its own tool.
const UINT_PTR kAreaToolId = 1;

TOOLINFOA ToolOf(HWND owner, UINT flags, UINT_PTR id) {
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // the record every comctl32 version accepts
    tool.uFlags = flags;
    tool.hwnd = owner;
    tool.uId = id;
    tool.hinst = Module::Instance();
    return tool;
}
}  // namespace

bool ToolTip::Show(HWND control, const char* text) {
    TOOLINFOA tool = ToolOf(GetParent(control), TTF_IDISHWND, reinterpret_cast<UINT_PTR>(control));
    tool.lpszText = const_cast<char*>(text);
    return Show(control, tool);
}

bool ToolTip::Show(HWND control, const char* text, const RECT& area) {
    TOOLINFOA tool = ToolOf(control, 0, kAreaToolId);
    tool.rect = area;
    tool.lpszText = const_cast<char*>(text);
    return Show(control, tool);
}

bool ToolTip::Show(HWND control, TOOLINFOA& tool) {
    if (!window_) {
        window_.Reset(CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, 0, 0, 0, 0, 0, control, nullptr,
                                      Module::Instance(), nullptr));
        if (!window_) return false;
    }
    SendMessageA(window_.get(), TTM_ACTIVATE, TRUE, 0);
    SendMessageA(window_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(window_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return true;
}

void ToolTip::Deactivate() {
    if (window_) SendMessageA(window_.get(), TTM_ACTIVATE, FALSE, 0);
}

void ToolTip::Relay(const Message& m) const {
    if (!window_) return;
    DWORD at = GetMessagePos();
    MSG relayed{m.window, m.id, m.wParam, m.lParam, DWORD(GetMessageTime()), POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)}};
    SendMessageA(window_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}
