#pragma once

#include "widgets/alignment.h"
#include "player/playersettings.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QSlider;
class QToolButton;
class QWindow;

namespace quorvel {

class ChannelCard;
class MpvCore;
class StallWatch;
class MpvVideoWindow;

// The media player control: video, its own control bar (play/pause, stop, seek and time for
// seekable media, mute, volume, full screen), a buffering indication and a message with a
// retry button when a stream cannot be played.
class MediaPlayer : public QWidget {
    Q_OBJECT
public:
    // audioOutput: see MpvCore.
    explicit MediaPlayer(QWidget* parent = nullptr, const QString& audioOutput = QString());
    ~MediaPlayer() override;

    // The address being played; putting one drops what was playing and starts the new one.
    QString URL() const { return url_; }
    // The name the video area shows while the channel opens, or beside a sound-only channel.
    void SetChannelName(const QString& name) { channelName_ = name; }
    // The card over the video area while it has no picture (hidden otherwise).
    const ChannelCard& Card() const { return *card_; }
    void setURL(const QString& url);
    // Activates the control in place within its current bounds; keyboard focus stays where it was.
    void ShowRequest();
    PlayerSettings& settings() { return *settings_; }
    // Stops playback and releases the media.
    void close();

    bool IsFullScreen() const { return fullScreen_; }
    void SetFullScreen(bool on);
    // What the message area says now (empty when no message is shown).
    QString Message() const;
    quint64 FramesRendered() const;
    MpvCore& Core() { return *core_; }
    // The native window the video is drawn on.
    QWindow* VideoSurface() const;

signals:
    void frameRendered();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControlBar();
    void LayoutChildren();
    void ShowMessage(const QString& text, bool canRetry);
    void UpdateTime();
    void Retry();
    // Runs one handler's calls into mpv; a failure shows as the player's message.
    void Guarded(const std::function<void()>& call);
    void CoverScreen();
    void TurnVolume(int angleDelta);
    QString ShownName() const;
    QString StoppedSending() const;

    // A stream that stalls is opened again once, then given up.
    void Stalled();
    void StopWatching();

    std::unique_ptr<MpvCore> core_;
    std::unique_ptr<PlayerSettings> settings_;
    MpvVideoWindow* video_ = nullptr;
    QWidget* videoBox_ = nullptr;
    QWidget* bar_ = nullptr;
    QToolButton* playPause_ = nullptr;
    QToolButton* stop_ = nullptr;
    QToolButton* mute_ = nullptr;
    QToolButton* fullScreenButton_ = nullptr;
    QSlider* seek_ = nullptr;
    QSlider* volume_ = nullptr;
    QLabel* time_ = nullptr;
    QWidget* messageBox_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* retry_ = nullptr;
    QLabel* buffering_ = nullptr;
    ChannelCard* card_ = nullptr;
    StallWatch* stall_ = nullptr;
    QString channelName_;
    bool awaitingPicture_ = false;
    bool reconnected_ = false;
    int bufferPercent_ = 0;

    void StartLoading();

    QString url_;
    double position_ = 0;
    double shownPosition_ = -1;
    double duration_ = 0;
    bool seekable_ = false;
    bool seeking_ = false;
    bool paused_ = false;
    bool fullScreen_ = false;
    QPointer<QWidget> homeParent_;
    QPointer<QWidget> homeAbove_;
    QPointer<QWidget> homeFocus_;
    QRect homeGeometry_;
    Align homeAlign_ = Align::None;
    Qt::WindowStates homeWindowState_;
    QRect homeWindowGeometry_;
    QSize homeMinimumSize_;
    QSize homeMaximumSize_;
    // How long the window manager gets to make the window full screen.
    static constexpr int kFullScreenGraceMs = 300;
    // How long the message of a failed control shows.
    static constexpr int kNoticeMs = 6000;
    // How long a stream may give nothing before it counts as stalled.
    static constexpr int kStallMs = 10000;
};

} // namespace quorvel
