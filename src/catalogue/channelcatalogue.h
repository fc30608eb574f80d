#pragma once

#include <string>
#include <vector>

namespace quorvel {

// One category of the channel tree with its channels, in tree order.
struct ChannelCategory {
    std::string name;
    std::vector<std::string> channels;
    bool operator==(const ChannelCategory&) const = default;
};

// The channel catalogue file: categories in "Layer1", each channel's category in "Layer2",
// each channel's stream address in "Programs".
class ChannelCatalogue {
public:
    static constexpr const char* FileName = "VisibleAPI.dat";

    explicit ChannelCatalogue(std::string fileName);

    // The fifteen categories a new catalogue starts with, in order.
    static const std::vector<std::string>& DefaultCategories();

    // Writes the default categories, each with an empty value; throws EIniFileException.
    void WriteDefaults() const;

    // The tree: every "Layer1" key in file order (twice if listed twice), each with the
    // "Layer2" channels whose value is exactly that key (same bytes, letter case included),
    // in "Layer2" order. "Layer2" is listed and read once, however many categories there are.
    std::vector<ChannelCategory> ReadTree() const;

    // The channel's stream address; empty when it has none.
    std::string StreamAddress(const std::string& channel) const;

private:
    std::string fileName_;
};

} // namespace quorvel
