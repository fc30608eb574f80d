// The player control against a real clip: its control bar, its messages and full screen.
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

namespace {

// A one-minute clip with a moving test pattern, made once for the whole suite.
const std::string& Clip()
{
    static ScratchDir dir;
    static const std::string clip = [] {
        const std::string path = dir.File("clip.mp4");
        return MakeClip(path, "testsrc=size=320x240:rate=25", 60) ? path : std::string();
    }();
    return clip;
}

// A server that takes connections and never answers: the kernel accepts them for it.
class SilentServer {
public:
    SilentServer()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), len);
        ::listen(fd_, 64);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
    }
    ~SilentServer() { ::close(fd_); }
    QString Url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(port_).arg(path); }

private:
    int fd_ = -1;
    int port_ = 0;
};

QToolButton* Button(MediaPlayer& player, const QString& tip)
{
    for (auto* b : player.findChildren<QToolButton*>())
        if (b->toolTip() == tip)
            return b;
    return nullptr;
}

// Clicks the bar's button with that tool tip; false when there is none.
bool Click(MediaPlayer& player, const QString& tip)
{
    QToolButton* b = Button(player, tip);
    if (b)
        b->click();
    return b != nullptr;
}

QSlider* SeekBar(MediaPlayer& player)
{
    for (auto* s : player.findChildren<QSlider*>())
        if (s->maximum() == 1000)
            return s;
    return nullptr;
}

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Clip().empty()) << "ffmpeg could not make the test clip";
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

    QWidget host;
    MediaPlayer* player = nullptr;
};

} // namespace

TEST_F(PlayerTest, SeekablePlaysPausesSeeksStopsAndStartsAgain)
{
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());
    QSlider* seek = SeekBar(*player);
    ASSERT_NE(seek, nullptr);
    // A clip has a length: the seek bar shows.
    EXPECT_TRUE(QTest::qWaitFor([&] { return seek->isVisible(); }, 5000));

    QToolButton* pause = Button(*player, "Pause");
    ASSERT_NE(pause, nullptr);
    pause->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Core().Flag(MpvProperty::Pause); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pause->toolTip() == "Play"; }, 5000));
    const double pausedAt = player->Core().Double(MpvProperty::TimePos);
    QTest::qWait(500);
    EXPECT_DOUBLE_EQ(player->Core().Double(MpvProperty::TimePos), pausedAt);
    pause->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->Core().Flag(MpvProperty::Pause); }, 5000));

    // Dragging the seek bar to its middle goes to the clip's middle.
    emit seek->sliderPressed();
    seek->setValue(700);
    emit seek->sliderReleased();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Core().Double(MpvProperty::TimePos) >= 6.5; }, 5000));

    // Stop ends playback; the play button then starts the same address again.
    ASSERT_TRUE(Click(*player, "Stop"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Core().Flag(MpvProperty::IdleActive); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !seek->isVisible(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Button(*player, "Play") != nullptr; }, 5000));
    ASSERT_TRUE(Click(*player, "Play"));
    EXPECT_TRUE(Playing());
}

TEST_F(PlayerTest, MuteAndVolumeReachThePlayer)
{
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());
    ASSERT_TRUE(Click(*player, "Mute"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Settings().Mute(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Button(*player, "Sound on") != nullptr; }, 5000));
    // A mute put from outside shows in the bar too.
    player->Settings().SetMute(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Button(*player, "Mute") != nullptr; }, 5000));

    QSlider* volume = nullptr;
    for (auto* s : player->findChildren<QSlider*>())
        if (s->maximum() == 100)
            volume = s;
    ASSERT_NE(volume, nullptr);
    volume->setValue(40);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Core().Double(MpvProperty::Volume) == 40; }, 5000));
}

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

