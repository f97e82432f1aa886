#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/code_page.h"

// Whole texts equal without regard to ASCII letter case; double-byte
// characters compare as units.
bool EqualIgnoringCase(std::string_view a, std::string_view b, const CodePage& page);
// The first prefix.size() bytes of text match prefix, and no character of
// text is cut at that point.
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix, const CodePage& page);

// The completion strings in the order they were last added. No two entries
// are equal apart from letter case.
class CompletionList {
public:
    explicit CompletionList(const CodePage& page) : page_(&page) {}

    // Moves an equal entry to the end, taking the new letter case.
    void Add(std::string_view text);
    void Remove(std::string_view text);
    void Clear() { entries_.clear(); }

    // The first entry that begins with typed, or null; an empty text completes nothing.
    const std::string* Complete(std::string_view typed) const;

    std::size_t Count() const { return entries_.size(); }
    const std::string& operator[](std::size_t i) const { return entries_[i]; }

private:
    const CodePage* page_;
    std::vector<std::string> entries_;
};
