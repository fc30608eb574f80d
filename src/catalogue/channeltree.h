#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class ProfileText;

// The channel tree of a catalogue, as ChannelCatalogue::ReadTree describes it, read in one
// pass over "Layer2" with nothing copied: names are views into the catalogue's text, which the
// tree keeps alive. A hundred thousand channels cost no string and no hash-map node each.
class ChannelTree {
public:
    // The tree of the catalogue file as it is now; empty when it is missing or unreadable.
    static ChannelTree Read(const std::string& catalogueFile);
    // The tree of a catalogue's text (one not yet in place, such as a change about to be made).
    static ChannelTree Of(std::shared_ptr<const ProfileText> text);

    // Categories: every "Layer1" key in file order (twice if listed twice).
    std::size_t CategoryCount() const { return categories_.size(); }
    std::string_view Category(std::size_t category) const { return categories_[category]; }
    // The channels of a category, in "Layer2" order.
    std::span<const std::string_view> Channels(std::size_t category) const;

private:
    std::shared_ptr<const ProfileText> text_;
    std::vector<std::string_view> categories_;
    std::vector<std::uint32_t> groupOf_;    // by category: its group (a name listed twice is one group)
    std::vector<std::uint32_t> groupStart_; // by group, plus one: where its channels start in channels_
    std::vector<std::string_view> channels_;
};

} // namespace quorvel