TEST_F(PlayerTest, FullScreenComesBackToItsPlaceOnEscape)
{
    const QRect windowBefore = host.geometry();
    auto* above = new QWidget(&host);
    above->setGeometry(10, 10, 50, 20);
    above->show();
    player->setGeometry(5, 6, 400, 300);
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());

    ASSERT_TRUE(Click(*player, "Full screen"));
    EXPECT_TRUE(player->IsFullScreen());
    // The window goes full screen with the player covering all of it, and the video goes on.
    EXPECT_TRUE(host.isFullScreen());
    const QRect screen = host.screen()->geometry();
    EXPECT_TRUE(QTest::qWaitFor([&] { return host.geometry() == screen && player->geometry() == host.rect(); }, 5000))
        << "window " << host.width() << "x" << host.height();
    EXPECT_GT(host.children().indexOf(player), host.children().indexOf(above));
    EXPECT_TRUE(Playing());
    EXPECT_TRUE(player->Message().isEmpty());

    // Escape leaves full screen even when the keyboard focus went to a control under the player.
    auto* behind = new QLineEdit(&host);
    behind->setGeometry(10, 40, 50, 20);
    behind->show();
    player->raise();
    behind->setFocus();
    QTest::keyClick(behind, Qt::Key_Escape);
    EXPECT_FALSE(player->IsFullScreen());
    EXPECT_FALSE(host.isFullScreen());
    EXPECT_TRUE(QTest::qWaitFor([&] { return host.geometry() == windowBefore; }, 5000));
    EXPECT_EQ(player->parentWidget(), &host);
    EXPECT_EQ(player->geometry(), QRect(5, 6, 400, 300));
    const auto stack = host.children();
    EXPECT_LT(stack.indexOf(player), stack.indexOf(above));
    EXPECT_TRUE(Playing());
}

TEST_F(PlayerTest, DoubleClickOnTheVideoTogglesFullScreenAndTheWheelTurnsTheVolume)
{
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());
    QWindow* video = player->VideoSurface();
    ASSERT_NE(video, nullptr);
    // The video is a native window of its own, and the player's controls are not under it.
    EXPECT_TRUE(video->isVisible());
    EXPECT_NE(video->winId(), player->winId());
    // The X server keeps its picture under the cards over it.
    EXPECT_TRUE(static_cast<quorvel::MpvVideoWindow*>(video)->KeepsPictureWhenCovered());

    QTest::mouseDClick(video, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_TRUE(player->IsFullScreen());
    EXPECT_TRUE(QTest::qWaitFor([&] { return host.isFullScreen(); }, 5000));
    EXPECT_TRUE(Playing());
    QTest::mouseDClick(video, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_FALSE(player->IsFullScreen());
    EXPECT_TRUE(Playing());

    // A notch of the wheel away from you turns the sound up, towards you down.
    QSlider* volume = nullptr;
    for (auto* s : player->findChildren<QSlider*>())
        if (s->maximum() == 100)
            volume = s;
    ASSERT_NE(volume, nullptr);
    volume->setValue(50);
    auto wheel = [&](int delta) {
        const QPointF at(100, 100);
        QWheelEvent event(at, video->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(video, &event);
    };
    wheel(120);
    EXPECT_EQ(volume->value(), 55);
    wheel(-240);
    EXPECT_EQ(volume->value(), 45);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Core().Double(MpvProperty::Volume) == 45; }, 5000));
}

TEST_F(PlayerTest, KeysOverThePictureWorkThePlayer)
{
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());
    QWindow* video = player->VideoSurface();
    ASSERT_NE(video, nullptr);
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host, 10000));
    QTest::mouseClick(video, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->hasFocus(); }, 5000));

    QTest::keyClick(video, Qt::Key_Space);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Core().Flag(MpvProperty::Pause); }, 5000));
    QTest::keyClick(video, Qt::Key_Space);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->Core().Flag(MpvProperty::Pause); }, 5000));

    QTest::keyClick(video, Qt::Key_M);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Settings().Mute(); }, 5000));
    QTest::keyClick(video, Qt::Key_M);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->Settings().Mute(); }, 5000));

    player->Core().SetDouble(MpvProperty::Volume, 50);
    QTest::qWait(200);
    QTest::keyClick(video, Qt::Key_Down);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Core().Double(MpvProperty::Volume) == 45; }, 5000));

    // Right seeks ten seconds on in a clip that allows it.
    const double before = player->Core().Double(MpvProperty::TimePos);
    QTest::keyClick(video, Qt::Key_Right);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Core().Double(MpvProperty::TimePos) >= before + 5; }, 5000));

    QTest::keyClick(video, Qt::Key_F);
    EXPECT_TRUE(player->IsFullScreen());
    QTest::keyClick(player, Qt::Key_Escape);
    EXPECT_FALSE(player->IsFullScreen());
    QTest::keyClick(player, Qt::Key_F11);
    EXPECT_TRUE(player->IsFullScreen());
    QTest::keyClick(player, Qt::Key_F11);
    EXPECT_FALSE(player->IsFullScreen());
}

