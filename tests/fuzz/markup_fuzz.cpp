// Feeds any bytes to the markup scanner, layout and replay, over a single-byte
// or a simulated double-byte code page and a width taken from the first bytes.
// Whatever the text, the display list accounts for every byte, the tables
// hold no duplicates and the replay draws each byte of each run exactly once.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "richtext/markup_layout.h"
#include "fake_markup_device.h"
#include "simulated_code_pages.h"

// Names the broken promise before the fuzzer records the input.
#define Check(condition)                                                              \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "markup_fuzz.cpp:%d: %s\n", __LINE__, #condition); \
            std::abort();                                                             \
        }                                                                             \
    } while (false)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static const SingleByteCodePage singleByte;
    static const SimulatedDoubleByteCodePage doubleByte;
    const CodePage& page = data[0] & 1 ? static_cast<const CodePage&>(doubleByte) : singleByte;
    const int width = data[1] * 4;
    // Straight over the fuzzer's buffer, so reading past the text is caught.
    std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    std::string_view visible = text.substr(0, text.find('\0'));

    FontDescription base;
    base.height = 16;
    base.weight = 400;
    std::strcpy(base.faceName, "Base");
    const MarkupColours colours{1, 2, 3, 4, 5, 6};
    AsciiMarkupCharacters characters(page);
    FakeMarkupDevice device;
    MarkupLayout layout;
    MarkupCacheKey key{{0, 0, width, 300}, 1, 2, 9, MarkupTextHash(visible), visible.size()};
    layout.Layout(text, key, base, colours, characters, device);
    Check(!layout.NeedsLayout(key));

    const auto& fonts = layout.Fonts();
    const auto& styles = layout.Styles();
    const auto& commands = layout.Commands();
    Check(device.fonts.size() == fonts.size());
    Check(!fonts.empty() && fonts[0].description == base);
    Check(!styles.empty() && styles[0] == (MarkupStyle{0, 1, 2, kAlignLeft}));
    Check(!commands.empty() && commands[0] == (MarkupCommand{MarkupCommand::kStyle, 0, 0}));
    for (std::size_t i = 0; i < fonts.size(); ++i)
        for (std::size_t j = i + 1; j < fonts.size(); ++j) Check(!(fonts[i].description == fonts[j].description));
    for (std::size_t i = 0; i < styles.size(); ++i) {
        Check(styles[i].font >= 0 && std::size_t(styles[i].font) < fonts.size());
        Check(styles[i].alignment >= kAlignLeft && styles[i].alignment <= kAlignRight);
        Check(styles[i].background == 2);
        Check(std::memchr(fonts[std::size_t(styles[i].font)].description.faceName, 0, 32) != nullptr);
        for (std::size_t j = i + 1; j < styles.size(); ++j) Check(!(styles[i] == styles[j]));
    }
    long long sum = 0, runBytes = 0, entities = 0;
    for (const MarkupCommand& c : commands) {
        Check(c.length >= 0);
        sum += c.length;
        if (c.kind == MarkupCommand::kText) {
            runBytes += c.length;
            Check(c.length > 0);
        }
        if (c.kind == MarkupCommand::kEntity) ++entities;
        if (c.kind == MarkupCommand::kStyle) Check(c.value >= 0 && std::size_t(c.value) < styles.size());
    }
    Check(sum == static_cast<long long>(visible.size()));

    layout.Replay(text, key.client, page, device);
    long long drawn = 0;
    for (const auto& piece : device.pieces) drawn += static_cast<long long>(piece.text.size());
    Check(drawn == runBytes + entities);

    // Every break height is known now (no font here is 0 high), so a second
    // replay measures none again and draws the same.
    for (const MarkupCommand& c : commands) Check(c.kind != MarkupCommand::kBreak || c.value > 0);
    std::size_t pieces = device.pieces.size();
    layout.Replay(text, key.client, page, device);
    Check(device.pieces.size() == 2 * pieces);
    for (std::size_t i = 0; i < pieces; ++i) {
        const auto& a = device.pieces[i];
        const auto& b = device.pieces[pieces + i];
        Check(a.x == b.x && a.y == b.y && a.text == b.text);
    }
    return 0;
}
