#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
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
// started before the others and playing nothing, holds the hook; its lines are kept here, counted,
// for every core to read those written since its own entry started.
class LibavLog {
public:
    // The one log, started when there is none; it goes with its last holder. Null when mpv
    // cannot start a core: libav's lines are then missed, nothing else.
    static std::shared_ptr<LibavLog> Acquire();
    ~LibavLog();
    LibavLog(const LibavLog&) = delete;
    LibavLog& operator=(const LibavLog&) = delete;

    // Waits until every line libav wrote before the call has been read here (for at most the
    // limit) and gives the count of lines read: the lines from that mark on were written after
    // the call. mpv hands its lines over on this log's thread some time after libav wrote them,
    // so a line's own moment is not known here: without the mark, a refused connection of the
    // channel before, read a few milliseconds late, would count as the next channel's cause.
    uint64_t Mark(std::chrono::milliseconds limit);
    // The lines from the mark on, oldest first.
    QStringList LinesFrom(uint64_t mark) const;

private:
    explicit LibavLog(mpv_handle* handle);
    void Run();

    mpv_handle* handle_ = nullptr;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex lock_;
    std::condition_variable caughtUpChanged_;
    // Marks asked for, and the last mark all lines before which have been read.
    uint64_t asked_ = 0;
    uint64_t caughtUp_ = 0;
    struct Line {
        uint64_t number;
        QString text;
    };
    std::deque<Line> lines_;
    uint64_t read_ = 0;
    static constexpr std::size_t kLines = 16;
};

} // namespace quorvel
