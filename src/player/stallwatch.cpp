#include "player/stallwatch.h"

#include <QTimer>

namespace quorvel {

StallWatch::StallWatch(Probe probe, int intervalMs, QObject* parent)
    : QObject(parent), probe_(std::move(probe)), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    timer_->setInterval(intervalMs);
    connect(timer_, &QTimer::timeout, this, &StallWatch::Look);
}

void StallWatch::Start()
{
    watching_ = true;
    seen_ = probe_();
    timer_->start();
}

void StallWatch::Stop()
{
    watching_ = false;
    timer_->stop();
}

void StallWatch::Look()
{
    if (!watching_)
        return;
    const Progress now = probe_();
    const bool forward = now.frames != seen_.frames || now.position > seen_.position;
    const bool changed = forward || now.position != seen_.position || now.bufferPercent != seen_.bufferPercent;
    if (paused_ || changed) {
        Start();
        if (forward && !paused_)
            emit advanced();
        return;
    }
    Stop();
    emit stalled();
}

} // namespace quorvel
