// A channel opening, failing and ending in the player control, and its sound.
#include "alsadefault.h"
#include "clips.h"
#include "mpvrefusals.h"
#include "playback/mpvcore.h"
#include "playback/mpvvideowindow.h"
#include "playback/playersession.h"
#include "playback/playersettings.h"
#include "player/audiotrackbutton.h"
#include "player/channelcard.h"
#include "player/mediaplayer.h"
#include "player/pictureoverlays.h"
#include "player/programmecard.h"
#include "player/zapcard.h"
#include "playertest.h"
#include "scratchdir.h"
#include "servedhls.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>

#include <arpa/inet.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mpv/client.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using quorvel::MediaPlayer;
using quorvel::MpvProperty;

TEST_F(PlayerTest, MissingStreamShowsAMessageAndRetryPlaysItOnceItIsThere)
{
    ScratchDir dir;
    const std::string later = dir.File("later.mp4");
    player->SetURL(QString::fromStdString(later));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Message().startsWith("Cannot play this channel: "); }, 12000));
    QPushButton* retry = player->findChild<QPushButton*>();
    ASSERT_NE(retry, nullptr);
    EXPECT_TRUE(retry->isVisible());

    std::filesystem::copy_file(Clip(), later);
    retry->click();
    // Retry says at once that it is on its way, then what came of it.
    EXPECT_TRUE(player->Message().isEmpty());
    EXPECT_TRUE(player->Overlays().Card().isVisible());
    EXPECT_EQ(player->Overlays().Card().Status(), "Connecting…");
    EXPECT_TRUE(Playing());
    EXPECT_TRUE(player->Message().isEmpty());

    // A server that is not there: the message names the channel and the cause, and mpv's
    // words are below it.
    player->SetChannelName("Morning News");
    player->SetURL("http://127.0.0.1:1/live.m3u8");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return player->Overlays().MessageDetails().contains("Connection refused"); }, 12000))
        << player->Message().toStdString();
    EXPECT_EQ(player->Message(), "Cannot play this channel: the server refused the connection");
    auto* title = player->findChild<QLabel*>("messageTitle");
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->isVisible());
    EXPECT_EQ(title->text(), "Morning News");

    // An address that reaches into the program is not opened, and cannot be retried.
    player->SetURL("fdclose://0");
    EXPECT_EQ(player->Message(), "Cannot play this channel: its address is not a stream address");
    EXPECT_FALSE(retry->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Core().Flag(MpvProperty::IdleActive); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Button(*player, "Play") != nullptr; }, 5000));
    ASSERT_TRUE(Click(*player, "Play"));
    QTest::qWait(300);
    EXPECT_TRUE(player->Core().Flag(MpvProperty::IdleActive));

    // No address at all: a message, and nothing to retry.
    player->SetURL(QString());
    EXPECT_EQ(player->Message(), "Cannot play this channel: it has no stream address");
    EXPECT_FALSE(retry->isVisible());
}

TEST_F(PlayerTest, WhatPlayedBeforeNeverSpeaksForTheNewAddress)
{
    // The clip gets time to load while this thread does nothing, so its events are queued when
    // the next address comes; they must not take that address's message away.
    player->SetURL(QString::fromStdString(Clip()));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    player->SetURL("fd://0");
    QTest::qWait(1500);
    EXPECT_EQ(player->Message(), "Cannot play this channel: its address is not a stream address");

    player->SetURL(QString::fromStdString(Clip()));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    player->SetURL(QString());
    QTest::qWait(1500);
    EXPECT_EQ(player->Message(), "Cannot play this channel: it has no stream address");
}

