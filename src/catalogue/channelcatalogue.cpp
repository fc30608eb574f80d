#include "channelcatalogue.h"

#include "inifile.h"

#include <unordered_map>

namespace quorvel {

ChannelCatalogue::ChannelCatalogue(std::string fileName) : fileName_(std::move(fileName)) {}

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
    const IniFile ini(fileName_);
    std::vector<std::string> categories;
    ini.ListKeys("Layer1", categories);

    // Channels grouped by the exact text of their category, in "Layer2" order. A channel
    // name standing twice (in any letter case) reads the value of its first line, as a read
    // by name does.
    std::unordered_map<std::string, std::string> firstValue;
    std::unordered_map<std::string, std::vector<std::string>> byCategory;
    for (auto& [channel, category] : ini.ReadSectionValues("Layer2")) {
        std::string folded = channel;
        for (char& c : folded)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        const auto [it, fresh] = firstValue.try_emplace(std::move(folded), category);
        byCategory[it->second].push_back(channel);
    }

    std::vector<ChannelCategory> tree;
    tree.reserve(categories.size());
    for (auto& name : categories) {
        ChannelCategory node{name, {}};
        if (const auto it = byCategory.find(name); it != byCategory.end())
            node.channels = it->second;
        tree.push_back(std::move(node));
    }
    return tree;
}

std::string ChannelCatalogue::StreamAddress(const std::string& channel) const
{
    return IniFile(fileName_).ReadValue("Programs", channel, "");
}

} // namespace quorvel
