#include "base/exception.h"
#include "catalogue/channelcatalogue.h"
#include "platform/inifile.h"
#include "scratchdir.h"

#include <gtest/gtest.h>

using quorvel::ChannelCatalogue;
using quorvel::ChannelCategory;

TEST(ChannelCatalogue, DefaultsAreTheFifteenCategoriesInOrder)
{
    ScratchDir dir;
    const std::string file = dir.File(ChannelCatalogue::FileName);
    ChannelCatalogue(file).WriteDefaults();
    const auto tree = ChannelCatalogue(file).ReadTree();
    ASSERT_EQ(tree.size(), 15u);
    EXPECT_EQ(tree.front().name, "New Channels");
    EXPECT_EQ(tree[10].name, "News (Live)");
    EXPECT_EQ(tree.back().name, "Webcam Streams");
    for (const auto& c : tree)
        EXPECT_TRUE(c.channels.empty()) << c.name;
    std::string expected = "[Layer1]\n";
    for (const auto& c : ChannelCatalogue::DefaultCategories())
        expected += c + "=\n";
    EXPECT_EQ(ScratchDir::Slurp(file), expected);
}

TEST(ChannelCatalogue, TreeFollowsFileOrderAndExactCategoryNames)
{
    ScratchDir dir;
    const std::string file = dir.File("cat.dat");
    ScratchDir::Spit(file, "[Layer1]\nSports=\nKids=\nSports=\nEmpty=\n"
                           "[Layer2]\n"
                           "Cartoons=Kids\n"
                           "Football=Sports\n"
                           "lowercase=kids\n"
                           "Tennis=Sports\n"
                           "Nowhere=Weather\n"
                           "Puppets=Kids\n");
    const auto tree = ChannelCatalogue(file).ReadTree();
    const std::vector<ChannelCategory> expected = {
        {"Sports", {"Football", "Tennis"}},
        {"Kids", {"Cartoons", "Puppets"}},
        {"Sports", {"Football", "Tennis"}},
        {"Empty", {}},
    };
    EXPECT_EQ(tree, expected);
}

TEST(ChannelCatalogue, ChannelStandingTwiceTakesItsFirstValue)
{
    ScratchDir dir;
    const std::string file = dir.File("cat.dat");
    ScratchDir::Spit(file, "[Layer1]\nA=\nB=\n[Layer2]\nX=A\nx=B\n");
    const auto tree = ChannelCatalogue(file).ReadTree();
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].channels, (std::vector<std::string>{"X", "x"}));
    EXPECT_TRUE(tree[1].channels.empty());
}

TEST(ChannelCatalogue, CategoryValuesAreReadAsReadsByNameReturnThem)
{
    ScratchDir dir;
    const std::string file = dir.File("cat.dat");
    // Quotes around a value do not count; a value is cut at the longest a read returns, so a
    // category named longer than that holds no channel, while one of exactly that length does.
    const std::string longName(quorvel::IniFile::MaxValueLength + 5, 'L');
    const std::string fitting(quorvel::IniFile::MaxValueLength, 'F');
    ScratchDir::Spit(file, "[Layer1]\nKids=\n" + longName + "=\n" + fitting +
                               "=\n"
                               "[Layer2]\nQuoted=\"Kids\"\nToo long=" +
                               longName + "\nCut=" + fitting + "tail\n");
    const auto tree = ChannelCatalogue(file).ReadTree();
    ASSERT_EQ(tree.size(), 3u);
    EXPECT_EQ(tree[0].channels, (std::vector<std::string>{"Quoted"}));
    EXPECT_TRUE(tree[1].channels.empty());
    EXPECT_EQ(tree[2].channels, (std::vector<std::string>{"Cut"}));
}

TEST(ChannelCatalogue, MissingSectionsAndAddresses)
{
    ScratchDir dir;
    EXPECT_TRUE(ChannelCatalogue(dir.File("none.dat")).ReadTree().empty());
    const std::string file = dir.File("cat.dat");
    ScratchDir::Spit(file, "[Layer1]\nNews=\n[Programs]\nCCTV 1=http://127.0.0.1/a.m3u8\n");
    const ChannelCatalogue catalogue(file);
    EXPECT_EQ(catalogue.ReadTree(), (std::vector<ChannelCategory>{{"News", {}}}));
    // Address lookups ignore letter case, unlike the category matching.
    EXPECT_EQ(catalogue.StreamAddress("cctv 1"), "http://127.0.0.1/a.m3u8");
    EXPECT_EQ(catalogue.StreamAddress("CCTV 2"), "");
}

TEST(ChannelCatalogue, ThousandsOfChannelsAllShow)
{
    ScratchDir dir;
    const std::string file = dir.File("cat.dat");
    std::string text = "[Layer1]\nBig=\n[Layer2]\n";
    for (int i = 0; i < 5000; ++i)
        text += "A rather long channel name number " + std::to_string(i) + "=Big\n";
    ScratchDir::Spit(file, text);
    const auto tree = ChannelCatalogue(file).ReadTree();
    ASSERT_EQ(tree.size(), 1u);
    ASSERT_EQ(tree[0].channels.size(), 5000u);
    EXPECT_EQ(tree[0].channels.back(), "A rather long channel name number 4999");
}

TEST(ChannelCatalogue, DefaultsIntoAnUnwritablePlaceRaise)
{
    ScratchDir dir;
    ScratchDir::Spit(dir.File("plain"), "x");
    const std::string file = dir.File("plain") + "/VisibleAPI.dat";
    try {
        ChannelCatalogue(file).WriteDefaults();
        FAIL() << "no error";
    } catch (const quorvel::EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + file);
    }
}

TEST(ChannelCatalogue, HandEditedCataloguesShowOnlyRealCategoriesAndEveryChannel)
{
    ScratchDir dir;
    const std::string file = dir.File("cat.dat");
    // A note and a category typed without "=" are no categories: no empty node for them.
    ScratchDir::Spit(file, "[Layer1]\n# added by hand\nSports=\nMovies\n[Layer2]\nFootball=Sports\n");
    std::vector<ChannelCategory> expected = {{"Sports", {"Football"}}};
    EXPECT_EQ(ChannelCatalogue(file).ReadTree(), expected);
    // A catalogue saved with CR line ends keeps every channel and its address.
    ScratchDir::Spit(file, "[Layer1]\rSports=\rKids=\r[Layer2]\rFootball=Sports\rCartoons=Kids\r"
                           "[Programs]\rFootball=http://127.0.0.1/f.m3u8\r");
    expected = {{"Sports", {"Football"}}, {"Kids", {"Cartoons"}}};
    EXPECT_EQ(ChannelCatalogue(file).ReadTree(), expected);
    EXPECT_EQ(ChannelCatalogue(file).StreamAddress("Football"), "http://127.0.0.1/f.m3u8");
}
