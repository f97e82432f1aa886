#include "text/code_page.h"

std::string LowerCase(std::string_view text, const CodePage& page) {
    std::string lower(text);
    for (std::size_t i = 0; i < lower.size();) {
        unsigned length = CharLength(page, lower.data(), i, lower.size());
        if (length == 1) lower[i] = AsciiLower(lower[i]);
        i += length;
    }
    return lower;
}

std::string FoldCase(std::string_view text, const CodePage& page) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            folded += AsciiUpper(text[i++]);
            continue;
        }
        std::size_t run = i;  // the system is asked once for a run of other characters
        while (run < text.size() && static_cast<unsigned char>(text[run]) >= 0x80)
            run += CharLength(page, text.data(), run, text.size());
        page.AppendFolded(text.substr(i, run - i), folded);
        i = run;
    }
    return folded;
}

const CodePage& AsciiOnlyCodePage() {
    static const SingleByteCodePage page;
    return page;
}

std::size_t FindCharacter(std::string_view text, char c, std::size_t from, const CodePage& page) {
    for (std::size_t i = from; i < text.size(); i += CharLength(page, text.data(), i, text.size()))
        if (text[i] == c) return i;
    return std::string_view::npos;
}

namespace {
// Only UTF-8 has characters of four bytes, and those lie beyond U+FFFF: a surrogate pair.
unsigned UnitsOf(unsigned length) { return length == 4 ? 2 : 1; }
}  // namespace

std::size_t CountCharacters(std::string_view text, const CodePage& page) {
    if (!page.IsDoubleByte()) return text.size();
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size();) {
        unsigned length = CharLength(page, text.data(), i, text.size());
        count += UnitsOf(length);
        i += length;
    }
    return count;
}

std::size_t LastCharacter(std::string_view text, const CodePage& page) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLength(page, text.data(), i, text.size())) last = i;
    return last;
}

std::string WithTrailingBackslash(std::string_view folder, const CodePage& page) {
    std::string path(folder);
    std::size_t last = LastCharacter(path, page);
    bool hasOne = last != std::string::npos && path[last] == '\\' && last + 1 == path.size();
    if (!hasOne) path += '\\';
    return path;
}