TEST_F(PlayerTest, TheProgrammeOnNowShowsForAWhileOnEveryZapAndAgainOnI)
{
    player->SetURL(QString::fromStdString(Clip()));
    player->SetProgrammeInfo({"Evening News", "20:00–21:00", 0.25, "Next: 21:00–22:00 Weather"});
    ASSERT_TRUE(Playing());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Overlays().Programme().isVisible(); }, 5000));
    if (const char* dir = std::getenv("QUORVEL_SHOT_DIR"))
        player->grab().save(QString::fromLocal8Bit(dir) + "/programmecard.png");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->Overlays().Programme().isVisible(); }, 6000));
    QTest::keyClick(player->VideoSurface(), Qt::Key_I);
    EXPECT_TRUE(player->Overlays().Programme().isVisible());

    // The next channel starts with nothing of the one before.
    player->SetURL(QString::fromStdString(Clip()));
    EXPECT_TRUE(player->Overlays().Programme().Info().Empty());
    EXPECT_FALSE(player->Overlays().Programme().isVisible());
    QTest::keyClick(player->VideoSurface(), Qt::Key_I);
    EXPECT_FALSE(player->Overlays().Programme().isVisible());
}

TEST_F(PlayerTest, ControlsThatMpvRefusesSayItAndThePlayerGoesOn)
{
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());
    QSlider* volume = nullptr;
    for (auto* s : player->findChildren<QSlider*>())
        if (s->maximum() == 100)
            volume = s;
    ASSERT_NE(volume, nullptr);

    mpvrefusals::Refuse("volume");
    volume->setValue(30);
    EXPECT_TRUE(player->Message().startsWith("The player could not do that: volume"))
        << player->Message().toStdString();
    mpvrefusals::Refuse("pause");
    ASSERT_TRUE(Click(*player, "Pause"));
    EXPECT_TRUE(player->Message().startsWith("The player could not do that: pause")) << player->Message().toStdString();
    mpvrefusals::Refuse("mute");
    ASSERT_TRUE(Click(*player, "Mute"));
    EXPECT_TRUE(player->Message().startsWith("The player could not do that: mute"));
    mpvrefusals::Refuse("stop");
    ASSERT_TRUE(Click(*player, "Stop"));
    EXPECT_TRUE(player->Message().startsWith("The player could not do that: The player could not stop"));
    mpvrefusals::Refuse(nullptr);

    // The stream goes on, the notice goes after a while, and the controls work again.
    EXPECT_TRUE(Playing());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Message().isEmpty(); }, 10000));
    volume->setValue(20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Core().Double(MpvProperty::Volume) == 20; }, 5000));

    // A retry that mpv refuses says so in the player too.
    player->SetURL("http://127.0.0.1:1/gone.m3u8");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return player->Overlays().MessageDetails().contains("Connection refused"); }, 12000));
    mpvrefusals::Refuse("loadfile");
    QPushButton* retry = player->findChild<QPushButton*>();
    ASSERT_NE(retry, nullptr);
    retry->click();
    EXPECT_TRUE(player->Message().startsWith("The player could not do that: The player refused the address"))
        << player->Message().toStdString();
    mpvrefusals::Refuse(nullptr);
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

