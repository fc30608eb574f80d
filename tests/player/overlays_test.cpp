// What shows over the picture as a channel plays on: what becomes of a live channel whose server
// goes away, the note of a missing sound device, and the volume as it changes.
#include "alsadefault.h"
#include "clips.h"
#include "playback/mpvcore.h"
#include "playback/playersettings.h"
#include "player/channelcard.h"
#include "player/mediaplayer.h"
#include "player/pictureoverlays.h"
#include "player/programmecard.h"
#include "player/volumecard.h"
#include "player/zapcard.h"
#include "scratchdir.h"
#include "servedhls.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

using quorvel::MediaPlayer;
using quorvel::MpvProperty;

namespace {

// A player in a window of its own, on screen.
struct ShownPlayer {
    explicit ShownPlayer(const QString& audioOutput)
    {
        host.resize(480, 360);
        player = new MediaPlayer(&host, audioOutput);
        player->setGeometry(0, 0, 480, 360);
        host.show();
    }
    bool Exposed() { return QTest::qWaitForWindowExposed(&host, 20000); }
    bool Plays(int timeOutMs = 15000)
    {
        const quint64 before = player->FramesRendered();
        return QTest::qWaitFor([&] { return player->FramesRendered() > before + 5; }, timeOutMs);
    }

    QWidget host;
    MediaPlayer* player = nullptr;
};

QPushButton* ShownButton(MediaPlayer& player)
{
    for (auto* b : player.findChildren<QPushButton*>())
        if (b->isVisible())
            return b;
    return nullptr;
}

} // namespace

TEST(LiveChannel, AServerThatGoesAwayIsReconnectedOnceThenSaysItStoppedAnsweringNeverThatItEnded)
{
    ServedHls server({"--live", "--seconds", "6"});
    ASSERT_TRUE(server.Started());
    ShownPlayer shown(QStringLiteral("null"));
    ASSERT_TRUE(shown.Exposed());
    MediaPlayer& player = *shown.player;
    player.SetChannelName("Live News");
    player.SetURL(server.Url());
    ASSERT_TRUE(shown.Plays(30000)) << player.Message().toStdString();

    // Connections are refused from now on: the card says it tries again, and once that fails
    // too the message says what became of the channel, with a way to try once more.
    server.Stop();
    bool reconnecting = false;
    QStringList said;
    const QString stopped = "The channel's server stopped answering";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const quorvel::ChannelCard& card = player.Overlays().Card();
            reconnecting |= card.isVisible() && card.Status() == "Reconnecting…";
            if (!player.Message().isEmpty() && !said.contains(player.Message()))
                said.append(player.Message());
            return player.Message() == stopped;
        },
        60000))
        << said.join(" / ").toStdString();
    EXPECT_TRUE(reconnecting) << "the card never said it was reconnecting";
    EXPECT_EQ(said, QStringList{stopped}) << "a live channel never ends";
    QPushButton* retry = ShownButton(player);
    ASSERT_NE(retry, nullptr);
    EXPECT_EQ(retry->text(), "Retry");
}

TEST(NoSoundDevice, TheNoteIsSaidOnceInTheSessionAndLeavesTheProgrammeCardClear)
{
    ServedHls server({"--seconds", "20", "--sound"});
    ASSERT_TRUE(server.Started());
    AlsaDefault alsa(AlsaDefault::kNoDevice);
    ShownPlayer shown(QStringLiteral("alsa"));
    ASSERT_TRUE(shown.Exposed());
    MediaPlayer& player = *shown.player;
    const quorvel::PictureOverlays& overlays = player.Overlays();
    const quorvel::ProgrammeInfo guide{"News", "20:00–21:00", 0.5, "Next: 21:00–22:00 Weather"};
    player.SetURL(server.Url());
    player.SetProgrammeInfo(guide);
    player.ShowZap({7, "Channel Seven", "News", {}});
    ASSERT_TRUE(shown.Plays()) << player.Message().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !overlays.Note().isEmpty(); }, 3000));
    EXPECT_EQ(overlays.Note(), "Playing without sound: no sound device");
    const auto* note = player.findChild<QLabel*>("playerNote");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(overlays.Programme().isVisible());
    EXPECT_FALSE(note->geometry().intersects(overlays.Programme().geometry()));
    EXPECT_FALSE(note->geometry().intersects(overlays.Zap().geometry()));

    // The next channel, and the one after that, play without a word of it.
    for (int zap = 0; zap < 2; ++zap) {
        player.SetURL(server.Url());
        player.SetProgrammeInfo(guide);
        ASSERT_TRUE(QTest::qWaitFor([&] { return overlays.Note().isEmpty(); }, 6000));
        ASSERT_TRUE(shown.Plays()) << player.Message().toStdString();
        EXPECT_FALSE(QTest::qWaitFor([&] { return !overlays.Note().isEmpty(); }, 1500)) << "zap " << zap;
    }
}

TEST(VolumeCard, TheSoundShowsForAMomentWhenItChangesWhileChannelsPlayNotAsTheProgramSetsItUp)
{
    ScratchDir dir;
    const std::string clip = dir.File("clip.mp4");
    ASSERT_TRUE(MakeClip(clip, "testsrc=size=320x240:rate=25", 30));
    ShownPlayer shown(QStringLiteral("null"));
    ASSERT_TRUE(shown.Exposed());
    MediaPlayer& player = *shown.player;
    const quorvel::VolumeCard& card = player.Overlays().Volume();

    // What the program brings back as it starts is no change of the viewer's.
    player.Settings().SetVolume(40);
    player.Settings().SetMute(true);
    player.Settings().SetMute(false);
    player.SetURL(QString::fromStdString(clip));
    ASSERT_TRUE(shown.Plays());
    EXPECT_FALSE(QTest::qWaitFor([&] { return !card.Text().isEmpty(); }, 500)) << card.Text().toStdString();

    // A key, and then mpv's volume set from outside (as the media keys do): each shows, in the
    // picture's top right corner, and goes after a moment.
    QTest::keyClick(&player, Qt::Key_Up);
    ASSERT_TRUE(QTest::qWaitFor([&] { return card.Text() == "Volume 45"; }, 3000)) << card.Text().toStdString();
    EXPECT_LE(card.geometry().top(), 20);
    EXPECT_GE(card.geometry().right(), player.width() - 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return card.Text().isEmpty(); }, 3000));
    player.Core().SetDouble(MpvProperty::Volume, 70);
    EXPECT_TRUE(QTest::qWaitFor([&] { return card.Text() == "Volume 70"; }, 3000)) << card.Text().toStdString();
    QTest::keyClick(&player, Qt::Key_M);
    EXPECT_TRUE(QTest::qWaitFor([&] { return card.Text() == "Muted"; }, 3000)) << card.Text().toStdString();

    // The same sound told again (a new channel) is no change.
    ASSERT_TRUE(QTest::qWaitFor([&] { return card.Text().isEmpty(); }, 3000));
    player.SetURL(QString::fromStdString(clip));
    ASSERT_TRUE(shown.Plays());
    EXPECT_FALSE(QTest::qWaitFor([&] { return !card.Text().isEmpty(); }, 500));
}
