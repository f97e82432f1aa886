#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "completion/shortcut_file.h"

namespace {
std::string U16(std::uint32_t v) { return {char(v & 0xFF), char(v >> 8 & 0xFF)}; }
std::string U32(std::uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }
std::string Wide(const std::string& ascii) {
    std::string wide;
    for (char c : ascii) wide += U16(static_cast<unsigned char>(c));
    return wide;
}

// A shell link as the file format lays it out, with a part of every kind
// the loader reads: item ids, a link info with a volume and a local path,
// Unicode strings and an environment block.
struct Link {
    std::string header, idList, linkInfo, strings, environment, closing = U32(0);

    Link() {
        const char clsid[] = "\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46";
        header = U32(0x4C) + std::string(clsid, 16) + U32(0x1 | 0x2 | 0x4 | 0x20 | 0x80) + std::string(0x4C - 24, '\0');
        std::string items = U16(20) + std::string(18, 'i') + U16(6) + "item" + U16(0);
        idList = U16(std::uint32_t(items.size())) + items;

        std::string volume = U32(0x11) + U32(3) + U32(0x1234) + U32(0x10) + std::string(1, '\0');
        std::string local = "C:\\tool.exe" + std::string(1, '\0');
        std::uint32_t volumeAt = 0x1C, localAt = volumeAt + std::uint32_t(volume.size()),
                      suffixAt = localAt + std::uint32_t(local.size());
        std::string body = U32(0x1C) + U32(0x1) + U32(volumeAt) + U32(localAt) + U32(0) + U32(suffixAt) + volume +
                           local + std::string(1, '\0');
        linkInfo = U32(std::uint32_t(body.size() + 4)) + body;

        strings = U16(4) + Wide("Tool") + U16(2) + Wide("/x");
        std::string ansi = "%windir%\\tool.exe";
        ansi.resize(260, '\0');
        std::string wide = Wide("%windir%\\tool.exe");
        wide.resize(520, '\0');
        environment = U32(0x314) + U32(0xA0000001) + ansi + wide;
    }
    std::string Bytes() const { return header + idList + linkInfo + strings + environment + closing; }
};
}  // namespace

TEST(ShortcutFile, WholeFilesPassAndEveryTruncationIsRefused) {
    Link link;
    std::string whole = link.Bytes();
    ASSERT_TRUE(IsWholeShortcut(whole));
    // The file may end where a data block would start, or inside the size
    // that opens it (the loader stops there): before or in the environment
    // block's first four bytes, or before or in the closing block.
    std::size_t stringsEnd = whole.size() - link.closing.size() - link.environment.size();
    std::size_t blocksEnd = whole.size() - link.closing.size();
    std::set<std::size_t> whole_lengths;
    for (std::size_t i = 0; i < 4; ++i) whole_lengths.insert({stringsEnd + i, blocksEnd + i});
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_EQ(IsWholeShortcut(whole.substr(0, length)), whole_lengths.count(length) == 1) << length;
}

// Sizes, offsets and strings the loader would follow out of their part.
TEST(ShortcutFile, ForgedPartsAreRefused) {
    auto refused = [](void (*forge)(Link&)) {
        Link link;
        forge(link);
        return !IsWholeShortcut(link.Bytes());
    };
    EXPECT_TRUE(refused([](Link& l) { l.header[4] = 0x02; }));                          // class id
    EXPECT_TRUE(refused([](Link& l) { l.idList = U16(6) + U16(40) + U16(0) + U16(0); }));  // item past its list
    EXPECT_TRUE(refused([](Link& l) { l.idList = U16(4) + U16(4) + "ab"; }));             // no closing id
    EXPECT_TRUE(refused([](Link& l) { l.linkInfo.replace(0x10, 4, U32(0x1000)); }));     // local path outside
    EXPECT_TRUE(refused([](Link& l) { l.linkInfo.replace(l.linkInfo.size() - 2, 2, "xx"); }));  // no zeros
    EXPECT_TRUE(refused([](Link& l) { l.linkInfo.replace(0x1C + 0x0C, 4, U32(0x400)); }));  // volume label outside
    EXPECT_TRUE(refused([](Link& l) { l.environment = U32(8) + U32(0xA0000001); }));  // shorter than its layout
    EXPECT_TRUE(refused([](Link& l) { l.environment.replace(8, 260, std::string(260, 'A')); }));  // target fills it
    std::string huge = Link().Bytes();
    huge.resize(kLargestShortcut + 1, '\0');
    EXPECT_FALSE(IsWholeShortcut(huge));
}
