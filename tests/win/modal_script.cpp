#include "modal_script.h"

namespace {
ModalScript* running = nullptr;  // the timer procedure has no context of its own

const UINT kTickMs = 10;

std::vector<HWND> ThreadDialogs() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            char type[16] = "";
            GetClassNameA(window, type, sizeof(type));
            if (std::string(type) == "#32770") reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}
}  // namespace

ModalScript::ModalScript(std::vector<Step> steps, std::chrono::milliseconds deadline)
    : steps_(std::move(steps)), deadline_(std::chrono::steady_clock::now() + deadline) {
    running = this;
    timer_ = SetTimer(nullptr, 0, kTickMs, Tick);
}

ModalScript::~ModalScript() {
    KillTimer(nullptr, timer_);
    running = nullptr;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (running) running->RunNext();
}

void ModalScript::RunNext() {
    if (givenUp_) return;
    if (std::chrono::steady_clock::now() > deadline_) {
        GiveUp();
        return;
    }
    std::size_t step = next_;
    if (step >= steps_.size()) return;
    next_ = step + 1;  // a step that runs a nested loop lets the ticks inside it go on
    if (!steps_[step]() && next_ == step + 1) next_ = step;
}

// Each modal loop ends as soon as control comes back to it.
void ModalScript::GiveUp() {
    givenUp_ = true;
    KillTimer(nullptr, timer_);
    for (HWND dialog : ThreadDialogs()) EndDialog(dialog, IDCANCEL);
}

HWND ActiveDialog(const char* caption) {
    for (HWND dialog : ThreadDialogs()) {
        if (!IsWindowEnabled(dialog)) continue;
        if (caption && ControlText(dialog) != caption) continue;
        return dialog;
    }
    return nullptr;
}

std::string ControlText(HWND control) {
    std::string text(GetWindowTextLengthA(control) + 1, '\0');
    text.resize(GetWindowTextA(control, text.data(), int(text.size())));
    return text;
}

std::string MessageBoxText(HWND box) {
    std::string longest;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char type[16] = "";
        GetClassNameA(child, type, sizeof(type));
        std::string text = ControlText(child);
        if (std::string(type) == "Static" && text.size() > longest.size()) longest = text;
    }
    return longest;
}

void PressButton(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void KeyThroughDialog(HWND dialog, UINT message, WORD key, LPARAM flags) {
    LPARAM scan = LPARAM(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16 | 1;
    PostMessageA(GetFocus(), message, key, scan | flags);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PressThroughDialog(HWND dialog, WORD key) {
    KeyThroughDialog(dialog, WM_KEYDOWN, key);
    KeyThroughDialog(dialog, WM_KEYUP, key, LPARAM(0xC0000000));
}
