#include "guide/guideaddresses.h"
#include "guide/guidenames.h"
#include "guide/xmltvtime.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

using namespace quorvel;

namespace {

constexpr std::int64_t k20261207_1830 = 1796668200;

} // namespace

TEST(GuideTime, ZonesBecomeUtcInstants)
{
    EXPECT_EQ(ParseGuideTime("20261207183000"), k20261207_1830); // no zone: UTC
    EXPECT_EQ(ParseGuideTime("20261207183000 +0000"), k20261207_1830);
    EXPECT_EQ(ParseGuideTime("20261207203000 +0200"), k20261207_1830);
    EXPECT_EQ(ParseGuideTime("20261207130000 -0530"), k20261207_1830);
    EXPECT_EQ(ParseGuideTime("20261207203000+0200"), k20261207_1830);
    EXPECT_EQ(ParseGuideTime("20261207203000 +02:00"), k20261207_1830);
    EXPECT_EQ(ParseGuideTime("20261207203000 +02"), k20261207_1830);
    EXPECT_EQ(ParseGuideTime(" 20261207183000 Z "), k20261207_1830);
    EXPECT_EQ(ParseGuideTime("20261207183000 utc"), k20261207_1830);
    // A zone ahead of UTC crosses the day, the month and the year back.
    EXPECT_EQ(ParseGuideTime("20270101010000 +0200"), ParseGuideTime("20261231230000"));
    EXPECT_EQ(ParseGuideTime("20240229000000"), 1709164800); // a leap day
    EXPECT_EQ(ParseGuideTime("19700101000000 +0100"), -3600);
}

TEST(GuideTime, ZoneNamesAsXmltvToolsReadThem)
{
    // XMLTV's own example: 17:33 British Summer Time is 16:33 UTC.
    EXPECT_EQ(ParseGuideTime("200007281733 BST"), ParseGuideTime("200007281633"));
    const std::pair<const char*, int> zones[] = {
        {"UTC", 0},    {"gmt", 0},    {"z", 0},      {"BST", 60},   {"IST", 60},   {"CET", 60},   {"CEST", 120},
        {"EET", 120},  {"EEST", 180}, {"WET", 0},    {"WEST", 60},  {"EST", -300}, {"EDT", -240}, {"CST", -360},
        {"CDT", -300}, {"MST", -420}, {"MDT", -360}, {"PST", -480}, {"PDT", -420}, {"AEST", 600}, {"AEDT", 660},
        {"JST", 540},  {"MSK", 180},  {"cest", 120}, {"Pdt", -420},
    };
    for (const auto& [zone, minutes] : zones)
        EXPECT_EQ(ParseGuideTime(std::string("20261207183000 ") + zone), k20261207_1830 - minutes * 60) << zone;
    EXPECT_EQ(ParseGuideTime("20261207193000CET"), k20261207_1830);
}

TEST(GuideTime, ShorterFormsCountFromTheStartOfTheirUnit)
{
    EXPECT_EQ(ParseGuideTime("202612071830"), k20261207_1830);
    EXPECT_EQ(ParseGuideTime("2026120718 +0000"), k20261207_1830 - 30 * 60);
    EXPECT_EQ(ParseGuideTime("20261207"), k20261207_1830 - (18 * 60 + 30) * 60);
}

TEST(GuideTime, NonsenseIsNoTime)
{
    for (const char* text : {"", "now", "2026120718300", "202612071830000", "20261307183000", "20261232183000",
                             "20250229120000", "20261207243000", "20261207186000", "20261207183000 +2500",
                             "20261207183000 +020", "20261207183000 0200", "20261207183000 +0200 junk",
                             "20261207183000 XYZ", "20261207183000 CETT", "20261207183000 CET +0100", "-2026120718300"})
        EXPECT_FALSE(ParseGuideTime(text)) << text;
}

TEST(GuideNames, FoldIgnoresCaseAndOuterBlanks)
{
    EXPECT_EQ(FoldGuideName("  BBC One HD \t"), "bbc one hd");
    EXPECT_EQ(FoldGuideName("Channel_One", true), "channel one");
    EXPECT_EQ(FoldGuideName("Channel_One_", true), "channel one");
    EXPECT_EQ(FoldGuideName("Channel_One", false), "channel_one");
    EXPECT_EQ(FoldGuideName("ПЕРВЫЙ Канал"), FoldGuideName("первый канал"));
    EXPECT_EQ(FoldGuideName("ЁЛКИ ΕΛΛΆΔΑ ÉCOLE ŁÓDŹ"), "ёлки ελλάδα école łódź");
    EXPECT_EQ(FoldGuideName("\xC2\xA0News\xC2\xA0"), "news");
    // Bytes that are no UTF-8 stay as they are.
    EXPECT_EQ(FoldGuideName("A\xC3"), "a\xC3");
}

TEST(GuideNames, CutKeepsWholeCharactersAndMarksTheCut)
{
    std::string ascii(100, 'a');
    CutText(ascii, 10);
    EXPECT_EQ(ascii, "aaaaaaa\xE2\x80\xA6");
    std::string cyrillic;
    for (int i = 0; i < 50; ++i)
        cyrillic += "Ж";
    CutText(cyrillic, 10);
    EXPECT_EQ(cyrillic, "ЖЖЖ\xE2\x80\xA6"); // 7 bytes of room hold three whole letters
    std::string fits = "short";
    CutText(fits, 5);
    EXPECT_EQ(fits, "short");
}

TEST(GuideAddresses, CommaSeparatedWithBlanksAndRepeatsLeftOut)
{
    using List = std::vector<std::string>;
    EXPECT_EQ(GuideAddresses("http://a/epg.xml.gz"), List{"http://a/epg.xml.gz"});
    EXPECT_EQ(GuideAddresses(" http://a/1.xml , ,http://b/2.gz,http://a/1.xml, "),
              (List{"http://a/1.xml", "http://b/2.gz"}));
    EXPECT_TRUE(GuideAddresses(" , ").empty());
}