TEST_F(PlayerTest, CloseMediaStopsPlaybackWhereQWidgetCloseOnlyHidesTheControl)
{
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());
    // Through a QWidget pointer, close() is the widget's: the control goes, the media plays on.
    QWidget* widget = player;
    widget->close();
    EXPECT_FALSE(player->isVisible());
    QTest::qWait(300);
    EXPECT_FALSE(player->Core().Flag(MpvProperty::IdleActive));
    EXPECT_EQ(player->URL(), QString::fromStdString(Clip()));

    // CloseMedia() stops playback and releases the media; the control stays as it is.
    widget->show();
    player->CloseMedia();
    EXPECT_TRUE(player->isVisible());
    EXPECT_TRUE(player->URL().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Core().Flag(MpvProperty::IdleActive); }, 5000));
    EXPECT_TRUE(player->Message().isEmpty());
    EXPECT_FALSE(player->Overlays().Card().isVisible());
}

TEST_F(PlayerTest, ClosingTheWindowWhileThePictureIsDrawnLeavesItDrawingOnceShownAgain)
{
    // Big, for drawings that take a while.
    host.resize(1600, 1000);
    player->setGeometry(0, 0, 1600, 1000);
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());
    // Closing a top-level window destroys the window system's windows under it, the video's
    // among them, while its own thread may be drawing on it: a drawing is asked for just before.
    for (int i = 0; i < 50; ++i) {
        player->ShowRequest();
        host.close();
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host, 10000));
    }
    EXPECT_TRUE(Playing());
}

TEST_F(PlayerTest, WhileTheWindowIsHiddenThePicturesGoOnWithoutBeingDropped)
{
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());
    const auto count = [&](const char* name) {
        int64_t n = -1;
        mpv_get_property(player->Core().Handle(), name, MPV_FORMAT_INT64, &n);
        return n;
    };
    // Hidden as the boss key hides it, the channel plays on: mpv, whose pictures nobody draws
    // now, is not left waiting for each to be drawn until it gives up and drops the next ones.
    host.hide();
    const int64_t dropped = count("frame-drop-count");
    QTest::qWait(2000);
    EXPECT_LE(count("frame-drop-count") - dropped, 10);
    // Shown again, it draws the pictures as they come.
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host, 10000));
    EXPECT_TRUE(Playing());
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

TEST_F(PlayerTest, DigitsOverThePictureMakeANumberThatEnterOrAPauseHandsOn)
{
    player->SetURL(QString::fromStdString(Clip()));
    ASSERT_TRUE(Playing());
    QWindow* video = player->VideoSurface();
    QList<int> chosen;
    QObject::connect(player, &MediaPlayer::channelNumberChosen, player, [&](int n) { chosen.append(n); });
    QList<int> steps;
    QObject::connect(player, &MediaPlayer::channelStepRequested, player, [&](int s) { steps.append(s); });

    QTest::keyClick(video, Qt::Key_1);
    QTest::keyClick(video, Qt::Key_2);
    EXPECT_EQ(player->NumberShown(), QStringLiteral("12"));
    QTest::keyClick(video, Qt::Key_Return);
    EXPECT_EQ(chosen, QList<int>{12});
    EXPECT_EQ(player->NumberShown(), QString());

    // Escape drops the number, and only the number: full screen stays as it was.
    player->SetFullScreen(true);
    QTest::keyClick(player, Qt::Key_4);
    QTest::keyClick(player, Qt::Key_Escape);
    EXPECT_EQ(player->NumberShown(), QString());
    EXPECT_TRUE(player->IsFullScreen());
    QTest::keyClick(player, Qt::Key_Escape);
    EXPECT_FALSE(player->IsFullScreen());

    // Typing that stops hands the number on by itself.
    QTest::keyClick(video, Qt::Key_7, Qt::KeypadModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return chosen.size() == 2; }, 5000));
    EXPECT_EQ(chosen.last(), 7);
    player->SayNoChannel(7);
    EXPECT_EQ(player->NumberShown(), QStringLiteral("No channel 7"));
    if (const char* dir = std::getenv("QUORVEL_SHOT_DIR"))
        player->grab().save(QString::fromLocal8Bit(dir) + "/nochannel.png");
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->NumberShown().isEmpty(); }, 6000));
    QTest::keyClick(video, Qt::Key_Return);
    EXPECT_EQ(chosen.size(), 2) << "Enter with nothing typed chooses nothing";

    QTest::keyClick(video, Qt::Key_PageDown);
    QTest::keyClick(video, Qt::Key_PageUp);
    EXPECT_EQ(steps, (QList<int>{1, -1}));
}

