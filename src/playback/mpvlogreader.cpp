#include "playback/mpvlogreader.h"

#include "base/exception.h"

#include <mpv/client.h>
#include <string_view>
#include <utility>

namespace quorvel {

MpvLogReader::MpvLogReader(mpv_handle* core, std::shared_ptr<LibavLog> libav) : libav_(std::move(libav))
{
    handle_ = mpv_create_client(core, "log");
    if (!handle_)
        throw Exception("The player could not be created");
    mpv_request_log_messages(handle_, "warn");
    // mpv waits at the start of every entry until this client lets it go on: the lines read
    // until then were written before the entry started.
    mpv_hook_add(handle_, 0, "on_load", 0);
    thread_ = std::thread([this] { Run(); });
}

MpvLogReader::~MpvLogReader()
{
    // The thread ends when it is woken with this set; the handle goes once it is out, and with
    // it a start of an entry still held for this client.
    stop_ = true;
    mpv_wakeup(handle_);
    thread_.join();
    mpv_destroy(handle_);
}

void MpvLogReader::Run()
{
    uint64_t startingHook = 0;
    // Asked after every event: mpv forgets a wake-up once it handed over any event.
    while (!stop_) {
        mpv_event* ev = mpv_wait_event(handle_, startingHook ? 0 : -1);
        switch (ev->event_id) {
        case MPV_EVENT_NONE: {
            if (!startingHook)
                break;
            // libav's lines of the entries before were all written before this one started,
            // though maybe not yet read by the log that keeps them.
            const uint64_t libavMark = libav_ ? libav_->Mark(kLibavCatchUp) : 0;
            const std::lock_guard<std::mutex> hold(lock_);
            // Every line written before the entry started has been read and counted for the
            // entries before it; from here on the lines are the starting entry's.
            entry_ = starting_;
            entryLibavMark_ = libavMark;
            lines_.clear();
            soundDeviceFailed_ = false;
            mpv_hook_continue(handle_, startingHook);
            startingHook = 0;
            break;
        }
        case MPV_EVENT_SHUTDOWN:
            // The core goes: nothing else comes.
            return;
        case MPV_EVENT_START_FILE: {
            const std::lock_guard<std::mutex> hold(lock_);
            starting_ = static_cast<mpv_event_start_file*>(ev->data)->playlist_entry_id;
            break;
        }
        case MPV_EVENT_HOOK:
            startingHook = static_cast<mpv_event_hook*>(ev->data)->id;
            break;
        case MPV_EVENT_LOG_MESSAGE:
            Take(*static_cast<mpv_event_log_message*>(ev->data));
            break;
        default:
            break;
        }
    }
}

void MpvLogReader::Take(const mpv_event_log_message& msg)
{
    const std::lock_guard<std::mutex> hold(lock_);
    // The sound outputs ("ao", "ao/alsa", …) complain when no device opens.
    const std::string_view prefix = msg.prefix ? msg.prefix : "";
    if (msg.log_level <= MPV_LOG_LEVEL_ERROR && (prefix == "ao" || prefix.substr(0, 3) == "ao/"))
        soundDeviceFailed_ = true;
    if (msg.log_level > MPV_LOG_LEVEL_WARN)
        return;
    // The complaints just before a failure name its cause: "Connection refused" comes as an
    // error, a server's "HTTP error 403 Forbidden" only as a warning.
    const QString line = QString::fromUtf8(msg.text).trimmed();
    if (!line.isEmpty() && !lines_.contains(line))
        lines_.append(line);
    // A channel that played for hours may have warned of much on the way.
    if (lines_.size() > kLines)
        lines_.removeFirst();
}

QStringList MpvLogReader::Lines(int64_t entry) const
{
    const std::lock_guard<std::mutex> hold(lock_);
    if (entry_ != entry)
        return {};
    QStringList lines = libav_ ? libav_->LinesFrom(entryLibavMark_) : QStringList();
    for (const QString& line : lines_)
        if (!lines.contains(line))
            lines.append(line);
    return lines;
}

bool MpvLogReader::SoundDeviceFailed(int64_t firstEntry) const
{
    const std::lock_guard<std::mutex> hold(lock_);
    return entry_ >= firstEntry && soundDeviceFailed_;
}

} // namespace quorvel
