#pragma once

#include "base/foldednames.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvel {

class ChannelTree;

// The number a viewer types to reach a channel, as a television has it. A channel's playlist may
// give it one ("tvg-chno"); any other channel is numbered by its place in catalogue order
// (categories in order, each with its channels, counting from 1).
//
// Where two claims meet, the rule is:
//  1. A number the playlist gave wins. Two channels given the same number: the first in
//     catalogue order keeps it, the other counts as given none.
//  2. A channel given none takes its place in catalogue order, unless a given number holds it.
//  3. A channel left without a number by 1 or 2 is numbered after the highest number in use, in
//     catalogue order; so no other channel's number moves because of it.
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

    ChannelNumbers() = default;
    explicit ChannelNumbers(const std::vector<Listed>& catalogueOrder);
    // The catalogue's channels, with the numbers the playlists gave by channel name.
    static ChannelNumbers
    Of(const ChannelTree& tree,
       const std::unordered_map<std::string, std::string, FoldedNameHash, FoldedNameEqual>& given);

    // The channel's number; 0 when there is no such channel.
    int NumberOf(std::string_view channel) const;
    // The channel of that number; null when none has it.
    const Channel* ChannelOf(int number) const;
    std::size_t Count() const { return channels_.size(); }

    // The number a playlist's text gives; 0 when it gives none that counts.
    static int Parse(std::string_view given);

private:
    std::vector<Channel> channels_; // catalogue order, each once
    std::unordered_map<std::string, std::size_t, FoldedNameHash, FoldedNameEqual> byName_;
    std::unordered_map<int, std::size_t> byNumber_;
};

} // namespace quorvel
