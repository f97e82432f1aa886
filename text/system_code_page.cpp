#include "text/system_code_page.h"

#include <windows.h>

namespace {
class AnsiCodePage final : public CodePage {
public:
    AnsiCodePage() {
        CPINFO info{};
        doubleByte_ = GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
    }
    bool IsLeadByte(unsigned char byte) const override { return doubleByte_ && IsDBCSLeadByte(byte); }
    bool IsDoubleByte() const override { return doubleByte_; }

private:
    bool doubleByte_ = false;
};
}  // namespace

const CodePage& SystemCodePage() {
    static const AnsiCodePage page;
    return page;
}
