#pragma once
// What the player's window tests share: a clip, a server that never answers, the bar's controls
// found by their tips, and a player on screen in a window of its own.
#include "player/mediaplayer.h"

#include <QString>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>
#include <string>

class QSlider;
class QToolButton;

// A one-minute clip with a moving test pattern, made once for the whole suite.
const std::string& Clip();

// A server that takes connections and never answers: the kernel accepts them for it.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    QString Url(const QString& path) const;

private:
    int fd_ = -1;
    int port_ = 0;
};

QToolButton* Button(quorvel::MediaPlayer& player, const QString& tip);
// Clicks the bar's button with that tool tip; false when there is none.
bool Click(quorvel::MediaPlayer& player, const QString& tip);
QSlider* SeekBar(quorvel::MediaPlayer& player);

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Clip().empty()) << "ffmpeg could not make the test clip";
        host.resize(480, 360);
        player = new quorvel::MediaPlayer(&host, QStringLiteral("null"));
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
    quorvel::MediaPlayer* player = nullptr;
};
