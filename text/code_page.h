#pragma once
// What the pure core needs to know about the ANSI code page. The Win32 side
// answers from the system; tests answer with simulated pages.

#include <string>
#include <string_view>

class CodePage {
public:
    virtual ~CodePage() = default;
    // True when the byte starts a character of more than one byte.
    virtual bool IsLeadByte(unsigned char byte) const = 0;
    // True when characters may take more than one byte (double-byte pages, UTF-8):
    // text is then compared character by character. Only ASCII letters fold either
    // way, so no later byte of a character is ever changed.
    virtual bool IsDoubleByte() const = 0;
    // Byte length of the character that starts at text[i], at least 1 and never past
    // size. A double-byte page's characters take two bytes after a lead byte.
    virtual unsigned CharLengthAt(const char* text, unsigned long long i, unsigned long long size) const {
        return (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < size) ? 2 : 1;
    }
    // Appends characters (whole ones, none of them ASCII) as the system's
    // ordinal case-insensitive comparison sees them: upper-cased one UTF-16
    // unit for one, and any character whose upper case the page cannot hold
    // left as it is. Pages that know no letters beyond ASCII keep them all.
    virtual void AppendFolded(std::string_view characters, std::string& out) const { out.append(characters); }
};

// Single-byte, ASCII-only folding: the host build's default.
class SingleByteCodePage final : public CodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
    bool IsDoubleByte() const override { return false; }
    unsigned CharLengthAt(const char*, unsigned long long, unsigned long long) const override { return 1; }
};

// Byte length of the character that starts at text[i], never past size.
inline unsigned CharLength(const CodePage& page, const char* text, unsigned long long i,
                           unsigned long long size) {
    return page.CharLengthAt(text, i, size);
}

// The characters of text as the system counts them, in UTF-16 units: the
// positions of a window's text and the lengths the shell limits. A byte that
// starts no character counts as one, as the stand-in it becomes.
std::size_t CountCharacters(std::string_view text, const CodePage& page);
// The most bytes one such unit takes in any code page: three (UTF-8 below
// U+10000; a four-byte character is two units).
inline constexpr std::size_t kMostBytesPerCharacter = 3;

// Where c next stands in text at or after from, stepping whole characters so a
// trail byte is never taken for it; npos when it does not.
std::size_t FindCharacter(std::string_view text, char c, std::size_t from, const CodePage& page);

// Byte offset of the last character of text, or npos for an empty text.
std::size_t LastCharacter(std::string_view text, const CodePage& page);
// folder with one backslash at its end, whatever its last character's bytes.
std::string WithTrailingBackslash(std::string_view folder, const CodePage& page);

// ASCII letters lowered where they stand as whole characters; every byte of a
// multi-byte character stays as it is.
std::string LowerCase(std::string_view text, const CodePage& page);

// Text as compared without regard to case in every script: two texts are equal
// so when their folded forms are. A character stays a character, so positions
// counted in characters hold in both forms.
std::string FoldCase(std::string_view text, const CodePage& page);
// The page that folds ASCII letters only, one byte a character.
const CodePage& AsciiOnlyCodePage();

inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
