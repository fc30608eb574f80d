#pragma once

#include "playback/libavlog.h"

#include <QStringList>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>

struct mpv_handle;
struct mpv_event_log_message;

namespace quorvel {

// What mpv complained of, told apart by playlist entry, read on a thread of its own through a
// client of the core's own. mpv holds every new entry at its start until the lines before it
// are read; read on the window's thread, that wait lasted as long as the window was busy
// (drawing the zap's cards, mostly), and every moment of it was a moment of the zap.
class MpvLogReader {
public:
    // core: the player's handle, which must outlive this reader; libav: where libav's lines
    // of every core are kept (null: none are read).
    MpvLogReader(mpv_handle* core, std::shared_ptr<LibavLog> libav);
    ~MpvLogReader();
    MpvLogReader(const MpvLogReader&) = delete;
    MpvLogReader& operator=(const MpvLogReader&) = delete;

    // The last few warnings and errors of the entry, libav's first (those of any core in the
    // entry's time: which core a line of libav's is of is not told); none when the lines now
    // read are another entry's.
    QStringList Lines(int64_t entry) const;
    // A sound output failed to open for the entry or one after it.
    bool SoundDeviceFailed(int64_t firstEntry) const;

private:
    void Run();
    void Take(const mpv_event_log_message& message);

    mpv_handle* handle_ = nullptr;
    std::shared_ptr<LibavLog> libav_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex lock_;
    // The entry the lines now read belong to, the one about to start (known from its start
    // event, before mpv asks this client to let it go on) and what was read of the first.
    int64_t entry_ = 0;
    int64_t starting_ = 0;
    QStringList lines_;
    uint64_t entryLibavMark_ = 0;
    bool soundDeviceFailed_ = false;
    static constexpr int kLines = 4;
    // The new entry waits this long at most for libav's log to read what came before it; that
    // log's thread does nothing else, so it is there within a moment.
    static constexpr std::chrono::milliseconds kLibavCatchUp{100};
};

} // namespace quorvel
