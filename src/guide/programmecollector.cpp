#include "guide/programmecollector.h"

#include <algorithm>
#include <iterator>

namespace quorvel {

ProgrammeCollector::ProgrammeCollector(std::vector<std::int64_t> shiftSeconds, GuideSink& sink, std::int64_t notBefore)
    : shift_(std::move(shiftSeconds)), sink_(sink), notBefore_(notBefore), channels_(shift_.size())
{
}

void ProgrammeCollector::Add(std::size_t channel, Programme programme)
{
    // A guide's times are half open: a programme that stops as it starts takes no time, and must
    // not take the place of the one that starts then.
    if (programme.stop == programme.start)
        return;
    const std::int64_t shift = shift_[channel];
    programme.start += shift;
    if (programme.stop != kNoTime)
        programme.stop += shift;
    Channel& c = channels_[channel];
    if (programme.start < c.handedUntil)
        return;
    c.waiting.push_back(std::move(programme));
    ++waiting_;
    if (!c.active) {
        c.active = true;
        active_.push_back(static_cast<std::uint32_t>(channel));
    }
    if (c.waiting.size() >= kBatch)
        Flush(channel, false);
    if (waiting_ >= flushAt_)
        FlushAll(false);
}

void ProgrammeCollector::EndRun(std::size_t channel)
{
    if (channels_[channel].waiting.size() > 1)
        Flush(channel, false);
}

void ProgrammeCollector::Finish() { FlushAll(true); }

void ProgrammeCollector::FlushAll(bool last)
{
    for (std::uint32_t channel : active_) {
        Flush(channel, last);
        channels_[channel].active = !channels_[channel].waiting.empty();
    }
    std::erase_if(active_, [this](std::uint32_t channel) { return !channels_[channel].active; });
    // What still waits is each channel's last slot; the next round comes once as many again
    // have come in, however many slots wait.
    flushAt_ = waiting_ + kMaxWaiting;
}

std::int64_t ProgrammeCollector::Stop(const Programme& p, std::int64_t nextStart)
{
    std::int64_t stop = p.stop;
    // A stop before the start is most often a guide that forgot to move the date on past
    // midnight: a day later it ends after the start again. One further off says nothing of the
    // length, which is then taken as a programme's without a stop at the channel's end: never a
    // programme of a day and more out of a stop that came before the start.
    if (stop != kNoTime && stop < p.start)
        stop = stop + kDay > p.start ? stop + kDay : p.start + kUnknownLength;
    if (stop == kNoTime)
        return nextStart == kNoTime ? p.start + kUnknownLength : nextStart;
    return nextStart != kNoTime && stop > nextStart ? nextStart : stop;
}

void ProgrammeCollector::Flush(std::size_t channel, bool last)
{
    Channel& c = channels_[channel];
    std::vector<Programme>& w = c.waiting;
    waiting_ -= w.size();
    std::stable_sort(w.begin(), w.end(), [](const Programme& a, const Programme& b) {
        return a.start != b.start ? a.start < b.start : a.clump < b.clump;
    });
    std::size_t i = 0;
    std::size_t slotEnd = 0; // the end of the slot's programmes kept, from i
    while (i < w.size()) {
        std::size_t next = i + 1;
        while (next < w.size() && w[next].start == w[i].start)
            ++next;
        // Of the programmes at one start, one of each place in the clump: the first read.
        const auto kept =
            std::unique(w.begin() + static_cast<std::ptrdiff_t>(i), w.begin() + static_cast<std::ptrdiff_t>(next),
                        [](const Programme& a, const Programme& b) { return a.clump == b.clump; });
        slotEnd = static_cast<std::size_t>(kept - w.begin());
        if (next == w.size() && !last)
            break; // waits for the programme that follows it
        const std::int64_t nextStart = next < w.size() ? w[next].start : kNoTime;
        for (std::size_t k = i; k < slotEnd; ++k) {
            Programme& p = w[k];
            p.stop = Stop(p, nextStart);
            c.handedUntil = std::max(c.handedUntil, p.stop);
            if (p.stop > notBefore_)
                batch_.push_back(std::move(p));
        }
        i = next;
    }
    // A channel's room goes back once its run is out: twenty thousand channels each keeping the
    // room of a day's programmes would hold more than the programmes themselves.
    if (i < w.size()) {
        std::vector<Programme> held(std::make_move_iterator(w.begin() + static_cast<std::ptrdiff_t>(i)),
                                    std::make_move_iterator(w.begin() + static_cast<std::ptrdiff_t>(slotEnd)));
        w.swap(held);
    } else {
        std::vector<Programme>().swap(w);
    }
    waiting_ += w.size();
    if (batch_.empty())
        return;
    kept_ += batch_.size();
    for (const Programme& p : batch_)
        lastStop_ = std::max(lastStop_, p.stop);
    if (!c.kept) {
        c.kept = true;
        ++channelsKept_;
    }
    sink_.Take(channel, batch_);
    batch_.clear();
}

} // namespace quorvel
