#pragma once

#include "base/requestoptions.h"

#include <QWidget>

#include <functional>
#include <memory>

class QWindow;

namespace quorvel {

struct ProgrammeInfo;
class ControlBar;
class FullScreenSwitch;
class MpvCore;
class MpvVideoWindow;
class PictureOverlays;
class PlayerSession;
class PlayerSettings;
class ZapCard;
struct AudioTrack;
struct ZapInfo;
class PointerIdleHider;
class RecordingCard;
class Surfing;

// The media player control: the video of a PlayerSession, its control bar, what shows over the
// picture (PictureOverlays: the channel card while there is no picture, a buffering note, a
// message with a way to try again when a channel cannot play or has ended, the volume as it
// changes), and full screen.
class MediaPlayer : public QWidget {
    Q_OBJECT
public:
    // Seconds a Left or Right key moves.
    static constexpr double kSeekStep = 10.0;

    // audioOutput: see MpvCore.
    explicit MediaPlayer(QWidget* parent = nullptr, const QString& audioOutput = QString());
    ~MediaPlayer() override;

    // The address being played; putting one drops what was playing and starts the new one,
    // every request of it carrying the options given.
    QString URL() const;
    void SetURL(const QString& url, const RequestOptions& options = {});
    // A zap just put the address: direction +1 or -1 when it stepped to the neighbouring
    // channel (keys, media keys, Page Up/Down), 0 for any other choice, with the address and
    // options of the channel after it that way. Two steps the same way soon after each other
    // open that next channel ahead, so the next step shows it at once (see Surfing).
    void Zapped(int direction, const QString& nextUrl = QString(), const RequestOptions& nextOptions = {});
    Surfing& Surf() { return *surfing_; }
    // The name the video area shows while the channel opens, or beside a sound-only channel.
    void SetChannelName(const QString& name);
    // What the guide says of the channel just given: shown low over the picture for a few
    // seconds once it plays, and again with "i" over the picture.
    void SetProgrammeInfo(const ProgrammeInfo& info);
    // The zap's card: the channel's number, name and category, from now until a while after
    // its picture comes.
    void ShowZap(const ZapInfo& info);
    const ZapCard& Zap() const;
    // Says, for a moment, that the number typed names no channel.
    void SayNoChannel(int number);
    // What the number card over the picture shows: the digits typed, or that a number named no
    // channel (empty when it is hidden).
    QString NumberShown() const;
    // "Live" on the bar, and Escape over the picture, ask to leave what plays for the channel
    // live (liveRequested) while offered.
    void OfferLive(bool offered);
    bool LiveOffered() const { return liveOffered_; }
    // A message whose button is "Live" instead of "Retry": what plays cannot, the channel can.
    void ShowLiveMessage(const QString& title, const QString& headline, const QString& details);
    // A passing note over the picture.
    void Say(const QString& text);
    // Opens the address again, with its options; throws Exception when mpv refuses it.
    void Retry();
    // Stops playback and releases the media. (QWidget::close() hides the control, as ever.)
    void CloseMedia();
    // Activates the control in place within its current bounds; keyboard focus stays where it was.
    void ShowRequest();
    PlayerSettings& Settings();
    // A box its parent keeps over the picture (the ticker), by its size and its gaps to the
    // player's right and bottom edges: the cards over the picture stay clear of it.
    void KeepCardsClearOf(QSize box, int rightGap, int bottomGap);

    bool IsFullScreen() const;
    void SetFullScreen(bool on);
    // False while full screen has put the control bar away for a still pointer.
    bool ControlBarShown() const;
    // What the message says now: its headline (empty when no message shows).
    QString Message() const;
    // Everything over the picture: the cards, the message and its details, notes.
    const PictureOverlays& Overlays() const { return *overlays_; }
    quint64 FramesRendered() const;
    PlayerSession& Session() { return *session_; }
    // The recording card's text ("REC 00:00:12"), empty when nothing is recorded.
    QString RecordingShown() const;
    // Before another channel plays: true when nothing is recorded, or the viewer agreed to stop
    // the recording (which then stops); false keeps the recording and the channel.
    bool LeaveRecording();
    MpvCore& Core();
    // The native window the video is drawn on.
    QWindow* VideoSurface() const;

public slots:
    // A live channel plays on from its live edge (End, and a "Live" button).
    void GoLive();
    // Starts recording the playing channel, or stops the recording (Ctrl+R, the bar's button).
    void ToggleRecording();

signals:
    void frameRendered();
    // Full screen was entered or left, by whatever means (button, double click, Escape).
    void fullScreenChanged(bool on);
    // Digits typed over the picture made this channel number (on a pause, Enter or the last digit).
    void channelNumberChosen(int number);
    // Page Down (+1) or Page Up (-1) over the picture: the next or previous channel, please.
    void channelStepRequested(int step);
    // "Live", or Escape while it is offered.
    void liveRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ConnectBar();
    void ConnectSession();
    void Follow();
    void FollowEnd();
    void LayoutChildren();
    void Act();
    // Runs one handler's calls into mpv; a refusal shows as a passing notice.
    void Guarded(const std::function<void()>& call);
    void TurnVolume(int angleDelta);
    // The player's keys, over the picture and in full screen: Space pauses and resumes, F or F11
    // toggles full screen, M mutes, Up and Down turn the volume, Left and Right seek where the
    // stream allows it (a live channel within its buffer), End goes back to live, Escape leaves
    // full screen. Digits type a channel number (Enter takes it at once, Escape drops it), Page
    // Up and Page Down ask for the previous and next channel.
    // False for a key that is not the player's.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    void TogglePause();
    void TakeKeyboard();
    void ChooseAudioTrack(const AudioTrack& track);
    void ConnectTimeShift();

    std::unique_ptr<PlayerSession> session_;
    std::unique_ptr<Surfing> surfing_;
    MpvVideoWindow* video_ = nullptr;
    QWidget* videoBox_ = nullptr;
    ControlBar* bar_ = nullptr;
    PictureOverlays* overlays_ = nullptr;
    FullScreenSwitch* fullScreen_ = nullptr;
    PointerIdleHider* idle_ = nullptr;
    RecordingCard* recording_ = nullptr;
    // What the guide says is on now, for a recording's name.
    QString programmeTitle_;
    double position_ = 0;
    double duration_ = 0;
    bool seekable_ = false;
    bool paused_ = false;
    bool liveOffered_ = false;
    bool messageGoesLive_ = false; // the message's button is "Live"
};

} // namespace quorvel
