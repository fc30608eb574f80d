#include "playback/libavlog.h"

#include "playback/mpvbaseoptions.h"

#include <algorithm>
#include <mpv/client.h>
#include <string_view>

namespace quorvel {

std::shared_ptr<LibavLog> LibavLog::Acquire()
{
    static std::mutex lock;
    static std::weak_ptr<LibavLog> current;
    const std::lock_guard<std::mutex> hold(lock);
    if (auto log = current.lock())
        return log;
    mpv_handle* handle = mpv_create();
    if (!handle)
        return nullptr;
    // Nothing of the user's and nothing to play: it only listens. mpv's own scripts (each a
    // thread of its own, loading as the program starts) are left out too.
    SetBaseOptions(handle, CoreRole::Listening);
    if (mpv_initialize(handle) < 0) {
        mpv_terminate_destroy(handle);
        return nullptr;
    }
    std::shared_ptr<LibavLog> log(new LibavLog(handle));
    current = log;
    return log;
}

LibavLog::LibavLog(mpv_handle* handle) : handle_(handle)
{
    mpv_request_log_messages(handle_, "warn");
    thread_ = std::thread([this] { Run(); });
}

LibavLog::~LibavLog()
{
    stop_ = true;
    mpv_wakeup(handle_);
    thread_.join();
    mpv_terminate_destroy(handle_);
}

void LibavLog::Run()
{
    while (!stop_) {
        uint64_t pending = 0;
        {
            const std::lock_guard<std::mutex> hold(lock_);
            if (asked_ > caughtUp_)
                pending = asked_;
        }
        // With a mark asked for, mpv is asked not to wait: it answers with nothing only once
        // every line it holds for this client has been handed over, and all the lines written
        // before the mark was asked for are among them.
        mpv_event* ev = mpv_wait_event(handle_, pending ? 0 : -1);
        if (ev->event_id == MPV_EVENT_SHUTDOWN)
            return;
        if (ev->event_id == MPV_EVENT_NONE) {
            if (pending) {
                const std::lock_guard<std::mutex> hold(lock_);
                caughtUp_ = std::max(caughtUp_, pending);
                caughtUpChanged_.notify_all();
            }
            continue;
        }
        if (ev->event_id != MPV_EVENT_LOG_MESSAGE)
            continue;
        const auto* msg = static_cast<mpv_event_log_message*>(ev->data);
        // This core's own lines say nothing of the others'.
        const std::string_view prefix = msg->prefix ? msg->prefix : "";
        if (msg->log_level > MPV_LOG_LEVEL_WARN || prefix.substr(0, 6) != "ffmpeg")
            continue;
        const QString text = QString::fromUtf8(msg->text).trimmed();
        if (text.isEmpty())
            continue;
        const std::lock_guard<std::mutex> hold(lock_);
        lines_.push_back({read_++, text});
        if (lines_.size() > kLines)
            lines_.pop_front();
    }
}

uint64_t LibavLog::Mark(std::chrono::milliseconds limit)
{
    std::unique_lock<std::mutex> hold(lock_);
    const uint64_t ticket = ++asked_;
    hold.unlock();
    // A wake-up mpv forgets (it handed over a line meanwhile) is made up for by the thread,
    // which sees the mark asked for before it waits again.
    mpv_wakeup(handle_);
    hold.lock();
    caughtUpChanged_.wait_for(hold, limit, [&] { return caughtUp_ >= ticket; });
    return read_;
}

QStringList LibavLog::LinesFrom(uint64_t mark) const
{
    const std::lock_guard<std::mutex> hold(lock_);
    QStringList result;
    for (const Line& line : lines_)
        if (line.number >= mark && !result.contains(line.text))
            result.append(line.text);
    return result;
}

} // namespace quorvel