TEST_F(PlayerTest, TheCauseShownIsTheFailedAddressOwnNotThatOfTheOneBefore)
{
    // The address before fails while the next one comes; what it said must not be taken for
    // the cause of the next one's failure.
    ScratchDir dir;
    const QString missing = QString::fromStdString(dir.File("missing.ts"));
    for (int delayMs : {0, 2, 5, 10, 20, 40, 80}) {
        player->SetURL("http://127.0.0.1:1/before.m3u8");
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        player->SetURL(missing);
        ASSERT_TRUE(QTest::qWaitFor([&] { return player->Message().startsWith("Cannot play this channel: "); }, 15000));
        EXPECT_FALSE(player->Overlays().MessageDetails().contains("Connection refused"))
            << delayMs << " ms: " << player->Overlays().MessageDetails().toStdString();
        EXPECT_TRUE(player->Overlays().MessageDetails().contains("No such file"))
            << delayMs << " ms: " << player->Overlays().MessageDetails().toStdString();
        EXPECT_EQ(player->Message(), "Cannot play this channel: the address was not found");
    }
}

TEST_F(PlayerTest, AChannelShowsItsNameWhileItOpensAndASoundOnlyChannelKeepsShowingIt)
{
    // A server that never answers: the channel stays on its way, and says so.
    SilentServer silent;
    player->SetChannelName("Slow News");
    player->SetURL(silent.Url("slow.m3u8"));
    const quorvel::ChannelCard& card = player->Overlays().Card();
    EXPECT_TRUE(card.isVisible());
    EXPECT_EQ(card.CardKind(), quorvel::ChannelCard::Kind::Connecting);
    EXPECT_EQ(card.ChannelName(), "Slow News");
    EXPECT_EQ(card.Status(), "Connecting…");
    EXPECT_EQ(card.geometry(), player->VideoSurface()->geometry());
    QTest::qWait(1500);
    EXPECT_TRUE(card.isVisible());
    // It draws over the video: a bright name on a dark backdrop, not a black box.
    const QImage shown = const_cast<quorvel::ChannelCard&>(card).grab().toImage();
    int bright = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            bright += qGray(shown.pixel(x, y)) > 200;
    EXPECT_GT(bright, 50);

    // The picture comes: the card goes.
    player->SetChannelName("Pattern");
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());
    EXPECT_FALSE(card.isVisible());

    // Sound alone: its name and a sound sign stay in the video area.
    ScratchDir dir;
    const std::string radio = dir.File("radio.m4a");
    ASSERT_EQ(std::system(("ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=440:duration=30 -c:a aac '" +
                           radio + "'")
                              .c_str()),
              0);
    player->SetChannelName("Radio One");
    player->SetURL(QString::fromStdString(radio));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return card.isVisible() && card.CardKind() == quorvel::ChannelCard::Kind::AudioOnly; }, 10000));
    EXPECT_EQ(card.ChannelName(), "Radio One");
    QTest::qWait(1000);
    EXPECT_TRUE(card.isVisible());
    EXPECT_TRUE(player->Message().isEmpty());
    EXPECT_FALSE(player->Core().Flag(MpvProperty::IdleActive));
}

TEST_F(PlayerTest, AZapFromAPlayingChannelKeepsTheCardUntilTheNewChannelsOwnPicture)
{
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());
    // The window draws the last picture again as mpv lets the old channel go: that is no
    // picture of the new one, which never answers.
    SilentServer silent;
    player->SetChannelName("Slow News");
    player->SetURL(silent.Url("slow.m3u8"));
    const quorvel::ChannelCard& card = player->Overlays().Card();
    QTest::qWait(1500);
    EXPECT_TRUE(card.isVisible());
    EXPECT_EQ(card.Status(), "Connecting…");
    EXPECT_EQ(player->Session().CurrentState(), quorvel::PlayerSession::State::Connecting);
}

