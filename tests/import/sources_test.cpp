// Remembered playlist sources: a refresh makes a source's channels what it now lists and
// leaves everyone else's alone; a failed one changes nothing.
#include "base/exception.h"
#include "catalogue/channelcatalogue.h"
#include "import/playlistsources.h"
#include "scratchdir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

std::string Entry(const std::string& title, const std::string& group, const std::string& address)
{
    return "#EXTINF:-1 group-title=\"" + group + "\"," + title + "\n" + address + "\n";
}

class PlaylistSourcesTest : public ::testing::Test {
protected:
    std::string Catalogue() const { return dir.File("VisibleAPI.dat"); }
    std::vector<ChannelCategory> Tree() const { return ChannelCatalogue(Catalogue()).ReadTree(); }
    std::string Address(const std::string& channel) const
    {
        return ChannelCatalogue(Catalogue()).StreamAddress(channel);
    }
    QString Write(const std::string& name, const std::string& text)
    {
        ScratchDir::Spit(dir.File(name), text);
        return QString::fromStdString(dir.File(name));
    }

    ScratchDir dir;
};

} // namespace

TEST_F(PlaylistSourcesTest, RefreshAddsUpdatesMovesAndRemovesOnlyTheSourcesOwnChannels)
{
    ScratchDir::Spit(Catalogue(), "[Layer1]\nNews=\n[Layer2]\nMine=News\n[Programs]\nMine=http://h/mine\n");
    // The source lists the hand-made channel too: it is there already, and stays when the
    // source stops listing it.
    const QString a =
        Write("a.m3u", "#EXTM3U\n" + Entry("Mine", "News", "http://h/mine") + Entry("X", "News", "http://h/x1") +
                           Entry("Y", "Sport", "http://h/y") + Entry("Z", "Sport", "http://h/z|User-Agent=Zed") +
                           Entry("Both", "Sport", "http://h/both"));
    const QString b =
        Write("b.m3u", "#EXTM3U\n" + Entry("W", "Movies", "http://h/w") + Entry("Both", "Sport", "http://h/both"));
    PlaylistSources sources(Catalogue());
    EXPECT_EQ(sources.Read(a).report.Added(), 4);
    const auto second = sources.Read(b);
    EXPECT_EQ(second.report.Added(), 1);
    EXPECT_EQ(second.report.Present(), 1); // "Both" was there already: now both sources list it
    EXPECT_EQ(sources.Database().RequestOptionsOf("Z").userAgent, "Zed");

    // The provider changes its list: X moves to a new address, Y to another category, Z and
    // Both go, N is new.
    Write("a.m3u", "#EXTM3U\n" + Entry("X", "News", "http://h/x2") + Entry("N", "Sport", "http://h/n") +
                       Entry("Y", "Cartoons", "http://h/y"));
    const auto refresh = sources.Read(a);
    EXPECT_EQ(refresh.report.Added(), 1);
    EXPECT_EQ(refresh.report.Updated(), 1);
    EXPECT_EQ(refresh.report.moved, 1);
    EXPECT_EQ(refresh.report.removed, 1); // Z; Both stays, source B lists it
    const std::vector<ChannelCategory> expected = {
        {"News", {"Mine", "X"}}, {"Sport", {"Both", "N"}}, {"Movies", {"W"}}, {"Cartoons", {"Y"}}};
    EXPECT_EQ(Tree(), expected);
    EXPECT_EQ(Address("X"), "http://h/x2");
    EXPECT_EQ(Address("Z"), "");
    EXPECT_EQ(Address("Mine"), "http://h/mine");
    EXPECT_TRUE(sources.Database().RequestOptionsOf("Z").Empty());
    // The same list again changes nothing.
    EXPECT_FALSE(sources.Read(a).written);

    // A list that is no playlist now: every channel stays, and the source says why.
    const std::string before = ScratchDir::Slurp(Catalogue());
    Write("a.m3u", "<html><body>502 Bad Gateway</body></html>\n");
    EXPECT_THROW(sources.Read(a), Exception);
    Write("a.m3u", "#EXTM3U\n#EXTINF:-1,Refused\nfd://0\n");
    EXPECT_THROW(sources.Read(a), Exception);
    EXPECT_EQ(ScratchDir::Slurp(Catalogue()), before);
    const auto remembered = sources.Find(a);
    ASSERT_TRUE(remembered.has_value());
    EXPECT_NE(remembered->lastError.find("every entry was skipped"), std::string::npos) << remembered->lastError;
    EXPECT_EQ(sources.Database().Channels(remembered->id).size(), 3u);

    // Removing A takes its channels and the categories they alone filled; B's and the hand's stay.
    const auto removed = sources.Remove(*remembered);
    EXPECT_EQ(removed.report.removed, 3);
    const std::vector<ChannelCategory> left = {{"News", {"Mine"}}, {"Sport", {"Both"}}, {"Movies", {"W"}}};
    EXPECT_EQ(Tree(), left);
    ASSERT_EQ(sources.List().size(), 1u);
    EXPECT_EQ(sources.List()[0].location, b.toStdString());
    // Sources are found by number or location; a relative file name by its absolute path.
    EXPECT_TRUE(sources.Find(QStringLiteral("1")).has_value());
    EXPECT_FALSE(sources.Find(QStringLiteral("2")).has_value());
}

