#pragma once

#include "base/requestoptions.h"
#include "playback/audiotrack.h"
#include "playback/mpvproperty.h"

#include <QEvent>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QTimer;
// mpv's own types, kept out of this header: only the player's sources speak to mpv.
struct mpv_handle;
struct mpv_event_property;

namespace quorvel {

class MpvLogReader;

// What is known of the address last put to a core.
struct MpvEntry {
    // It is open: mpv read its tracks, and its pictures are the ones drawn.
    bool opened = false;
    // When the core's thread learnt that (QDeadlineTimer's clock, in nanoseconds).
    qint64 openedAt = 0;
    // Whether it has a picture is known: fileLoaded() was sent.
    bool loaded = false;
    // It has a video track being played (known once loaded).
    bool hasVideo = false;
};

// One mpv player core with typed signals. mpv calls back on its own threads; those callbacks
// only queue a drain onto this object's (the user-interface) thread, where every pending event
// is handled until none is left.
class MpvCore : public QObject {
    Q_OBJECT
public:
    // audioOutput: mpv's "ao" value; empty plays through the desktop's sound system (mpv tries
    // PipeWire, PulseAudio, ALSA and the rest in turn).
    explicit MpvCore(const QString& audioOutput = QString(), QObject* parent = nullptr);
    ~MpvCore() override;

    mpv_handle* Handle() const { return handle_; }
    // Exchanges what the two cores play, with everything known of it: the channel opened ahead
    // in a core of its own becomes this one's, and this one's goes over there, while everything
    // connected to this object stays connected. Both must have been made with the same options.
    void SwapWith(MpvCore& other);

    // Opens the address and starts playing it, every request of it (playlist, segments, keys)
    // carrying the options given; throws Exception when mpv refuses the command.
    void Load(const QString& url, const RequestOptions& options = {});
    void Stop();
    // Stops what plays and leaves the core silent and held, without waiting for mpv: a core
    // whose pictures this thread looks at may itself be waiting for this thread to look at one.
    // Until Settled(), nothing else may be asked of it: mpv answers any other question only
    // after the channel it played was let go, which may again wait for this thread.
    void Park();
    // mpv did all Park() asked of it; settled() tells when it comes to that.
    bool Settled() const { return parkReplies_ == 0; }
    // Brings the video back after the video output was re-created.
    void ReloadVideo();
    void SeekTo(double seconds);
    // Runs a command with named arguments without waiting for it; commandReplied(id, …) tells
    // when mpv finished it. Throws Exception when mpv refuses to take it. id: the caller's own,
    // not 0.
    void RunAsync(const QString& name, const std::vector<std::pair<std::string, std::string>>& arguments, quint64 id);

    bool Flag(MpvProperty p) const;
    void SetFlag(MpvProperty p, bool value);
    double Double(MpvProperty p) const;
    // The value, or fallback where mpv has none now (time-pos with nothing playing): for
    // callers that must answer in every state and never fail.
    double DoubleOr(MpvProperty p, double fallback) const noexcept;
    bool FlagOr(MpvProperty p, bool fallback) const noexcept;
    // What is known of the address last put.
    const MpvEntry& Entry() const { return entry_; }
    // No sound device opened for the address now playing: it plays without sound.
    bool SoundDeviceFailed() const;
    void SetDouble(MpvProperty p, double value);
    void SetInteger(MpvProperty p, std::int64_t value);
    void SetText(MpvProperty p, const QString& value);
    QString Text(MpvProperty p) const;
    // The sound tracks of what plays now.
    AudioTracks ListAudioTracks() const;

signals:
    void pauseChanged(bool paused);
    void muteChanged(bool muted);
    void volumeChanged(double volume);
    void timePosChanged(double seconds);
    void durationChanged(double seconds);
    void seekableChanged(bool seekable);
    void bufferingChanged(bool buffering, int percent);
    void idleChanged(bool idle);
    void fileLoaded();
    // mpvError: mpv's error code; logged: the last warnings and errors mpv logged for the
    // address, in their order.
    void playbackFailed(int mpvError, const QStringList& logged);
    void playbackEnded();
    // The sound tracks changed (a new address, a track chosen); empty when nothing plays.
    void audioTracksChanged(const quorvel::AudioTracks& tracks);
    void settled();
    // A command run with RunAsync ended; error: mpv's error code, 0 when it did all it should.
    void commandReplied(quint64 id, int error);

protected:
    bool event(QEvent* event) override;

private:
    static constexpr QEvent::Type kDrainEvent = static_cast<QEvent::Type>(QEvent::User + 77);
    static void Wakeup(void* self);
    void QueueDrain();
    void DrainEvents();
    void HandleProperty(uint64_t id, const mpv_event_property& prop);
    void ReportFailure();
    void ObserveProperties(bool afterSwap);

    mpv_handle* handle_ = nullptr;
    std::atomic<bool> drainQueued_{false};
    // Park()'s requests not answered yet; their answers carry kParkReply.
    static constexpr uint64_t kParkReply = UINT64_MAX;
    int parkReplies_ = 0;
    bool buffering_ = false;
    int bufferPercent_ = 0;
    // What mpv complained of, by entry; read on a thread of its own.
    std::unique_ptr<MpvLogReader> log_;
    MpvEntry entry_;
    // Playlist entries from this number on belong to the address last put; none after a stop.
    static constexpr int64_t kNoEntry = INT64_MAX;
    int64_t firstCurrentEntry_ = kNoEntry;
    int64_t startedEntry_ = 0;
    // A failure waits this long for the log lines that name its cause.
    static constexpr int kCauseWaitMs = 150;
    QTimer* failureTimer_ = nullptr;
    int64_t failedEntry_ = 0;
    int failedError_ = 0;
};

} // namespace quorvel
