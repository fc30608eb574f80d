#include "guide/channelbinding.h"

#include "guide/guidenames.h"

namespace quorvel {

ChannelBinding::ChannelBinding(const std::vector<WantedChannel>& wanted) : candidates_(wanted.size())
{
    for (std::uint32_t i = 0; i < wanted.size(); ++i) {
        const WantedChannel& channel = wanted[i];
        if (std::string id = FoldGuideName(channel.tvgId); !id.empty())
            byTvgId_[std::move(id)].push_back(i);
        const std::string tvgName = FoldGuideName(channel.tvgName, true);
        const std::string name = FoldGuideName(channel.name);
        if (!tvgName.empty())
            byName_[tvgName].push_back({i, 1});
        if (!name.empty() && name != tvgName)
            byName_[name].push_back({i, 2});
    }
}

const std::string& ChannelBinding::Key(std::string_view id)
{
    FoldGuideName(id, false, key_);
    return key_;
}

void ChannelBinding::Offer(std::uint32_t channel, const std::string& id, int rank)
{
    Candidate& candidate = candidates_[channel];
    if (candidate.bound || rank >= candidate.rank)
        return;
    if (candidate.rank == kNoMatch)
        offered_.push_back(channel);
    candidate.id = id;
    candidate.rank = rank;
}

void ChannelBinding::Declare(std::string_view id, const std::vector<std::string>& displayNames)
{
    const std::string& key = Key(id);
    if (key.empty())
        return;
    if (declared_.size() < kMaxRemembered)
        declared_.insert(key);
    if (auto it = byTvgId_.find(key); it != byTvgId_.end())
        for (std::uint32_t channel : it->second)
            Offer(channel, key, 0);
    for (const std::string& displayName : displayNames) {
        FoldGuideName(displayName, false, nameKey_);
        if (auto it = byName_.find(nameKey_); it != byName_.end())
            for (const NameUse& use : it->second)
                Offer(use.channel, key, use.rank);
    }
}

void ChannelBinding::Bind(std::uint32_t channel, const std::string& id)
{
    Candidate& candidate = candidates_[channel];
    candidate.bound = true;
    candidate.id.clear();
    candidate.id.shrink_to_fit();
    ++boundCount_;
    Route& route = routes_[id];
    if (route.empty())
        newlyBound_.push_back(id);
    route.push_back(channel);
}

void ChannelBinding::Settle()
{
    for (std::uint32_t channel : offered_) {
        // Bind copies the id before the candidate gives it up.
        const std::string id = candidates_[channel].id;
        if (!candidates_[channel].bound)
            Bind(channel, id);
    }
    offered_.clear();
}

const ChannelBinding::Route* ChannelBinding::RouteOf(std::string_view id)
{
    if (!offered_.empty())
        Settle();
    const std::string& key = Key(id);
    if (auto it = routes_.find(key); it != routes_.end())
        return &it->second;
    auto wanted = byTvgId_.find(key);
    if (wanted == byTvgId_.end())
        return nullptr;
    for (std::uint32_t channel : wanted->second)
        if (!candidates_[channel].bound)
            Bind(channel, key);
    auto it = routes_.find(key);
    return it == routes_.end() ? nullptr : &it->second;
}

bool ChannelBinding::IsDeclared(std::string_view id) { return declared_.count(Key(id)) != 0; }

std::vector<std::string> ChannelBinding::TakeNewlyBound()
{
    std::vector<std::string> ids;
    ids.swap(newlyBound_);
    return ids;
}

} // namespace quorvel
