#include "completion/completion_list.h"

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
    if (folded.size() < foldedPrefix.size()) return false;
    for (std::size_t i = 0; i < foldedPrefix.size(); ++i)
        if (folded[i] != foldedPrefix[i]) return false;
    return !page.IsDoubleByte() || EndsOnCharacter(folded, foldedPrefix.size(), page);
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
        if (folded_[it->second] == folded) return it;
    return slotByKey_.end();
}

void CompletionList::Drop(std::unordered_multimap<std::size_t, std::size_t>::iterator slot) {
    slots_[slot->second].live = false;
    folded_[slot->second].clear();
    --count_;
    slotByKey_.erase(slot);
}

void CompletionList::Add(std::string_view text) {
    std::string folded = FoldCase(text, *page_);
    std::size_t key = KeyOf(folded);
    auto same = Find(folded, key);
    if (same != slotByKey_.end()) Drop(same);
    slotByKey_.emplace(key, slots_.size());
    slots_.push_back({std::string(text), key, true});
    folded_.push_back(std::move(folded));
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
    folded_.clear();
    slotByKey_.clear();
    count_ = 0;
}

void CompletionList::Compact() {
    std::vector<Slot> live;
    std::vector<std::string> folded;
    live.reserve(count_);
    folded.reserve(count_);
    slotByKey_.clear();
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (!slots_[i].live) continue;
        slotByKey_.emplace(slots_[i].key, live.size());
        live.push_back(std::move(slots_[i]));
        folded.push_back(std::move(folded_[i]));
    }
    slots_ = std::move(live);
    folded_ = std::move(folded);
}

// The typed text is folded once; each entry is then a byte comparison. A
// removed entry's folded text is empty and never matches.
const std::string* CompletionList::Complete(std::string_view typed) const {
    if (typed.empty()) return nullptr;
    const std::string folded = FoldCase(typed, *page_);
    for (std::size_t i = 0; i < folded_.size(); ++i) {
        const std::string& entry = folded_[i];
        if (entry.size() < folded.size() || entry[0] != folded[0]) continue;  // most entries, at their first byte
        if (StartsWithFolded(entry, folded, *page_)) return &slots_[i].text;
    }
    return nullptr;
}
