#include "catalogue/channelnumbers.h"

#include "catalogue/channeltree.h"

#include <algorithm>

namespace quorvel {

int ChannelNumbers::Parse(std::string_view given)
{
    while (!given.empty() && given.front() == ' ')
        given.remove_prefix(1);
    while (!given.empty() && given.back() == ' ')
        given.remove_suffix(1);
    if (given.empty())
        return 0;
    long value = 0;
    for (const char c : given) {
        if (c < '0' || c > '9')
            return 0; // "5.1", "-3", "12a": not a number a viewer can type
        value = value * 10 + (c - '0');
        if (value > kMaxNumber)
            return 0;
    }
    return static_cast<int>(value);
}

ChannelNumbers::ChannelNumbers(const std::vector<Listed>& catalogueOrder, const Kept& kept)
{
    std::vector<int> given;
    std::vector<int> before;
    for (const Listed& l : catalogueOrder) {
        if (byName_.find(l.name) != byName_.end())
            continue;
        byName_.emplace(std::string(l.name), channels_.size());
        channels_.push_back(Channel{std::string(l.name), std::string(l.category), 0});
        given.push_back(Parse(l.given));
        const auto k = kept.find(l.name);
        before.push_back(k == kept.end() ? 0 : k->second);
    }
    auto claim = [this](std::size_t channel, int number) {
        if (number <= 0 || number > kMaxNumber || byNumber_.count(number))
            return false;
        byNumber_.emplace(number, channel);
        channels_[channel].number = number;
        return true;
    };
    const std::size_t count = channels_.size();
    for (std::size_t i = 0; i < count; ++i)
        claim(i, before[i]);
    for (std::size_t i = 0; i < count; ++i)
        if (channels_[i].number == 0)
            claim(i, given[i]);
    int highest = 0;
    std::vector<std::size_t> displaced;
    for (std::size_t i = 0; i < count; ++i) {
        if (channels_[i].number == 0 &&
            (given[i] != 0 || !claim(i, static_cast<int>(std::min<std::size_t>(i + 1, kMaxNumber + 1)))))
            displaced.push_back(i);
        highest = std::max(highest, channels_[i].number);
    }
    // The next free number at or above n: a number taken points past itself, and the chains
    // are shortened as they are walked, so a hundred thousand channels given the same few
    // numbers cost no walk over every taken one each.
    std::vector<int> after;
    auto nextFree = [this, &after](int n) {
        if (after.empty()) {
            after.resize(kMaxNumber + 2);
            for (int k = 0; k <= kMaxNumber + 1; ++k)
                after[k] = byNumber_.count(k) ? k + 1 : k;
        }
        int free = n;
        while (after[free] != free)
            free = after[free];
        while (after[n] != free) {
            const int next = after[n];
            after[n] = free;
            n = next;
        }
        return free;
    };
    for (const std::size_t i : displaced) {
        int number = 0;
        if (given[i] != 0)
            number = nextFree(given[i] + 1);
        if (number == 0 || number > kMaxNumber)
            number = highest + 1;
        if (claim(i, number)) {
            highest = std::max(highest, number);
            if (!after.empty())
                after[number] = number + 1;
        }
    }
}

ChannelNumbers
ChannelNumbers::Of(const ChannelTree& tree,
                   const std::unordered_map<std::string, std::string, FoldedNameHash, FoldedNameEqual>& given,
                   const Kept& kept)
{
    std::vector<Listed> order;
    for (std::size_t c = 0; c < tree.CategoryCount(); ++c)
        for (const std::string_view name : tree.Channels(c)) {
            const auto g = given.find(name);
            order.push_back(Listed{name, tree.Category(c), g == given.end() ? std::string_view() : g->second});
        }
    return ChannelNumbers(order, kept);
}

int ChannelNumbers::NumberOf(std::string_view channel) const
{
    const auto at = byName_.find(channel);
    return at == byName_.end() ? 0 : channels_[at->second].number;
}

const ChannelNumbers::Channel* ChannelNumbers::ChannelOf(int number) const
{
    const auto at = byNumber_.find(number);
    return at == byNumber_.end() ? nullptr : &channels_[at->second];
}

} // namespace quorvel
