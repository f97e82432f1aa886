#include "settings/settings_xml.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstring>
#include <exception>

#include "text/code_page.h"
#include "text/utf8.h"

namespace {

// Far beyond the three levels the files use, far below what the parser's
// recursion can take on a 1 MB stack.
constexpr std::size_t kMaxNesting = 256;
// The parser checks each attribute against all before it on the same element; the
// files use two.
constexpr std::size_t kMaxAttributes = 64;
// Elements, attributes, text and other nodes: each costs the parser a hundred bytes
// and more. Room for over 300,000 aliases; tiny elements filling the file size limit
// would take gigabytes.
constexpr std::size_t kMaxParts = 1000000;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsNameStart(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 127 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool StartsWith(const char* p, const char* prefix, bool ignoreCase = false) {
    for (; *prefix; ++p, ++prefix) {
        char c = ignoreCase ? AsciiLower(*p) : *p;
        if (c != *prefix) return false;
    }
    return true;
}
// Searches end at |stop|, the text's terminating NUL, so that no search rescans the
// rest of a long text.
const char* SkipPast(const char* p, const char* stop, std::string_view end) {
    std::size_t found = std::string_view(p, stop - p).find(end);
    return found == std::string_view::npos ? stop : p + found + end.size();
}
const char* SkipQuoted(const char* p, const char* stop) {  // p at the opening quote
    const void* close = std::memchr(p + 1, *p, stop - (p + 1));
    return close ? static_cast<const char*>(close) + 1 : stop;
}

}  // namespace

// TinyXML parses by recursion, builds attribute lists by linear search and frees by
// recursion again, so a hostile file could exhaust the stack or hang the start. This
// follows the parser's own reading of markup (so quoted values, comments, CDATA and
// declarations hide nothing from it) and may count more than the parser would, never
// less, up to the point where the parser gives up.
bool WithinParserLimits(const char* p) {
    const char* const stop = p + std::strlen(p);
    std::size_t depth = 0, parts = 0;
    while (*p) {
        if (*p != '<') {
            const char* next = static_cast<const char*>(std::memchr(p, '<', stop - p));
            if (!next) next = stop;
            if (std::any_of(p, next, [](char c) { return !IsSpace(c); }) && ++parts > kMaxParts) return false;
            p = next;
            continue;
        }
        if (p[1] != '/' && ++parts > kMaxParts) return false;
        if (p[1] == '/') {
            if (depth > 0) --depth;
            p = SkipPast(p, stop, ">");
        } else if (StartsWith(p, "<?xml", true)) {
            p += 5;
            while (*p && *p != '>') {
                // Byte-order marks count as white space in some of the parser's modes only.
                if (*p == '\xEF') return false;
                if (IsSpace(*p)) {
                    ++p;
                } else if (StartsWith(p, "version", true) || StartsWith(p, "encoding", true) ||
                           StartsWith(p, "standalone", true)) {
                    while (*p && !IsSpace(*p) && *p != '=' && *p != '>' && *p != '\'' && *p != '"') ++p;
                    while (IsSpace(*p)) ++p;
                    if (*p != '=') return true;  // the parser stops here
                    ++p;
                    while (IsSpace(*p)) ++p;
                    if (*p == '\xEF') return false;
                    if (*p == '"' || *p == '\'') {
                        p = SkipQuoted(p, stop);
                    } else {
                        while (*p && !IsSpace(*p) && *p != '/' && *p != '>') {
                            if (*p == '"' || *p == '\'') return true;
                            ++p;
                        }
                    }
                } else {
                    while (*p && *p != '>' && !IsSpace(*p)) {
                        if (*p == '\xEF') return false;
                        ++p;
                    }
                }
            }
            if (*p) ++p;
        } else if (StartsWith(p, "<!--")) {
            p = SkipPast(p + 4, stop, "-->");
        } else if (StartsWith(p, "<![CDATA[")) {
            p = SkipPast(p + 9, stop, "]]>");
        } else if (IsNameStart(p[1])) {
            std::size_t attributes = 0;
            ++p;
            while (*p) {
                if (*p == '"' || *p == '\'') {
                    p = SkipQuoted(p, stop);
                } else if (*p == '/' && p[1] == '>') {
                    p += 2;
                    break;
                } else if (*p == '>') {
                    ++p;
                    if (++depth > kMaxNesting) return false;
                    break;
                } else {
                    if (*p == '=' && (++attributes > kMaxAttributes || ++parts > kMaxParts)) return false;
                    ++p;
                }
            }
        } else {
            p = SkipPast(p + 1, stop, ">");  // "<!...>" and other unknown markup
        }
    }
    return true;
}

namespace {

// "&#" and digits (or "&#x" and hex digits) whose value is above 0x7F, anywhere:
// more than the parser sees as references, never fewer.
bool HasReferenceAboveAscii(std::string_view text) {
    for (std::size_t at = text.find("&#"); at != std::string_view::npos; at = text.find("&#", at + 2)) {
        std::size_t i = at + 2;
        bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
        if (hex) ++i;
        unsigned long value = 0;
        for (; i < text.size(); ++i) {
            char c = AsciiLower(text[i]);
            int digit = (c >= '0' && c <= '9') ? c - '0' : (hex && c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
            if (digit < 0) break;
            value = value * (hex ? 16 : 10) + unsigned(digit);
            if (value > 0x7F) return true;
        }
    }
    return false;
}

std::string FromFile(const char* value, const AnsiUtf8Converter& converter, bool& lossless) {
    std::string_view bytes(value);
    if (!IsValidUtf8(bytes)) return std::string(bytes);  // written raw by an older build
    std::string ansi;
    if (!converter.Utf8ToAnsi(bytes, ansi)) lossless = false;
    return ansi;
}

std::string ToFile(const std::string& ansi, const AnsiUtf8Converter& converter) {
    std::string utf8;
    // Bytes that are no text of the code page go out as they are and come back
    // the same way, since they cannot be valid UTF-8 either.
    return converter.AnsiToUtf8(ansi, utf8) ? utf8 : ansi;
}

std::string Print(const TiXmlDocument& document) {
    TiXmlPrinter printer;  // four spaces per level
    printer.SetLineBreak("\r\n");  // as the library's own file writer gives them on Windows
    document.Accept(&printer);
    return std::string(printer.CStr(), printer.Size());
}

}  // namespace

bool ParseSettingsDocument(std::string_view bytes, TiXmlDocument& document, bool* whole, ParsePosition* failedAt) {
    if (failedAt) *failedAt = ParsePosition{};
    // Notepad's "Unicode" and "Unicode big endian": the parser itself reads only bytes.
    std::string decoded;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        if (!Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE', decoded)) return false;
        bytes = decoded;
    }
    // Line ends as TinyXML's own file loading makes them; the parser stops at a NUL.
    bytes = bytes.substr(0, bytes.find('\0'));
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t cr = std::min(bytes.find('\r', i), bytes.size());
        text.append(bytes, i, cr - i);
        if (cr == bytes.size()) break;
        text += '\n';
        i = cr + (cr + 1 < bytes.size() && bytes[cr + 1] == '\n' ? 2 : 1);
    }
    if (!WithinParserLimits(text.c_str())) return false;
    // Left to choose, the library reads a file without a declaration (or with another
    // encoding named) byte by byte, and keeps only the low byte of a reference such as
    // &#1087;. Its UTF-8 reading, though, takes a stray high byte as the start of a
    // sequence and can swallow the closing quote: only text that is UTF-8 is read so.
    TiXmlEncoding encoding = TIXML_ENCODING_UTF8;
    if (!IsValidUtf8(text)) {
        encoding = TIXML_ENCODING_LEGACY;
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
        if (whole) *whole = !HasReferenceAboveAscii(text);
    } else if (whole) {
        *whole = true;
    }
    document.Parse(text.c_str(), nullptr, encoding);
    if (document.Error() && failedAt) *failedAt = {document.ErrorRow(), document.ErrorCol()};
    return !document.Error() && document.RootElement() != nullptr;
}

AliasReadResult ReadAliasesXml(std::string_view bytes, const AnsiUtf8Converter& converter,
                               std::vector<AliasEntry>& aliases) {
    aliases.clear();
    AliasReadResult result;
    try {
        TiXmlDocument document;
        bool whole = true;
        if (!ParseSettingsDocument(bytes, document, &whole, &result.failedAt)) return result;
        result.loaded = true;
        result.lossless = whole;
        TiXmlNode* first = document.RootElement()->FirstChild("alias");
        for (TiXmlElement* e = first ? first->ToElement() : nullptr; e; e = e->NextSiblingElement()) {
            const char* name = e->Attribute("alias");
            const char* command = e->Attribute("cmd");
            if (!name || !command) continue;
            std::string n = FromFile(name, converter, result.lossless);
            aliases.push_back({std::move(n), FromFile(command, converter, result.lossless)});
        }
    } catch (const std::exception&) {  // out of memory: no part of the file counts as read
        aliases.clear();
        return AliasReadResult{};
    }
    return result;
}

std::string WriteAliasesXml(const std::vector<AliasEntry>& aliases, const AnsiUtf8Converter& converter) {
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "utf-8", ""));
    TiXmlElement* root = new TiXmlElement("aliases");
    document.LinkEndChild(root);
    for (const AliasEntry& entry : aliases) {
        TiXmlElement* alias = new TiXmlElement("alias");
        // As C strings in either build of the library: no text here holds a NUL.
        alias->SetAttribute("alias", ToFile(entry.name, converter).c_str());
        alias->SetAttribute("cmd", ToFile(entry.command, converter).c_str());
        root->LinkEndChild(alias);
    }
    return Print(document);
}

