#pragma once
// Text from one encoding to another, for all of Brisq. The pure core converts
// through WideConversions, which the Win32 side implements with the system's
// functions (text/system_conversion.h) and tests simulate.
#include <string>
#include <string_view>

#include "text/utf8.h"

constexpr unsigned kUtf8CodePage = 65001;

// The system's conversions between a code page and UTF-16.
class WideConversions {
public:
    virtual ~WideConversions() = default;
    // Strict: false when |text| holds bytes that are no character of |page|.
    virtual bool ToWide(unsigned page, std::string_view text, std::wstring& wide) const = 0;
    // False when the system refuses or fails. With |unmapped| given, the system is
    // also asked to report characters that have no form in |page| instead of
    // putting a look-alike in their place.
    virtual bool FromWide(unsigned page, std::wstring_view wide, std::string& text, bool* unmapped) const = 0;
};

// The files say utf-8 while the program holds ANSI text.
class AnsiUtf8Converter {
public:
    virtual ~AnsiUtf8Converter() = default;
    // False when the ANSI bytes are no valid text of the code page, or the system
    // could not convert them.
    virtual bool AnsiToUtf8(std::string_view ansi, std::string& utf8) const = 0;
    // False when some character has no ANSI form (|ansi| then holds the code
    // page's stand-in for it), or when nothing could be converted (|ansi| then
    // holds the UTF-8 bytes unchanged). Never an empty text for a non-empty one.
    virtual bool Utf8ToAnsi(std::string_view utf8, std::string& ansi) const = 0;
};

// ANSI text of |ansiPage| to and from UTF-8, through the system's conversions.
class CodePageConverter final : public AnsiUtf8Converter {
public:
    CodePageConverter(unsigned ansiPage, const WideConversions& system) : page_(ansiPage), system_(system) {}
    bool AnsiToUtf8(std::string_view ansi, std::string& utf8) const override;
    bool Utf8ToAnsi(std::string_view utf8, std::string& ansi) const override;

private:
    unsigned page_;
    const WideConversions& system_;
};

// UTF-16 text, given as bytes in either order, as UTF-8. False when the bytes
// end inside a unit or a surrogate stands without its partner. Here rather than
// through the system, so the settings files' reading stays in the core.
bool Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& utf8);
