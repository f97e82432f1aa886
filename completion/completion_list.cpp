#include "completion/completion_list.h"

#include <cstring>

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
        if (length > 1) {
            if (std::memcmp(a.data() + i, b.data() + i, length) != 0) return false;
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

std::size_t CompletionList::KeyOf(std::string_view text) {
    std::size_t key = 14695981039346656037ull;  // FNV-1a
    for (char c : text) {
        key ^= static_cast<unsigned char>(AsciiLower(c));
        key *= 1099511628211ull;
    }
    return key;
}

std::unordered_multimap<std::size_t, std::size_t>::iterator CompletionList::Find(std::string_view text,
                                                                                  std::size_t key) {
    auto [first, last] = slotByKey_.equal_range(key);
    for (auto it = first; it != last; ++it)
        if (EqualIgnoringCase(slots_[it->second].text, text, *page_)) return it;
    return slotByKey_.end();
}

void CompletionList::Add(std::string_view text) {
    std::size_t key = KeyOf(text);
    auto same = Find(text, key);
    if (same != slotByKey_.end()) {
        slots_[same->second].live = false;
        --count_;
        slotByKey_.erase(same);
    }
    slotByKey_.emplace(key, slots_.size());
    slots_.push_back({std::string(text), key, true});
    ++count_;
    if (slots_.size() > 2 * count_ + 64) Compact();
}

void CompletionList::Remove(std::string_view text) {
    auto same = Find(text, KeyOf(text));
    if (same == slotByKey_.end()) return;
    slots_[same->second].live = false;
    --count_;
    slotByKey_.erase(same);
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

const std::string* CompletionList::Complete(std::string_view typed) const {
    if (typed.empty()) return nullptr;
    for (const Slot& slot : slots_)
        if (slot.live && StartsWithIgnoringCase(slot.text, typed, *page_)) return &slot.text;
    return nullptr;
}
