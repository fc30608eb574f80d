#pragma once

#include "base/requestoptions.h"
#include "playback/playbackfailure.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace quorvel {

class MpvCore;
class PlayerSettings;
class StallWatch;
class StreamRecorder;
class TimeShift;
struct TimeShiftLimits;

// One channel's playback, without anything on screen: the address and its request options, the
// way from connecting to playing, a stream that stops sending or whose server goes away opened
// again once and then given up, the end of a recording or film, and every outcome in the
// viewer's words. Whatever shows it
// (MediaPlayer) follows its signals and tells it when a picture was drawn.
class PlayerSession : public QObject {
    Q_OBJECT
public:
    enum class State {
        Idle,         // nothing asked, or stopped
        Connecting,   // opening, until the first picture (or the sound of a sound-only channel)
        Reconnecting, // stalled and opened again, until it gives something
        Playing,
        Ended,  // a recording or film (its length known) played to its end
        Failed, // see Failure()
    };
    // A stream that gives nothing is opened again within ten seconds of its last sign of life
    // (the limit and two of the watch's looks); the attempt gets ten seconds before it is
    // given up.
    static constexpr int kStallMs = 9000;
    static constexpr int kReconnectMs = 10000;

    // audioOutput: see MpvCore.
    explicit PlayerSession(const QString& audioOutput = QString(), QObject* parent = nullptr);
    ~PlayerSession() override;

    // Drops what was playing and opens the address; every request of it carries the options.
    void SetURL(const QString& url, const RequestOptions& options = {});
    QString URL() const { return url_; }
    const RequestOptions& Options() const { return options_; }
    // The name shown for the channel; the address stands in where none is given.
    void SetChannelName(const QString& name) { channelName_ = name; }
    QString ShownName() const;
    // Runs before every opening (the video's contexts); what it throws fails the opening.
    void SetBeforeOpening(std::function<void()> prepare) { beforeOpening_ = std::move(prepare); }

    // Shows the address that was opened ahead in the core given, which takes what this session
    // played in return; the new channel is told as Connecting until its first picture, as any,
    // or as Playing at once when it has its first picture already (hasPicture: the window
    // draws it next). The sound (volume, mute) and pause stay as they were. shownFrom: when the
    // window began to show the core's pictures (QDeadlineTimer's clock, in nanoseconds).
    void TakeOpened(const QString& url, const RequestOptions& options, MpvCore& openedAhead, bool hasPicture,
                    qint64 shownFrom);
    // Opens the same address, with the same options, again.
    void Retry();
    // Stops; the address stays, for Retry.
    void Stop();
    // Stops playback and releases the media; the address goes.
    void Close();
    // A picture was drawn, of which mpv told at takenAt (QDeadlineTimer's clock, in
    // nanoseconds); afterOldPictureWent: mpv had let go of the picture shown before.
    void PictureShown(qint64 takenAt, bool afterOldPictureWent);

    State CurrentState() const { return state_; }
    // The channel has sound and no picture.
    bool SoundOnly() const { return soundOnly_; }
    // Why it stopped, in State::Failed.
    const PlaybackFailure& Failure() const { return failure_; }
    quint64 Pictures() const { return pictures_; }

    MpvCore& Core() { return *core_; }
    const MpvCore& Core() const { return *core_; }
    PlayerSettings& Settings() { return *settings_; }
    // Pausing a live channel and going back in it; the recording of what plays.
    TimeShift& Shift() { return *shift_; }
    StreamRecorder& Recorder() { return *recorder_; }
    // The time shift's bounds and folder, from the viewer's settings, for the channels to come.
    void SetTimeShiftLimits(const TimeShiftLimits& limits);

signals:
    void stateChanged(quorvel::PlayerSession::State state);
    // A short remark while it plays on ("Playing without sound: no sound device"), each told
    // once in the session's life.
    void note(const QString& text);
    // mpv refused something the session asked of it (the text says what).
    void refused(const QString& text);

private:
    // Why the channel was opened again, if it was: it stalled, or its stream broke off short of
    // an end (a live channel's server went away).
    enum class Reopened { No, AfterStall, AfterBreak };

    void Open();
    void SetState(State state);
    void Fail(const PlaybackFailure& failure);
    void Started();
    void OnFileLoaded();
    void Reset();
    void OnFailed(int mpvError, const QStringList& logged);
    void OnEnded();
    // A recording or film (its length known, sought in where the viewer likes) was played to
    // its end.
    bool ReachedItsEnd() const;
    void Stalled();
    // Opens the channel again once, or gives up with the failure given.
    void OpenAgainOrFail(Reopened why, const PlaybackFailure& failure);
    void StopWatching();
    // Runs one call into mpv; a refusal is told by refused().
    bool Guarded(const std::function<void()>& call);

    std::unique_ptr<MpvCore> core_;
    std::unique_ptr<PlayerSettings> settings_;
    TimeShift* shift_ = nullptr;
    StreamRecorder* recorder_ = nullptr;
    StallWatch* stall_ = nullptr;
    std::function<void()> beforeOpening_;
    QString url_;
    RequestOptions options_;
    QString channelName_;
    State state_ = State::Idle;
    PlaybackFailure failure_;
    quint64 pictures_ = 0;
    // When the address now playing was given to the core.
    qint64 openingAt_ = 0;
    double position_ = 0;
    // The last position and the length mpv told, and whether it could be sought in, kept when
    // mpv lets them go as the file ends.
    double lastPosition_ = 0;
    double duration_ = 0;
    bool seekable_ = false;
    int bufferPercent_ = 0;
    bool soundOnly_ = false;
    Reopened reopened_ = Reopened::No;
    // The missing sound device is told once in the session's life (the program's run): a
    // viewer without one knows it after the first channel.
    bool toldNoSound_ = false;
};

} // namespace quorvel
