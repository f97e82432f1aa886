#pragma once
// What the pure core needs to know about the ANSI code page. The Win32 side
// answers from the system; tests answer with a simulated double-byte page.

class CodePage {
public:
    virtual ~CodePage() = default;
    // True when the byte starts a two-byte character.
    virtual bool IsLeadByte(unsigned char byte) const = 0;
    // Only a single-byte page folds letter case; a double-byte page is compared as is
    // apart from ASCII letters, so no trail byte is ever changed.
    virtual bool IsDoubleByte() const = 0;
};

// Single-byte, ASCII-only folding: the host build's default.
class SingleByteCodePage final : public CodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
    bool IsDoubleByte() const override { return false; }
};

// Byte length of the character that starts at text[i] (1 or 2), never past size.
inline unsigned CharLength(const CodePage& page, const char* text, unsigned long long i,
                           unsigned long long size) {
    return (page.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < size) ? 2 : 1;
}

inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
