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

// A malformed byte stands alone, so stepping never skips an ASCII byte after it.
unsigned Utf8CodePage::CharLengthAt(const char* text, unsigned long long i, unsigned long long size) const {
    std::size_t length = Utf8SequenceLength(std::string_view(text, std::size_t(size)), std::size_t(i));
    return length ? unsigned(length) : 1;
}
