#pragma once
#include <string>
#include <string_view>

// The files say utf-8 while the program holds ANSI text. The Win32 side converts
// with the system's code page; tests simulate one.
class AnsiUtf8Converter {
public:
    virtual ~AnsiUtf8Converter() = default;
    // False when the ANSI bytes are no valid text of the code page.
    virtual bool AnsiToUtf8(std::string_view ansi, std::string& utf8) const = 0;
    // False when some character has no ANSI form; |ansi| then holds the
    // code page's stand-in for it.
    virtual bool Utf8ToAnsi(std::string_view utf8, std::string& ansi) const = 0;
};

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);
