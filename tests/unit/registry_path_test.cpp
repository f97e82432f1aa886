#include <gtest/gtest.h>

#include "command/registry_path.h"
#include "simulated_code_pages.h"

namespace {
const SingleByteCodePage kSingle;
const SimulatedDoubleByteCodePage kDouble;

std::optional<std::size_t> ChooseLabel(const std::vector<std::string>& labels, std::string_view name,
                                       const CodePage& page) {
    LabelChooser chooser(name, page);
    for (std::size_t i = 0; i < labels.size(); ++i)
        if (chooser.Offer(i, labels[i])) break;
    return chooser.Chosen();
}

std::vector<std::string> Names(std::string_view path, const CodePage& page = kSingle) {
    return SplitRegistryPath(path, page).names;
}
}  // namespace

TEST(RegistryPath, SplitsAtEverySeparator) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Names("HKEY_CURRENT_USER\\Software\\Wine"), (V{"HKEY_CURRENT_USER", "Software", "Wine"}));
    EXPECT_EQ(Names("HKEY_LOCAL_MACHINE"), (V{"HKEY_LOCAL_MACHINE"}));
    EXPECT_EQ(Names("HKEY_CURRENT_USER\\\\Software\\"), (V{"HKEY_CURRENT_USER", "Software"}));
    EXPECT_EQ(Names("HKEY_CURRENT_USER\\My Key\\x"), (V{"HKEY_CURRENT_USER", "My Key", "x"}));
    EXPECT_TRUE(Names("").empty());
    EXPECT_TRUE(Names("\\\\").empty());
}

TEST(RegistryPath, OnlyAClosingSeparatorOpensTheLastKey) {
    EXPECT_FALSE(SplitRegistryPath("HKEY_LOCAL_MACHINE", kSingle).expandLast);
    EXPECT_TRUE(SplitRegistryPath("HKEY_LOCAL_MACHINE\\", kSingle).expandLast);
    EXPECT_TRUE(SplitRegistryPath("HKEY_LOCAL_MACHINE\\Software\\\\", kSingle).expandLast);
    EXPECT_FALSE(SplitRegistryPath("\\", kSingle).expandLast);
}

TEST(RegistryPath, ATrailByteThatLooksLikeASeparatorStaysInItsName) {
    // 0x95 0x5C is one character whose second byte is '\'.
    const std::string name = "Soft\x95\x5Cware";
    using V = std::vector<std::string>;
    EXPECT_EQ(Names("HKEY_CURRENT_USER\\" + name + "\\Wine", kDouble), (V{"HKEY_CURRENT_USER", name, "Wine"}));
    EXPECT_EQ(Names("HKEY_CURRENT_USER\\" + name, kSingle), (V{"HKEY_CURRENT_USER", "Soft\x95", "ware"}));
    // A lead byte at the very end has no trail byte to swallow the separator.
    EXPECT_TRUE(SplitRegistryPath("HKEY_CURRENT_USER\\x\x95", kDouble).names.back() == "x\x95");
}

TEST(RegistryPath, AnEqualLabelWinsOverOneThatOnlyBeginsWithTheName) {
    std::vector<std::string> labels{"Winetricks", "WINE", "Wine Gecko"};
    EXPECT_EQ(ChooseLabel(labels, "wine", kSingle), 1u);
    EXPECT_EQ(ChooseLabel(labels, "Wine G", kSingle), 2u);
    EXPECT_EQ(ChooseLabel(labels, "win", kSingle), 0u);
}

TEST(RegistryPath, NothingAfterAnEqualLabelIsLookedAt) {
    LabelChooser chooser("Wine", kSingle);
    EXPECT_FALSE(chooser.Offer(0, "Winetricks"));
    EXPECT_TRUE(chooser.Offer(1, "wine"));
    EXPECT_TRUE(chooser.Offer(2, "WINE"));
    EXPECT_EQ(chooser.Chosen(), 1u);
}

TEST(RegistryPath, ANameMatchingNothingChoosesNothing) {
    std::vector<std::string> labels{"Classes", "Microsoft", "Wine"};
    EXPECT_FALSE(ChooseLabel(labels, "NoSuchKey", kSingle));
    EXPECT_FALSE(ChooseLabel(labels, "Wines", kSingle));
    EXPECT_FALSE(ChooseLabel(labels, "", kSingle));
    EXPECT_FALSE(ChooseLabel({}, "Wine", kSingle));
    EXPECT_EQ(ChooseLabel(labels, "MICROSOFT", kSingle), 1u);
}

TEST(RegistryPath, LetterCaseFoldsForAsciiOnlyAndNeverInATrailByte) {
    EXPECT_FALSE(ChooseLabel({"Caf\xC9"}, "caf\xE9", kSingle));
    // 0x82 0x61 and 0x82 0x41 are different characters.
    EXPECT_FALSE(ChooseLabel({"K\x82\x61"}, "k\x82\x41", kDouble));
    EXPECT_EQ(ChooseLabel({"K\x82\x61"}, "k\x82\x61", kDouble), 0u);
    // A name that stops between the two bytes of a character does not begin the label.
    EXPECT_FALSE(ChooseLabel({"K\x82\x61x"}, "K\x82", kDouble));
    EXPECT_EQ(ChooseLabel({"K\x82\x61x"}, "K\x82", kSingle), 0u);
}
