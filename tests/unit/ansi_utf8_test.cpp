#include <gtest/gtest.h>

#include <string>

#include "text/conversion.h"
#include "settings/settings_xml.h"

namespace {

constexpr unsigned kLatin1Page = 28591;

// The system's conversions as Windows performs them, for ISO 8859-1 and UTF-8
// (characters of the Basic Multilingual Plane). Windows refuses to report
// unmapped characters for UTF-8 (ERROR_INVALID_PARAMETER) and converts nothing
// then; |narrowingFails| makes every non-empty conversion from UTF-16 fail like that.
class WindowsLikeConversions final : public WideConversions {
public:
    bool narrowingFails = false;

    bool ToWide(unsigned page, std::string_view text, std::wstring& wide) const override {
        wide.clear();
        if (text.empty()) return true;
        if (page == kLatin1Page) {
            for (unsigned char c : text) wide += wchar_t(c);
            return true;
        }
        if (page != kUtf8CodePage || !IsValidUtf8(text)) return false;
        for (std::size_t i = 0; i < text.size();) {
            std::size_t length = Utf8SequenceLength(text, i);
            unsigned c = static_cast<unsigned char>(text[i]);
            unsigned code = length == 1 ? c : c & (0x3F >> (length - 1));
            for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (text[i + k] & 0x3F);
            wide += wchar_t(code);
            i += length;
        }
        return true;
    }
    bool FromWide(unsigned page, std::wstring_view wide, std::string& text, bool* unmapped) const override {
        text.clear();
        if (wide.empty()) return true;
        if (narrowingFails) return false;
        if (page == kUtf8CodePage) {
            if (unmapped) return false;  // what Windows does with the flags for UTF-8
            for (wchar_t w : wide) {
                unsigned c = unsigned(w);
                if (c < 0x80) {
                    text += char(c);
                } else if (c < 0x800) {
                    text += char(0xC0 | (c >> 6));
                    text += char(0x80 | (c & 0x3F));
                } else {
                    text += char(0xE0 | (c >> 12));
                    text += char(0x80 | ((c >> 6) & 0x3F));
                    text += char(0x80 | (c & 0x3F));
                }
            }
            return true;
        }
        if (page != kLatin1Page) return false;
        for (wchar_t w : wide) {
            bool fits = unsigned(w) <= 0xFF;
            text += fits ? char(w) : '?';
            if (!fits && unmapped) *unmapped = true;
        }
        return true;
    }
};

std::string Dump(const AliasTable& table) {
    std::string out;
    for (const AliasEntry& e : table) out += "[" + e.name + "=" + e.command + "]";
    return out;
}

// Non-ASCII names and commands: e acute, a euro sign, a smiley.
const char kUtf8Aliases[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<aliases>\n"
    "    <alias alias=\"caf\xC3\xA9\" cmd=\"\xE2\x82\xAC.exe\" />\n"
    "    <alias alias=\"\xE2\x98\xBA\" cmd=\"notepad.exe\" />\n</aliases>\n";

}  // namespace

TEST(CodePageConverter, AUtf8SystemCodePageKeepsEveryAlias) {
    WindowsLikeConversions windows;
    CodePageConverter utf8(kUtf8CodePage, windows);
    AliasTable table;
    AliasReadResult result = ReadAliasesXml(kUtf8Aliases, utf8, table);
    EXPECT_TRUE(result.loaded);
    EXPECT_TRUE(result.lossless);
    EXPECT_EQ(Dump(table), "[caf\xC3\xA9=\xE2\x82\xAC.exe][\xE2\x98\xBA=notepad.exe]");

    // Written back, the file holds the same text.
    AliasTable back;
    EXPECT_TRUE(ReadAliasesXml(WriteAliasesXml(table, utf8), utf8, back).lossless);
    EXPECT_EQ(Dump(back), Dump(table));

    // ANSI text under this page is UTF-8: it passes through, and bytes that are no
    // UTF-8 are no text of the page.
    std::string out;
    EXPECT_TRUE(utf8.AnsiToUtf8("\xE2\x82\xAC", out));
    EXPECT_EQ(out, "\xE2\x82\xAC");
    EXPECT_FALSE(utf8.AnsiToUtf8("caf\xE9", out));
    EXPECT_TRUE(utf8.Utf8ToAnsi("\xC3\xA9", out));
    EXPECT_EQ(out, "\xC3\xA9");
}

TEST(CodePageConverter, AConversionThatYieldsNothingIsAFailureNotAnEmptyText) {
    WindowsLikeConversions windows;
    CodePageConverter latin1(kLatin1Page, windows);
    std::string out;
    EXPECT_TRUE(latin1.Utf8ToAnsi("caf\xC3\xA9", out));
    EXPECT_EQ(out, "caf\xE9");
    EXPECT_FALSE(latin1.Utf8ToAnsi("\xE2\x98\xBA", out)) << "no Latin-1 form";
    EXPECT_EQ(out, "?");

    windows.narrowingFails = true;
    EXPECT_FALSE(latin1.Utf8ToAnsi("caf\xC3\xA9", out));
    EXPECT_EQ(out, "caf\xC3\xA9") << "the bytes stay as the file held them";
    EXPECT_FALSE(latin1.AnsiToUtf8("caf\xE9", out));
    std::string empty = "stale";
    EXPECT_TRUE(latin1.Utf8ToAnsi("", empty));
    EXPECT_EQ(empty, "");

    // A file read that way is not lossless, so it is kept before the next save.
    AliasTable table;
    AliasReadResult result = ReadAliasesXml(kUtf8Aliases, latin1, table);
    EXPECT_TRUE(result.loaded);
    EXPECT_FALSE(result.lossless);
    EXPECT_EQ(Dump(table), "[caf\xC3\xA9=\xE2\x82\xAC.exe][\xE2\x98\xBA=notepad.exe]");
}
