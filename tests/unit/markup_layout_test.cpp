#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "richtext/markup_layout.h"
#include "fake_markup_device.h"
#include "simulated_code_pages.h"

namespace {
const SingleByteCodePage kSingleByte;
const SimulatedDoubleByteCodePage kDoubleByte;
const CodePage* const kPages[] = {&kSingleByte, &kDoubleByte};
const MarkupColours kColours{0x111111, 0xEEEEEE, 0x000001, 0x000002, 0x000003, 0x000004};
const Colour kRed = MakeColour(0xFF, 0, 0);

// Base font: 16 high, so a plain byte is 8 wide and a bold one 10.
FontDescription BaseFont() {
    FontDescription font;
    font.height = 16;
    font.weight = 400;
    std::strcpy(font.faceName, "Base");
    return font;
}

struct Drawing {
    MarkupLayout layout;
    FakeMarkupDevice device;
    MarkupRect client;

    const std::vector<FakeMarkupDevice::Piece>& Pieces() const { return device.pieces; }
    std::string Text() const {
        std::string all;
        for (const auto& piece : device.pieces) all += piece.text;
        return all;
    }
    int Count(std::int32_t kind) const {
        int n = 0;
        for (const MarkupCommand& c : layout.Commands()) n += c.kind == kind;
        return n;
    }
};

MarkupCacheKey KeyFor(std::string_view text, int width) {
    return MarkupCacheKey{{0, 0, width, 400}, kColours.text, kColours.background, 7, MarkupTextHash(text), text.size()};
}

Drawing Draw(std::string_view text, int width = 1000, const CodePage& page = kSingleByte) {
    Drawing d;
    AsciiMarkupCharacters characters(page);
    MarkupCacheKey key = KeyFor(text, width);
    d.client = key.client;
    d.layout.Layout(text, key, BaseFont(), kColours, characters, d.device);
    d.layout.Replay(text, key.client, page, d.device);
    return d;
}

long long SumOfLengths(const MarkupLayout& layout) {
    long long sum = 0;
    for (const MarkupCommand& c : layout.Commands()) sum += c.length;
    return sum;
}
}  // namespace

TEST(MarkupLayout, EveryByteBelongsToExactlyOneCommand) {
    const std::string texts[] = {
        "",
        "plain",
        "<B>bold</B> plain",
        "a<BR>b\nc",
        "&nbsp;&quot;&apos;&amp;&lt;&gt;",
        "a & b &amp &LT; &",
        "<FONT COLOR=#FF0000 SIZE=7 FACE='Courier New'>x</FONT>",
        "<DIV ALIGN=CENTER>c</DIV></DIV></FONT>",
        "unclosed <B tag runs to the end",
        "<<<>>>",
        "<",
        "&",
        "\n\n\n",
        "<FONT FACE=\"" + std::string(300, 'f') + "\">long</FONT>",
        "\x81<\x81>\x81&\x81 \x81",  // trail bytes that look like markup
        "ends with a lead byte \x81",
    };
    for (const std::string& text : texts) {
        for (const CodePage* page : kPages) {
            Drawing d = Draw(text, 60, *page);
            EXPECT_EQ(SumOfLengths(d.layout), static_cast<long long>(text.size())) << text;
            for (const MarkupCommand& c : d.layout.Commands()) {
                EXPECT_GE(c.length, 0) << text;
                if (c.kind == MarkupCommand::kStyle) {
                    EXPECT_LT(std::size_t(c.value), d.layout.Styles().size()) << text;
                }
            }
            for (const MarkupStyle& s : d.layout.Styles()) EXPECT_LT(std::size_t(s.font), d.layout.Fonts().size());
        }
    }
    // The text ends at its first NUL, as a window text does.
    Drawing d = Draw(std::string_view("ab\0<B>cd", 8));
    EXPECT_EQ(SumOfLengths(d.layout), 2);
    EXPECT_EQ(d.Text(), "ab");
}

