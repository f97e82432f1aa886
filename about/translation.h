#pragma once
// Which translation of a version resource to read, and where its strings are.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Translation {
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
};

// The keys of the string table, in the order VersionInfo keeps them.
enum VersionKey : std::size_t {
    kCompanyName, kFileDescription, kFileVersion, kInternalName, kLegalCopyright, kOriginalFileName,
    kProductName, kProductVersion, kComments, kLegalTrademarks, kPrivateBuild, kSpecialBuild, kVersionKeyCount
};
constexpr std::array<const char*, kVersionKeyCount> kVersionKeys = {
    "CompanyName",  "FileDescription", "FileVersion", "InternalName",    "LegalCopyright", "OriginalFileName",
    "ProductName",  "ProductVersion",  "Comments",    "LegalTrademarks", "PrivateBuild",   "SpecialBuild",
};

// The "\VarFileInfo\Translation" value: a language word, then a code-page word,
// per entry. A trailing partial entry is ignored.
std::vector<Translation> ParseTranslationTable(std::string_view bytes);

// The user's own language; else the same primary language; else neutral; else
// English; else the first entry. Nothing for an empty table.
std::optional<Translation> ChooseTranslation(const std::vector<Translation>& table, std::uint16_t userLanguage);

// "\StringFileInfo\LLLLCCCC\" for the translation, in upper-case hexadecimal.
std::string StringFileInfoPrefix(const Translation& translation);
