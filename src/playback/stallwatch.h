#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <functional>

class QTimer;

namespace quorvel {

// Tells when a stream gives nothing for a while: no new picture, no advance in time, no filling
// of its buffer. It looks a few times a second, never per frame, so playing costs nothing extra,
// and tells a stall one limit after the last sign of life, not up to two.
class StallWatch : public QObject {
    Q_OBJECT
public:
    struct Progress {
        double position = 0;
        quint64 frames = 0;
        int bufferPercent = 0;
    };
    using Probe = std::function<Progress()>;

    // limitMs: how long a stream may give nothing before it counts as stalled. The watch looks
    // twenty times in that while: it sees the last sign of life at most a look late, and the
    // stall at most a look after the limit.
    StallWatch(Probe probe, int limitMs, QObject* parent = nullptr);

    // Watches from what the probe says now.
    void Start();
    // Takes effect from the next look.
    void SetLimit(int limitMs) { limitMs_ = limitMs; }
    void Stop();
    bool IsWatching() const { return watching_; }
    // A stream the viewer paused does not stall.
    void SetPaused(bool paused) { paused_ = paused; }

signals:
    // A whole limit went by without anything; the watch stops until started again.
    void stalled();
    // A look found pictures drawn or the time moving forward.
    void advanced();

private:
    void Look();

    Probe probe_;
    QTimer* timer_ = nullptr;
    QElapsedTimer sinceChange_;
    int limitMs_ = 0;
    Progress seen_;
    bool watching_ = false;
    bool paused_ = false;
};

} // namespace quorvel