TEST_F(PlaylistSourcesTest, ADryRunAndAFailedFirstReadRememberNothing)
{
    const QString a = Write("a.m3u", "#EXTM3U\n" + Entry("X", "News", "http://h/x"));
    PlaylistSources sources(Catalogue());
    EXPECT_EQ(sources.Read(a, {}, true).report.Added(), 1);
    EXPECT_THROW(sources.Read(QString::fromStdString(dir.File("missing.m3u"))), Exception);
    EXPECT_FALSE(std::filesystem::exists(Catalogue()));
    EXPECT_FALSE(std::filesystem::exists(dir.File("viewer.db")));
    EXPECT_TRUE(sources.List().empty());
}

TEST_F(PlaylistSourcesTest, TheHeadersGuidesAndShiftAreRememberedWithTheSource)
{
    const QString a = Write("a.m3u", "#EXTM3U x-tvg-url=\"http://h/one.xml.gz, http://h/two.xml\" tvg-shift=\"-1.5\" "
                                     "url-tvg=\"http://h/one.xml.gz\"\n" +
                                         Entry("X", "News", "http://h/x") +
                                         "#EXTINF:-1 tvg-shift=\"2\",Y\nhttp://h/y\n"
                                         // A list pasted below has a header of its own: the first one counts.
                                         "#EXTM3U tvg-shift=\"5\"\n" +
                                         Entry("Z", "News", "http://h/z"));
    PlaylistSources sources(Catalogue());
    sources.Read(a);
    const auto source = sources.Database().FindSource(PlaylistSources::Normalized(a).toStdString());
    ASSERT_TRUE(source.has_value());
    EXPECT_EQ(source->guideAddresses, (std::vector<std::string>{"http://h/one.xml.gz", "http://h/two.xml"}));
    EXPECT_EQ(source->tvgShift, "-1.5");
    const auto channels = sources.Database().Channels(source->id);
    ASSERT_EQ(channels.size(), 3u);
    EXPECT_EQ(channels[0].tvgShift, "");
    EXPECT_EQ(channels[1].tvgShift, "2");
}

TEST_F(PlaylistSourcesTest, ArchivesAreKeptPerChannelAndSummarised)
{
    // The header's catch-up is every channel's default; a channel's own attributes win, and a
    // malformed one is refused for that channel alone.
    const QString a =
        Write("a.m3u", "#EXTM3U catchup=\"shift\" catchup-days=\"3\" catchup-correction=\"-1.5\" tvg-shift=\"2\"\n"
                       "#EXTINF:-1 group-title=\"News\",Shifted\nhttp://h/s.m3u8?k=1\n"
                       "#EXTINF:-1 group-title=\"News\" catchup=\"append\" catchup-days=\"7\" "
                       "catchup-source=\"?from={utc}&x={bogus}\",Appended\nhttp://h/a.m3u8\n"
                       "#EXTINF:-1 group-title=\"News\" catchup-days=\"lots\",Broken\nhttp://h/b.m3u8\n"
                       "#EXTINF:-1 group-title=\"News\" catchup=\"xc\",NotXc\nhttp://h/plain.m3u8\n"
                       "#EXTINF:-1 group-title=\"News\" catchup-days=\"0\",None\nhttp://h/n.m3u8\n");
    PlaylistSources sources(Catalogue());
    const auto outcome = sources.Read(a);
    EXPECT_EQ(outcome.catchup.withArchive, 2);
    ASSERT_EQ(outcome.catchup.refused, 2);
    EXPECT_EQ(outcome.catchup.refusals[0].title, "Broken");
    EXPECT_EQ(outcome.catchup.refusals[0].reason, "catchup-days is not a number: 'lots'");
    EXPECT_EQ(outcome.catchup.unknownPlaceholders, std::vector<std::string>{"{bogus}"});
    const auto lines = outcome.catchup.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Archive: 2 channels with one (1 channel of 7 days, 1 channel of 3 days).");

    const auto shifted = sources.Database().ArchiveChannel("shifted");
    ASSERT_TRUE(shifted.has_value());
    EXPECT_EQ(shifted->catchupMode, "shift");
    EXPECT_EQ(shifted->catchupDays, 3);
    EXPECT_EQ(shifted->catchupCorrectionMinutes, -90);
    EXPECT_EQ(shifted->tvgShift, "2"); // the header's, for a channel without its own
    EXPECT_EQ(shifted->address, "http://h/s.m3u8?k=1");
    const auto appended = sources.Database().ArchiveChannel("Appended");
    ASSERT_TRUE(appended.has_value());
    EXPECT_EQ(appended->catchupSource, "?from={utc}&x={bogus}");
    for (const char* none : {"Broken", "NotXc", "None"})
        EXPECT_FALSE(sources.Database().ArchiveChannel(none).has_value()) << none;

    // A playlist that names no archive has nothing to say about one.
    const QString plain = Write("plain.m3u", "#EXTM3U\n" + Entry("P", "News", "http://h/p"));
    EXPECT_TRUE(sources.Read(plain).catchup.Lines().empty());
}
