// The watch session alone, over a list, a player and numbers of the test's own: no window, no
// web engine, no mpv.
#include "watching/channellist.h"
#include "watching/channelnumbering.h"
#include "watching/playbackcontrol.h"
#include "watching/watchsession.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

using namespace quorvel;

namespace {

struct Row {
    QString name;
    bool gone = false;
};

class FakeList : public ChannelList {
public:
    std::vector<std::pair<QString, std::vector<Row>>> categories;
    ChannelRef selected;
    WatchSession* session = nullptr;
    int playedSelected = 0;

    int CategoryCount() const override { return int(categories.size()); }
    QString CategoryTitle(int c) const override { return categories[c].first; }
    int ChannelCount(int c) const override { return c < 0 ? 0 : int(categories[c].second.size()); }
    QString ChannelName(int c, int i) const override { return categories[c].second[i].name; }
    bool IsGone(int c, int i) const override { return categories[c].second[i].gone; }
    ChannelRef Selected() const override { return selected; }
    // As the tree does: selecting a channel plays it, unless it is gone.
    void Choose(const ChannelRef& channel) override
    {
        selected = channel;
        const int c = CategoryIndex(channel.category);
        if (session && !IsGone(c, ChannelIndex(c, channel.name)))
            session->Played(channel);
    }
    void PlaySelected() override
    {
        ++playedSelected;
        if (session && selected.IsChannel())
            session->Played(selected);
    }
};

class FakePlayer : public PlaybackControl {
public:
    Status status = Status::Stopped;
    QString address;
    int restarts = 0;
    Status CurrentStatus() const override { return status; }
    QString Address() const override { return address; }
    qint64 Position() const override { return 0; }
    double Volume() const override { return 1; }
    bool Muted() const override { return false; }
    void SetPaused(bool paused) override { status = paused ? Status::Paused : Status::Playing; }
    void Restart() override
    {
        ++restarts;
        status = Status::Playing;
    }
    void Stop() override { status = Status::Stopped; }
    void SetVolume(double) override { }
    void SetMuted(bool) override { }
};

class FakeNumbers : public ChannelNumbering {
public:
    std::map<int, ChannelRef> byNumber;
    int NumberOf(const QString& name) override
    {
        for (const auto& [n, c] : byNumber)
            if (c.name == name)
                return n;
        return 0;
    }
    QString CategoryOf(const QString& name) override { return byNumber[NumberOf(name)].category; }
    ChannelRef ChannelOf(int number) override { return byNumber.count(number) ? byNumber[number] : ChannelRef(); }
};

struct Fixture : ::testing::Test {
    FakeList list;
    FakePlayer player;
    FakeNumbers numbers;
    WatchSession session{list, player, numbers};

    void SetUp() override
    {
        list.categories = {
            {"Favourites", {{"B"}, {"Lost", true}, {"D"}}}, {"Empty", {}}, {"News", {{"A"}, {"B"}, {"C"}, {"D"}}}};
        list.session = &session;
        numbers.byNumber = {{1, {"News", "A"}}, {7, {"News", "C"}}};
    }
    QString Playing() const { return session.Playing().name; }
};

} // namespace

TEST_F(Fixture, StepsGoRoundTheCategoryAndStepOverGoneFavourites)
{
    list.Choose({"News", "D"});
    session.Zap(1);
    EXPECT_EQ(Playing(), "A");
    session.Zap(-1);
    EXPECT_EQ(Playing(), "D");
    list.Choose({"Favourites", "B"});
    session.Zap(1);
    EXPECT_EQ(Playing(), "D");
    EXPECT_EQ(session.Playing().category, "Favourites");
    session.Zap(1);
    EXPECT_EQ(Playing(), "B");
    // The media keys start from the selection: nothing, a category, then its channels.
    list.selected = {};
    session.Zap(0);
    list.selected = {};
    session.StepSelection(1);
    EXPECT_EQ(session.Playing(), (ChannelRef{"Favourites", "B"}));
    list.selected = {"News", ""};
    session.StepSelection(-1);
    EXPECT_EQ(session.Playing(), (ChannelRef{"News", "D"}));
    session.StepSelection(-1);
    EXPECT_EQ(Playing(), "C");
}

TEST_F(Fixture, AStepToTheNeighbourNamesTheChannelAfterItAndAJumpIsNoStep)
{
    list.Choose({"News", "A"});
    WatchSession::Step step = session.Played({"News", "B"});
    EXPECT_EQ(step.direction, 1);
    EXPECT_EQ(step.after.name, "C");
    step = session.Played({"News", "A"});
    EXPECT_EQ(step.direction, -1);
    EXPECT_EQ(step.after.name, "D");
    EXPECT_EQ(session.Played({"News", "C"}).direction, 0);
    EXPECT_EQ(session.Played({"Favourites", "D"}).direction, 0);
    EXPECT_EQ(session.Played({"Favourites", "D"}).direction, 0);
    // Over a gone favourite, and in a list of two where either way is forward.
    EXPECT_EQ(session.Played({"Favourites", "B"}).direction, 1);
    EXPECT_TRUE(session.Neighbour({"News", ""}, 1).IsEmpty());
}

