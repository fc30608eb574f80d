#include "guide/guidefile.h"
#include "guide/guidereader.h"
#include "guidetext.h"
#include "scratchdir.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <tuple>

using namespace quorvel;
using namespace quorvel::test;

namespace {

using Titles = std::vector<std::string>;

WantedChannel Wanted(std::string name, std::string tvgId = {}, std::string tvgName = {})
{
    return WantedChannel{std::move(name), std::move(tvgId), std::move(tvgName), std::nullopt};
}

} // namespace

TEST(GuideReader, ReadsTextsAndTimesOfWantedChannelsOnly)
{
    const std::string guide = Tv(ChannelXml("one.tv", {"One"}) + ChannelXml("two.tv", {"Two"}) + "<programme start=\"" +
                                 GuideTime(0) + "\" stop=\"" + GuideTime(30) +
                                 "\" channel=\"one.tv\"><title lang=\"de\">Nachrichten</title>"
                                 "<title lang=\"en\">News</title><sub-title>Evening  </sub-title>"
                                 "<desc>  The day's news &amp; weather.\n</desc><category>News</category>"
                                 "<category>Current affairs</category><rating><value>12</value></rating>"
                                 "</programme>\n" +
                                 ProgrammeXml("two.tv", 0, 30, "Not wanted") + ProgrammeXml("one.tv", 30, 60, "Film"));
    for (std::size_t chunk : {std::size_t(1), std::size_t(7), guide.size()}) {
        const ReadResult r = ReadGuide(guide, {Wanted("One", "one.tv")}, chunk);
        EXPECT_TRUE(r.outcome.complete) << r.outcome.problem;
        ASSERT_EQ(r.list.Of(0).size(), 2u);
        const Programme& p = r.list.Of(0)[0];
        EXPECT_EQ(p.title, "Nachrichten"); // the first of several languages
        EXPECT_EQ(p.subTitle, "Evening");
        EXPECT_EQ(p.description, "The day's news & weather.");
        EXPECT_EQ(p.category, "News");
        EXPECT_EQ(p.start, kNow);
        EXPECT_EQ(p.stop, kNow + 30 * 60);
        EXPECT_EQ(r.outcome.programmes, 2u);
        EXPECT_EQ(r.list.Size(), 2u);
    }
}

TEST(GuideReader, ShiftMovesAChannelsProgrammes)
{
    const std::string guide = Tv(ChannelXml("a", {"A"}) + ProgrammeXml("a", 0, 60, "P"));
    WantedChannel own = Wanted("Own", "a");
    own.shiftHours = -2;
    WantedChannel zero = Wanted("Zero", "a");
    zero.shiftHours = 0; // its own shift of nothing stands against the playlist's
    const ReadResult r = ReadGuide(guide, {Wanted("Playlist", "a"), own, zero}, 64, 1.5);
    ASSERT_EQ(r.list.Of(0).size(), 1u);
    EXPECT_EQ(r.list.Of(0)[0].start, kNow + 90 * 60);
    EXPECT_EQ(r.list.Of(0)[0].stop, kNow + 150 * 60);
    ASSERT_EQ(r.list.Of(1).size(), 1u);
    EXPECT_EQ(r.list.Of(1)[0].start, kNow - 120 * 60);
    ASSERT_EQ(r.list.Of(2).size(), 1u);
    EXPECT_EQ(r.list.Of(2)[0].start, kNow);
    EXPECT_EQ(r.outcome.channels, 3u); // one guide channel feeds all three
}

