// Channel numbers: given by the playlist, else the place in catalogue order.
#include "catalogue/channelnumbers.h"
#include "catalogue/channeltree.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using quorvel::ChannelNumbers;
using Listed = ChannelNumbers::Listed;

namespace {

int Number(const ChannelNumbers& n, const char* channel) { return n.NumberOf(channel); }

std::string NameOf(const ChannelNumbers& n, int number)
{
    const auto* c = n.ChannelOf(number);
    return c ? c->name : std::string("-");
}

} // namespace

TEST(ChannelNumbers, PlacesInCatalogueOrderAcrossCategories)
{
    const ChannelNumbers n({{"A", "News", ""}, {"B", "News", ""}, {"C", "Sports", ""}});
    EXPECT_EQ(Number(n, "A"), 1);
    EXPECT_EQ(Number(n, "B"), 2);
    EXPECT_EQ(Number(n, "C"), 3);
    EXPECT_EQ(n.ChannelOf(3)->category, "Sports");
    EXPECT_EQ(n.ChannelOf(0), nullptr);
    EXPECT_EQ(n.ChannelOf(4), nullptr);
    EXPECT_EQ(Number(n, "c"), 3) << "names compare as catalogue lookups do";
    EXPECT_EQ(Number(n, "D"), 0);
}

TEST(ChannelNumbers, GivenNumbersWinAndLeaveGaps)
{
    // B gives 10: its place (2) stays free, and C keeps its place.
    const ChannelNumbers n({{"A", "x", ""}, {"B", "x", "10"}, {"C", "x", ""}});
    EXPECT_EQ(Number(n, "A"), 1);
    EXPECT_EQ(Number(n, "B"), 10);
    EXPECT_EQ(Number(n, "C"), 3);
    EXPECT_EQ(n.ChannelOf(2), nullptr);
}

TEST(ChannelNumbers, GivenNumberTakingAPlaceSendsThatChannelPastTheHighest)
{
    // C gives 1, which is A's place: A goes after the highest number in use (3), B and C stay.
    const ChannelNumbers n({{"A", "x", ""}, {"B", "x", ""}, {"C", "x", "1"}, {"D", "x", "3"}, {"E", "x", ""}});
    EXPECT_EQ(Number(n, "C"), 1);
    EXPECT_EQ(Number(n, "B"), 2);
    EXPECT_EQ(Number(n, "D"), 3);
    EXPECT_EQ(Number(n, "E"), 5);
    EXPECT_EQ(Number(n, "A"), 6) << "after the highest in use, 5";
    EXPECT_EQ(NameOf(n, 4), "-") << "C's own place stays free";
}

TEST(ChannelNumbers, DuplicateGivenNumbersGoToTheFirst)
{
    // B and C both say 7: B keeps it; C gets the next free number above it, 8. D also says 7
    // and gets 9. A keeps its place.
    const ChannelNumbers n({{"A", "x", ""}, {"B", "x", "7"}, {"C", "x", "7"}, {"D", "x", "07"}, {"E", "x", "4"}});
    EXPECT_EQ(Number(n, "B"), 7);
    EXPECT_EQ(Number(n, "C"), 8);
    EXPECT_EQ(Number(n, "E"), 4);
    EXPECT_EQ(Number(n, "D"), 9);
    EXPECT_EQ(Number(n, "A"), 1);
    // Every channel has a number, and no number names two.
    for (const char* c : {"A", "B", "C", "D", "E"})
        EXPECT_EQ(NameOf(n, Number(n, c)), c);
}

TEST(ChannelNumbers, OnlyWholeDigitsCountAsGiven)
{
    EXPECT_EQ(ChannelNumbers::Parse("101"), 101);
    EXPECT_EQ(ChannelNumbers::Parse(" 42 "), 42);
    EXPECT_EQ(ChannelNumbers::Parse("007"), 7);
    for (const char* bad : {"", " ", "0", "000", "-3", "5.1", "12a", "+4", "99999999999999999999", "100000"})
        EXPECT_EQ(ChannelNumbers::Parse(bad), 0) << bad;
    EXPECT_EQ(ChannelNumbers::Parse("99999"), ChannelNumbers::kMaxNumber);
    // A channel given something unusable is numbered by its place.
    const ChannelNumbers n({{"A", "x", "abc"}, {"B", "x", "0"}});
    EXPECT_EQ(Number(n, "A"), 1);
    EXPECT_EQ(Number(n, "B"), 2);
}