TEST_F(PlayerTest, AZapsCardGoesWithTheNewChannelsPictureOnScreenNotTheOldOneDrawnAgain)
{
    // mpv asks for the old picture again as the new channel's video starts; the card stayed
    // only until that was drawn, a moment before the new picture.
    ScratchDir dir;
    const auto solid = [&](const std::string& colour) {
        const std::string path = dir.File(colour + ".ts");
        return MakeClip(path, "color=c=" + colour + ":size=320x240:rate=25", 20) ? QString::fromStdString(path)
                                                                                 : QString();
    };
    const QString red = solid("red"), blue = solid("blue");
    ASSERT_FALSE(red.isEmpty() || blue.isEmpty());
    QWindow* video = player->VideoSurface();
    // What is on the screen there, as the viewer sees it.
    const auto centre = [video] {
        const QPoint at = video->mapToGlobal(QPoint(video->width() / 2, video->height() / 2));
        return QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), 1, 1).toImage().pixel(0, 0);
    };
    // The first picture on screen once the channel plays (the window system may clear the place
    // of the card first).
    QRgb first = 0;
    QObject::connect(&player->Session(), &quorvel::PlayerSession::stateChanged, player, [&] {
        if (player->Session().CurrentState() != quorvel::PlayerSession::State::Playing)
            return;
        QElapsedTimer waited;
        waited.start();
        while (!first && waited.elapsed() < 2000) {
            const QRgb c = centre();
            if (std::max(qRed(c), qBlue(c)) > 180 && qGreen(c) < 80)
                first = c;
        }
    });
    for (int zap = 0; zap < 6; ++zap) {
        const bool toBlue = zap % 2 == 1;
        first = 0;
        player->SetURL(toBlue ? blue : red);
        ASSERT_TRUE(QTest::qWaitFor([&] { return first != 0; }, 15000)) << "zap " << zap;
        EXPECT_GT(toBlue ? qBlue(first) : qRed(first), 180) << "zap " << zap << ": " << std::hex << first;
        QTest::qWait(300);
    }
}

TEST_F(PlayerTest, ALiveStreamThatStopsSendingIsOpenedAgainOnceThenGivenUpWithRetry)
{
    QProcess server;
    server.start("python3",
                 {QString::fromLocal8Bit(std::getenv("QUORVEL_SOURCE_DIR")) + "/tests/e2e/stalling_hls.py", "6"});
    ASSERT_TRUE(server.waitForReadyRead(120000)) << "the live test server did not start";
    const QString url = QString::fromUtf8(server.readLine()).trimmed();
    player->SetChannelName("Live News");
    player->SetURL(url);
    ASSERT_TRUE(Playing(30000));

    // The server goes silent: within ten seconds of the last picture the channel is opened
    // again (the card says so), and when that brings nothing for ten seconds more it gives up.
    QElapsedTimer sinceLastPicture;
    sinceLastPicture.start();
    quint64 frames = player->FramesRendered();
    qint64 reconnectingAfter = -1;
    const QString stopped = "Cannot play this channel: the stream stopped sending";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const bool reconnecting =
                player->Overlays().Card().isVisible() && player->Overlays().Card().Status() == "Reconnecting…";
            // The window drawing its last picture again as the stream is opened anew is no
            // picture of the stream.
            if (player->FramesRendered() != frames) {
                frames = player->FramesRendered();
                if (!reconnecting) {
                    sinceLastPicture.restart();
                    reconnectingAfter = -1;
                }
            }
            if (reconnectingAfter < 0 && reconnecting && player->Message().isEmpty())
                reconnectingAfter = sinceLastPicture.elapsed();
            return player->Message() == stopped;
        },
        120000))
        << player->Message().toStdString();
    const qint64 toldAfter = sinceLastPicture.elapsed();
    EXPECT_GE(reconnectingAfter, 0) << "the card never said it was reconnecting";
    EXPECT_LE(reconnectingAfter, 10400);
    EXPECT_LE(toldAfter, 25000);
    EXPECT_GE(toldAfter, 18000) << "the attempt to open it again was not given its time";
    EXPECT_EQ(player->Overlays().Card().ChannelName(), "Live News");
    QPushButton* retry = player->findChild<QPushButton*>();
    ASSERT_NE(retry, nullptr);
    EXPECT_TRUE(retry->isVisible());
    EXPECT_FALSE(player->Overlays().Card().isVisible());
    server.kill();
    server.waitForFinished();
}

namespace {

// ALSA's null device takes sound as fast as it comes, so ten minutes of it play in seconds.
std::string Radio(ScratchDir& dir)
{
    const std::string radio = dir.File("radio.m4a");
    const std::string command = "ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=440:duration=600 "
                                "-c:a aac '" +
                                radio + "'";
    return std::system(command.c_str()) == 0 ? radio : std::string();
}

QString CurrentAudioOutput(MediaPlayer& player)
{
    char* name = mpv_get_property_string(player.Core().Handle(), "current-ao");
    const QString result = QString::fromUtf8(name ? name : "");
    mpv_free(name);
    return result;
}

} // namespace