TEST(GuideReader, ChannelsMatchByIdThenTvgNameThenName)
{
    const std::string guide =
        Tv(ChannelXml("by-name", {"Alpha", "Beta HD"}) + ChannelXml("by-tvg-name", {"  alpha one "}) +
           ChannelXml("Alpha.id", {"Other"}) + ChannelXml("cyr", {"ПЕРВЫЙ"}) + ChannelXml("name2", {"Beta HD"}) +
           ProgrammeXml("by-name", 0, 30, "from by-name") + ProgrammeXml("by-tvg-name", 0, 30, "from by-tvg-name") +
           ProgrammeXml("Alpha.id", 0, 30, "from id") + ProgrammeXml("cyr", 0, 30, "from cyr") +
           ProgrammeXml("name2", 0, 30, "from name2"));
    const ReadResult r = ReadGuide(guide, {
                                              Wanted("Alpha", " alpha.ID ", "Alpha_One"), // id beats both names
                                              Wanted("Alpha", "missing.id", "Alpha_One"), // tvg-name beats name
                                              Wanted("alpha"),                            // name
                                              Wanted("Первый"),                           // letter case of Cyrillic
                                              Wanted("beta hd"), // the first declared of equal matches
                                              Wanted("Gamma", "gamma"),
                                          });
    EXPECT_EQ(r.Titles(0), Titles{"from id"});
    EXPECT_EQ(r.Titles(1), Titles{"from by-tvg-name"});
    EXPECT_EQ(r.Titles(2), Titles{"from by-name"});
    EXPECT_EQ(r.Titles(3), Titles{"from cyr"});
    EXPECT_EQ(r.Titles(4), Titles{"from by-name"});
    EXPECT_TRUE(r.list.Of(5).empty());
    EXPECT_EQ(r.outcome.matched, 5u);
}

TEST(GuideReader, SingleByteCodePagesReadAsTheirCharacters)
{
    // "Первый" and "Новости" in windows-1251 and in KOI8-R.
    const std::string cp1251 = "\xCF\xE5\xF0\xE2\xFB\xE9", news1251 = "\xCD\xEE\xE2\xEE\xF1\xF2\xE8";
    const std::string koi8 = "\xF0\xC5\xD2\xD7\xD9\xCA", newsKoi8 = "\xEE\xCF\xD7\xCF\xD3\xD4\xC9";
    for (const auto& [encoding, name, news] :
         {std::tuple{"windows-1251", cp1251, news1251}, std::tuple{"KOI8-R", koi8, newsKoi8}}) {
        const std::string body = ChannelXml("p", {name}) + ProgrammeXml("p", 0, 30, news);
        const std::string guide =
            std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?><tv>" + body + "</tv>";
        const ReadResult r = ReadGuide(guide, {Wanted("первый")});
        EXPECT_TRUE(r.outcome.complete) << r.outcome.problem;
        EXPECT_EQ(r.Titles(0), Titles{"Новости"}) << encoding;
    }
}

TEST(GuideReader, ProgrammesBeforeTheirChannelsAreKept)
{
    // Programmes first: one found by its id at once, one that waits for its channel's name.
    const std::string guide =
        Tv(ProgrammeXml("x1", 0, 30, "X now") + ProgrammeXml("named", 0, 30, "N now") +
           ProgrammeXml("unknown", 0, 30, "U") + ProgrammeXml("x1", 30, 60, "X next") + ChannelXml("x1", {"X"}) +
           ChannelXml("named", {"The Name"}) + ProgrammeXml("named", 30, 60, "N next"));
    const ReadResult r = ReadGuide(guide, {Wanted("X", "x1"), Wanted("the name")});
    EXPECT_TRUE(r.outcome.complete);
    EXPECT_EQ(r.Titles(0), (Titles{"X now", "X next"}));
    EXPECT_EQ(r.Titles(1), (Titles{"N now", "N next"}));
}

TEST(GuideReader, ProgrammesWaitingForTheirChannelHaveBoundedRoom)
{
    std::string body;
    for (int i = 0; i < 200; ++i)
        body += ProgrammeXml("late", i * 10, i * 10 + 10, std::string(100, 'x'));
    const std::string guide = Tv(body + ChannelXml("late", {"Late"}));
    ReadResult r;
    GuideReader::Options options;
    options.now = kNow;
    options.waitingRoom = 50 * 250;
    GuideReader reader({Wanted("Late")}, r.list, options);
    reader.Feed(guide.data(), guide.size());
    r.outcome = reader.Finish();
    EXPECT_GT(r.outcome.leftOut, 100u);
    EXPECT_LT(r.outcome.leftOut, 200u);
    EXPECT_EQ(r.outcome.programmes + r.outcome.leftOut, 200u);
}

