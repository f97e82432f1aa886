#include "text/conversion.h"

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

bool Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& utf8) {
    utf8.clear();
    if (bytes.size() % 2) return false;
    auto unit = [&](std::size_t i) {
        auto high = static_cast<unsigned char>(bytes[i + (bigEndian ? 0 : 1)]);
        auto low = static_cast<unsigned char>(bytes[i + (bigEndian ? 1 : 0)]);
        return unsigned(high << 8 | low);
    };
    utf8.reserve(bytes.size() / 2);  // most settings files are ASCII
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        unsigned code = unit(i);
        if (code >= 0xDC00 && code <= 0xDFFF) return false;
        if (code >= 0xD800 && code <= 0xDBFF) {
            i += 2;
            unsigned trail = i < bytes.size() ? unit(i) : 0;
            if (trail < 0xDC00 || trail > 0xDFFF) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (trail - 0xDC00);
        }
        if (code < 0x80) {
            utf8 += char(code);
        } else if (code < 0x800) {
            utf8 += char(0xC0 | code >> 6);
            utf8 += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            utf8 += char(0xE0 | code >> 12);
            utf8 += char(0x80 | (code >> 6 & 0x3F));
            utf8 += char(0x80 | (code & 0x3F));
        } else {
            utf8 += char(0xF0 | code >> 18);
            utf8 += char(0x80 | (code >> 12 & 0x3F));
            utf8 += char(0x80 | (code >> 6 & 0x3F));
            utf8 += char(0x80 | (code & 0x3F));
        }
    }
    return true;
}
