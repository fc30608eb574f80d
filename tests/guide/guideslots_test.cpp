// How a channel's slots come out of guides written by others: programmes that take no time,
// clumps of several programmes in one slot, stops before their starts, and no stop at the end.
#include "guide/guidereader.h"
#include "guidetext.h"

#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

using Titles = std::vector<std::string>;
constexpr std::int64_t kMinute = 60;

WantedChannel Wanted(std::string name) { return WantedChannel{std::move(name), {}, {}, std::nullopt}; }

std::string Clumped(const std::string& channel, int start, int stop, const std::string& title, const char* clumpidx)
{
    std::string xml = ProgrammeXml(channel, start, stop, title);
    return xml.insert(xml.find(" channel="), std::string(" clumpidx=\"") + clumpidx + "\"");
}

} // namespace

TEST(GuideSlots, AProgrammeThatTakesNoTimeDisplacesNothing)
{
    // Listed before and after the programme that really starts then.
    const std::string guide =
        Tv(ChannelXml("c", {"C"}) + ProgrammeXml("c", 0, 0, "marker") + ProgrammeXml("c", 0, 30, "news") +
           ProgrammeXml("c", 30, 30, "marker") + ProgrammeXml("c", 30, 60, "film"));
    const ReadResult r = ReadGuide(guide, {Wanted("C")});
    EXPECT_EQ(r.Titles(0), (Titles{"news", "film"}));
    ASSERT_EQ(r.list.Of(0).size(), 2u);
    EXPECT_EQ(r.list.Of(0)[0].stop, kNow + 30 * kMinute);
}

TEST(GuideSlots, AClumpKeepsEveryProgrammeOfItsSlotInClumpOrder)
{
    // Listed out of order, one place listed twice (the first read stands), the last slot of the
    // channel's run a clump too, and another channel's run after it.
    const std::string guide =
        Tv(ChannelXml("c", {"C"}) + ChannelXml("d", {"D"}) + Clumped("c", 0, 30, "weather", "1/2") +
           Clumped("c", 0, 30, "news", "0/2") + Clumped("c", 0, 30, "news again", "0/2") +
           ProgrammeXml("c", 30, 60, "film") + Clumped("c", 60, 90, "late news", "0/3") +
           Clumped("c", 60, 90, "sport", "1/3") + Clumped("c", 60, 90, "late weather", "2/3") +
           Clumped("c", 90, 120, "bad place", "5/2") + ProgrammeXml("c", 90, 100, "first read") +
           ProgrammeXml("d", 0, 30, "d"));
    for (std::size_t chunk : {std::size_t(3), guide.size()}) {
        const ReadResult r = ReadGuide(guide, {Wanted("C"), Wanted("D")}, chunk);
        EXPECT_EQ(r.Titles(0), (Titles{"news", "weather", "film", "late news", "sport", "late weather", "bad place"}));
        const std::vector<Programme>& c = r.list.Of(0);
        ASSERT_EQ(c.size(), 7u);
        EXPECT_EQ(c[1].start, kNow);
        EXPECT_EQ(c[1].stop, kNow + 30 * kMinute);
        EXPECT_EQ(c[1].clump, 1);
        EXPECT_EQ(c[5].clump, 2);
        EXPECT_EQ(c[6].clump, 0); // no place in a clump of two
        EXPECT_EQ(r.outcome.programmes, 8u);
        // Now is the first of the clump on.
        const ProgrammeList::NowAndNext at = r.list.At(0, kNow + 70 * kMinute);
        ASSERT_TRUE(at.now && at.next);
        EXPECT_EQ(at.now->title, "late news");
        EXPECT_EQ(at.next->title, "bad place");
    }
}

TEST(GuideSlots, AStopBeforeTheStartIsADayLaterUpToTheNextProgramme)
{
    // 23:30 to "00:30" of the same date: the guide did not move the date on past midnight.
    constexpr int k2330 = 5 * 60, k0030SameDate = k2330 - 23 * 60;
    const auto read = [](const std::string& after) {
        return ReadGuide(Tv(ChannelXml("c", {"C"}) + ProgrammeXml("c", k2330, k0030SameDate, "late film") + after),
                         {Wanted("C")});
    };
    // A gap after it stays a gap.
    ReadResult r = read(ProgrammeXml("c", k2330 + 150, k2330 + 180, "night"));
    ASSERT_EQ(r.list.Of(0).size(), 2u);
    EXPECT_EQ(r.list.Of(0)[0].stop, kNow + (k2330 + 60) * kMinute);
    // A day later would run past the next programme: it ends where that starts.
    r = read(ProgrammeXml("c", k2330 + 30, k2330 + 60, "midnight"));
    ASSERT_EQ(r.list.Of(0).size(), 2u);
    EXPECT_EQ(r.list.Of(0)[0].stop, kNow + (k2330 + 30) * kMinute);
    // The channel's last programme is kept, an hour long.
    r = read("");
    ASSERT_EQ(r.list.Of(0).size(), 1u);
    EXPECT_EQ(r.list.Of(0)[0].stop, kNow + (k2330 + 60) * kMinute);

    // More than a day before its start, a stop says nothing of the length: never a programme of
    // 30 hours up to the next one.
    r = ReadGuide(Tv(ChannelXml("c", {"C"}) + ProgrammeXml("c", 0, -25 * 60, "nonsense") +
                     ProgrammeXml("c", 30 * 60, 30 * 60 + 30, "next day")),
                  {Wanted("C")});
    ASSERT_EQ(r.list.Of(0).size(), 2u);
    EXPECT_EQ(r.list.Of(0)[0].stop, kNow + 60 * kMinute);
}

TEST(GuideSlots, TheLastProgrammeWithoutAStopIsKeptAnHour)
{
    const ReadResult r = ReadGuide(
        Tv(ChannelXml("c", {"C"}) + ProgrammeXml("c", 0, kNoStop, "first") + ProgrammeXml("c", 45, kNoStop, "last")),
        {Wanted("C")});
    EXPECT_EQ(r.Titles(0), (Titles{"first", "last"}));
    ASSERT_EQ(r.list.Of(0).size(), 2u);
    EXPECT_EQ(r.list.Of(0)[0].stop, kNow + 45 * kMinute);
    EXPECT_EQ(r.list.Of(0)[1].stop, kNow + 105 * kMinute);
    EXPECT_EQ(r.outcome.lastStop, kNow + 105 * kMinute);
}
