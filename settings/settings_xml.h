#pragma once
// The two files' XML, between text and the records. No file access here: the
// Win32 side reads and writes the bytes.
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/alias_table.h"
#include "settings/ansi_utf8.h"
#include "settings/app_settings.h"

class TiXmlDocument;
class TiXmlElement;

// Parses file bytes the way both files are read: false when the text is not
// well-formed, has no root element, or fails WithinParserLimits. UTF-16 with its
// byte-order mark is read as the text it is. Bytes that are valid UTF-8 are read
// as UTF-8 whatever the declaration says; other bytes are read one by one, and
// |whole| is then false when a character reference in them names a character
// above ASCII, of which the parser keeps only the low byte.
bool ParseSettingsDocument(std::string_view bytes, TiXmlDocument& document, bool* whole = nullptr);

// False when the text (line ends as the parser sees them) would cost the parser more
// than any settings file can: nesting, attributes on one element, or parts in all,
// far beyond the files' own and short of exhausting the stack, the time or the memory.
bool WithinParserLimits(const char* text);

struct AliasReadResult {
    bool loaded = false;   // parsed and had a root
    bool lossless = true;  // every name and command has an ANSI form
};

// Empties |table| first, always; a table that runs out of memory is empty again
// and not loaded.
AliasReadResult ReadAliasesXml(std::string_view bytes, const AnsiUtf8Converter& converter, AliasTable& table);
std::string WriteAliasesXml(const AliasTable& table, const AnsiUtf8Converter& converter);

// Fills the fields the file has; the aliases are not touched.
bool ReadSettingsXml(std::string_view bytes, AppSettings& settings);
std::string WriteSettingsXml(const AppSettings& settings);

// False when |group| has no element |setting|; the target changes only when the
// attribute reads as an integer (a 16-bit target keeps its low 16 bits).
bool ReadIntSetting(const TiXmlElement& group, const char* setting, const char* attribute, std::int32_t& target);
bool ReadIntSetting(const TiXmlElement& group, const char* setting, const char* attribute, std::uint16_t& target);