bool ReadIntSetting(const TiXmlElement& group, const char* setting, const char* attribute, std::int32_t& target) {
    const TiXmlNode* node = group.FirstChild(setting);
    const TiXmlElement* element = node ? node->ToElement() : nullptr;
    if (!element) return false;
    int value = 0;
    if (element->QueryIntAttribute(attribute, &value) == TIXML_SUCCESS) target = value;
    return true;
}

bool ReadIntSetting(const TiXmlElement& group, const char* setting, const char* attribute, std::uint16_t& target) {
    std::int32_t value = target;
    bool found = ReadIntSetting(group, setting, attribute, value);
    target = static_cast<std::uint16_t>(value);
    return found;
}

bool ReadSettingsXml(std::string_view bytes, SettingsOptions& s, ParsePosition* failedAt) {
    TiXmlDocument document;
    try {
        if (!ParseSettingsDocument(bytes, document, nullptr, failedAt)) return false;
    } catch (const std::exception&) {  // out of memory
        return false;
    }
    const TiXmlElement* root = document.RootElement();
    const TiXmlNode* node = root->FirstChild("general");
    if (const TiXmlElement* general = node ? node->ToElement() : nullptr) {
        ReadIntSetting(*general, "start_with_windows", "val", s.start_with_windows);
        ReadIntSetting(*general, "icon_in_tray", "val", s.icon_in_tray);
        ReadIntSetting(*general, "hot_key", "key", s.hot_key_key);
        ReadIntSetting(*general, "hot_key", "mod", s.hot_key_mod);
    }
    node = root->FirstChild("show");
    if (const TiXmlElement* show = node ? node->ToElement() : nullptr) {
        ReadIntSetting(*show, "run_history", "val", s.run_history);
        ReadIntSetting(*show, "typed_urls", "val", s.typed_urls);
        ReadIntSetting(*show, "start_menu", "val", s.start_menu);
    }
    return true;
}

std::string WriteSettingsXml(const SettingsOptions& s) {
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "utf-8", ""));
    TiXmlElement* root = new TiXmlElement("settings");
    document.LinkEndChild(root);
    auto add = [](TiXmlElement* parent, const char* name) {
        TiXmlElement* element = new TiXmlElement(name);
        parent->LinkEndChild(element);
        return element;
    };
    TiXmlElement* general = add(root, "general");
    add(general, "start_with_windows")->SetAttribute("val", s.start_with_windows);
    add(general, "icon_in_tray")->SetAttribute("val", s.icon_in_tray);
    TiXmlElement* hotKey = add(general, "hot_key");
    hotKey->SetAttribute("key", s.hot_key_key);
    hotKey->SetAttribute("mod", s.hot_key_mod);
    TiXmlElement* show = add(root, "show");
    add(show, "run_history")->SetAttribute("val", s.run_history);
    add(show, "typed_urls")->SetAttribute("val", s.typed_urls);
    add(show, "start_menu")->SetAttribute("val", s.start_menu);
    return Print(document);
}