TEST(MarkupLayout, DisplayListOfASimpleText) {
    Drawing d = Draw("<B>bold</B> plain");
    const std::vector<MarkupCommand> expected = {
        {MarkupCommand::kStyle, 0, 0}, {MarkupCommand::kStyle, 3, 1}, {MarkupCommand::kText, 4, 16},
        {MarkupCommand::kStyle, 4, 0}, {MarkupCommand::kText, 6, 16},
    };
    EXPECT_EQ(d.layout.Commands(), expected);
    ASSERT_EQ(d.layout.Fonts().size(), 2u);
    EXPECT_EQ(d.layout.Fonts()[0].description, BaseFont());
    EXPECT_EQ(d.layout.Fonts()[1].description.weight, 700);
    // Bold and plain on one line: the space belongs to the plain run.
    ASSERT_EQ(d.Pieces().size(), 2u);
    EXPECT_EQ(d.Pieces()[0].text, "bold");
    EXPECT_EQ(d.Pieces()[0].font.weight, 700);
    EXPECT_EQ(d.Pieces()[1].text, " plain");
    EXPECT_EQ(d.Pieces()[1].font.weight, 400);
    EXPECT_EQ(d.Pieces()[1].x, 4 * 10);
    EXPECT_EQ(d.Pieces()[1].y, 0);
}

TEST(MarkupLayout, PlainClosersEndEveryOpenerAndLooksAreShared) {
    Drawing d = Draw("<B><B>x</B>y<I><UL>z</UL></I>w<B>v</B>");
    ASSERT_EQ(d.Pieces().size(), 5u);
    EXPECT_EQ(d.Pieces()[0].font.weight, 700);
    EXPECT_EQ(d.Pieces()[1].font.weight, 400);  // one /B ends both B
    EXPECT_EQ(d.Pieces()[2].font.italic, 1);
    EXPECT_EQ(d.Pieces()[2].font.underline, 1);
    EXPECT_EQ(d.Pieces()[3].font, BaseFont());
    // Base, bold, italic, italic underlined: each look made once.
    EXPECT_EQ(d.layout.Fonts().size(), 4u);
    EXPECT_EQ(d.layout.Styles().size(), 4u);
    for (std::size_t i = 0; i < d.layout.Fonts().size(); ++i)
        for (std::size_t j = i + 1; j < d.layout.Fonts().size(); ++j)
            EXPECT_FALSE(d.layout.Fonts()[i].description == d.layout.Fonts()[j].description);
    EXPECT_EQ(d.device.fonts.size(), d.layout.Fonts().size());  // the device made each font once
}

TEST(MarkupLayout, TagNamesIgnoreCaseAndOnlyKnownNamesAct) {
    for (const char* text : {"a<BR>b", "a<br>b", "a<Br>b", "a<BR attr>b"}) {
        Drawing d = Draw(text);
        EXPECT_EQ(d.Count(MarkupCommand::kBreak), 1) << text;
        ASSERT_EQ(d.Pieces().size(), 2u) << text;
        EXPECT_EQ(d.Pieces()[1].x, 0) << text;
        EXPECT_EQ(d.Pieces()[1].y, 16) << text;
    }
    Drawing slash = Draw("a<BR/>b");
    EXPECT_EQ(slash.Count(MarkupCommand::kBreak), 0);
    EXPECT_EQ(slash.Text(), "ab");
    EXPECT_EQ(slash.Pieces()[1].y, 0);
    EXPECT_EQ(slash.layout.Styles().size(), 1u);  // an unknown tag repeats the current style
    EXPECT_EQ(slash.Count(MarkupCommand::kStyle), 2);
}

