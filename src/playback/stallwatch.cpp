#include "playback/stallwatch.h"

#include <QTimer>

#include <algorithm>

namespace quorvel {
namespace {

constexpr int kLooksPerLimit = 20;

} // namespace

StallWatch::StallWatch(Probe probe, int limitMs, QObject* parent)
    : QObject(parent), probe_(std::move(probe)), timer_(new QTimer(this)), limitMs_(limitMs)
{
    timer_->setInterval(std::max(1, limitMs / kLooksPerLimit));
    connect(timer_, &QTimer::timeout, this, &StallWatch::Look);
}

void StallWatch::Start()
{
    watching_ = true;
    seen_ = probe_();
    sinceChange_.start();
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
    // A buffer that fills is data coming; one that drains is the stream running dry.
    const bool alive = forward || now.position != seen_.position || now.bufferPercent > seen_.bufferPercent;
    seen_ = now;
    if (paused_ || alive) {
        sinceChange_.start();
        if (forward && !paused_)
            emit advanced();
        return;
    }
    if (sinceChange_.elapsed() < limitMs_)
        return;
    Stop();
    emit stalled();
}

} // namespace quorvel
