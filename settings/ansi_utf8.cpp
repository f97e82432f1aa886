#include "settings/ansi_utf8.h"

namespace {
// ASCII is the same text in UTF-8 and every ANSI code page; most files hold nothing else.
bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}
}  // namespace

// Under a UTF-8 system code page the program's text already is UTF-8. The system
// would refuse the request to report unmapped characters for it anyway, and
// convert nothing: every alias would load empty and be saved so.
bool CodePageConverter::AnsiToUtf8(std::string_view ansi, std::string& utf8) const {
    if (page_ == kUtf8CodePage || IsAscii(ansi)) {
        utf8.assign(ansi);
        return IsValidUtf8(ansi);
    }
    std::wstring wide;
    return system_.ToWide(page_, ansi, wide) && system_.FromWide(kUtf8CodePage, wide, utf8, nullptr) &&
           (!utf8.empty() || ansi.empty());
}

bool CodePageConverter::Utf8ToAnsi(std::string_view utf8, std::string& ansi) const {
    if (page_ == kUtf8CodePage || IsAscii(utf8)) {
        ansi.assign(utf8);
        return IsValidUtf8(utf8);
    }
    std::wstring wide;
    bool unmapped = false;
    if (system_.ToWide(kUtf8CodePage, utf8, wide) && system_.FromWide(page_, wide, ansi, &unmapped) &&
        (!ansi.empty() || utf8.empty()))
        return !unmapped;
    ansi.assign(utf8);  // nothing converted: keep the bytes rather than lose them
    return false;
}
