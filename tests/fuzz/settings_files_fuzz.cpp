// Feeds any bytes to both loaders. Whatever loads must save and load back to the
// same table and record. Two alias lists read from the bytes (split at 0x1F), as
// the start and the end of a Settings dialog, must merge to the dialog's list
// when the disk already holds it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <tinyxml.h>

#include "settings/settings_merge.h"
#include "settings/settings_xml.h"

namespace {
// Keeps the bytes: the round trip below then compares what the file itself held.
class SameBytes final : public AnsiUtf8Converter {
public:
    bool AnsiToUtf8(std::string_view ansi, std::string& utf8) const override {
        utf8.assign(ansi);
        return true;
    }
    bool Utf8ToAnsi(std::string_view utf8, std::string& ansi) const override {
        ansi.assign(utf8);
        return true;
    }
};

int Depth(const TiXmlNode& node) {
    int deepest = 0;
    for (const TiXmlNode* child = node.FirstChild(); child; child = child->NextSibling())
        deepest = std::max(deepest, Depth(*child));
    return deepest + 1;
}

// The most attributes on any one element.
int MostAttributes(const TiXmlNode& node) {
    int most = 0;
    if (const TiXmlElement* element = node.ToElement())
        for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) ++most;
    for (const TiXmlNode* child = node.FirstChild(); child; child = child->NextSibling())
        most = std::max(most, MostAttributes(*child));
    return most;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SameBytes converter;

    // The nesting and attribute checks may refuse more than they must, never let more through.
    TiXmlDocument document;
    if (ParseSettingsDocument(bytes, document) && (Depth(document) > 258 || MostAttributes(document) > 64))
        std::abort();

    AliasTable table;
    if (ReadAliasesXml(bytes, converter, table).loaded) {
        AliasTable back;
        if (!ReadAliasesXml(WriteAliasesXml(table, converter), converter, back).loaded) std::abort();
        if (back.Count() != table.Count()) std::abort();
        for (std::size_t i = 0; i < table.Count(); ++i)
            if (back[i].name != table[i].name || back[i].command != table[i].command) std::abort();
    }

    std::vector<AliasEntry> lists[2];
    std::size_t from = 0;
    for (std::vector<AliasEntry>& list : lists) {
        std::size_t end = std::min(bytes.find('\x1F', from), bytes.size());
        ReadAliasesXml(bytes.substr(from, end - from), converter, list);
        from = std::min(end + 1, bytes.size());
    }
    const auto& [base, mine] = lists;
    if (MergeAliases(base, mine, mine) != mine) std::abort();

    SettingsOptions settings;
    if (ReadSettingsXml(bytes, settings)) {
        SettingsOptions back;
        back.start_with_windows = back.icon_in_tray = back.run_history = back.typed_urls = back.start_menu = 99;
        back.hot_key_key = back.hot_key_mod = 99;
        if (!ReadSettingsXml(WriteSettingsXml(settings), back)) std::abort();
        if (WriteSettingsXml(back) != WriteSettingsXml(settings)) std::abort();
    }
    return 0;
}