TEST(MarkupLayout, EntitiesAreExactAndAnyOtherAmpersandIsText) {
    Drawing d = Draw("&lt;B&gt;&nbsp;&quot;&apos;&amp;");
    EXPECT_EQ(d.Text(), "<B> \"'&");
    EXPECT_EQ(d.layout.Styles().size(), 1u);  // "<B>" drawn, not obeyed
    EXPECT_EQ(d.Count(MarkupCommand::kEntity), 6);
    EXPECT_EQ(d.Count(MarkupCommand::kText), 1);

    Drawing loose = Draw("a &LT; &Amp; &amp b&");
    EXPECT_EQ(loose.Count(MarkupCommand::kEntity), 0);
    EXPECT_EQ(loose.Count(MarkupCommand::kText), 1);
    EXPECT_EQ(loose.Text(), "a &LT; &Amp; &amp b&");
}

TEST(MarkupLayout, BreaksMoveDownByTheLineOrByTheLetterX) {
    // The first break ends a 72-high line; the second ends an empty one and
    // moves down by X in the font in force, measured once.
    Drawing d = Draw("<FONT SIZE=7>A</FONT><BR><BR>b<BR>c");
    ASSERT_EQ(d.Pieces().size(), 3u);
    EXPECT_EQ(d.Pieces()[1].text, "b");
    EXPECT_EQ(d.Pieces()[1].y, 72 + 16);
    EXPECT_EQ(d.Pieces()[2].y, 72 + 16 + 16);
    EXPECT_EQ(d.device.measuresOfX, 1);
    d.layout.Replay("<FONT SIZE=7>A</FONT><BR><BR>b<BR>c", d.client, kSingleByte, d.device);
    EXPECT_EQ(d.device.measuresOfX, 1);  // stored in the command

    // A line of entities only has no height of its own.
    Drawing entities = Draw("<FONT SIZE=5>&lt;&gt;<BR>x");
    EXPECT_EQ(entities.Pieces().back().y, 36);
    Drawing feed = Draw("a\nb");
    EXPECT_EQ(feed.layout.Commands()[2], (MarkupCommand{MarkupCommand::kBreak, 1, 16}));
    EXPECT_EQ(feed.Pieces()[1].y, 16);
}

TEST(MarkupLayout, SizesAndPiecesAlignedAtTheirTops) {
    const std::pair<const char*, int> sizes[] = {
        {"1", 15}, {"2", 20}, {"3", 24}, {"4", 27}, {"5", 36}, {"6", 48}, {"7", 72},
        {"0", 24}, {"8", 24}, {"-1", 24}, {"", 24}, {"5px", 36}, {"' 5'", 36}, {"99999999999999999999", 24},
    };
    for (const auto& [value, height] : sizes) {
        Drawing d = Draw(std::string("<FONT SIZE=") + value + ">A</FONT>b");
        ASSERT_EQ(d.Pieces().size(), 2u) << value;
        EXPECT_EQ(d.Pieces()[0].font.height, height) << value;
        EXPECT_EQ(d.Pieces()[1].font.height, 16) << value;
        EXPECT_EQ(d.Pieces()[0].y, 0) << value;
        EXPECT_EQ(d.Pieces()[1].y, 0) << value;
        EXPECT_EQ(d.Pieces()[1].x, height / 2) << value;
    }
    EXPECT_EQ(MarkupSizeHeight("6abc"), 48);  // read as atoi reads it
    Drawing bare = Draw("<FONT SIZE>A");
    EXPECT_EQ(bare.Pieces()[0].font.height, 24);
}

