#include "playback/timeshift.h"

#include "playback/mpvbaseoptions.h"
#include "playback/mpvcore.h"
#include "playback/mpvnode.h"
#include "playback/mpvproperties.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mpv/client.h>

namespace quorvel {
namespace {

constexpr int kLookMs = 500;
// A paused stream whose buffer has not grown for this long is not being read. Live segments
// come whole, up to ten seconds apart, and the playlist may be late by as much again.
constexpr qint64 kNoGrowthMs = 25000;
// The live edge is this far before the end of what was read: mpv seeks to a picture it has in
// full, and plays on from there as from the live edge itself.
constexpr double kLiveSeekBack = 2.0;
// Passing a bound moves the paused position on to this share of it, so that the next move is
// a while away.
constexpr double kTrimTo = 0.9;

// What mpv tells of its buffer: the part that can be moved in, what lies ahead of the picture,
// and whether it is kept on disk.
struct CacheState {
    double start = 0;
    double end = 0;
    double received = 0;
    bool hasRange = false;
    qint64 forwardBytes = 0;
    bool onDisk = false;
    bool eof = false;
};

const mpv_node* Find(const mpv_node& map, const char* key)
{
    if (map.format != MPV_FORMAT_NODE_MAP || !map.u.list)
        return nullptr;
    for (int i = 0; i < map.u.list->num; ++i)
        if (std::strcmp(map.u.list->keys[i], key) == 0)
            return &map.u.list->values[i];
    return nullptr;
}

double Number(const mpv_node* node)
{
    if (!node)
        return 0;
    if (node->format == MPV_FORMAT_DOUBLE)
        return node->u.double_;
    if (node->format == MPV_FORMAT_INT64)
        return static_cast<double>(node->u.int64);
    return 0;
}

bool ReadCacheState(mpv_handle* handle, double position, CacheState& state)
{
    MpvNode node;
    if (!handle || mpv_get_property(handle, "demuxer-cache-state", MPV_FORMAT_NODE, node.Out()) < 0)
        return false;
    const mpv_node& map = *node.Get();
    state.forwardBytes = static_cast<qint64>(Number(Find(map, "fw-bytes")));
    state.received = Number(Find(map, "cache-end"));
    state.onDisk = Find(map, "file-cache-bytes") != nullptr;
    const mpv_node* eof = Find(map, "eof");
    state.eof = eof && eof->format == MPV_FORMAT_FLAG && eof->u.flag;
    const mpv_node* ranges = Find(map, "seekable-ranges");
    if (!ranges || ranges->format != MPV_FORMAT_NODE_ARRAY || !ranges->u.list)
        return true;
    // The range the picture is in; the newest where it is in none.
    for (int i = 0; i < ranges->u.list->num; ++i) {
        const mpv_node& range = ranges->u.list->values[i];
        const double start = Number(Find(range, "start"));
        const double end = Number(Find(range, "end"));
        if (end <= start)
            continue;
        const bool holds = position >= start - 1 && position <= end + 1;
        if (!state.hasRange || holds || end > state.end) {
            state.start = start;
            state.end = end;
            state.hasRange = true;
            if (holds)
                break;
        }
    }
    return true;
}

qint64 NowMs() { return QDateTime::currentMSecsSinceEpoch(); }

} // namespace

TimeShift::TimeShift(MpvCore& core, QObject* parent) : QObject(parent), core_(core), timer_(new QTimer(this))
{
    limits_.folder = DefaultFolder();
    timer_->setInterval(kLookMs);
    connect(timer_, &QTimer::timeout, this, &TimeShift::Look);
}

TimeShift::~TimeShift() = default;

QString TimeShift::DefaultFolder()
{
    // The base-directory rule: a relative $XDG_CACHE_HOME is invalid and ignored.
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/quorvel/timeshift");
}

void TimeShift::RemoveLeftovers(const QString& folder)
{
    QDir dir(folder);
    if (!dir.exists())
        return;
    // Only mpv's own buffer files: the folder may be one the viewer named.
    for (const QString& name : dir.entryList({QStringLiteral("mpv-cache-*.dat")}, QDir::Files | QDir::Hidden))
        dir.remove(name);
}

void TimeShift::SetLimits(const TimeShiftLimits& limits)
{
    limits_ = limits;
    if (limits_.folder.isEmpty())
        limits_.folder = DefaultFolder();
    limits_.seconds = std::max(limits_.seconds, 60);
    limits_.bytes = std::max<qint64>(limits_.bytes, qint64(64) * 1024 * 1024);
}

void TimeShift::Give(MpvCore& core, bool on, const TimeShiftLimits& limits)
{
    // The folder is made private to the user: what is watched is nobody else's business.
    if (on && !limits.folder.isEmpty() && QDir().mkpath(limits.folder))
        QFile::setPermissions(limits.folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const RefusedOption refused =
        SetTimeShiftOptions(core.Handle(), on, limits.bytes, limits.folder.toLocal8Bit().toStdString());
    if (refused.name)
        qWarning("the player refused the buffer option %s: %s", refused.name, mpv_error_string(refused.error));
}

void TimeShift::Follow(bool live)
{
    following_ = live;
    span_ = {};
    toldCannot_ = false;
    toldTrimmed_ = false;
    if (live) {
        timer_->start();
        Look();
    } else {
        timer_->stop();
        emit spanChanged(span_);
    }
}

void TimeShift::PauseChanged(bool paused)
{
    paused_ = paused;
    if (!paused)
        return;
    // Told once for the channel; every later pause is answered the same way at once.
    if (toldCannot_) {
        emit cannotPause(cannotReason_);
        return;
    }
    pausedEnd_ = span_.end;
    pausedEndSince_ = NowMs();
    toldTrimmed_ = false;
}

void TimeShift::Look()
{
    if (!following_)
        return;
    const double position = core_.DoubleOr(MpvProperty::TimePos, NAN);
    CacheState state;
    if (!std::isfinite(position) || !ReadCacheState(core_.Handle(), position, state) || !state.hasRange) {
        span_ = {};
        emit spanChanged(span_);
        return;
    }
    span_ = {std::max(state.start, state.end - limits_.seconds), state.end, position,
             std::max(state.received, state.end)};
    emit spanChanged(span_);
    if (!paused_)
        return;
    if (!state.onDisk && !toldCannot_) {
        Cannot(tr("its buffer cannot be kept in %1").arg(QDir::toNativeSeparators(limits_.folder)));
        return;
    }
    const qint64 now = NowMs();
    if (state.end > pausedEnd_ + 0.5) {
        pausedEnd_ = state.end;
        pausedEndSince_ = now;
    } else if (!state.eof && now - pausedEndSince_ > kNoGrowthMs && !toldCannot_) {
        Cannot(tr("its stream is not read while paused"));
        return;
    }
    // The bounds: the time behind the live edge, and the bytes ahead of the picture (the other
    // half of the bytes is what was played, kept to go back in).
    const double behind = state.end - position;
    const qint64 forwardLimit = limits_.bytes / 2;
    const bool overTime = behind > limits_.seconds;
    const bool overBytes = state.forwardBytes > forwardLimit * kTrimTo;
    if (!overTime && !overBytes)
        return;
    double keep = limits_.seconds * kTrimTo;
    if (overBytes && behind > 0 && state.forwardBytes > 0) {
        const double bytesPerSecond = static_cast<double>(state.forwardBytes) / behind;
        keep = std::min(keep, forwardLimit * kTrimTo * kTrimTo / bytesPerSecond);
    }
    SeekTo(state.end - keep);
    if (!toldTrimmed_) {
        toldTrimmed_ = true;
        emit trimmed();
    }
}

void TimeShift::Cannot(const QString& reason)
{
    toldCannot_ = true;
    cannotReason_ = reason;
    emit cannotPause(reason);
}

void TimeShift::SeekTo(double seconds)
{
    if (span_.Empty())
        return;
    const double to = std::clamp(seconds, span_.start, std::max(span_.start, span_.end - kLiveSeekBack));
    span_.position = to;
    core_.SeekTo(to);
    emit spanChanged(span_);
}

void TimeShift::SeekBy(double seconds) { SeekTo(span_.position + seconds); }

void TimeShift::SeekToFraction(double fraction)
{
    SeekTo(span_.start + std::clamp(fraction, 0.0, 1.0) * (span_.end - span_.start));
}

void TimeShift::SeekToLive() { SeekTo(span_.end); }

double TimeShift::RecordingStart() const
{
    const double position = core_.DoubleOr(MpvProperty::TimePos, 0.0);
    if (!following_ || span_.Empty())
        return position;
    if (!AtLive())
        return span_.position;
    // A start past what was read waits for the next whole picture to arrive; one within it
    // begins at the picture before, seconds earlier than the viewer asked.
    return span_.received + 1.0;
}

} // namespace quorvel
