#pragma once
#include "text/code_page.h"

// Shift-JIS-like double-byte page: lead bytes 0x81-0x9F and 0xE0-0xFC, and
// trail bytes that may look like ASCII ('\\', '/', letters).
class SimulatedDoubleByteCodePage final : public CodePage {
public:
    bool IsLeadByte(unsigned char b) const override { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
    bool IsDoubleByte() const override { return true; }
};
