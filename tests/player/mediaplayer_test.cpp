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
#include <QSignalSpy>
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
    player->ShowZap({42, QStringLiteral("Channel Forty-Two"), QStringLiteral("News"), {}});
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
    player->ShowZap({42, QStringLiteral("Channel Forty-Two"), QStringLiteral("News"), {}});
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
    player->ShowZap({43, QStringLiteral("Channel Forty-Three"), QStringLiteral("News"), {}});
    player->ShowRequest();
    EXPECT_EQ(count.moves, 0);
}

TEST_F(PlayerTest, LiveIsAskedForByItsButtonEscapeAndAMessageThatOffersIt)
{
    QSignalSpy live(player, &MediaPlayer::liveRequested);
    QToolButton* button = Button(*player, QStringLiteral("Back to the channel live"));
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isVisible());
    // Not offered: Escape over the picture is not the player's.
    QTest::keyClick(player, Qt::Key_Escape);
    EXPECT_EQ(live.count(), 0);

    player->OfferLive(true);
    EXPECT_TRUE(button->isVisible());
    button->click();
    QTest::keyClick(player, Qt::Key_Escape);
    EXPECT_EQ(live.count(), 2);

    // A message whose way out is the channel live: its button asks for it instead of a retry.
    player->ShowLiveMessage(QStringLiteral("News"), QStringLiteral("No recording"), QStringLiteral("Address: x"));
    QPushButton* action = nullptr;
    for (auto* b : player->findChildren<QPushButton*>())
        if (b->isVisible() && b->text() == QStringLiteral("Live"))
            action = b;
    ASSERT_NE(action, nullptr);
    action->click();
    EXPECT_EQ(live.count(), 3);

    player->OfferLive(false);
    EXPECT_FALSE(button->isVisible());
}
