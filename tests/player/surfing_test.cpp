// Surfing: the channel after the one shown opened ahead in a core of its own, shown at once by
// the next step that way, and closed when the surfing stops.
#include "playback/mpvcore.h"
#include "playback/playersession.h"
#include "playback/surfing.h"
#include "player/channelcard.h"
#include "player/mediaplayer.h"
#include "player/pictureoverlays.h"
#include "servedhls.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>
#include <vector>

using quorvel::MediaPlayer;
using quorvel::MpvProperty;
using quorvel::RequestOptions;

namespace {

const RequestOptions kGuarded{"Surfer/1.0", "http://portal.example/", ""};

class SurfingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(here.Started());
        ASSERT_TRUE(ahead.Started());
        host.resize(480, 360);
        player = new MediaPlayer(&host, QStringLiteral("null"));
        player->setGeometry(0, 0, 480, 360);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host, 20000));
    }

    bool Playing(int timeOutMs = 15000)
    {
        const quint64 before = player->FramesRendered();
        return QTest::qWaitFor([&] { return player->FramesRendered() > before + 5; }, timeOutMs);
    }

    // Three steps forward on channels of the first server, the last of them told that the
    // channel after it is the second server's: that one is opened ahead.
    void SurfUpToTheChannelAhead()
    {
        player->SetURL(here.Url() + "?one");
        player->Zapped(0);
        ASSERT_TRUE(Playing());
        player->SetURL(here.Url() + "?two");
        player->Zapped(1, here.Url() + "?three");
        // One step is no surfing yet.
        EXPECT_TRUE(player->Surf().AheadURL().isEmpty());
        player->SetURL(here.Url() + "?three");
        player->Zapped(1, ahead.Url(), kGuarded);
        EXPECT_EQ(player->Surf().AheadURL(), ahead.Url());
        ASSERT_TRUE(QTest::qWaitFor([&] { return Segments(ahead) > 0; }, 15000));
    }

    static int Segments(ServedHls& server)
    {
        int n = 0;
        for (const auto& r : server.Requests())
            n += r.path.contains(".ts");
        return n;
    }

    // The second server, a live one, is sent nothing more: what was opened ahead was closed.
    void AheadSendsNothingMore()
    {
        // Requests sent before it closed may still be on their way.
        QTest::qWait(500);
        ahead.ForgetRequests();
        QTest::qWait(2500);
        EXPECT_TRUE(ahead.Requests().isEmpty()) << ahead.Requests().first().path.toStdString();
    }

    ServedHls here{{"--seconds", "30"}};
    ServedHls ahead{{"--seconds", "30", "--live", "--agent", "Surfer/1.0", "--referrer", "http://portal.example/"}};
    QWidget host;
    MediaPlayer* player = nullptr;
};

} // namespace

TEST_F(SurfingTest, TheChannelOpenedAheadIsSilentAndShowsAtOnceOnTheNextStep)
{
    ASSERT_NO_FATAL_FAILURE(SurfUpToTheChannelAhead());
    // Opened with the channel's own request options, silent and held at its first picture.
    for (const auto& r : ahead.Requests()) {
        EXPECT_EQ(r.headers.value("User-Agent").toString(), "Surfer/1.0") << r.path.toStdString();
        EXPECT_EQ(r.headers.value("Referer").toString(), "http://portal.example/") << r.path.toStdString();
    }
    quorvel::MpvCore* opened = player->Surf().AheadCore();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->Flag(MpvProperty::Pause));
    EXPECT_TRUE(opened->Flag(MpvProperty::Mute));
    // The one on screen plays on meanwhile, with the viewer's sound.
    EXPECT_TRUE(Playing());
    EXPECT_FALSE(player->Core().Flag(MpvProperty::Mute));

    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Surf().AheadHasPicture(); }, 10000));
    // The next step shows it: its first picture is there already, so it plays at once, with
    // no "Connecting…" over it.
    player->SetChannelName("Ahead");
    const quint64 before = player->FramesRendered();
    // Not even for a moment: the card shown and hidden over the picture left a hole in it.
    std::vector<quorvel::PlayerSession::State> told;
    const auto telling = QObject::connect(&player->Session(), &quorvel::PlayerSession::stateChanged, player,
                                          [&] { told.push_back(player->Session().CurrentState()); });
    player->SetURL(ahead.Url(), kGuarded);
    QObject::disconnect(telling);
    EXPECT_EQ(told, std::vector{quorvel::PlayerSession::State::Playing});
    EXPECT_FALSE(player->Overlays().Card().isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->FramesRendered() > before; }, 1000));
    ASSERT_TRUE(Playing());
    EXPECT_EQ(player->URL(), ahead.Url());
    EXPECT_FALSE(player->Core().Flag(MpvProperty::Pause));
    EXPECT_FALSE(player->Core().Flag(MpvProperty::Mute));
    EXPECT_TRUE(player->Surf().AheadURL().isEmpty());
    // It is the second server's live stream that plays now: it is asked for what comes next.
    ahead.ForgetRequests();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Segments(ahead) > 0; }, 10000));

    // The core that played before waits for the next channel ahead: the step after opens it.
    player->Zapped(1, here.Url() + "?one");
    EXPECT_EQ(player->Surf().AheadURL(), here.Url() + "?one");
    here.ForgetRequests();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Segments(here) > 0; }, 15000));
}