TEST_F(PlayerTest, TheZapCardNamesTheChannelUntilAWhileAfterItsPicture)
{
    player->SetURL(QString::fromStdString(Clip()));
    player->SetProgrammeInfo({"Evening News", "20:00–21:00", 0.25, "Next: 21:00–22:00 Weather"});
    player->ShowZap({42, QStringLiteral("Channel Forty-Two"), QStringLiteral("News")});
    const quorvel::ZapCard& zap = player->Zap();
    EXPECT_TRUE(zap.isVisible());
    EXPECT_EQ(zap.Info().number, 42);
    ASSERT_TRUE(Playing());
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Overlays().Programme().isVisible(); }, 5000));
    EXPECT_TRUE(zap.isVisible());
    // Stacked on the programme card: same left edge, its foot on the programme card's top.
    const auto* programme = player->findChild<quorvel::ProgrammeCard*>();
    ASSERT_NE(programme, nullptr);
    EXPECT_EQ(zap.geometry().left(), programme->geometry().left());
    EXPECT_EQ(zap.geometry().bottom(), programme->geometry().top());
    if (const char* dir = std::getenv("QUORVEL_SHOT_DIR"))
        player->grab().save(QString::fromLocal8Bit(dir) + "/zapcard.png");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !zap.isVisible(); }, quorvel::ZapCard::kShowMs + 2000));
}

TEST_F(PlayerTest, CardsKeepClearOfTheTickerOverThePicture)
{
    const auto* programme = player->findChild<quorvel::ProgrammeCard*>();
    ASSERT_NE(programme, nullptr);
    player->SetProgrammeInfo({"Evening News", "20:00–21:00", 0.25, "Next: 21:00–22:00 Weather"});
    player->ShowZap({42, QStringLiteral("Channel Forty-Two"), QStringLiteral("News")});
    // A window of the first size (room beside the ticker) and a narrow one (none: lifted above it).
    for (const QSize size : {QSize(516, 420), QSize(300, 300)}) {
        player->resize(size);
        player->KeepCardsClearOf(QSize(120, 15), 80, 48);
        const QRect ticker(size.width() - 200, size.height() - 63, 120, 15);
        EXPECT_FALSE(programme->geometry().intersects(ticker)) << size.width();
        EXPECT_FALSE(player->Zap().geometry().intersects(ticker)) << size.width();
        EXPECT_GE(programme->width(), 240) << size.width();
        EXPECT_EQ(player->Zap().geometry().bottom(), programme->geometry().top()) << size.width();
        EXPECT_EQ(player->Zap().width(), programme->width()) << size.width();
    }
    // Cards on screen stay put on the next zap: one moved to its place by way of another
    // uncovered the picture between, which the window system cleared.
    struct MoveCount : QObject {
        int moves = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            moves += e->type() == QEvent::Move || e->type() == QEvent::Resize;
            return false;
        }
    } count;
    for (QWidget* card : {static_cast<QWidget*>(player->findChild<quorvel::ZapCard*>()),
                          static_cast<QWidget*>(player->findChild<quorvel::ProgrammeCard*>())})
        card->installEventFilter(&count);
    player->ShowZap({43, QStringLiteral("Channel Forty-Three"), QStringLiteral("News")});
    player->ShowRequest();
    EXPECT_EQ(count.moves, 0);
}
