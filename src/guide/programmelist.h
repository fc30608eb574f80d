#pragma once

#include "guide/guidesink.h"
#include "guide/programme.h"

#include <cstdint>
#include <vector>

namespace quorvel {

// A guide held in memory, each channel's programmes in start order: a sink for tests and tools,
// and what is on now and next.
class ProgrammeList : public GuideSink {
public:
    // Of a clump, the first: the others follow it in the channel's list.
    struct NowAndNext {
        const Programme* now = nullptr;  // on at the instant
        const Programme* next = nullptr; // the first to start after it
    };

    void Take(std::size_t channel, std::span<Programme> programmes) override;

    // The channel's programmes; empty for a channel the guide gave none.
    const std::vector<Programme>& Of(std::size_t channel) const;
    NowAndNext At(std::size_t channel, std::int64_t instant) const;
    std::size_t Size() const { return size_; }

private:
    std::vector<std::vector<Programme>> channels_;
    std::size_t size_ = 0;
};

} // namespace quorvel
