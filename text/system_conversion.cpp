#include "text/system_conversion.h"

#include <windows.h>

namespace {
// One pass: no code page Windows runs under takes fewer bytes for a character
// than UTF-16 takes units (a four-byte UTF-8 character becomes two).
bool ToWideIn(UINT page, DWORD flags, std::string_view text, std::wstring& wide) {
    wide.assign(text.size(), L'\0');
    int length = text.empty() ? 0
                              : MultiByteToWideChar(page, flags, text.data(), int(text.size()), wide.data(),
                                                    int(wide.size()));
    wide.resize(std::size_t(length > 0 ? length : 0));
    return length > 0 || text.empty();
}

// UTF-8 holds every character but a lone surrogate, and Windows refuses the
// stand-in report for it (this Wine accepts it): the strict call tells instead.
bool FromWideIn(UINT page, std::wstring_view wide, std::string& text, bool* unmapped) {
    text.clear();
    if (wide.empty()) return true;
    const bool utf8 = page == CP_UTF8;
    const bool report = unmapped && !utf8;
    const DWORD flags = report ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* lost = report ? &usedDefault : nullptr;
    int length = WideCharToMultiByte(page, flags, wide.data(), int(wide.size()), nullptr, 0, nullptr, lost);
    if (length <= 0) return false;
    text.resize(std::size_t(length));
    if (WideCharToMultiByte(page, flags, wide.data(), int(wide.size()), text.data(), length, nullptr, lost) !=
        length) {
        text.clear();
        return false;
    }
    if (unmapped)
        *unmapped = utf8 ? WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), int(wide.size()), nullptr,
                                               0, nullptr, nullptr) <= 0
                         : usedDefault != FALSE;
    return true;
}

class SystemWideConversions final : public WideConversions {
public:
    bool ToWide(unsigned page, std::string_view text, std::wstring& wide) const override {
        return ToWideIn(page, MB_ERR_INVALID_CHARS, text, wide);
    }
    bool FromWide(unsigned page, std::wstring_view wide, std::string& text, bool* unmapped) const override {
        return FromWideIn(page, wide, text, unmapped);
    }
};
}  // namespace

const WideConversions& SystemConversions() {
    static const SystemWideConversions conversions;
    return conversions;
}

const AnsiUtf8Converter& SystemAnsiUtf8Converter() {
    static const CodePageConverter converter(GetACP(), SystemConversions());
    return converter;
}

std::wstring Widen(std::string_view text) {
    std::wstring wide;
    ToWideIn(CP_ACP, 0, text, wide);
    return wide;
}

std::string Narrow(std::wstring_view text, bool* exact) {
    std::string narrow;
    bool unmapped = false;
    FromWideIn(GetACP(), text, narrow, exact ? &unmapped : nullptr);
    if (exact) *exact = !unmapped;
    return narrow;
}

std::wstring WideFromUtf8(std::string_view text) {
    std::wstring wide;
    ToWideIn(CP_UTF8, 0, text, wide);
    return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
    std::string utf8;
    FromWideIn(CP_UTF8, text, utf8, nullptr);
    return utf8;
}
