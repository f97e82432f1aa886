#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "text/code_page.h"

// Bytes of the well-formed UTF-8 sequence that starts at text[i]; 0 when there is
// none there (a stray continuation byte, an overlong form, a surrogate, a value above
// U+10FFFF, or a sequence cut short).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

// Well-formed UTF-8 throughout.
bool IsValidUtf8(std::string_view text);

// The "Use Unicode UTF-8" system code page: a character takes one to four bytes.
// No later byte of a sequence looks like ASCII, and case folding stays with ASCII.
class Utf8CodePage : public CodePage {
public:
    bool IsLeadByte(unsigned char byte) const override { return byte >= 0xC2 && byte <= 0xF4; }
    bool IsDoubleByte() const override { return true; }
    unsigned CharLengthAt(const char* text, unsigned long long i, unsigned long long size) const override;
};
