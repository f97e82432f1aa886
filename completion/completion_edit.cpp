#include "completion/completion_edit.h"

#include <vector>

const MessageEntry<CompletionEdit> CompletionEdit::kMessages[] = {
    OnMessage(WM_KEYDOWN, &CompletionEdit::OnKeyDown),
    OnMessage(WM_COMMAND + kReflectedOffset, &CompletionEdit::OnReflectedCommand),
    OnMessage(EM_LIMITTEXT, &CompletionEdit::OnLimitText),
    OnRange(kReflectedOffset, kReflectedOffset + 0x3FF, &CompletionEdit::OnReflected),
};

bool CompletionEdit::ProcessMessage(Message& m) { return DispatchTable(kMessages, *this, m); }

void CompletionEdit::AddEntry(const char* text) {
    if (text) entries_.Add(text);
}

void CompletionEdit::RemoveEntry(const char* text) {
    if (text) entries_.Remove(text);
}

void CompletionEdit::OnKeyDown(Message& m) {
    if (m.wParam == VK_BACK || m.wParam == VK_DELETE) {
        suppressed_ = true;
    } else if (suppressed_) {
        suppressed_ = false;
        UpdateWindow(window_);
    }
    CallPrevious(m);
    m.result = 0;
}

void CompletionEdit::OnReflectedCommand(Message& m) {
    if (m.NotifyCode() == EN_UPDATE) {
        OnUpdate();
        m.result = 0;
    } else {
        m.result = DefWindowProcA(window_, WM_COMMAND, m.wParam, m.lParam);
    }
}

void CompletionEdit::OnReflected(Message& m) {
    if (!IsReflection(m.id)) {
        m.handled = false;
        return;
    }
    m.result = DefWindowProcA(window_, m.id - kReflectedOffset, m.wParam, m.lParam);
}

// The limit stays unbounded: the combo box lifted it before the take-over.
void CompletionEdit::OnLimitText(Message& m) { m.result = 0; }

void CompletionEdit::OnUpdate() {
    if (busy_) return;
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(busy_);

    if (entries_.Count() == 0) return;
    int length = GetWindowTextLengthA(window_);
    if (length <= 0 || suppressed_) return;

    // The whole text, however long: the comparison runs over all of it.
    std::vector<char> text(std::size_t(length) + 1);
    int got = GetWindowTextA(window_, text.data(), length + 1);
    current_.assign(text.data(), got > 0 ? std::size_t(got) : 0);

    const std::string* entry = entries_.Complete(current_);
    if (!entry) return;
    // Positions in the field's own characters, which the entry shares with what
    // was typed up to the caret: no count in bytes meets them.
    DWORD start = 0;
    SendMessageW(window_, EM_GETSEL, WPARAM(&start), 0);
    std::string completed = *entry;  // messages sent below may reach the list
    SetWindowTextA(window_, completed.c_str());
    SendMessageW(window_, EM_SETSEL, start, -1);
    SendMessageA(window_, EM_SCROLLCARET, 0, 0);
    UpdateWindow(window_);
}