TEST(GuideReader, MissingStopsOverlapsAndDisorderAreMadeSane)
{
    const std::string guide =
        Tv(ChannelXml("c", {"C"}) + ProgrammeXml("c", 60, kNoStop, "no stop") + // ends where the next starts
           ProgrammeXml("c", 0, 90, "overlapping") +                            // listed late, cut at the next start
           ProgrammeXml("c", 60, 120, "same start") +                           // the first read keeps the start
           ProgrammeXml("c", 100, 90, "inverted") +                             // a day later: the next start stands
           ProgrammeXml("c", 130, 150, "gap before") +                          // gaps stay gaps
           ProgrammeXml("c", 150, kNoStop, "last, no stop")                     // nothing ends it: an hour
           + ChannelXml("d", {"D"}) + ProgrammeXml("d", 0, 10, "d"));
    const ReadResult r = ReadGuide(guide, {Wanted("C", "c"), Wanted("D")});
    EXPECT_EQ(r.Titles(0), (Titles{"overlapping", "no stop", "inverted", "gap before", "last, no stop"}));
    const std::vector<Programme>& c = r.list.Of(0);
    ASSERT_EQ(c.size(), 5u);
    const std::int64_t m = 60;
    EXPECT_EQ(c[0].start, kNow);
    EXPECT_EQ(c[0].stop, kNow + 60 * m);
    EXPECT_EQ(c[1].stop, kNow + 100 * m);
    EXPECT_EQ(c[2].stop, kNow + 130 * m);
    EXPECT_EQ(c[3].stop, kNow + 150 * m);
    EXPECT_EQ(c[4].stop, kNow + 210 * m);
    EXPECT_EQ(r.Titles(1), Titles{"d"});
}

TEST(GuideReader, SinkGetsOrderedBatchesThatDoNotOverlap)
{
    // Time-ordered across channels (every programme another channel's), and a long channel run
    // that fills several batches, some programmes late and missing stops.
    std::string body = ChannelXml("a", {"A"}) + ChannelXml("b", {"B"});
    for (int i = 0; i < 700; ++i) {
        body += ProgrammeXml("a", i * 5, i % 3 == 0 ? kNoStop : i * 5 + 7, "a" + std::to_string(i));
        body += ProgrammeXml("b", i * 5, i * 5 + 5, "b" + std::to_string(i));
    }
    for (int i = 0; i < 600; ++i)
        body += ProgrammeXml("b", 4000 + (i ^ 1) * 5, 4000 + (i ^ 1) * 5 + 5, "late b");
    struct Check : GuideSink {
        std::int64_t until[2] = {INT64_MIN, INT64_MIN};
        std::size_t batches = 0, programmes = 0;
        void Take(std::size_t channel, std::span<Programme> ps) override
        {
            ++batches;
            for (const Programme& p : ps) {
                EXPECT_GE(p.start, until[channel]);
                EXPECT_GT(p.stop, p.start);
                until[channel] = p.stop;
                ++programmes;
            }
        }
    } check;
    GuideReader::Options options;
    options.now = kNow;
    GuideReader reader({Wanted("A"), Wanted("B")}, check, options);
    const std::string guide = Tv(body);
    reader.Feed(guide.data(), guide.size());
    const GuideOutcome outcome = reader.Finish();
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(check.programmes, 700u + 700u + 600u);
    EXPECT_GT(check.batches, 4u);
}

TEST(GuideReader, KeepsFromTwelveHoursAgo)
{
    const std::string guide =
        Tv(ChannelXml("c", {"C"}) + ProgrammeXml("c", -15 * 60, -13 * 60, "long over") +
           ProgrammeXml("c", -13 * 60, kNoStop, "ended at the limit") +
           ProgrammeXml("c", -12 * 60, -11 * 60 - 59, "still running then") + ProgrammeXml("c", 0, 30, "now"));
    const ReadResult r = ReadGuide(guide, {Wanted("C")});
    EXPECT_EQ(r.Titles(0), (Titles{"still running then", "now"}));
    // A programme long over still ends the one before it, which is not kept either.
    const ReadResult ended =
        ReadGuide(Tv(ChannelXml("c", {"C"}) + ProgrammeXml("c", -20 * 60, kNoStop, "before") +
                     ProgrammeXml("c", -15 * 60, -13 * 60, "long over") + ProgrammeXml("c", 0, 30, "now")),
                  {Wanted("C")});
    EXPECT_EQ(ended.Titles(0), Titles{"now"});
    EXPECT_EQ(r.outcome.lastStop, kNow + 30 * 60);
    const ProgrammeList::NowAndNext nn = r.list.At(0, kNow + 60);
    ASSERT_TRUE(nn.now);
    EXPECT_EQ(nn.now->title, "now");
    EXPECT_FALSE(nn.next);
    const ProgrammeList::NowAndNext gap = r.list.At(0, kNow - 60);
    EXPECT_FALSE(gap.now);
    ASSERT_TRUE(gap.next);
    EXPECT_EQ(gap.next->title, "now");
}

