#pragma once

#include "base/foldednames.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvel {

class ChannelTree;

// The number a viewer types to reach a channel, as a television has it. A channel keeps the
// number it was once given: the numbers are stored (beside the catalogue, in the viewer's data)
// and handed back as kept numbers, so that a playlist added later never moves a channel the
// viewer knows. Only channels without a kept number are numbered anew. A channel's playlist may
// give it one ("tvg-chno"); any other channel is numbered by its place in catalogue order
// (categories in order, each with its channels, counting from 1).
//
// Where two claims meet, the rule is:
//  1. A kept number stays with its channel. (Two channels kept with one number, which only a
//     database changed by hand holds: the first in catalogue order keeps it.)
//  2. A number the playlist gave is taken next, in catalogue order, where no channel holds it.
//  3. A channel given none takes its place in catalogue order, unless a number from 1 or 2
//     holds it.
//  4. A channel whose given number was held gets the next free number above it; a channel
//     whose place was held is numbered after the highest number in use. Either way, in
//     catalogue order, and no other channel's number moves because of it.
// A given number is whole digits from 1 to kMaxNumber (spaces around it allowed); anything else
// counts as none. A channel listed twice (a category named twice) has one number, at its first
// place. Names compare without regard to ASCII letter case, as catalogue lookups do.
class ChannelNumbers {
public:
    static constexpr int kMaxNumber = 99999;

    struct Channel {
        std::string name;
        std::string category;
        int number = 0;
    };

    // An input channel: its name, its category and what its playlist gave ("" for nothing).
    struct Listed {
        std::string_view name;
        std::string_view category;
        std::string_view given;
    };

    // Numbers channels were given before, by channel name.
    using Kept = std::unordered_map<std::string, int, FoldedNameHash, FoldedNameEqual>;

    ChannelNumbers() = default;
    explicit ChannelNumbers(const std::vector<Listed>& catalogueOrder, const Kept& kept = {});
    // The catalogue's channels, with the numbers the playlists gave by channel name.
    static ChannelNumbers Of(const ChannelTree& tree,
                             const std::unordered_map<std::string, std::string, FoldedNameHash, FoldedNameEqual>& given,
                             const Kept& kept = {});

    // The channel's number; 0 when there is no such channel.
    int NumberOf(std::string_view channel) const;
    // The channel of that number; null when none has it.
    const Channel* ChannelOf(int number) const;
    std::size_t Count() const { return channels_.size(); }
    // Every channel with its number, in catalogue order (number 0: none was left for it).
    const std::vector<Channel>& Channels() const { return channels_; }

    // The number a playlist's text gives; 0 when it gives none that counts.
    static int Parse(std::string_view given);

private:
    std::vector<Channel> channels_; // catalogue order, each once
    std::unordered_map<std::string, std::size_t, FoldedNameHash, FoldedNameEqual> byName_;
    std::unordered_map<int, std::size_t> byNumber_;
};

} // namespace quorvel
