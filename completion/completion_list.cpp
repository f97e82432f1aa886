#include "completion/completion_list.h"

#include <algorithm>

namespace {
// Compares the first n bytes of a and b (both at least n long) character by character.
bool SameCharacters(std::string_view a, std::string_view b, std::size_t n, const CodePage& page) {
    if (!page.IsDoubleByte()) {  // every keystroke scans the whole list: no per-byte lead test here
        for (std::size_t i = 0; i < n; ++i)
            if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
        return true;
    }
    for (std::size_t i = 0; i < n;) {
        unsigned length = CharLength(page, a.data(), i, a.size());
        if (length != CharLength(page, b.data(), i, b.size()) || i + length > n) return false;
        if (length == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
        } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
        i += length;
    }
    return true;
}
}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b, const CodePage& page) {
    return a.size() == b.size() && SameCharacters(a, b, a.size(), page);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix, const CodePage& page) {
    return text.size() >= prefix.size() && SameCharacters(text, prefix, prefix.size(), page);
}

void CompletionList::Add(std::string_view text) {
    Remove(text);
    entries_.emplace_back(text);
}

void CompletionList::Remove(std::string_view text) {
    auto same = std::find_if(entries_.begin(), entries_.end(),
                             [&](const std::string& entry) { return EqualIgnoringCase(entry, text, *page_); });
    if (same != entries_.end()) entries_.erase(same);
}

const std::string* CompletionList::Complete(std::string_view typed) const {
    if (typed.empty()) return nullptr;
    for (const std::string& entry : entries_)
        if (StartsWithIgnoringCase(entry, typed, *page_)) return &entry;
    return nullptr;
}