TEST(MarkupLayout, ColourForms) {
    EXPECT_EQ(MarkupColourValue("#FF0000", kColours), kRed);
    EXPECT_EQ(MarkupColourValue("#00FF00", kColours), MakeColour(0, 0xFF, 0));
    EXPECT_EQ(MarkupColourValue("#12", kColours), MakeColour(0, 0, 0x12));
    EXPECT_EQ(MarkupColourValue("#FF00FFZZ", kColours), MakeColour(0xFF, 0, 0xFF));
    EXPECT_EQ(MarkupColourValue("#", kColours), MakeColour(0, 0, 0));
    EXPECT_EQ(MarkupColourValue("WINDOW", kColours), kColours.window);
    EXPECT_EQ(MarkupColourValue("WINDOWTEXT", kColours), kColours.windowText);
    EXPECT_EQ(MarkupColourValue("BUTTONFACE", kColours), kColours.buttonFace);
    EXPECT_EQ(MarkupColourValue("BUTTONTEXT", kColours), kColours.buttonText);
    EXPECT_EQ(MarkupColourValue("RED", kColours), MakeColour(0, 0, 0));
    EXPECT_EQ(MarkupColourValue("", kColours), MakeColour(0, 0, 0));

    // Attribute text is upper-cased, may be quoted and spaced, and the first " COLOR" counts.
    const std::pair<const char*, Colour> tags[] = {
        {"<font color=#ff0000>", kRed},
        {"<FONT COLOR = '#FF0000'>", kRed},
        {"<FONT COLOR=\"windowtext\" COLOR=#FF0000>", kColours.windowText},
        {"<FONT COLOR>", MakeColour(0, 0, 0)},
        {"<FONT XCOLOR=#FF0000>", kColours.text},
        {"<FONT FACE='A COLOR=#FF0000'>", kRed},
        {"<FONT COLOR=#FF0000>", kRed},
    };
    for (const auto& [tag, colour] : tags) {
        Drawing d = Draw(std::string(tag) + "x");
        EXPECT_EQ(d.Pieces().at(0).colour, colour) << tag;
    }
    // Only the first 126 bytes of the attribute text are read.
    Drawing far = Draw("<FONT" + std::string(122, ' ') + "COLOR=#FF0000>x");
    EXPECT_EQ(far.Pieces().at(0).colour, kColours.text);
    Drawing cut = Draw("<FONT" + std::string(114, ' ') + "COLOR=#FF0000>x");
    EXPECT_EQ(cut.Pieces().at(0).colour, MakeColour(0x0F, 0xF0, 0x00));  // "#FF000"
    Drawing near = Draw("<FONT" + std::string(113, ' ') + "COLOR=#FF0000>x");
    EXPECT_EQ(near.Pieces().at(0).colour, kRed);
}

TEST(MarkupLayout, FontAndDivShareOneStack) {
    Drawing d = Draw("<FONT COLOR=#FF0000><DIV ALIGN=CENTER>x</FONT>y</DIV>z");
    ASSERT_EQ(d.Pieces().size(), 3u);
    EXPECT_EQ(d.Pieces()[0].colour, kRed);
    EXPECT_EQ(d.Pieces()[0].alignment, kAlignCentre);
    EXPECT_EQ(d.Pieces()[1].colour, kRed);  // /FONT closed the DIV
    EXPECT_EQ(d.Pieces()[1].alignment, kAlignLeft);
    EXPECT_EQ(d.Pieces()[2].colour, kColours.text);  // /DIV closed the FONT
    EXPECT_EQ(d.Pieces()[2].alignment, kAlignLeft);

    Drawing sizes = Draw("<FONT SIZE=7><B>big</FONT>small");
    EXPECT_EQ(sizes.Pieces()[1].font, BaseFont());  // the closer brings back the font in force before

    // Nothing open: the closer does nothing, and the next opener still works.
    Drawing empty = Draw("<B>a</FONT></DIV>b<DIV ALIGN=RIGHT>c</DIV><DIV ALIGN=MIDDLE>d");
    ASSERT_EQ(empty.Pieces().size(), 4u);
    EXPECT_EQ(empty.Pieces()[1].font.weight, 700);
    EXPECT_EQ(empty.Pieces()[2].alignment, kAlignRight);
    EXPECT_EQ(empty.Pieces()[3].alignment, kAlignLeft);  // an unknown ALIGN keeps what was there
}

