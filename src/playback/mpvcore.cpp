#include "playback/mpvcore.h"

#include "base/exception.h"
#include "playback/libavlog.h"
#include "playback/loadoptions.h"
#include "playback/mpvbaseoptions.h"
#include "playback/mpvlogreader.h"
#include "playback/mpvnode.h"
#include "playback/mpvproperties.h"
#include "playback/mpvtracklist.h"
#include "playback/zaptrace.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QTimer>
#include <QUrl>

#include <clocale>
#include <utility>

namespace quorvel {
namespace {

void Check(int rc, const char* what)
{
    if (rc < 0)
        throw Exception(std::string(what) + ": " + mpv_error_string(rc));
}

// An HLS address (its path ends in .m3u8) goes to libav's HLS reader at once. Given as it
// stands, mpv first fetched the playlist itself to find what it is and then handed the address
// to libav, which fetched it again: one round trip to the server more on every zap.
std::string OpenedAddress(const QString& url)
{
    const QUrl parsed(url);
    const QString scheme = parsed.scheme().toLower();
    if ((scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
        parsed.path().endsWith(QLatin1String(".m3u8"), Qt::CaseInsensitive))
        return "av://hls:" + url.toStdString();
    return url.toStdString();
}

} // namespace

MpvCore::MpvCore(const QString& audioOutput, QObject* parent) : QObject(parent)
{
    // mpv parses numbers with the C locale's rules.
    std::setlocale(LC_NUMERIC, "C");
    // Started before this core, so that libav's lines of every core reach it.
    std::shared_ptr<LibavLog> libav = LibavLog::Acquire();
    handle_ = mpv_create();
    if (!handle_)
        throw Exception("The player could not be created");
    try {
        const RefusedOption refused = SetBaseOptions(handle_, CoreRole::Playing, audioOutput.toStdString());
        if (refused.name)
            Check(refused.error, (std::string("Player option ") + refused.name).c_str());
        // mpv's own log, for tracing a zap; each core writes a file of its own.
        static std::atomic<int> cores{0};
        if (const QByteArray path = qgetenv("QUORVEL_MPV_LOG"); !path.isEmpty())
            mpv_set_option_string(handle_, "log-file", (path + '.' + QByteArray::number(++cores)).constData());
        Check(mpv_initialize(handle_), "The player could not start");
    } catch (...) {
        mpv_terminate_destroy(handle_);
        handle_ = nullptr;
        throw;
    }
    ObserveProperties(false);
    log_ = std::make_unique<MpvLogReader>(handle_, std::move(libav));
    failureTimer_ = new QTimer(this);
    failureTimer_->setSingleShot(true);
    failureTimer_->setInterval(kCauseWaitMs);
    connect(failureTimer_, &QTimer::timeout, this, &MpvCore::ReportFailure);
    mpv_set_wakeup_callback(handle_, &MpvCore::Wakeup, this);
    qCDebug(zapTrace, "%.1f core made (mpv's clock %.1f ms)", ZapTraceMs(), mpv_get_time_us(handle_) / 1e3);
}

MpvCore::~MpvCore()
{
    if (handle_) {
        mpv_set_wakeup_callback(handle_, nullptr, nullptr);
        // Its client goes before the core, which waits for every client to go.
        log_.reset();
        mpv_terminate_destroy(handle_);
    }
}

void MpvCore::ObserveProperties(bool afterSwap)
{
    // mpv tells each property as it is when it starts being observed, and then every change.
    for (int i = 0; i < static_cast<int>(MpvProperty::Count); ++i) {
        const auto& info = PropertyInfo(static_cast<MpvProperty>(i));
        // A core swapped in has just been given its channel, which mpv may not have taken up
        // yet: told idle for that moment, the player let its picture go and showed the
        // pause sign.
        if (afterSwap && info.id == MpvProperty::IdleActive)
            continue;
        mpv_unobserve_property(handle_, static_cast<uint64_t>(i));
        mpv_observe_property(handle_, static_cast<uint64_t>(i), info.name, info.format);
    }
}

void MpvCore::Wakeup(void* self)
{
    auto* core = static_cast<MpvCore*>(self);
    // Many wake-ups may come before the thread gets round to draining; one drain serves them.
    if (!core->drainQueued_.exchange(true))
        core->QueueDrain();
}

void MpvCore::QueueDrain()
{
    // Ahead of the window's own queued work (painting, the bus): what mpv reports of a zap
    // (its start, its first picture, a failure) is told as soon as this thread is free.
    QCoreApplication::postEvent(this, new QEvent(kDrainEvent), Qt::HighEventPriority);
}

bool MpvCore::event(QEvent* event)
{
    if (event->type() != kDrainEvent)
        return QObject::event(event);
    DrainEvents();
    return true;
}

void MpvCore::DrainEvents()
{
    drainQueued_ = false;
    while (handle_) {
        mpv_event* ev = mpv_wait_event(handle_, 0);
        if (ev->event_id == MPV_EVENT_NONE)
            break;
        switch (ev->event_id) {
        case MPV_EVENT_PROPERTY_CHANGE:
            HandleProperty(ev->reply_userdata, *static_cast<mpv_event_property*>(ev->data));
            break;
        case MPV_EVENT_START_FILE:
            startedEntry_ = static_cast<mpv_event_start_file*>(ev->data)->playlist_entry_id;
            qCDebug(zapTrace, "%.1f core %p: start of entry %lld", ZapTraceMs(), static_cast<void*>(this),
                    static_cast<long long>(startedEntry_));
            break;
        case MPV_EVENT_FILE_LOADED:
            // Whether it has a picture is asked without waiting: mpv may be holding its core
            // until this thread draws the first frame, and a question that waits for the core
            // would hold that frame up until mpv gives up waiting for it.
            qCDebug(zapTrace, "%.1f core %p: entry %lld loaded", ZapTraceMs(), static_cast<void*>(this),
                    static_cast<long long>(startedEntry_));
            if (startedEntry_ >= firstCurrentEntry_) {
                entry_.opened = true;
                entry_.openedAt = QDeadlineTimer::current().deadlineNSecs();
                mpv_get_property_async(handle_, static_cast<uint64_t>(startedEntry_),
                                       PropertyInfo(MpvProperty::VideoTrack).name, MPV_FORMAT_INT64);
            }
            break;
        case MPV_EVENT_COMMAND_REPLY:
        case MPV_EVENT_SET_PROPERTY_REPLY:
            if (ev->reply_userdata == kParkReply && parkReplies_ > 0 && --parkReplies_ == 0)
                emit settled();
            else if (ev->event_id == MPV_EVENT_COMMAND_REPLY && ev->reply_userdata != kParkReply &&
                     ev->reply_userdata != 0)
                emit commandReplied(ev->reply_userdata, ev->error);
            break;
        case MPV_EVENT_GET_PROPERTY_REPLY:
            if (static_cast<int64_t>(ev->reply_userdata) >= firstCurrentEntry_) {
                // Without a video track the property is not there at all.
                entry_.hasVideo = ev->error >= 0;
                entry_.loaded = true;
                emit fileLoaded();
            }
            break;
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<mpv_event_end_file*>(ev->data);
            qCDebug(zapTrace, "%.1f core %p: end of entry %lld", ZapTraceMs(), static_cast<void*>(this),
                    static_cast<long long>(end->playlist_entry_id));
            if (end->playlist_entry_id < firstCurrentEntry_)
                break; // the end of something that was replaced or stopped
            if (end->reason == MPV_END_FILE_REASON_ERROR) {
                // mpv hands over the log lines that name the cause after this event; the
                // failure is told once they had time to arrive.
                failedEntry_ = end->playlist_entry_id;
                failedError_ = end->error;
                failureTimer_->start();
            } else if (end->reason == MPV_END_FILE_REASON_EOF) {
                emit playbackEnded();
            }
            break;
        }
        default:
            break;
        }
    }
}

void MpvCore::HandleProperty(uint64_t id, const mpv_event_property& prop)
{
    if (id >= static_cast<uint64_t>(MpvProperty::Count))
        return;
    const auto* info = &PropertyInfo(static_cast<MpvProperty>(id));
    const bool has = prop.format == info->format && prop.data;
    const bool flag = has && info->format == MPV_FORMAT_FLAG && *static_cast<int*>(prop.data) != 0;
    const double number = has && info->format == MPV_FORMAT_DOUBLE ? *static_cast<double*>(prop.data) : 0.0;
    const int64_t integer = has && info->format == MPV_FORMAT_INT64 ? *static_cast<int64_t*>(prop.data) : 0;
    switch (info->id) {
    case MpvProperty::Pause:
        emit pauseChanged(flag);
        break;
    case MpvProperty::Mute:
        emit muteChanged(flag);
        break;
    case MpvProperty::Volume:
        emit volumeChanged(number);
        break;
    case MpvProperty::TimePos:
        emit timePosChanged(number);
        break;
    case MpvProperty::Duration:
        emit durationChanged(number);
        break;
    case MpvProperty::Seekable:
        emit seekableChanged(flag);
        break;
    case MpvProperty::PausedForCache:
        buffering_ = flag;
        emit bufferingChanged(buffering_, bufferPercent_);
        break;
    case MpvProperty::CacheBufferingState:
        bufferPercent_ = static_cast<int>(integer);
        if (buffering_)
            emit bufferingChanged(buffering_, bufferPercent_);
        break;
    case MpvProperty::IdleActive:
        emit idleChanged(flag);
        break;
    case MpvProperty::TrackList:
        emit audioTracksChanged(has ? AudioTracksIn(*static_cast<mpv_node*>(prop.data)) : AudioTracks());
        break;
    case MpvProperty::VideoTrack:
    case MpvProperty::AudioId:
    case MpvProperty::AudioLanguage:
    case MpvProperty::Count:
        break;
    }
}

void MpvCore::Load(const QString& url, const RequestOptions& options)
{
    // Named arguments: the address and each option reach mpv whole, whatever they hold. The
    // options are the entry's own: the next address starts without them.
    MpvCommandNode cmd("loadfile");
    cmd.Add("url", OpenedAddress(url));
    cmd.Add("flags", "replace");
    if (!options.Empty())
        cmd.AddMap("options", LoadOptions(options));
    MpvNode result;
    qCDebug(zapTrace, "%.1f core %p: loadfile", ZapTraceMs(), static_cast<void*>(this));
    Check(mpv_command_node(handle_, cmd.Node(), result.Out()), "The player refused the address");
    qCDebug(zapTrace, "%.1f core %p: loadfile answered", ZapTraceMs(), static_cast<void*>(this));
    // Events of what played before may still be queued; they must not speak for this load.
    // Entries get ever larger numbers, also those a playlist or a redirect puts after it.
    firstCurrentEntry_ = result.MapInt("playlist_entry_id").value_or(startedEntry_ + 1);
    entry_ = {};
}

void MpvCore::SwapWith(MpvCore& other)
{
    if (&other == this)
        return;
    const bool failurePending = failureTimer_->isActive();
    const bool otherFailurePending = other.failureTimer_->isActive();
    failureTimer_->stop();
    other.failureTimer_->stop();
    std::swap(handle_, other.handle_);
    std::swap(buffering_, other.buffering_);
    std::swap(bufferPercent_, other.bufferPercent_);
    std::swap(log_, other.log_);
    std::swap(entry_, other.entry_);
    std::swap(firstCurrentEntry_, other.firstCurrentEntry_);
    std::swap(startedEntry_, other.startedEntry_);
    std::swap(failedEntry_, other.failedEntry_);
    std::swap(failedError_, other.failedError_);
    std::swap(parkReplies_, other.parkReplies_);
    if (otherFailurePending)
        failureTimer_->start();
    if (failurePending)
        other.failureTimer_->start();
    // mpv wakes whoever holds its handle now; a drain each picks up what either left queued.
    for (MpvCore* core : {this, &other}) {
        if (!core->handle_)
            continue;
        // What each told last (a length, a position, sound tracks) was of the other handle's
        // channel, and a property that does not change on this one would never be told again.
        core->ObserveProperties(true);
        mpv_set_wakeup_callback(core->handle_, &MpvCore::Wakeup, core);
        core->drainQueued_ = true;
        core->QueueDrain();
    }
}

void MpvCore::ReportFailure()
{
    if (failedEntry_ < firstCurrentEntry_)
        return; // another address came meanwhile
    emit playbackFailed(failedError_, log_->Lines(failedEntry_));
}

void MpvCore::Stop()
{
    firstCurrentEntry_ = kNoEntry;
    entry_.loaded = false;
    entry_.opened = false;
    const char* cmd[] = {"stop", nullptr};
    Check(mpv_command(handle_, cmd), "The player could not stop");
}

void MpvCore::Park()
{
    firstCurrentEntry_ = kNoEntry;
    entry_.loaded = false;
    entry_.opened = false;
    const char* cmd[] = {"stop", nullptr};
    Check(mpv_command_async(handle_, kParkReply, cmd), "The player could not stop");
    ++parkReplies_;
    for (const MpvProperty p : {MpvProperty::Mute, MpvProperty::Pause}) {
        int yes = 1;
        Check(mpv_set_property_async(handle_, kParkReply, PropertyInfo(p).name, MPV_FORMAT_FLAG, &yes),
              PropertyInfo(p).name);
        ++parkReplies_;
    }
}

void MpvCore::ReloadVideo()
{
    const char* cmd[] = {"video-reload", nullptr};
    mpv_command_async(handle_, 0, cmd); // nothing to reload when nothing plays
}

void MpvCore::SeekTo(double seconds)
{
    const QByteArray pos = QByteArray::number(seconds, 'f', 3);
    const char* cmd[] = {"seek", pos.constData(), "absolute", nullptr};
    mpv_command_async(handle_, 0, cmd); // seeking a stream that cannot seek is simply ignored
}

void MpvCore::RunAsync(const QString& name, const std::vector<std::pair<std::string, std::string>>& arguments,
                       quint64 id)
{
    MpvCommandNode cmd(name.toStdString());
    for (const auto& [key, value] : arguments)
        cmd.Add(key, value);
    Check(mpv_command_node_async(handle_, id, cmd.Node()), "The player refused the command");
}

bool MpvCore::SoundDeviceFailed() const { return log_ && log_->SoundDeviceFailed(firstCurrentEntry_); }

bool MpvCore::Flag(MpvProperty p) const
{
    int value = 0;
    Check(mpv_get_property(handle_, PropertyInfo(p).name, MPV_FORMAT_FLAG, &value), PropertyInfo(p).name);
    return value != 0;
}

void MpvCore::SetFlag(MpvProperty p, bool value)
{
    int v = value ? 1 : 0;
    Check(mpv_set_property(handle_, PropertyInfo(p).name, MPV_FORMAT_FLAG, &v), PropertyInfo(p).name);
}

double MpvCore::Double(MpvProperty p) const
{
    double value = 0;
    Check(mpv_get_property(handle_, PropertyInfo(p).name, MPV_FORMAT_DOUBLE, &value), PropertyInfo(p).name);
    return value;
}

double MpvCore::DoubleOr(MpvProperty p, double fallback) const noexcept
{
    double value = 0;
    return mpv_get_property(handle_, PropertyInfo(p).name, MPV_FORMAT_DOUBLE, &value) >= 0 ? value : fallback;
}

bool MpvCore::FlagOr(MpvProperty p, bool fallback) const noexcept
{
    int value = 0;
    return mpv_get_property(handle_, PropertyInfo(p).name, MPV_FORMAT_FLAG, &value) >= 0 ? value != 0 : fallback;
}

void MpvCore::SetDouble(MpvProperty p, double value)
{
    Check(mpv_set_property(handle_, PropertyInfo(p).name, MPV_FORMAT_DOUBLE, &value), PropertyInfo(p).name);
}

void MpvCore::SetInteger(MpvProperty p, std::int64_t value)
{
    Check(mpv_set_property(handle_, PropertyInfo(p).name, MPV_FORMAT_INT64, &value), PropertyInfo(p).name);
}

void MpvCore::SetText(MpvProperty p, const QString& value)
{
    const QByteArray text = value.toUtf8();
    Check(mpv_set_property_string(handle_, PropertyInfo(p).name, text.constData()), PropertyInfo(p).name);
}

QString MpvCore::Text(MpvProperty p) const
{
    char* value = mpv_get_property_string(handle_, PropertyInfo(p).name);
    if (!value)
        throw Exception(std::string(PropertyInfo(p).name) + ": not available");
    const QString text = QString::fromUtf8(value);
    mpv_free(value);
    return text;
}

AudioTracks MpvCore::ListAudioTracks() const
{
    MpvNode list;
    if (mpv_get_property(handle_, PropertyInfo(MpvProperty::TrackList).name, MPV_FORMAT_NODE, list.Out()) < 0)
        return {};
    return AudioTracksIn(*list.Get());
}

} // namespace quorvel
