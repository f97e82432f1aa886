#pragma once
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/code_page.h"

// Whole texts equal without regard to case, in any script the page folds.
bool EqualIgnoringCase(std::string_view a, std::string_view b, const CodePage& page);
// The first characters of text, as many as prefix has, equal prefix without
// regard to case; no character of text is cut at that point.
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix, const CodePage& page);

// The completion strings in the order they were last added. No two entries
// are equal apart from letter case. Adding and removing cost the same however
// long the list is, so filling it is linear in the number of entries.
class CompletionList {
    struct Slot {
        std::string text;
        std::size_t key;  // KeyOf(FoldCase(text))
        bool live;
    };

public:
    explicit CompletionList(const CodePage& page) : page_(&page) {}

    // Moves an equal entry to the end, taking the new letter case.
    void Add(std::string_view text);
    void Remove(std::string_view text);
    void Clear();

    // The first entry that begins with typed, or null; an empty text completes nothing.
    const std::string* Complete(std::string_view typed) const;

    std::size_t Count() const { return count_; }

    // The entries in list order.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string*;
        using reference = const std::string&;
        const_iterator() = default;
        const_iterator(const Slot* at, const Slot* end) : at_(at), end_(end) { SkipRemoved(); }
        reference operator*() const { return at_->text; }
        pointer operator->() const { return &at_->text; }
        const_iterator& operator++() {
            ++at_;
            SkipRemoved();
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }

    private:
        void SkipRemoved() {
            while (at_ != end_ && !at_->live) ++at_;
        }
        const Slot* at_ = nullptr;
        const Slot* end_ = nullptr;
    };
    const_iterator begin() const { return {slots_.data(), slots_.data() + slots_.size()}; }
    const_iterator end() const { return {slots_.data() + slots_.size(), slots_.data() + slots_.size()}; }

private:
    // A hash of a folded text: equal texts have equal keys.
    static std::size_t KeyOf(std::string_view folded);
    // The slot index of the entry whose folded text is folded, if any.
    std::unordered_multimap<std::size_t, std::size_t>::iterator Find(std::string_view folded, std::size_t key);
    void Drop(std::unordered_multimap<std::size_t, std::size_t>::iterator slot);
    void Compact();

    const CodePage* page_;
    // Removed entries leave a hole until holes outnumber the entries.
    std::vector<Slot> slots_;
    // FoldCase of each slot's text, emptied when it is removed: all that a
    // keystroke's scan reads, kept apart so the scan walks little memory.
    std::vector<std::string> folded_;
    std::unordered_multimap<std::size_t, std::size_t> slotByKey_;
    std::size_t count_ = 0;
};