TEST(MarkupLayout, WrapsAtTheLastFittingSpaceOfARun) {
    // 8 per byte: "aaa bbb " is 64 wide, "aaa bbb ccc" 88.
    Drawing d = Draw("aaa bbb ccc", 70);
    ASSERT_EQ(d.Pieces().size(), 2u);
    EXPECT_EQ(d.Pieces()[0].text, "aaa bbb ");
    EXPECT_EQ(d.Pieces()[1].text, "ccc");
    EXPECT_EQ(d.Pieces()[1].x, 0);
    EXPECT_EQ(d.Pieces()[1].y, 16);

    // A run that begins with a space may break right after it.
    Drawing leading = Draw("abcdef<B> gh</B>", 60);
    ASSERT_EQ(leading.Pieces().size(), 3u);
    EXPECT_EQ(leading.Pieces()[1].text, " ");
    EXPECT_EQ(leading.Pieces()[2].text, "gh");
    EXPECT_EQ(leading.Pieces()[2].x, 0);
    EXPECT_EQ(leading.Pieces()[2].y, 16);

    // A trailing space is no break point: the run stays where the pen is.
    Drawing trailing = Draw("abcdefgh ", 70);
    ASSERT_EQ(trailing.Pieces().size(), 1u);
}

TEST(MarkupLayout, ARunWithoutAUsableSpaceIsDrawnWhereThePenStands) {
    Drawing d = Draw("<B>xx</B>yyyyyyyyyyyy", 50);
    ASSERT_EQ(d.Pieces().size(), 2u);
    EXPECT_EQ(d.Pieces()[1].text, "yyyyyyyyyyyy");
    EXPECT_EQ(d.Pieces()[1].x, 20);
    EXPECT_EQ(d.Pieces()[1].y, 0);
    // The boundary between runs is never a break point, even beside a space entity.
    Drawing entity = Draw("aaaa&nbsp;bbbb", 40);
    for (const auto& piece : entity.Pieces()) EXPECT_EQ(piece.y, 0);
}

TEST(MarkupLayout, AWrapMovesDownByTheTallestFontOfTheLineSoFar) {
    // The wrap inside the plain run moves down by the 36 of the big A before it.
    Drawing d = Draw("<FONT SIZE=5>A</FONT> bb cc dd", 60);
    ASSERT_EQ(d.Pieces().size(), 3u);
    EXPECT_EQ(d.Pieces()[1].text, " bb ");
    EXPECT_EQ(d.Pieces()[2].text, "cc dd");
    EXPECT_EQ(d.Pieces()[2].y, 36);
    EXPECT_EQ(d.Pieces()[2].x, 0);
}

TEST(MarkupLayout, LongFaceNamesAreCutAtACharacterBoundary) {
    Drawing ascii = Draw("<FONT FACE='" + std::string(40, 'f') + "'>x");
    EXPECT_EQ(std::string(ascii.Pieces()[0].font.faceName), std::string(31, 'F'));
    // 30 bytes, then a two-byte character that would end at byte 32.
    std::string face = std::string(30, 'f') + "\x81\x41";
    Drawing wide = Draw("<FONT FACE='" + face + "'>x", 1000, kDoubleByte);
    EXPECT_EQ(std::string(wide.Pieces()[0].font.faceName), std::string(30, 'F'));
    Drawing fits = Draw("<FONT FACE='" + std::string(29, 'f') + "\x81\x61'>x", 1000, kDoubleByte);
    EXPECT_EQ(std::string(fits.Pieces()[0].font.faceName), std::string(29, 'F') + "\x81\x61");  // trail byte kept
}