TEST_F(SurfingTest, AChannelOpenedAheadButNeverShownIsClosedWhenTheSurfingStops)
{
    // A step the other way.
    ASSERT_NO_FATAL_FAILURE(SurfUpToTheChannelAhead());
    player->SetURL(here.Url() + "?two");
    player->Zapped(-1, here.Url() + "?one");
    EXPECT_TRUE(player->Surf().AheadURL().isEmpty());
    AheadSendsNothingMore();

    // No zap for a while: the channel ahead closes, its core stays idle.
    player->Surf().SetIdleMs(1500);
    ASSERT_NO_FATAL_FAILURE(SurfUpToTheChannelAhead());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Surf().AheadURL().isEmpty(); }, 5000));
    AheadSendsNothingMore();
    // The channel on screen plays on.
    EXPECT_EQ(player->URL(), here.Url() + "?three");
    EXPECT_TRUE(Playing());
    // The one zap after watching a while opens in the idle core, not after the one playing
    // let its channel go.
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Surf().SpareReady(); }, 5000));
    const mpv_handle* played = player->Core().Handle();
    player->SetURL(here.Url() + "?four");
    player->Zapped(1, ahead.Url(), kGuarded);
    EXPECT_NE(player->Core().Handle(), played);
    ASSERT_TRUE(Playing());
    EXPECT_EQ(player->URL(), here.Url() + "?four");
    EXPECT_TRUE(player->Surf().AheadURL().isEmpty());

    // The window hides (the boss key).
    player->Surf().SetIdleMs(quorvel::Surfing::kIdleMs);
    ASSERT_NO_FATAL_FAILURE(SurfUpToTheChannelAhead());
    host.hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->Surf().HasCore(); }, 5000));
    AheadSendsNothingMore();

    // Shown again, a step is a step again: nothing ahead until two.
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host, 20000));
    player->SetURL(here.Url() + "?four");
    player->Zapped(1, ahead.Url(), kGuarded);
    EXPECT_FALSE(player->Surf().HasCore());
}

TEST_F(SurfingTest, AChannelAheadThatCannotPlayIsLetGoAndItsZapSaysWhy)
{
    player->SetURL(here.Url() + "?one");
    player->Zapped(0);
    ASSERT_TRUE(Playing());
    player->SetURL(here.Url() + "?two");
    player->Zapped(1, here.Url() + "?three");
    player->SetURL(here.Url() + "?three");
    // The options are missing: its server refuses it.
    player->Zapped(1, ahead.Url());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Surf().AheadURL().isEmpty(); }, 15000));
    player->SetURL(ahead.Url());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->Message().isEmpty(); }, 15000));
    EXPECT_EQ(player->Message(), "Cannot play this channel: the server refused to send the stream");
}

TEST_F(SurfingTest, AZapWhileZappingOpensInTheIdleSecondCoreWithTheViewersSound)
{
    player->SetURL(here.Url() + "?one");
    player->Zapped(0);
    ASSERT_TRUE(Playing());
    player->Core().SetDouble(MpvProperty::Volume, 40);
    player->Core().SetText(MpvProperty::AudioLanguage, "fr");
    // A zap within the while: the second core is made for the next, opening nothing.
    player->SetURL(here.Url() + "?two");
    player->Zapped(-1, here.Url() + "?one");
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Surf().HasCore(); }, 5000));
    EXPECT_TRUE(player->Surf().AheadURL().isEmpty());
    ASSERT_TRUE(Playing());
    // It draws a picture of its own off screen first, then waits stopped, not held at it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Surf().SpareReady(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Surf().AheadCore()->Flag(MpvProperty::IdleActive); }, 3000));

    // The next zap opens there, as in the playing core: "Connecting…" until its first picture.
    const double oldLength = player->Core().Double(MpvProperty::Duration);
    ASSERT_GT(oldLength, 0);
    QSignalSpy lengths(&player->Core(), &quorvel::MpvCore::durationChanged);
    player->SetURL(ahead.Url(), kGuarded);
    EXPECT_EQ(player->Session().CurrentState(), quorvel::PlayerSession::State::Connecting);
    EXPECT_TRUE(player->Overlays().Card().isVisible());
    ASSERT_TRUE(Playing());
    EXPECT_EQ(player->URL(), ahead.Url());
    // The last channel's length is never told for the new one. The first told may already be
    // the live channel's own (the span it has read), when it opens before the first drain.
    ASSERT_FALSE(lengths.isEmpty());
    for (const auto& told : lengths)
        EXPECT_NE(told.at(0).toDouble(), oldLength);
    EXPECT_EQ(player->Core().Double(MpvProperty::Volume), 40);
    EXPECT_EQ(player->Core().Text(MpvProperty::AudioLanguage), "fr");
    EXPECT_FALSE(player->Core().Flag(MpvProperty::Mute));
    EXPECT_FALSE(player->Core().Flag(MpvProperty::Pause));
    for (const auto& r : ahead.Requests())
        EXPECT_EQ(r.headers.value("User-Agent").toString(), "Surfer/1.0") << r.path.toStdString();
    // The core that played is the idle one now, silent, with the viewer's sound for later.
    ASSERT_NE(player->Surf().AheadCore(), nullptr);
    EXPECT_EQ(player->Surf().AheadCore()->Double(MpvProperty::Volume), 40);
    EXPECT_TRUE(player->Surf().AheadCore()->Flag(MpvProperty::Mute));
    EXPECT_TRUE(player->Surf().AheadURL().isEmpty());

    // An address that is no stream's is opened in neither core: the session refuses it.
    player->SetURL("memory://not-a-stream");
    EXPECT_EQ(player->Session().CurrentState(), quorvel::PlayerSession::State::Failed);
    EXPECT_TRUE(player->Session().Failure().headline.contains("not a stream address"));
}