TEST(ChannelNumbers, AChannelListedTwiceHasOneNumberAtItsFirstPlace)
{
    const ChannelNumbers n({{"A", "News", ""}, {"B", "News", ""}, {"a", "News", ""}, {"C", "Films", ""}});
    EXPECT_EQ(n.Count(), 3u);
    EXPECT_EQ(Number(n, "A"), 1);
    EXPECT_EQ(Number(n, "C"), 3);
}

TEST(ChannelNumbers, NothingPastTheLargestNumber)
{
    // A channel given the largest number, and one pushed past it, which then has none.
    const ChannelNumbers n({{"A", "x", "99999"}, {"B", "x", "2"}, {"C", "x", ""}, {"D", "x", ""}});
    EXPECT_EQ(Number(n, "A"), 99999);
    EXPECT_EQ(Number(n, "B"), 2);
    EXPECT_EQ(Number(n, "C"), 3);
    EXPECT_EQ(Number(n, "D"), 4);
    const ChannelNumbers full({{"A", "x", "99999"}, {"B", "x", "1"}});
    EXPECT_EQ(Number(full, "B"), 1);
    EXPECT_EQ(Number(full, "A"), 99999);
    const ChannelNumbers pushed({{"A", "x", ""}, {"B", "x", "99999"}, {"C", "x", "1"}});
    EXPECT_EQ(Number(pushed, "A"), 0) << "past the highest there is no number left";
    EXPECT_EQ(pushed.ChannelOf(100000), nullptr);
}

TEST(ChannelNumbers, FromTheCatalogueFile)
{
    const auto file = std::filesystem::temp_directory_path() / "quorvel-numbers-test.dat";
    {
        std::ofstream out(file);
        out << "[Layer1]\nNews=\nSports=\n[Layer2]\nGoal=Sports\nHeadlines=News\nWorld=News\n"
               "[Programs]\nGoal=http://a\nHeadlines=http://b\nWorld=http://c\n";
    }
    const auto tree = quorvel::ChannelTree::Read(file.string());
    std::unordered_map<std::string, std::string, quorvel::FoldedNameHash, quorvel::FoldedNameEqual> given;
    given["world"] = "20";
    const ChannelNumbers n = ChannelNumbers::Of(tree, given);
    EXPECT_EQ(Number(n, "Headlines"), 1);
    EXPECT_EQ(Number(n, "World"), 20);
    EXPECT_EQ(Number(n, "Goal"), 3);
    EXPECT_EQ(n.ChannelOf(3)->category, "Sports");
    std::filesystem::remove(file);
}

TEST(ChannelNumbers, KeptNumbersStayAndNewcomersGoAroundThem)
{
    // A and B were numbered before; the newcomers C (given A's 1) and D (by place 1, taken)
    // go around them, E takes its given number, and F's kept number is no longer in use.
    const ChannelNumbers::Kept kept = {{"a", 1}, {"B", 2}, {"Gone", 3}, {"F", 7}};
    const ChannelNumbers n({{"D", "x", ""}, {"C", "x", "1"}, {"A", "x", ""}, {"B", "x", "5"}, {"E", "x", "3"}}, kept);
    EXPECT_EQ(Number(n, "A"), 1);
    EXPECT_EQ(Number(n, "B"), 2) << "a kept number beats what the playlist gives now";
    EXPECT_EQ(Number(n, "E"), 3) << "the number of a channel gone is free again";
    // The two left without a number are numbered in catalogue order: D first.
    EXPECT_EQ(Number(n, "D"), 4) << "after the highest in use";
    EXPECT_EQ(Number(n, "C"), 5) << "the next free number above the one given";
    EXPECT_EQ(NameOf(n, 7), "-");
}

TEST(ChannelNumbers, ManyGivenOneNumberEachGetTheirOwn)
{
    std::vector<std::string> names;
    for (int i = 0; i < 50000; ++i)
        names.push_back("C" + std::to_string(i));
    std::vector<Listed> listed;
    for (const auto& name : names)
        listed.push_back({name, "x", "1"});
    const ChannelNumbers n(listed);
    for (int i = 0; i < 50000; i += 997)
        EXPECT_EQ(Number(n, names[i].c_str()), i + 1);
}
