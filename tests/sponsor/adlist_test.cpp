#include "scratchdir.h"
#include "sponsor/adlist.h"

#include <gtest/gtest.h>

using quorvel::AdList;

namespace {

std::vector<std::string> Ticks(const AdList& ads, int count, std::string text = "")
{
    std::vector<std::string> shown;
    for (int i = 0; i < count; ++i) {
        const std::string next = ads.NextTitle(text);
        if (!next.empty())
            text = next;
        shown.push_back(text);
    }
    return shown;
}

} // namespace

TEST(AdList, DefaultRotationStartsAtTheSecondTitle)
{
    ScratchDir dir;
    const AdList ads(dir.File(AdList::FileName));
    ads.WriteDefaults();
    const auto shown = Ticks(ads, 8);
    EXPECT_EQ(shown, (std::vector<std::string>{"Internet Tv 3000+!", "Top Internet TV", "3000 Online Tv Channels",
                                               "Internet TV 2009", "Watch Online TV Now!", "Stream Online Movies",
                                               "Satellite Tv For PC", "Internet Tv 3000+!"}));
    // Titles sharing an address open the same one; the three addresses differ and are web addresses.
    EXPECT_EQ(ads.Address("Satellite Tv For PC"), ads.Address("Internet TV 2009"));
    EXPECT_EQ(ads.Address("Internet Tv 3000+!"), ads.Address("3000 Online Tv Channels"));
    EXPECT_NE(ads.Address("Satellite Tv For PC"), ads.Address("Internet Tv 3000+!"));
    EXPECT_NE(ads.Address("Stream Online Movies"), ads.Address("Internet Tv 3000+!"));
    EXPECT_EQ(ads.Address("Stream Online Movies").rfind("https://", 0), 0u);
    EXPECT_EQ(ads.Address("Nothing Like It"), "");
}

TEST(AdList, TitlesMatchExactlyAndEditsShowAtOnce)
{
    ScratchDir dir;
    const std::string file = dir.File(AdList::FileName);
    ScratchDir::Spit(file, "[WebTV ADS]\nOne=a\nTwo=b\nThree=c\n");
    const AdList ads(file);
    EXPECT_EQ(ads.NextTitle("Two"), "Three");
    EXPECT_EQ(ads.NextTitle("three"), "Two"); // other letter case is not the same title
    EXPECT_EQ(ads.NextTitle("Three"), "One");
    // The shown title deleted from the file: the next tick shows the file's second key.
    ScratchDir::Spit(file, "[WebTV ADS]\nOne=a\nThree=new address\n");
    EXPECT_EQ(ads.NextTitle("Two"), "Three");
    EXPECT_EQ(ads.Address("three"), "new address");
}

TEST(AdList, OneTitleOrNoneNeverFaults)
{
    ScratchDir dir;
    const std::string file = dir.File(AdList::FileName);
    ScratchDir::Spit(file, "[WebTV ADS]\nOnly=x\n");
    EXPECT_EQ(Ticks(AdList(file), 3), (std::vector<std::string>{"Only", "Only", "Only"}));
    ScratchDir::Spit(file, "[Other]\nx=y\n");
    EXPECT_EQ(AdList(file).NextTitle("Only"), "");
    EXPECT_EQ(AdList(dir.File("missing.ini")).NextTitle(""), "");
}
