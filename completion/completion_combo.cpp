#include "completion/completion_combo.h"

#include <vector>

const MessageEntry<CompletionCombo> CompletionCombo::kMessages[] = {
    OnMessage(CB_ADDSTRING, &CompletionCombo::OnAddString),
    OnMessage(CB_INSERTSTRING, &CompletionCombo::OnAddString),
    OnMessage(CB_DELETESTRING, &CompletionCombo::OnDeleteString),
    OnMessage(CB_RESETCONTENT, &CompletionCombo::OnResetContent),
    ReflectAndPassOn<CompletionCombo>(),  // the edit field's notifications, back to it
};

bool CompletionCombo::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

bool CompletionCombo::Attach(HWND combo) {
    if (!ControlObject::Attach(combo)) return false;
    // The edit field is still the system's, so it takes the new limit.
    SendMessageA(combo, CB_LIMITTEXT, 0, 0);
    EnumChildWindows(
        combo,
        [](HWND child, LPARAM self) -> BOOL {
            char name[128];
            if (GetClassNameA(child, name, sizeof(name)) == 0 || lstrcmpiA(name, "Edit") != 0) return TRUE;
            reinterpret_cast<CompletionCombo*>(self)->edit_.Attach(child);
            return FALSE;
        },
        reinterpret_cast<LPARAM>(this));
    return true;
}

// Every message below is passed on, so the drop-down itself changes too.
void CompletionCombo::OnAddString(Message& m) {
    AddItem(reinterpret_cast<const char*>(m.lParam));
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
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), int(got), nullptr, 0, nullptr, nullptr);
    std::string text(std::size_t(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), int(got), text.data(), bytes, nullptr, nullptr);
    return text;
}

void CompletionCombo::OnResetContent(Message& m) {
    ClearItems();
    m.handled = false;
}
