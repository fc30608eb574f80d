#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

struct mpv_handle;

namespace quorvel {

// What libav (mpv's network and demuxer layers) complains of, for every core. libav has one
// hook for its lines in the whole process, which mpv gives to the first core started while no
// core holds it: a server's "HTTP error 403 Forbidden" or a refused connection of any core
// reached that one core's log only, and once it was closed no core's at all. A core of its own,
// started before the others and playing nothing, holds the hook; its lines are kept here with
// the time they came, for every core to read those of its own entry's time.
class LibavLog {
public:
    using Clock = std::chrono::steady_clock;

    // The one log, started when there is none; it goes with its last holder. Null when mpv
    // cannot start a core: libav's lines are then missed, nothing else.
    static std::shared_ptr<LibavLog> Acquire();
    ~LibavLog();
    LibavLog(const LibavLog&) = delete;
    LibavLog& operator=(const LibavLog&) = delete;

    // The lines that came at or after the moment, oldest first.
    QStringList LinesSince(Clock::time_point since) const;

private:
    explicit LibavLog(mpv_handle* handle);
    void Run();

    mpv_handle* handle_ = nullptr;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex lock_;
    struct Line {
        Clock::time_point at;
        QString text;
    };
    std::deque<Line> lines_;
    static constexpr std::size_t kLines = 16;
};

} // namespace quorvel
