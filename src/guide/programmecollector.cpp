#include "guide/programmecollector.h"

#include <algorithm>

namespace quorvel {

ProgrammeCollector::ProgrammeCollector(std::vector<std::int64_t> shiftSeconds, GuideSink& sink, std::int64_t notBefore)
    : shift_(std::move(shiftSeconds)), sink_(sink), notBefore_(notBefore), channels_(shift_.size())
{
}

void ProgrammeCollector::Add(std::size_t channel, Programme programme)
{
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
    if (waiting_ >= kMaxWaiting + channels_.size())
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
}

void ProgrammeCollector::Flush(std::size_t channel, bool last)
{
    Channel& c = channels_[channel];
    std::vector<Programme>& w = c.waiting;
    waiting_ -= w.size();
    std::stable_sort(w.begin(), w.end(), [](const Programme& a, const Programme& b) { return a.start < b.start; });
    std::size_t i = 0;
    while (i < w.size()) {
        std::size_t next = i + 1;
        while (next < w.size() && w[next].start == w[i].start)
            ++next;
        Programme& p = w[i];
        if (next == w.size() && !last)
            break; // waits for the programme that follows it
        if (next < w.size()) {
            const std::int64_t nextStart = w[next].start;
            if (p.stop == kNoTime || p.stop <= p.start || p.stop > nextStart)
                p.stop = nextStart;
        } else if (p.stop == kNoTime || p.stop <= p.start) {
            i = next;
            continue;
        }
        c.handedUntil = p.stop;
        if (p.stop > notBefore_)
            batch_.push_back(std::move(p));
        i = next;
    }
    // A channel's room goes back once its run is out: twenty thousand channels each keeping the
    // room of a day's programmes would hold more than the programmes themselves.
    if (i < w.size()) {
        std::vector<Programme> held;
        held.push_back(std::move(w[i]));
        w.swap(held);
    } else {
        std::vector<Programme>().swap(w);
    }
    waiting_ += w.size();
    if (batch_.empty())
        return;
    kept_ += batch_.size();
    lastStop_ = std::max(lastStop_, batch_.back().stop);
    if (!c.kept) {
        c.kept = true;
        ++channelsKept_;
    }
    sink_.Take(channel, batch_);
    batch_.clear();
}

} // namespace quorvel
