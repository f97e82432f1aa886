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
