#include "guide/programmelist.h"

#include <algorithm>

namespace quorvel {
namespace {

bool Earlier(const Programme& a, const Programme& b) { return a.start < b.start; }

} // namespace

void ProgrammeList::Take(std::size_t channel, std::span<Programme> programmes)
{
    if (channel >= channels_.size())
        channels_.resize(channel + 1);
    std::vector<Programme>& list = channels_[channel];
    const std::size_t before = list.size();
    for (Programme& p : programmes)
        list.push_back(std::move(p));
    size_ += programmes.size();
    if (before > 0 && !std::is_sorted(list.begin() + static_cast<std::ptrdiff_t>(before) - 1, list.end(), Earlier))
        std::stable_sort(list.begin(), list.end(), Earlier);
}

const std::vector<Programme>& ProgrammeList::Of(std::size_t channel) const
{
    static const std::vector<Programme> none;
    return channel < channels_.size() ? channels_[channel] : none;
}

ProgrammeList::NowAndNext ProgrammeList::At(std::size_t channel, std::int64_t instant) const
{
    const std::vector<Programme>& list = Of(channel);
    NowAndNext result;
    auto after = std::upper_bound(list.begin(), list.end(), instant,
                                  [](std::int64_t t, const Programme& p) { return t < p.start; });
    if (after != list.begin()) {
        // The first of the clump that starts then.
        auto now = std::prev(after);
        while (now != list.begin() && std::prev(now)->start == now->start)
            --now;
        if (now->stop > instant)
            result.now = &*now;
    }
    if (after != list.end())
        result.next = &*after;
    return result;
}

} // namespace quorvel
