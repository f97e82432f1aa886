#include "text/utf8.h"

std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    std::size_t n = text.size();
    if (i >= n) return 0;
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) return 1;
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) low = 0xA0;        // overlong
        else if (c == 0xED) high = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) low = 0x90;
        else if (c == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (n - i < length) return 0;
    unsigned char second = static_cast<unsigned char>(text[i + 1]);
    if (second < low || second > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        unsigned char next = static_cast<unsigned char>(text[i + k]);
        if (next < 0x80 || next > 0xBF) return 0;
    }
    return length;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {  // most of any file
            ++i;
            continue;
        }
        std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
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

// A malformed byte stands alone, so stepping never skips an ASCII byte after it.
unsigned Utf8CodePage::CharLengthAt(const char* text, unsigned long long i, unsigned long long size) const {
    std::size_t length = Utf8SequenceLength(std::string_view(text, std::size_t(size)), std::size_t(i));
    return length ? unsigned(length) : 1;
}
