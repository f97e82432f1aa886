#include <gtest/gtest.h>
#include <tinyxml.h>

#include <new>
#include <random>
#include <string>

#include "settings/settings_xml.h"

namespace {

// A Latin-1 code page: byte b is U+00b; anything above U+00FF has no ANSI form.
class Latin1Converter final : public AnsiUtf8Converter {
public:
    bool AnsiToUtf8(std::string_view ansi, std::string& utf8) const override {
        utf8.clear();
        for (unsigned char c : ansi) {
            if (c < 0x80) {
                utf8 += char(c);
            } else {
                utf8 += char(0xC0 | (c >> 6));
                utf8 += char(0x80 | (c & 0x3F));
            }
        }
        return true;
    }
    bool Utf8ToAnsi(std::string_view utf8, std::string& ansi) const override {
        ansi.clear();
        bool lossless = true;
        for (std::size_t i = 0; i < utf8.size();) {
            unsigned char c = utf8[i];
            std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            unsigned code = length == 1 ? c : (c & (0x3F >> (length - 1)));
            for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
            if (code > 0xFF) {
                ansi += '?';
                lossless = false;
            } else {
                ansi += char(code);
            }
            i += length;
        }
        return lossless;
    }
};

const Latin1Converter kLatin1;

// The program's own code page when it runs with UTF-8.
class Utf8Converter final : public AnsiUtf8Converter {
public:
    bool AnsiToUtf8(std::string_view ansi, std::string& utf8) const override { return utf8.assign(ansi), true; }
    bool Utf8ToAnsi(std::string_view utf8, std::string& ansi) const override { return ansi.assign(utf8), true; }
};

const char kDefaultSettings[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
    "<settings>\r\n"
    "    <general>\r\n"
    "        <start_with_windows val=\"1\" />\r\n"
    "        <icon_in_tray val=\"0\" />\r\n"
    "        <hot_key key=\"82\" mod=\"2\" />\r\n"
    "    </general>\r\n"
    "    <show>\r\n"
    "        <run_history val=\"1\" />\r\n"
    "        <typed_urls val=\"1\" />\r\n"
    "        <start_menu val=\"1\" />\r\n"
    "    </show>\r\n"
    "</settings>\r\n";

AliasTable ReadAliases(const std::string& text, bool expectLoaded = true) {
    AliasTable table;
    table.Append("stale", "entry");
    AliasReadResult result = ReadAliasesXml(text, kLatin1, table);
    EXPECT_EQ(result.loaded, expectLoaded) << text.substr(0, 200);
    return table;
}

std::string Dump(const AliasTable& table) {
    std::string out;
    for (const AliasEntry& e : table) out += "[" + e.name + "=" + e.command + "]";
    return out;
}

AppSettings ReadSettings(const std::string& text, bool expectLoaded = true) {
    AppSettings settings;
    EXPECT_EQ(ReadSettingsXml(text, settings), expectLoaded) << text.substr(0, 200);
    return settings;
}

std::string Fields(const AppSettings& s) {
    return std::to_string(s.start_with_windows) + " " + std::to_string(s.icon_in_tray) + " " +
           std::to_string(s.hot_key_key) + "/" + std::to_string(s.hot_key_mod) + " " + std::to_string(s.run_history) +
           " " + std::to_string(s.typed_urls) + " " + std::to_string(s.start_menu);
}

const std::string kDefaults = "1 0 82/2 1 1 1";

}  // namespace

TEST(SettingsXml, WritesTheDefaultsAndTheOneAliasExampleByteForByte) {
    EXPECT_EQ(WriteSettingsXml(AppSettings{}), kDefaultSettings);

    AliasTable table;
    EXPECT_EQ(WriteAliasesXml(table, kLatin1), "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<aliases />\r\n");
    table.Append("reg", "regedit.exe");
    EXPECT_EQ(WriteAliasesXml(table, kLatin1),
              "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
              "<aliases>\r\n"
              "    <alias alias=\"reg\" cmd=\"regedit.exe\" />\r\n"
              "</aliases>\r\n");

    AppSettings odd;
    odd.start_with_windows = -7;
    odd.hot_key_key = 65535;
    odd.hot_key_mod = 0;
    EXPECT_NE(WriteSettingsXml(odd).find("<start_with_windows val=\"-7\" />"), std::string::npos);
    EXPECT_NE(WriteSettingsXml(odd).find("<hot_key key=\"65535\" mod=\"0\" />"), std::string::npos);
}

TEST(SettingsXml, WrittenFilesReadBackToTheSameRecord) {
    AppSettings s;
    s.start_with_windows = 0;
    s.icon_in_tray = 2;
    s.run_history = 0;
    s.typed_urls = -1;
    s.start_menu = 0;
    s.hot_key_key = 0x70;
    s.hot_key_mod = 5;
    EXPECT_EQ(Fields(ReadSettings(WriteSettingsXml(s))), "0 2 112/5 0 -1 0");
    EXPECT_EQ(Fields(ReadSettings(kDefaultSettings)), kDefaults);
    // Files with bare line feeds or bare carriage returns read the same.
    std::string written = WriteSettingsXml(s), lf, cr;
    for (char c : written) {
        if (c != '\r') lf += c;
        if (c != '\n') cr += c;
    }
    EXPECT_EQ(Fields(ReadSettings(lf)), "0 2 112/5 0 -1 0");
    EXPECT_EQ(Fields(ReadSettings(cr)), "0 2 112/5 0 -1 0");
}

TEST(SettingsXml, ReadsFieldByFieldAndLeavesTheRestAlone) {
    // Only "show": the general fields keep their defaults.
    EXPECT_EQ(Fields(ReadSettings("<settings><show><run_history val='0'/><typed_urls val='0'/>"
                                  "<start_menu val='0'/></show></settings>")),
              "1 0 82/2 0 0 0");
    // Any root name; out of order, extra elements and attributes.
    EXPECT_EQ(Fields(ReadSettings("<?xml version='1.0'?><config><show x='1'><start_menu val='0' y='2'/>"
                                  "<junk/></show><other/><general><hot_key mod='4' key='70'/>"
                                  "<icon_in_tray val='1'/></general></config>")),
              "1 1 70/4 1 1 0");
    // Case matters for names: "General" is not "general".
    EXPECT_EQ(Fields(ReadSettings("<settings><General><icon_in_tray val='1'/></General>"
                                  "<show><Run_History val='0'/></show></settings>")),
              kDefaults);
    // key without mod; a 16-bit field keeps the low 16 bits.
    EXPECT_EQ(Fields(ReadSettings("<s><general><hot_key key='65'/></general></s>")), "1 0 65/2 1 1 1");
    EXPECT_EQ(Fields(ReadSettings("<s><general><hot_key key='65601' mod='-1'/></general></s>")), "1 0 65/65535 1 1 1");
    // The integer query: 2 and 7 as they are, 1x reads 1, yes and empty change nothing.
    EXPECT_EQ(Fields(ReadSettings("<s><general><start_with_windows val='7'/><icon_in_tray val='2'/></general>"
                                  "<show><run_history val='yes'/><typed_urls val=''/><start_menu val=' -3x'/>"
                                  "</show></s>")),
              "7 2 82/2 1 1 -3");
    EXPECT_EQ(Fields(ReadSettings("<s><general><icon_in_tray val='1x'/></general></s>")), "1 1 82/2 1 1 1");
    // A group or setting that is first met as text is no element: skipped.
    EXPECT_EQ(Fields(ReadSettings("<s>general<general>icon_in_tray<icon_in_tray val='1'/></general></s>")),
              "1 0 82/2 1 1 1");
    // A root with nothing known still counts as loaded.
    EXPECT_EQ(Fields(ReadSettings("<settings/>")), kDefaults);
}

TEST(SettingsXml, FilesThatDoNotLoadLeaveEveryField) {
    AppSettings changed;
    changed.icon_in_tray = 1;
    const std::string broken = WriteSettingsXml(changed).substr(0, 150);
    for (const std::string& text : {std::string(), std::string("   \n"), std::string("<?xml version=\"1.0\"?>"),
                                    std::string("<!-- only a comment -->"), broken, std::string("plain text")}) {
        EXPECT_EQ(Fields(ReadSettings(text, false)), kDefaults) << text;
    }
}

TEST(AliasesXml, ReadsFromTheFirstAliasElementOnWithBothAttributes) {
    EXPECT_EQ(Dump(ReadAliases("<?xml version=\"1.0\" encoding=\"utf-8\" ?><aliases>"
                               "<alias alias=\"reg\" cmd=\"regedit.exe\" /></aliases>")),
              "[reg=regedit.exe]");
    // Before the first "alias" nothing counts; after it every element does, whatever its
    // name; an element without both attributes is skipped; text and children are ignored.
    EXPECT_EQ(Dump(ReadAliases("<list><entry alias='x' cmd='before'/>text<alias alias='a' cmd='1' extra='e'>"
                               "<alias alias='child' cmd='no'/></alias><alias alias='nocmd'/><alias cmd='noname'/>"
                               "<!-- c --><other alias='b' cmd='2'/>more text<alias alias='' cmd=''/></list>")),
              "[a=1][b=2][=]");
    // Duplicates, also by case, stay in file order.
    AliasTable dup = ReadAliases("<aliases><alias alias='np' cmd='one'/><alias alias='NP' cmd='two'/>"
                                 "<alias alias='np' cmd='three'/></aliases>");
    EXPECT_EQ(Dump(dup), "[np=one][NP=two][np=three]");
    EXPECT_EQ(Dump(ReadAliases(WriteAliasesXml(dup, kLatin1))), Dump(dup));
    // A root without any "alias" loads as an empty table; so does a root whose first
    // "alias" child is text, not an element.
    EXPECT_EQ(ReadAliases("<aliases><x alias='a' cmd='b'/></aliases>").Count(), 0u);
    EXPECT_EQ(ReadAliases("<aliases>alias<x alias='a' cmd='b'/></aliases>").Count(), 0u);
    // Whatever the outcome, the old content is gone.
    EXPECT_EQ(ReadAliases("<aliases", false).Count(), 0u);
    EXPECT_EQ(ReadAliases("", false).Count(), 0u);
}

TEST(AliasesXml, LoadThenSaveWritesTheProgramsOwnForm) {
    AliasTable table = ReadAliases("<?xml version='1.0'?>\r\n<root>\r\n\t<alias cmd='notepad.exe' alias='np' x='1'/>"
                                   "\r\n<skip alias='only'/><a alias='g' cmd='http://www.google.com/search?q=$param'/>"
                                   "</root>");
    EXPECT_EQ(WriteAliasesXml(table, kLatin1),
              "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
              "<aliases>\r\n"
              "    <alias alias=\"np\" cmd=\"notepad.exe\" />\r\n"
              "    <alias alias=\"g\" cmd=\"http://www.google.com/search?q=$param\" />\r\n"
              "</aliases>\r\n");
}

TEST(AliasesXml, ReservedAndNonAsciiCharactersRoundTrip) {
    AliasTable table;
    table.Append("q\"uote'", "a & b <c> \"d\" 'e' &amp; &#x41; &#65;");
    table.Append("caf\xE9", "\xFF\xE0 \xA0 t\xFCr");  // Latin-1 bytes
    table.Append("", "tab\there");
    std::string text = WriteAliasesXml(table, kLatin1);
    EXPECT_NE(text.find("&amp;amp;"), std::string::npos);
    EXPECT_NE(text.find("&lt;c&gt;"), std::string::npos);
    EXPECT_NE(text.find("caf\xC3\xA9"), std::string::npos) << "written as UTF-8";
    EXPECT_EQ(text.find("caf\xE9"), std::string::npos);
    AliasTable back;
    AliasReadResult result = ReadAliasesXml(text, kLatin1, back);
    EXPECT_TRUE(result.loaded);
    EXPECT_TRUE(result.lossless);
    EXPECT_EQ(Dump(back), Dump(table));
}

TEST(AliasesXml, ReadsLegacyRawAnsiAndFlagsTextWithoutAnAnsiForm) {
    // An older build wrote ANSI bytes under a utf-8 declaration: taken as they are,
    // and the closing quote after a stray high byte is not swallowed.
    AliasTable legacy = ReadAliases("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<aliases>\n"
                                    "    <alias alias=\"caf\xE9\" cmd=\"\xE9\" />\n"
                                    "    <alias alias=\"next\" cmd=\"x\xC3\" />\n</aliases>\n");
    EXPECT_EQ(Dump(legacy), "[caf\xE9=\xE9][next=x\xC3]");
    // A byte-order mark before such a file does not stop it.
    EXPECT_EQ(Dump(ReadAliases("\xEF\xBB\xBF<aliases><alias alias='\xE9' cmd='c'/></aliases>")), "[\xE9=c]");
    // Real UTF-8 beside it still converts.
    EXPECT_EQ(Dump(ReadAliases("\xEF\xBB\xBF<aliases><alias alias='\xC3\xA9' cmd='c'/></aliases>")), "[\xE9=c]");

    AliasTable table;
    AliasReadResult result =
        ReadAliasesXml("<aliases><alias alias='\xE2\x82\xAC' cmd='euro'/></aliases>", kLatin1, table);
    EXPECT_TRUE(result.loaded);
    EXPECT_FALSE(result.lossless);
    EXPECT_EQ(Dump(table), "[?=euro]");
}

// UTF-16 text as a file holds it: a byte-order mark, then two bytes a unit.
std::string Utf16File(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        char high = char(unit >> 8), low = char(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// The bytes decide, not the declaration: UTF-16 with its byte-order mark (what
// Notepad saves as "Unicode") is read as its text, bytes that are UTF-8 as UTF-8,
// references included. (The literals below are UTF-8.)
TEST(AliasesXml, EveryEncodingAWindowsEditorSavesReadsWhole) {
    const Utf8Converter utf8;
    const std::u16string unicode = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<aliases>\r\n"
                                   u"<alias alias=\"привет\" cmd=\"notepad.exe 😀.txt\"/></aliases>\r\n";
    std::string cut = Utf16File(unicode, false);
    cut.pop_back();  // a save caught half-way through a unit
    const struct {
        const AnsiUtf8Converter& page;
        std::string file, table;
        bool lossless = true, loaded = true;
    } cases[] = {
        {kLatin1, "<?xml version='1.0' encoding='windows-1252'?><aliases><alias alias='привет' cmd='x'/></aliases>",
         "[\?\?\?\?\?\?=x]", false},
        {kLatin1, "<?xml version='1.0' encoding='us-ascii'?><aliases><alias alias='caf&#xE9;' cmd='&#128512;'/></aliases>",
         "[caf\xE9=?]", false},
        // As a script's XML writer leaves it: no declaration, references beyond ASCII.
        {utf8, "<aliases><alias alias='&#1087;&#1088;&#1080;' cmd='notepad.exe caf&#233;.txt'/></aliases>",
         "[при=notepad.exe café.txt]"},
        {utf8, "\xEF\xBB\xBF<aliases><alias alias='привет' cmd='x'/></aliases>", "[привет=x]"},
        {utf8, Utf16File(unicode, false), "[привет=notepad.exe 😀.txt]"},
        {utf8, Utf16File(unicode, true), "[привет=notepad.exe 😀.txt]"},
        {kLatin1, Utf16File(u"<aliases><alias alias='caf\u00E9' cmd='\u20AC'/></aliases>", false), "[caf\xE9=?]", false},
        {utf8, cut, "", true, false},
        {utf8, Utf16File(u"<aliases><alias alias='\xD83D' cmd='lone surrogate'/></aliases>", false), "", true, false},
    };
    for (const auto& c : cases) {
        AliasTable table;
        AliasReadResult result = ReadAliasesXml(c.file, c.page, table);
        EXPECT_EQ(result.loaded, c.loaded) << c.file;
        EXPECT_EQ(result.lossless, c.lossless) << c.file;  // not lossless: kept aside, a name lost its form
        EXPECT_EQ(Dump(table), c.table) << c.file;
    }
    // settings.xml the same way.
    EXPECT_EQ(Fields(ReadSettings(Utf16File(u"<settings><show><start_menu val='0'/></show></settings>", true))),
              "1 0 82/2 1 1 0");
}

// Text that is no UTF-8 is read byte by byte, where the parser keeps only the
// low byte of a reference: the file is then kept aside like any other loss.
TEST(AliasesXml, ReferencesAboveAsciiInTextReadByteByByteKeepTheFileAside) {
    for (auto [reference, lossless] : {std::pair{"&#127;", true}, {"&amp;#1087;", true}, {"&#128;", false},
                                       {"&#1087;", false}, {"&#x43f;", false}}) {
        AliasTable table;
        const std::string file = std::string("<aliases><alias alias='caf\xE9 ") + reference + "' cmd='x'/></aliases>";
        AliasReadResult result = ReadAliasesXml(file, kLatin1, table);
        EXPECT_TRUE(result.loaded && table.Count() == 1) << reference;
        EXPECT_EQ(result.lossless, lossless) << reference;
    }
}

TEST(AliasesXml, BadInputLoadsSoundlyAndQuickly) {
    // A few megabytes of aliases.
    std::string big = "<aliases>";
    for (int i = 0; i < 40000; ++i) big += "<alias alias='a" + std::to_string(i) + "' cmd='c:\\some\\longer\\path\\x.exe'/>";
    big += "</aliases>";
    ASSERT_GT(big.size(), 2u << 20);
    AliasTable many = ReadAliases(big);
    ASSERT_EQ(many.Count(), 40000u);
    EXPECT_EQ(many[39999].name, "a39999");

    // Deep nesting, also hidden in the ways the parser reads markup.
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    EXPECT_EQ(ReadAliases(deep, false).Count(), 0u);
    std::string sneaky = "<aliases>";
    for (int i = 0; i < 5000; ++i) sneaky += "<a x=\"/>\" y='</a>'><!-- </a> --><![CDATA[</a>]]><!x </a>>";
    EXPECT_EQ(ReadAliases(sneaky, false).Count(), 0u);
    std::string nestedDeclarations = "<aliases>";
    for (int i = 0; i < 5000; ++i) nestedDeclarations += "<a><?xml version=\"></a>\" ?>";
    EXPECT_EQ(ReadAliases(nestedDeclarations, false).Count(), 0u);
    std::string shallow = "<aliases>";
    for (int i = 0; i < 200; ++i) shallow += "<a>";
    for (int i = 0; i < 200; ++i) shallow += "</a>";
    shallow += "<alias alias='ok' cmd='yes'/></aliases>";
    EXPECT_EQ(Dump(ReadAliases(shallow)), "[ok=yes]");

    // Many attributes on one element.
    std::string wide = "<aliases><alias";
    for (int i = 0; i < 200000; ++i) wide += " a" + std::to_string(i) + "=''";
    wide += "/></aliases>";
    EXPECT_EQ(ReadAliases(wide, false).Count(), 0u);

    // An attribute of 100,000 characters.
    std::string longCommand(100000, 'x');
    AliasTable longOne = ReadAliases("<aliases><alias alias='l' cmd='" + longCommand + "'/></aliases>");
    ASSERT_EQ(longOne.Count(), 1u);
    EXPECT_EQ(longOne[0].command, longCommand);

    // Random bytes and NULs.
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        std::string noise(1 + random() % 4000, '\0');
        for (char& c : noise) c = char(random());
        if (round % 2) noise = "<aliases><alias alias='a' cmd='" + noise;
        AliasTable table;
        ReadAliasesXml(noise, kLatin1, table);
        AppSettings settings;
        ReadSettingsXml(noise, settings);
    }
    EXPECT_EQ(Dump(ReadAliases(std::string("<aliases><alias alias='a' cmd='b'/></aliases>\0<x>", 49))), "[a=b]");
}

TEST(AliasesXml, HostileFilesAreRefusedBeforeTheyCostTimeOrMemory) {
    auto aliases = [](std::size_t count) {
        std::string text = "<aliases>\n";
        for (std::size_t i = 0; i < count; ++i) text += "<alias alias='a' cmd='c'/>\n";
        return text + "</aliases>";
    };
    // Hundreds of thousands of aliases are a file the program must take.
    EXPECT_TRUE(WithinParserLimits(aliases(300000).c_str()));

    // A million tiny elements (a few megabytes) would take the parser hundreds of megabytes.
    std::string tiny = "<aliases>";
    for (int i = 0; i < 1000000; ++i) tiny += "<a/>";
    tiny += "<alias alias='a' cmd='c'/></aliases>";
    EXPECT_FALSE(WithinParserLimits(tiny.c_str()));
    EXPECT_EQ(ReadAliases(tiny, false).Count(), 0u);
    std::string words = "<aliases>";
    for (int i = 0; i < 1000000; ++i) words += "x<!---->";
    EXPECT_FALSE(WithinParserLimits((words + "</aliases>").c_str()));

    // Each attribute is checked against those before it on its element: many elements
    // with a thousand attributes each cost the parser seconds.
    auto attributes = [](int perElement) {
        std::string text = "<aliases>";
        for (int e = 0; e < 50; ++e) {
            text += "<alias alias='a' cmd='c'";
            for (int i = 2; i < perElement; ++i) text += " x" + std::to_string(i) + "=''";
            text += "/>";
        }
        return text + "</aliases>";
    };
    EXPECT_EQ(ReadAliases(attributes(64)).Count(), 50u);
    EXPECT_EQ(ReadAliases(attributes(65), false).Count(), 0u);
    EXPECT_EQ(ReadAliases(attributes(1000), false).Count(), 0u);
    // Quoted values hide no attributes from the count, nor add any.
    EXPECT_TRUE(WithinParserLimits(("<a b='" + std::string(100, '=') + "'/>").c_str()));
}

TEST(AliasesXml, RunningOutOfMemoryLeavesNothingHalfRead) {
    // Fails like an allocation would, after the first few texts.
    class ExhaustedConverter final : public AnsiUtf8Converter {
    public:
        bool AnsiToUtf8(std::string_view, std::string&) const override { throw std::bad_alloc(); }
        bool Utf8ToAnsi(std::string_view utf8, std::string& ansi) const override {
            if (++calls_ > 3) throw std::bad_alloc();
            ansi.assign(utf8);
            return true;
        }

    private:
        mutable int calls_ = 0;
    } exhausted;
    AliasTable table;
    table.Append("stale", "entry");
    AliasReadResult result;
    EXPECT_NO_THROW(result = ReadAliasesXml("<aliases><alias alias='\xC3\xA9' cmd='1'/><alias alias='b' cmd='2'/>"
                                            "<alias alias='c' cmd='3'/></aliases>",
                                            exhausted, table));
    EXPECT_FALSE(result.loaded) << "so the file is kept, not replaced by what was read";
    EXPECT_EQ(table.Count(), 0u);
}

TEST(Utf8, AcceptsWellFormedTextOnly) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"));
    EXPECT_FALSE(IsValidUtf8("\xE9"));
    EXPECT_FALSE(IsValidUtf8("\xC3"));              // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_FALSE(IsValidUtf8("\x80"));
}