TEST_F(Fixture, BackGoesToTheChannelBeforeAndTwiceComesBack)
{
    session.GoBack();
    EXPECT_TRUE(session.Playing().IsEmpty());
    list.Choose({"News", "A"});
    list.Choose({"News", "C"});
    list.Choose({"News", "C"}); // the same again changes nothing
    session.GoBack();
    EXPECT_EQ(Playing(), "A");
    session.GoBack();
    EXPECT_EQ(Playing(), "C");
    // A channel renamed while it plays is followed, and the one before stays.
    session.Follow({"News", "C2"});
    EXPECT_EQ(Playing(), "C2");
    EXPECT_EQ(session.Previous().name, "A");
}

TEST_F(Fixture, NumbersChooseTheirChannelAndAnUnknownOneNothing)
{
    EXPECT_TRUE(session.ZapToNumber(7));
    EXPECT_EQ(session.Playing(), (ChannelRef{"News", "C"}));
    EXPECT_FALSE(session.ZapToNumber(5));
    EXPECT_EQ(Playing(), "C");
    // A numbered channel whose category is gone from the list is found where it is listed.
    numbers.byNumber[9] = {"Old", "D"};
    EXPECT_TRUE(session.ZapToNumber(9));
    EXPECT_EQ(session.Playing(), (ChannelRef{"Favourites", "D"}));
}

TEST_F(Fixture, MediaKeysPlayPauseAndRetryInEveryState)
{
    EXPECT_EQ(session.Status(), PlaybackControl::Status::Stopped);
    session.Pause();
    session.Stop();
    EXPECT_EQ(player.status, PlaybackControl::Status::Stopped);
    EXPECT_TRUE(session.CanPlay());
    EXPECT_FALSE(session.CanPause());

    // After a restart the remembered channel is selected, not played: Play plays it.
    list.selected = {"News", "B"};
    session.Play();
    EXPECT_EQ(list.playedSelected, 1);
    EXPECT_EQ(Playing(), "B");
    player.address = "http://127.0.0.1/b.m3u8";
    player.status = PlaybackControl::Status::Playing;
    session.PlayPause();
    EXPECT_EQ(session.Status(), PlaybackControl::Status::Paused);
    session.PlayPause();
    EXPECT_EQ(session.Status(), PlaybackControl::Status::Playing);
    // Stopped or failed: Play opens the channel again.
    session.Stop();
    session.Play();
    EXPECT_EQ(player.restarts, 1);
    EXPECT_EQ(session.Status(), PlaybackControl::Status::Playing);

    int raised = 0, quit = 0;
    session.SetWindowActions({[&] { ++raised; }, [&] { ++quit; }});
    session.Raise();
    session.Quit();
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(quit, 1);
}

TEST_F(Fixture, PlayWithNothingChosenStartsTheFirstChannel)
{
    session.Play();
    EXPECT_EQ(session.Playing(), (ChannelRef{"Favourites", "B"}));
    list.categories = {{"Empty", {}}};
    WatchSession empty(list, player, numbers);
    list.selected = {};
    EXPECT_FALSE(empty.CanPlay());
}

TEST_F(Fixture, LiveAndBackLeaveTheArchiveForTheChannelLiveAndAZapGoesLiveElsewhere)
{
    list.Choose({"News", "A"});
    list.Choose({"News", "B"});
    session.PlayedFromArchive({{"News", "B"}, "Film", 100, 200, "http://a/b", false});
    ASSERT_TRUE(session.FromArchive().has_value());
    EXPECT_EQ(Playing(), "B");
    // Backspace from the archive is the channel live, not the channel before.
    session.GoBack();
    EXPECT_FALSE(session.FromArchive().has_value());
    EXPECT_EQ(Playing(), "B");
    EXPECT_EQ(list.playedSelected, 1);
    session.GoBack();
    EXPECT_EQ(Playing(), "A");

    // Live with another channel selected chooses the archive's channel; a zap plays the
    // neighbour live.
    session.PlayedFromArchive({{"News", "A"}, "News", 100, 200, "http://a/a", false});
    list.selected = {"News", "D"};
    session.GoLive();
    EXPECT_EQ(Playing(), "A");
    EXPECT_FALSE(session.FromArchive().has_value());
    session.PlayedFromArchive({{"News", "A"}, "News", 100, 200, "http://a/a", true});
    session.Zap(1);
    EXPECT_EQ(Playing(), "B");
    EXPECT_FALSE(session.FromArchive().has_value());
    session.GoLive(); // nothing from the archive: nothing to do
    EXPECT_EQ(Playing(), "B");
}
