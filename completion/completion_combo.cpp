#include "completion/completion_combo.h"

#include <vector>

#include "text/system_conversion.h"

namespace {
// The drop-down keeps fewer run lines than this.
const LRESULT kDropDownLimit = 20;
}  // namespace

const MessageEntry<CompletionCombo> CompletionCombo::kMessages[] = {
    OnMessage(CB_ADDSTRING, &CompletionCombo::OnAddString),
    OnMessage(CB_INSERTSTRING, &CompletionCombo::OnAddString),
    OnMessage(CB_DELETESTRING, &CompletionCombo::OnDeleteString),
    OnMessage(CB_RESETCONTENT, &CompletionCombo::OnResetContent),
    ReflectAndPassOn<CompletionCombo>(),  // the edit field's notifications, back to it
};

bool CompletionCombo::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

void CompletionCombo::OnAttached() {
    // The edit field is still the system's, so it takes the new limit.
    SendMessageA(window_, CB_LIMITTEXT, 0, 0);
    EnumChildWindows(
        window_,
        [](HWND child, LPARAM self) -> BOOL {
            char name[128];
            if (GetClassNameA(child, name, sizeof(name)) == 0 || lstrcmpiA(name, "Edit") != 0) return TRUE;
            reinterpret_cast<CompletionCombo*>(self)->edit_.Attach(child);
            return FALSE;
        },
        reinterpret_cast<LPARAM>(this));
}

// Every message below is passed on, so the drop-down itself changes too.
void CompletionCombo::OnAddString(Message& m) {
    if (std::optional<std::string> text = TextParameter(m.lParam)) AddItem(text->c_str());
    m.handled = false;
}

void CompletionCombo::OnDeleteString(Message& m) {
    m.handled = false;
    if (std::optional<std::string> text = ItemText(m.wParam)) RemoveItem(text->c_str());
}

// Read as UTF-16 and converted back: Wine's ANSI CB_GETLBTEXT faults on items
// longer than about 512 characters.
std::optional<std::string> CompletionCombo::ItemText(WPARAM index) const {
    LRESULT length = CallPreviousWide(CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length < 0) return std::nullopt;
    std::vector<wchar_t> wide(std::size_t(length) + 1);
    LRESULT got = CallPreviousWide(CB_GETLBTEXT, index, LPARAM(wide.data()));
    if (got == CB_ERR || got < 0) return std::nullopt;
    return Narrow(std::wstring_view(wide.data(), std::size_t(got)));
}

void CompletionCombo::OnResetContent(Message& m) {
    ClearItems();
    m.handled = false;
}

// Through the box's own procedure, so the list follows every change.
void CompletionCombo::AddRunLine(const std::string& line) {
    SendMessageA(window_, CB_SETCURSEL, WPARAM(-1), 0);
    LRESULT same = SendMessageA(window_, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(line.c_str()));
    if (same != CB_ERR) SendMessageA(window_, CB_DELETESTRING, same, 0);
    // The placeholder of an empty fill.
    if (SendMessageA(window_, CB_GETCOUNT, 0, 0) == 1 && SendMessageA(window_, CB_GETLBTEXTLEN, 0, 0) == 0)
        SendMessageA(window_, CB_DELETESTRING, 0, 0);
    SendMessageA(window_, CB_INSERTSTRING, 0, LPARAM(line.c_str()));
    AddItem(line.c_str());  // once, at the end of the list
    runLines_.Note(line);
    LRESULT count = SendMessageA(window_, CB_GETCOUNT, 0, 0);
    if (count >= kDropDownLimit) SendMessageA(window_, CB_DELETESTRING, count - 1, 0);
}
