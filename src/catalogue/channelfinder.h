#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace quorvel {

// Finds channels by a part of their name among the tree's channels, without regard to letter
// case in any script. Built once from the tree; each search returns the channels in tree order.
// Typing on (a text that contains the last one) searches only the last matches, so a keystroke
// stays cheap also among hundreds of thousands of channels.
class ChannelFinder {
public:
    struct Match {
        std::uint32_t category; // index of the category in the tree
        std::uint32_t channel;  // index of the channel within its category
        bool operator==(const Match&) const = default;
    };

    ChannelFinder() = default;
    // channels[c]: the names of category c's channels, in tree order.
    explicit ChannelFinder(const std::vector<std::vector<QString>>& channels);

    std::size_t ChannelCount() const { return category_.size(); }
    // The channels whose names contain text (all of them for an empty text).
    const std::vector<Match>& Find(const QString& text);

private:
    void Scan(const QString& needle);
    void Narrow(const QString& needle);

    QString names_;                       // every folded name, each followed by a '\n'
    std::vector<std::uint32_t> begin_;    // where channel i's name starts in names_ (one extra at the end)
    std::vector<std::uint32_t> category_; // channel i's category
    std::vector<std::uint32_t> position_; // channel i's index within its category
    std::vector<std::uint32_t> found_;    // the last matches, as channel numbers
    std::vector<Match> matches_;
    QString lastNeedle_;
    bool searched_ = false;
};

} // namespace quorvel
