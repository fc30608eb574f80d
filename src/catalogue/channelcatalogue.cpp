#include "catalogue/channelcatalogue.h"

#include "catalogue/channeltree.h"
#include "platform/inifile.h"

namespace quorvel {

ChannelCatalogue::ChannelCatalogue(std::string fileName) : fileName_(std::move(fileName)) { }

const std::vector<std::string>& ChannelCatalogue::DefaultCategories()
{
    static const std::vector<std::string> categories = {
        "New Channels", "Business News", "Educational", "Entertainment", "Government",
        "Sports",       "Kids",          "Lifestyle",   "Movies",        "Music",
        "News (Live)",  "News (Vod)",    "Weather",     "Shopping",      "Webcam Streams",
    };
    return categories;
}

void ChannelCatalogue::WriteDefaults() const
{
    // All categories in one change of the file: a start cut short never leaves a catalogue
    // that exists with only some of them, which no later start would complete.
    std::vector<std::pair<std::string, std::string>> entries;
    for (const auto& category : DefaultCategories())
        entries.emplace_back(category, "");
    IniFile(fileName_).WriteSectionValues("Layer1", entries);
}

std::vector<ChannelCategory> ChannelCatalogue::ReadTree() const
{
    const ChannelTree tree = ChannelTree::Read(fileName_);
    std::vector<ChannelCategory> categories;
    categories.reserve(tree.CategoryCount());
    for (std::size_t c = 0; c < tree.CategoryCount(); ++c) {
        const auto channels = tree.Channels(c);
        categories.push_back(ChannelCategory{std::string(tree.Category(c)), {channels.begin(), channels.end()}});
    }
    return categories;
}

std::string ChannelCatalogue::StreamAddress(const std::string& channel) const
{
    return IniFile(fileName_).ReadValue("Programs", channel, "");
}

} // namespace quorvel
