#pragma once

#include <QObject>
#include <QString>

class QTimer;

namespace quorvel {

class MpvCore;

// How much of a live channel is kept to go back in: the span behind the live edge and the bytes
// on disk, and the folder the buffer's file lies in.
struct TimeShiftLimits {
    int seconds = 30 * 60;
    qint64 bytes = qint64(2) * 1024 * 1024 * 1024;
    QString folder;
};

// What is buffered of the channel now, in the stream's seconds: from start to the live edge
// (end), with the picture at position.
struct BufferedSpan {
    double start = 0;
    double end = 0;
    double position = 0;
    // How far the stream was read: a little beyond the end, which is where a picture can be
    // sought to.
    double received = 0;
    // Nothing is buffered to move in (a channel without the time shift, or nothing playing).
    bool Empty() const { return end <= start; }
    double Behind() const { return end - position; }
};

// Pausing a live channel: the playing core keeps reading the stream while the picture stands
// still, into mpv's cache (a small part in memory, the rest in a file in the limits' folder that
// mpv unlinks as it makes it), so that playing on starts where it stopped and the viewer can
// move within what was read. The bounds hold while paused: past them the paused position is
// moved on and the oldest part goes (paused too long). Only the session's core has the buffer;
// a core opened ahead for surfing reads no further than its first picture.
//
// A stream whose buffer does not grow while paused (the source refuses, or the buffer cannot be
// kept on disk) cannot be paused: it is told once and plays on live.
class TimeShift : public QObject {
    Q_OBJECT
public:
    // Seconds behind the live edge that still count as live: mpv plays a little behind what it
    // has read.
    static constexpr double kLiveSlack = 6.0;

    TimeShift(MpvCore& core, QObject* parent = nullptr);
    ~TimeShift() override;

    // The bounds, from the viewer's settings; takes effect on the next channel.
    void SetLimits(const TimeShiftLimits& limits);
    const TimeShiftLimits& Limits() const { return limits_; }
    // Gives the core its buffer (or takes it away) for what it opens next and what it plays.
    static void Give(MpvCore& core, bool on, const TimeShiftLimits& limits);
    // Removes what an earlier run left in the folder (a crash keeps no file open to unlink).
    static void RemoveLeftovers(const QString& folder);
    // The buffer's folder in the user's cache ($XDG_CACHE_HOME/quorvel/timeshift).
    static QString DefaultFolder();

    // Follows a live channel from its start (true) or stops following (a film, a stop, a zap).
    void Follow(bool live);
    bool Following() const { return following_; }
    BufferedSpan Span() const { return span_; }
    bool AtLive() const { return span_.Empty() || span_.Behind() <= kLiveSlack; }
    // Moves within the buffer by seconds (negative: back), never past its ends.
    void SeekBy(double seconds);
    // Moves to the fraction of the buffered span (the seek bar's place).
    void SeekToFraction(double fraction);
    // Plays from the live edge.
    void SeekToLive();
    // The stream second a recording starts from: what the viewer sees when behind the live
    // edge, else what arrives next (the recording then lasts as long as it was recorded for).
    double RecordingStart() const;
    // The core was paused or resumed.
    void PauseChanged(bool paused);
    // Looks at the buffer now (the timer does so every half second).
    void Look();

signals:
    void spanChanged(const quorvel::BufferedSpan& span);
    // The bounds were passed while paused: the oldest part went.
    void trimmed();
    // The stream cannot be paused; reason says why, in the viewer's words.
    void cannotPause(const QString& reason);

private:
    void SeekTo(double seconds);
    void Cannot(const QString& reason);

    MpvCore& core_;
    TimeShiftLimits limits_;
    QTimer* timer_ = nullptr;
    BufferedSpan span_;
    bool following_ = false;
    bool paused_ = false;
    // While paused: the live edge when it last moved, and when that was (ms since the epoch).
    double pausedEnd_ = 0;
    qint64 pausedEndSince_ = 0;
    bool toldTrimmed_ = false;
    bool toldCannot_ = false;
    QString cannotReason_;
};

} // namespace quorvel
