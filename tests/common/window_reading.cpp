#include "common/window_reading.h"

#include <algorithm>

namespace testkit {
namespace {
LRESULT AskThrough(decltype(&SendMessageTimeoutA) send, HWND window, UINT id, WPARAM wParam, LPARAM lParam,
                   LRESULT failed = -1) {
    DWORD_PTR result = 0;
    return send(window, id, wParam, lParam, SMTO_BLOCK, kReplyTimeoutMs, &result) ? LRESULT(result) : failed;
}

LRESULT AskWide(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    return AskThrough(SendMessageTimeoutW, window, id, wParam, lParam);
}
}  // namespace

LRESULT Ask(HWND window, UINT id, WPARAM wParam, LPARAM lParam, LRESULT failed) {
    return AskThrough(SendMessageTimeoutA, window, id, wParam, lParam, failed);
}

std::vector<HWND> WindowsOf(DWORD processId, const char* className) {
    struct Search {
        DWORD processId;
        const char* className;
        std::vector<HWND> found;
    } search{processId, className, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s.processId) return TRUE;
            char name[64] = "";
            GetClassNameA(window, name, sizeof(name));
            if (!s.className || lstrcmpA(name, s.className) == 0) s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND DialogWithCaption(DWORD processId, const std::string& caption) {
    for (HWND window : WindowsOf(processId, "#32770"))
        if (IsWindowVisible(window) && WindowText(window) == caption) return window;
    return nullptr;
}

HWND FindDescendant(HWND parent, const char* className) {
    struct Search {
        const char* className;
        HWND found;
    } search{className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            char name[64] = "";
            GetClassNameA(window, name, sizeof(name));
            if (lstrcmpiA(name, s.className) != 0) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Utf8(std::wstring_view wide) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(size_t(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), bytes, nullptr, nullptr);
    return text;
}

std::wstring Utf16(std::string_view utf8) {
    int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(units > 0 ? units : 0), L'\0');
    if (units > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), units);
    return wide;
}

std::string WindowText(HWND window) {
    wchar_t text[4096] = L"";
    LRESULT got = AskWide(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return Utf8(std::wstring_view(text, got > 0 ? size_t(got) : 0));
}

std::string DialogItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::string();
}

// Read as UTF-16: across processes Wine's ANSI CB_GETLBTEXT hands back UTF-16 bytes.
std::vector<std::string> ComboBoxItems(HWND box) {
    std::vector<std::string> entries;
    LRESULT count = Ask(box, CB_GETCOUNT, 0, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // CB_GETLBTEXT takes no buffer size, and the owner may put a longer line at
        // this index between the two calls: leave room for any line it runs.
        LRESULT length = AskWide(box, CB_GETLBTEXTLEN, i, 0);
        std::wstring wide(std::max<size_t>(size_t(length > 0 ? length : 0), 8192) + 1, L'\0');
        LRESULT got = AskWide(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        wide.resize(got > 0 ? size_t(got) : 0);
        entries.push_back(Utf8(wide));
    }
    return entries;
}

}  // namespace testkit