TEST(MarkupLayout, DoubleByteCharactersAreSteppedOverWhole) {
    // Trail bytes '<', '&', '>' and ' ' are parts of characters, not markup.
    Drawing d = Draw("\x81<B\x81&lt;", 1000, kDoubleByte);
    EXPECT_EQ(d.Count(MarkupCommand::kEntity), 0);
    EXPECT_EQ(d.layout.Styles().size(), 1u);
    EXPECT_EQ(d.Text(), "\x81<B\x81&lt;");
    // A tag name runs over a trail byte '>' to the real one.
    Drawing tag = Draw("<B\x81>>x", 1000, kDoubleByte);
    EXPECT_EQ(tag.Text(), "x");
    EXPECT_EQ(tag.Pieces()[0].font.weight, 400);
    // So does the attribute text, and a quoted value.
    Drawing face = Draw("<FONT FACE='\x81>'>x", 1000, kDoubleByte);
    EXPECT_EQ(face.Text(), "x");
    EXPECT_STREQ(face.Pieces()[0].font.faceName, "\x81>");
    // No wrap at a trail-byte space.
    Drawing wrap = Draw("aa\x81 bbbbbbbb", 60, kDoubleByte);
    EXPECT_EQ(wrap.Pieces().size(), 1u);
    Drawing single = Draw("aa\x81 bbbbbbbb", 60, kSingleByte);
    EXPECT_EQ(single.Pieces().size(), 2u);
}

TEST(MarkupLayout, AnUnclosedTagSwallowsTheRest) {
    Drawing d = Draw("ab<B cd");
    EXPECT_EQ(d.Text(), "ab");
    EXPECT_EQ(d.layout.Commands().back(), (MarkupCommand{MarkupCommand::kStyle, 5, 1}));
}

TEST(MarkupLayout, CacheKeyAndHash) {
    EXPECT_EQ(MarkupTextHash(""), 0u);
    EXPECT_EQ(MarkupTextHash("ab"), 97u * 33 + 98);
    EXPECT_EQ(MarkupTextHash("\xFF"), 0xFFFFFFFFu);  // bytes count as signed
    EXPECT_EQ(MarkupTextHash("\xFF\x01"), 0xFFFFFFFFu * 33 + 1);

    MarkupLayout layout;
    FakeMarkupDevice device;
    AsciiMarkupCharacters characters(kSingleByte);
    MarkupCacheKey key = KeyFor("text", 100);
    EXPECT_TRUE(layout.NeedsLayout(key));  // a new label
    layout.Layout("text", key, BaseFont(), kColours, characters, device);
    EXPECT_FALSE(layout.NeedsLayout(key));
    EXPECT_EQ(layout.LayoutCount(), 1u);
    for (auto change : {+[](MarkupCacheKey& k) { k.client.right++; }, +[](MarkupCacheKey& k) { k.client.top--; },
                        +[](MarkupCacheKey& k) { k.text++; }, +[](MarkupCacheKey& k) { k.background++; },
                        +[](MarkupCacheKey& k) { k.font++; }, +[](MarkupCacheKey& k) { k.hash++; },
                        +[](MarkupCacheKey& k) { k.length++; }}) {
        MarkupCacheKey changed = key;
        change(changed);
        EXPECT_TRUE(layout.NeedsLayout(changed));
    }
}

TEST(MarkupLayout, ReplayNeverReadsPastAShorterText) {
    Drawing d = Draw("abc<B>def</B>ghi");
    d.device.pieces.clear();
    d.layout.Replay("abc<B", d.client, kSingleByte, d.device);  // the same list over less text
    EXPECT_EQ(d.Text(), "abc");
}

// What a screen reader is given: the text as drawn, without its markup.
TEST(MarkupLayout, PlainTextIsWhatIsDrawnWithoutTags) {
    const struct {
        const char* markup;
        const char* plain;
    } cases[] = {
        {"<B>Brisq</B><BR>Version 1<br>x", "Brisq\nVersion 1\nx"},
        {"a &lt;B&gt; &amp;&nbsp;b & c", "a <B> & b & c"},
        {"<FONT COLOR=#FF0000 SIZE=7>red</FONT> <DIV ALIGN=CENTER>mid</DIV>\nend", "red mid\nend"},
        {"<unknown attr=\"x\">kept<", "kept"},
        {"", ""},
    };
    for (const auto& c : cases) {
        Drawing d = Draw(c.markup, 60);  // narrow: wrapping adds no breaks of its own
        EXPECT_EQ(d.layout.PlainText(c.markup), c.plain) << c.markup;
    }
}
