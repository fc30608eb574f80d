#include "catalogue/channeltree.h"

#include "base/nameindex.h"
#include "platform/inifile.h"
#include "platform/profilestore.h"

namespace quorvel {

ChannelTree ChannelTree::Read(const std::string& catalogueFile) { return Of(ProfileStore::Read(catalogueFile)); }

ChannelTree ChannelTree::Of(std::shared_ptr<const ProfileText> catalogueText)
{
    ChannelTree tree;
    tree.text_ = std::move(catalogueText);
    const ProfileText& text = *tree.text_;

    // One group per distinct "Layer1" name, matched exactly (letter case included).
    NameIndex groups(false);
    const auto layer1 = text.EntryViews("Layer1");
    tree.categories_.reserve(layer1.size());
    tree.groupOf_.reserve(layer1.size());
    for (const auto& [name, value] : layer1) {
        tree.categories_.push_back(name);
        tree.groupOf_.push_back(groups.Insert(name, static_cast<std::uint32_t>(groups.Size())));
    }
    const auto groupCount = static_cast<std::uint32_t>(groups.Size());
    const std::uint32_t none = groupCount; // the group of a channel shown nowhere

    // Each channel's group: that of its value as a read by name returns it, which for a name
    // standing twice (in any letter case) is the value of its first line, cut as reads cut.
    const auto layer2 = text.EntryViews("Layer2");
    std::vector<std::uint32_t> groupOfChannel(layer2.size());
    std::vector<std::uint64_t> hashes(layer2.size());
    NameIndex firstLine(true);
    firstLine.Reserve(layer2.size());
    for (std::size_t i = 0; i < layer2.size(); ++i)
        hashes[i] = firstLine.Hash(layer2[i].first);
    // A hundred thousand names land all over the index: its slots are fetched ahead.
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < layer2.size() && i < kAhead; ++i)
        firstLine.Prefetch(hashes[i]);
    std::vector<std::uint32_t> counts(groupCount + 1, 0);
    for (std::size_t i = 0; i < layer2.size(); ++i) {
        if (i + kAhead < layer2.size())
            firstLine.Prefetch(hashes[i + kAhead]);
        const std::string_view value = layer2[i].second.substr(0, IniFile::MaxValueLength);
        const std::uint32_t group = groups.Find(value);
        const std::uint32_t first =
            firstLine.Insert(hashes[i], layer2[i].first, group == NameIndex::npos ? none : group);
        groupOfChannel[i] = first;
        ++counts[first];
    }

    // Channels grouped, each group in "Layer2" order.
    tree.groupStart_.assign(groupCount + 1, 0);
    std::uint32_t at = 0;
    for (std::uint32_t g = 0; g < groupCount; ++g) {
        tree.groupStart_[g] = at;
        at += counts[g];
    }
    tree.groupStart_[groupCount] = at;
    tree.channels_.resize(at);
    std::vector<std::uint32_t> next(tree.groupStart_.begin(), tree.groupStart_.end() - 1);
    for (std::size_t i = 0; i < layer2.size(); ++i)
        if (groupOfChannel[i] != none)
            tree.channels_[next[groupOfChannel[i]]++] = layer2[i].first;
    return tree;
}

std::span<const std::string_view> ChannelTree::Channels(std::size_t category) const
{
    const std::uint32_t group = groupOf_[category];
    return std::span<const std::string_view>(channels_).subspan(groupStart_[group],
                                                                groupStart_[group + 1] - groupStart_[group]);
}

} // namespace quorvel
