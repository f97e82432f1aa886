#include "text/system_code_page.h"

#include <windows.h>

#include "text/utf8.h"

namespace {
// A single-byte or double-byte ANSI page. Under "Use Unicode UTF-8" the system
// reports a MaxCharSize of 4 and no lead bytes: that page is Utf8CodePage's.
class AnsiCodePage final : public CodePage {
public:
    AnsiCodePage() {
        CPINFO info{};
        doubleByte_ = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 2;
    }
    bool IsLeadByte(unsigned char byte) const override { return doubleByte_ && IsDBCSLeadByte(byte); }
    bool IsDoubleByte() const override { return doubleByte_; }

private:
    bool doubleByte_ = false;
};
}  // namespace

const CodePage& SystemCodePage() {
    static const AnsiCodePage ansi;
    static const Utf8CodePage utf8;
    static const CodePage& page = GetACP() == CP_UTF8 ? static_cast<const CodePage&>(utf8) : ansi;
    return page;
}
