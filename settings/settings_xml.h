#pragma once
// The two files' XML, between text and the records. No file access here: the
// Win32 side reads and writes the bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/alias_table.h"
#include "text/conversion.h"
#include "settings/app_settings.h"

class TiXmlDocument;
class TiXmlElement;

// Where reading a file stopped: line and column from 1, or 0 when the parser
// cannot say (a file that is empty, or too costly to parse).
struct ParsePosition {
    int line = 0;
    int column = 0;
};

// Parses file bytes the way both files are read: false when the text is not
// well-formed, has no root element, or fails WithinParserLimits. UTF-16 with its
// byte-order mark is read as the text it is. Bytes that are valid UTF-8 are read
// as UTF-8 whatever the declaration says; other bytes are read one by one, and
// |whole| is then false when a character reference in them names a character
// above ASCII, of which the parser keeps only the low byte.
bool ParseSettingsDocument(std::string_view bytes, TiXmlDocument& document, bool* whole = nullptr,
                           ParsePosition* failedAt = nullptr);

// False when the text (line ends as the parser sees them) would cost the parser more
// than any settings file can: nesting, attributes on one element, or parts in all,
// far beyond the files' own and short of exhausting the stack, the time or the memory.
bool WithinParserLimits(const char* text);

struct AliasReadResult {
    bool loaded = false;   // parsed and had a root
    bool lossless = true;  // every name and command has an ANSI form
    ParsePosition failedAt;
};

// Empties |aliases| first, always; a list that runs out of memory is empty again
// and not loaded.
AliasReadResult ReadAliasesXml(std::string_view bytes, const AnsiUtf8Converter& converter,
                               std::vector<AliasEntry>& aliases);
inline AliasReadResult ReadAliasesXml(std::string_view bytes, const AnsiUtf8Converter& converter, AliasTable& table) {
    std::vector<AliasEntry> aliases;
    AliasReadResult result = ReadAliasesXml(bytes, converter, aliases);
    table.Assign(std::move(aliases));
    return result;
}
std::string WriteAliasesXml(const std::vector<AliasEntry>& aliases, const AnsiUtf8Converter& converter);
inline std::string WriteAliasesXml(const AliasTable& table, const AnsiUtf8Converter& converter) {
    return WriteAliasesXml(table.Entries(), converter);
}

// Fills the fields the file has.
bool ReadSettingsXml(std::string_view bytes, SettingsOptions& settings, ParsePosition* failedAt = nullptr);
std::string WriteSettingsXml(const SettingsOptions& settings);

// False when |group| has no element |setting|; the target changes only when the
// attribute reads as an integer (a 16-bit target keeps its low 16 bits).
bool ReadIntSetting(const TiXmlElement& group, const char* setting, const char* attribute, std::int32_t& target);
bool ReadIntSetting(const TiXmlElement& group, const char* setting, const char* attribute, std::uint16_t& target);