TEST(GuideReader, GzipIsToldByItsBytesAndATruncatedOneKeepsWhatWasRead)
{
    std::string body = ChannelXml("c", {"C"});
    for (int i = 0; i < 3000; ++i)
        body += ProgrammeXml("c", i * 10, i * 10 + 10, "P" + std::to_string(i) + " " + std::string(i % 50, 'x'));
    const std::string plain = Tv(body);
    const std::string packed = Gzip(plain);
    const ReadResult whole = ReadGuide(packed, {Wanted("C")}, 4096);
    EXPECT_TRUE(whole.outcome.complete) << whole.outcome.problem;
    EXPECT_EQ(whole.list.Of(0).size(), 3000u);
    // Two members one after the other, and padding after the last, read as one guide.
    const std::string half = plain.substr(0, plain.size() / 2);
    const ReadResult members =
        ReadGuide(Gzip(half) + Gzip(plain.substr(half.size())) + std::string(100, '\0'), {Wanted("C")}, 999);
    EXPECT_TRUE(members.outcome.complete) << members.outcome.problem;
    EXPECT_EQ(members.list.Of(0).size(), 3000u);

    const ReadResult cut = ReadGuide(packed.substr(0, packed.size() / 2), {Wanted("C")}, 4096);
    EXPECT_FALSE(cut.outcome.complete);
    EXPECT_NE(cut.outcome.problem.find("packed guide ends early"), std::string::npos) << cut.outcome.problem;
    EXPECT_GT(cut.list.Of(0).size(), 100u);
    EXPECT_LT(cut.list.Of(0).size(), 3000u);
    EXPECT_EQ(cut.list.Of(0).front().title, "P0");

    std::string damaged = packed;
    for (std::size_t i = damaged.size() / 2; i < damaged.size() / 2 + 64; ++i)
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5a);
    // Damage in the middle: zlib or the XML after it notices, whichever comes first.
    const ReadResult broken = ReadGuide(damaged, {Wanted("C")}, 4096);
    EXPECT_FALSE(broken.outcome.complete);
    EXPECT_FALSE(broken.outcome.problem.empty());
    EXPECT_GT(broken.list.Of(0).size(), 100u);
    EXPECT_LT(broken.list.Of(0).size(), 3000u);
}

TEST(GuideReader, ATruncatedPlainGuideKeepsWhatWasRead)
{
    const std::string guide = Tv(ChannelXml("c", {"C"}) + ProgrammeXml("c", 0, 30, "one") +
                                 ProgrammeXml("c", 30, 60, "two") + ProgrammeXml("c", 60, 90, "three"));
    const ReadResult r = ReadGuide(guide.substr(0, guide.find("three") + 2), {Wanted("C")});
    EXPECT_FALSE(r.outcome.complete);
    EXPECT_NE(r.outcome.problem.find("ends early"), std::string::npos) << r.outcome.problem;
    EXPECT_EQ(r.Titles(0), (Titles{"one", "two"}));
}

TEST(GuideReader, FilesAreReadAndTheirFaultsNamed)
{
    ScratchDir dir;
    ScratchDir::Spit(dir.File("guide.xml.txt"), Gzip(Tv(ChannelXml("c", {"C"}) + ProgrammeXml("c", 0, 30, "P"))));
    ProgrammeList list;
    GuideReader::Options options;
    options.now = kNow;
    GuideReader reader({Wanted("C")}, list, options);
    const GuideOutcome outcome = ReadGuideFile(dir.File("guide.xml.txt"), reader);
    EXPECT_TRUE(outcome.complete) << outcome.problem;
    EXPECT_EQ(list.Size(), 1u);

    GuideReader missing({Wanted("C")}, list, options);
    const GuideOutcome none = ReadGuideFile(dir.File("none.xml"), missing);
    EXPECT_FALSE(none.complete);
    EXPECT_NE(none.problem.find("none.xml"), std::string::npos);
}
