#include "text/wide_text.h"

#include <windows.h>

// One pass: a byte never becomes more than one UTF-16 unit, and a four-byte
// UTF-8 character becomes two.
std::wstring Widen(std::string_view text) {
    if (text.empty()) return {};
    std::wstring wide(text.size(), L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), int(wide.size()));
    wide.resize(std::size_t(length > 0 ? length : 0));
    return wide;
}

namespace {
std::string Convert(std::wstring_view text, DWORD flags, BOOL* usedDefault) {
    int length = WideCharToMultiByte(CP_ACP, flags, text.data(), int(text.size()), nullptr, 0, nullptr, usedDefault);
    std::string narrow(std::size_t(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, flags, text.data(), int(text.size()), narrow.data(), length, nullptr, usedDefault);
    return narrow;
}
}  // namespace

// UTF-8 holds every character; only a lone surrogate has no form there, and
// Windows refuses the stand-in report for it (it fails the strict call instead).
std::string Narrow(std::wstring_view text, bool* exact) {
    if (exact) *exact = true;
    if (text.empty()) return {};
    if (GetACP() == CP_UTF8) {
        if (exact && WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr) <= 0)
            *exact = false;
        return Convert(text, 0, nullptr);
    }
    BOOL usedDefault = FALSE;
    std::string narrow = Convert(text, exact ? WC_NO_BEST_FIT_CHARS : 0, exact ? &usedDefault : nullptr);
    if (exact) *exact = !usedDefault;
    return narrow;
}
