#pragma once

#include "guide/guidesink.h"
#include "guide/programme.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace quorvel {

// Gathers the programmes of the wanted channels as the guide gives them and hands them to the
// sink in small batches, put right on the way:
// - a channel's programmes are put in start order (a guide may list them in any order);
// - a programme that stops as it starts takes no time and is dropped;
// - programmes of one start are kept once for each place in their clump (clumpidx), in clump
//   order; of two at the same place (a programme listed twice) the one read first is kept;
// - a stop before the start is taken a day later when that is after the start (a guide that did
//   not move the date on past midnight), else it counts as no stop;
// - a missing stop is the next programme's start; the channel's last programme, with nothing
//   after it to end it, is kept an hour;
// - where programmes overlap the later start wins: the earlier one ends where the next begins;
// - a programme that starts before the stop of one already handed out is dropped (the sink
//   keeps what it was given);
// - programmes that ended before notBefore are dropped.
// Only the last programmes read of each channel (one slot) wait for their successor, plus a few
// batches, so memory does not grow with the guide.
class ProgrammeCollector {
public:
    static constexpr std::int64_t kNoTime = std::numeric_limits<std::int64_t>::min();

    // shiftSeconds: how far each wanted channel's programmes move.
    ProgrammeCollector(std::vector<std::int64_t> shiftSeconds, GuideSink& sink, std::int64_t notBefore);

    // A programme of the channel with the guide's times; stop kNoTime when the guide has none.
    void Add(std::size_t channel, Programme programme);
    // The guide went on to another channel: what is settled of this one goes out now.
    void EndRun(std::size_t channel);
    // The guide has ended: everything goes out.
    void Finish();

    std::size_t Kept() const { return kept_; }
    std::size_t ChannelsKept() const { return channelsKept_; }
    // The latest stop handed out; kNoTime when nothing was.
    std::int64_t LastStop() const { return lastStop_; }

private:
    static constexpr std::size_t kBatch = 256;
    static constexpr std::int64_t kDay = 24 * 3600;
    // How long a channel's last programme is taken to last when the guide gives no stop: the
    // length of a common programme, short enough not to claim an evening that is unknown.
    static constexpr std::int64_t kUnknownLength = 3600;
    static constexpr std::size_t kMaxWaiting = 8192;

    struct Channel {
        std::vector<Programme> waiting;
        std::int64_t handedUntil = kNoTime;
        bool active = false; // listed in active_
        bool kept = false;   // gave the sink something
    };

    // Where the programme ends, before a slot that starts at nextStart (kNoTime: none).
    static std::int64_t Stop(const Programme& p, std::int64_t nextStart);
    void Flush(std::size_t channel, bool last);
    void FlushAll(bool last);

    std::vector<std::int64_t> shift_;
    GuideSink& sink_;
    std::int64_t notBefore_;
    std::vector<Channel> channels_;
    std::vector<std::uint32_t> active_; // channels with programmes waiting
    std::vector<Programme> batch_;
    std::size_t waiting_ = 0;
    std::size_t flushAt_ = kMaxWaiting; // waiting_ at which every channel is flushed
    std::size_t kept_ = 0;
    std::size_t channelsKept_ = 0;
    std::int64_t lastStop_ = kNoTime;
};

} // namespace quorvel
