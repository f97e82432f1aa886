#include "text/system_code_page.h"

#include <windows.h>

#include <string>

#include "text/system_conversion.h"

namespace {
// Upper-cases through UTF-16 as the system's ordinal comparison does: each
// unit on its own, by the system's table rather than a language's rules. A run
// the page cannot read back exactly (a stray byte; an upper case it cannot
// hold, as for the micro sign in 1252) is folded a character at a time, and a
// character that fails keeps its bytes.
void AppendFoldedBySystem(const CodePage& page, std::string_view characters, std::string& out) {
    const WideConversions& system = SystemConversions();
    const UINT codePage = GetACP();
    std::wstring wide;
    if (system.ToWide(codePage, characters, wide) && !wide.empty()) {
        std::wstring upper(wide.size(), L'\0');
        const int units = int(wide.size());
        std::string folded;
        bool lost = false;
        if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), units, upper.data(), units) == units &&
            system.FromWide(codePage, upper, folded, &lost) && !lost) {
            out += folded;
            return;
        }
    }
    std::size_t first = CharLength(page, characters.data(), 0, characters.size());
    if (first >= characters.size()) {
        out.append(characters);
        return;
    }
    for (std::size_t i = 0; i < characters.size();) {
        std::size_t length = CharLength(page, characters.data(), i, characters.size());
        AppendFoldedBySystem(page, characters.substr(i, length), out);
        i += length;
    }
}

// A single-byte or double-byte ANSI page. Under "Use Unicode UTF-8" the system
// reports a MaxCharSize of 4 and no lead bytes: that page is SystemUtf8Page's.
class AnsiCodePage final : public CodePage {
public:
    AnsiCodePage() {
        CPINFO info{};
        doubleByte_ = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 2;
    }
    bool IsLeadByte(unsigned char byte) const override { return doubleByte_ && IsDBCSLeadByte(byte); }
    bool IsDoubleByte() const override { return doubleByte_; }
    void AppendFolded(std::string_view characters, std::string& out) const override {
        AppendFoldedBySystem(*this, characters, out);
    }

private:
    bool doubleByte_ = false;
};

class SystemUtf8Page final : public Utf8CodePage {
public:
    void AppendFolded(std::string_view characters, std::string& out) const override {
        AppendFoldedBySystem(*this, characters, out);
    }
};
}  // namespace

const CodePage& SystemCodePage() {
    static const AnsiCodePage ansi;
    static const SystemUtf8Page utf8;
    static const CodePage& page = GetACP() == CP_UTF8 ? static_cast<const CodePage&>(utf8) : ansi;
    return page;
}