TEST(PlayerSound, APlayerMadeWithTheDefaultsSoundsThroughTheDesktopAndSaysSoWhenThereIsNoDevice)
{
    ScratchDir dir;
    const std::string radio = Radio(dir);
    ASSERT_FALSE(radio.empty());
    {
        // A machine whose only sound device takes the sound and drops it: the player finds it
        // on its own (no output named by the program) and a sound-only channel plays.
        AlsaDefault alsa("pcm.!default { type null }\n");
        QWidget host;
        host.resize(320, 240);
        auto* player = new MediaPlayer(&host);
        player->setGeometry(0, 0, 320, 240);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host, 20000));
        player->SetURL(QString::fromStdString(radio));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !CurrentAudioOutput(*player).isEmpty(); }, 10000))
            << player->Message().toStdString();
        EXPECT_EQ(CurrentAudioOutput(*player), "alsa");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return player->Overlays().Card().CardKind() == quorvel::ChannelCard::Kind::AudioOnly &&
                       player->Overlays().Card().isVisible();
            },
            10000));
        EXPECT_TRUE(player->Message().isEmpty()) << player->Message().toStdString();
    }
    {
        // No sound device at all: a sound-only channel cannot play and says why; a picture
        // plays on without sound.
        AlsaDefault alsa("pcm.!default { type plug slave.pcm \"nowhere\" }\n");
        QWidget host;
        host.resize(320, 240);
        auto* player = new MediaPlayer(&host, QStringLiteral("alsa"));
        player->setGeometry(0, 0, 320, 240);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host, 20000));
        player->SetURL(QString::fromStdString(radio));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !player->Message().isEmpty(); }, 10000));
        EXPECT_EQ(player->Message(), "Cannot play this channel: there is no sound device to play it on");
        EXPECT_TRUE(player->Overlays().MessageDetails().contains("audio"))
            << player->Overlays().MessageDetails().toStdString();
        player->SetURL(QString::fromStdString(Clip()));
        const quint64 before = player->FramesRendered();
        EXPECT_TRUE(QTest::qWaitFor([&] { return player->FramesRendered() > before + 5; }, 15000));
        EXPECT_TRUE(player->Message().isEmpty()) << player->Message().toStdString();
    }
}

TEST_F(PlayerTest, AChannelWithRequestOptionsPlaysWhereTheServerDemandsThemAndTheNextSendsNone)
{
    ServedHls server({"--seconds", "20", "--agent", "QuorvelBox/1.0", "--referrer", "http://portal.example/"});
    ASSERT_TRUE(server.Started());
    player->SetChannelName("Guarded");
    player->SetURL(server.Url(), quorvel::RequestOptions{"QuorvelBox/1.0", "http://portal.example/", ""});
    ASSERT_TRUE(Playing(20000)) << player->Message().toStdString();
    bool segments = false;
    for (const auto& r : server.Requests()) {
        segments = segments || r.path.endsWith(".ts");
        EXPECT_EQ(r.headers.value("User-Agent").toString(), "QuorvelBox/1.0") << r.path.toStdString();
        EXPECT_EQ(r.headers.value("Referer").toString(), "http://portal.example/") << r.path.toStdString();
    }
    EXPECT_TRUE(segments);

    // The same server for a channel without options: neither is sent, and it is refused.
    server.ForgetRequests();
    player->SetChannelName("Plain");
    player->SetURL(server.Url());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player->Message().isEmpty(); }, 15000));
    EXPECT_EQ(player->Message(), "Cannot play this channel: the server refused to send the stream");
    ASSERT_FALSE(server.Requests().isEmpty());
    for (const auto& r : server.Requests()) {
        EXPECT_NE(r.headers.value("User-Agent").toString(), "QuorvelBox/1.0");
        EXPECT_FALSE(r.headers.contains("Referer"));
    }
}

