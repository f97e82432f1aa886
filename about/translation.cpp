#include "about/translation.h"


namespace {
const std::uint16_t kNeutral = 0, kEnglish = 9;

std::uint16_t Primary(std::uint16_t language) { return language & 0xFF; }

std::optional<Translation> First(const std::vector<Translation>& table, bool (*matches)(std::uint16_t, std::uint16_t),
                                 std::uint16_t wanted) {
    for (const Translation& entry : table)
        if (matches(entry.language, wanted)) return entry;
    return std::nullopt;
}

bool SameLanguage(std::uint16_t language, std::uint16_t wanted) { return language == wanted; }
bool SamePrimary(std::uint16_t language, std::uint16_t wanted) { return Primary(language) == Primary(wanted); }
}  // namespace

std::vector<Translation> ParseTranslationTable(std::string_view bytes) {
    std::vector<Translation> table;
    auto word = [&](std::size_t i) {
        return std::uint16_t(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) table.push_back({word(i), word(i + 2)});
    return table;
}

std::optional<Translation> ChooseTranslation(const std::vector<Translation>& table, std::uint16_t userLanguage) {
    if (auto found = First(table, SameLanguage, userLanguage)) return found;
    if (auto found = First(table, SamePrimary, userLanguage)) return found;
    for (std::uint16_t fallback : {kNeutral, kEnglish}) {
        if (auto found = First(table, SameLanguage, fallback)) return found;
        if (auto found = First(table, SamePrimary, fallback)) return found;
    }
    if (table.empty()) return std::nullopt;
    return table.front();
}

// Four upper-case hex digits each; no printf, whose formatting code would add
// about 15 KB to the program for these eight characters.
std::string StringFileInfoPrefix(const Translation& translation) {
    std::string prefix = "\\StringFileInfo\\";
    for (unsigned value : {unsigned(translation.language), unsigned(translation.codePage)})
        for (int shift = 12; shift >= 0; shift -= 4) prefix += "0123456789ABCDEF"[(value >> shift) & 0xF];
    return prefix + "\\";
}
