#include "completion/completion_list.h"

#include <cstring>

namespace {
// The folded prefix ends where a character of the folded text ends: a lone
// lead byte or a cut sequence typed so far never completes.
bool EndsOnCharacter(std::string_view folded, std::size_t at, const CodePage& page) {
    std::size_t i = 0;
    while (i < at) i += CharLength(page, folded.data(), i, folded.size());
    return i == at;
}

// Folded on both sides; only texts that agree byte for byte are stepped through.
bool StartsWithFolded(std::string_view folded, std::string_view foldedPrefix, const CodePage& page) {
    return folded.size() >= foldedPrefix.size() &&
           std::memcmp(folded.data(), foldedPrefix.data(), foldedPrefix.size()) == 0 &&
           (!page.IsDoubleByte() || EndsOnCharacter(folded, foldedPrefix.size(), page));
}
}  // namespace

// ASCII compared in place; the system is asked only from the first other character on.
bool EqualIgnoringCase(std::string_view a, std::string_view b, const CodePage& page) {
    std::size_t i = 0;
    for (; i < a.size() && i < b.size(); ++i) {
        if (static_cast<unsigned char>(a[i]) >= 0x80 || static_cast<unsigned char>(b[i]) >= 0x80) break;
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    if (i == a.size() || i == b.size()) return a.size() == b.size();
    return FoldCase(a.substr(i), page) == FoldCase(b.substr(i), page);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix, const CodePage& page) {
    return StartsWithFolded(FoldCase(text, page), FoldCase(prefix, page), page);
}

std::size_t CompletionList::KeyOf(std::string_view folded) {
    std::size_t key = 14695981039346656037ull;  // FNV-1a
    for (char c : folded) {
        key ^= static_cast<unsigned char>(c);
        key *= 1099511628211ull;
    }
    return key;
}

std::unordered_multimap<std::size_t, std::size_t>::iterator CompletionList::Find(std::string_view folded,
                                                                                  std::size_t key) {
    auto [first, last] = slotByKey_.equal_range(key);
    for (auto it = first; it != last; ++it)
        if (slots_[it->second].folded == folded) return it;
    return slotByKey_.end();
}

void CompletionList::Drop(std::unordered_multimap<std::size_t, std::size_t>::iterator slot) {
    slots_[slot->second].live = false;
    --count_;
    slotByKey_.erase(slot);
}

void CompletionList::Add(std::string_view text) {
    std::string folded = FoldCase(text, *page_);
    std::size_t key = KeyOf(folded);
    auto same = Find(folded, key);
    if (same != slotByKey_.end()) Drop(same);
    slotByKey_.emplace(key, slots_.size());
    slots_.push_back({std::string(text), std::move(folded), key, true});
    ++count_;
    if (slots_.size() > 2 * count_ + 64) Compact();
}

void CompletionList::Remove(std::string_view text) {
    std::string folded = FoldCase(text, *page_);
    auto same = Find(folded, KeyOf(folded));
    if (same == slotByKey_.end()) return;
    Drop(same);
    if (slots_.size() > 2 * count_ + 64) Compact();
}

void CompletionList::Clear() {
    slots_.clear();
    slotByKey_.clear();
    count_ = 0;
}

void CompletionList::Compact() {
    std::vector<Slot> live;
    live.reserve(count_);
    slotByKey_.clear();
    for (Slot& slot : slots_) {
        if (!slot.live) continue;
        slotByKey_.emplace(slot.key, live.size());
        live.push_back(std::move(slot));
    }
    slots_ = std::move(live);
}

// The typed text is folded once; each entry is then a byte comparison.
const std::string* CompletionList::Complete(std::string_view typed) const {
    if (typed.empty()) return nullptr;
    const std::string folded = FoldCase(typed, *page_);
    for (const Slot& slot : slots_)
        if (slot.live && StartsWithFolded(slot.folded, folded, *page_)) return &slot.text;
    return nullptr;
}