TEST(PlayerSound, AStreamThatEndsSaysSoAndAMissingSoundDeviceIsANoteOverThePicture)
{
    // A short recorded stream with sound, on a machine without a sound device.
    ServedHls server({"--seconds", "4", "--sound"});
    ASSERT_TRUE(server.Started());
    AlsaDefault alsa("pcm.!default { type plug slave.pcm \"nowhere\" }\n");
    QWidget host;
    host.resize(320, 240);
    auto* player = new MediaPlayer(&host, QStringLiteral("alsa"));
    player->setGeometry(0, 0, 320, 240);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host, 20000));
    player->SetChannelName("Recorded");
    player->SetURL(server.Url());

    // The picture plays, and a short note says there is no sound, once, without a message.
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->FramesRendered() > 5; }, 15000))
        << player->Message().toStdString();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return player->Overlays().Note() == "Playing without sound: no sound device"; }, 3000));
    EXPECT_TRUE(player->Message().isEmpty());
    const quint64 withNote = player->FramesRendered();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->FramesRendered() > withNote + 5; }, 5000));

    // Its end is an end, with a way to play it again; never the sound device as a cause.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player->Message().isEmpty(); }, 20000));
    EXPECT_EQ(player->Message(), "This stream has ended") << player->Message().toStdString();
    EXPECT_FALSE(player->Overlays().MessageDetails().contains("audio"));
    QPushButton* again = nullptr;
    for (auto* b : player->findChildren<QPushButton*>())
        if (b->isVisible())
            again = b;
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->text(), "Play again");
    again->click();
    EXPECT_TRUE(player->Message().isEmpty());
    EXPECT_EQ(player->Overlays().Card().Status(), "Connecting…");
    EXPECT_TRUE(player->Overlays().Card().isVisible());
    const quint64 before = player->FramesRendered();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->FramesRendered() > before + 5; }, 15000));
    EXPECT_FALSE(player->Overlays().Card().isVisible());
}

TEST_F(PlayerTest, SoundTracksAreOfferedAndTheLanguageChosenLeadsOnTheNextChannel)
{
    ServedHls two({"--tracks", "eng,deu", "--seconds", "6"});
    ServedHls three({"--tracks", "eng,fra,deu", "--seconds", "6"});
    ServedHls one({"--sound", "--seconds", "6"});
    ASSERT_TRUE(two.Started() && three.Started() && one.Started());
    auto* button = player->findChild<quorvel::AudioTrackButton*>();
    ASSERT_NE(button, nullptr);

    player->SetURL(one.Url());
    ASSERT_TRUE(Playing());
    QTest::qWait(300);
    EXPECT_FALSE(button->isVisible()) << "one track leaves nothing to choose";

    auto whole = [](const ServedHls& served) { return QString(served.Url()).replace("vod.m3u8", "tracks.ts"); };
    player->SetURL(whole(two));
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->isVisible(); }, 15000));
    // The list comes before the track chosen for it is marked.
    EXPECT_TRUE(QTest::qWaitFor([&] { return button->text() == QStringLiteral("ENG"); }, 5000));
    const QList<QAction*> entries = button->Menu()->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("English"));
    EXPECT_EQ(entries[1]->text(), QStringLiteral("German"));
    EXPECT_TRUE(entries[0]->isChecked());
    entries[1]->trigger();
    auto selected = [&]() -> QString {
        for (const auto& t : player->Core().ListAudioTracks())
            if (t.selected)
                return t.language;
        return QString();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return selected() == QStringLiteral("deu"); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return button->text() == QStringLiteral("DEU"); }, 5000));

    // German is third on the next channel: it is the one that plays, not the first track nor the
    // one at the number chosen before.
    player->SetURL(whole(three));
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->Tracks().size() == 3; }, 15000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return selected() == QStringLiteral("deu"); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return button->text() == QStringLiteral("DEU"); }, 5000));
    if (const char* dir = std::getenv("QUORVEL_SHOT_DIR")) {
        button->showMenu();
        player->grab().save(QString::fromLocal8Bit(dir) + "/soundtracks.png");
    }
}
