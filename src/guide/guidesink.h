#pragma once

#include "guide/guideoutcome.h"
#include "guide/programme.h"

#include <cstddef>
#include <span>

namespace quorvel {

// Where a guide's programmes go while it is read: a store that takes them in batches.
//
// Take is called several times per channel. Each batch is in start order, its programmes do not
// overlap, every stop is after its start, and a batch starts at or after the stop of the
// channel's batch before. The one exception to overlapping is a clump: programmes of one start,
// one after another in clump order (Programme::clump rising). channel is the index into the wanted channels the reader
// was given. The programmes are the sink's: it may move from them.
class GuideSink {
public:
    virtual ~GuideSink() = default;
    virtual void Take(std::size_t channel, std::span<Programme> programmes) = 0;
    // The read is over, on the thread that fed it: a store commits what it still holds.
    virtual void Finish(const GuideOutcome& /*outcome*/) { }
};

} // namespace quorvel
