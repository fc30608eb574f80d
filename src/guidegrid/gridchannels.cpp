#include "guidegrid/gridchannels.h"

#include "base/foldednames.h"
#include "catalogue/channeltree.h"

#include <string_view>
#include <unordered_map>

namespace quorvel {

GridChannels::GridChannels(const std::string& catalogueFile, const std::vector<std::string>& favourites)
{
    const ChannelTree tree = ChannelTree::Read(catalogueFile);
    std::unordered_map<std::string_view, int, FoldedNameHash, FoldedNameEqual> found;
    for (std::size_t c = 0; c < tree.CategoryCount(); ++c) {
        const QString title =
            QString::fromUtf8(tree.Category(c).data(), static_cast<qsizetype>(tree.Category(c).size()));
        // A category listed twice is one group of channels: they show once, under its first place.
        if (categories_.contains(title))
            continue;
        categories_.push_back(title);
        for (std::string_view name : tree.Channels(c)) {
            if (!found.try_emplace(name, static_cast<int>(rows_.size())).second)
                continue;
            rows_.push_back({QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), title});
            categoryOf_.push_back(static_cast<int>(categories_.size()) - 1);
        }
    }
    for (const std::string& name : favourites)
        if (const auto it = found.find(std::string_view(name)); it != found.end())
            favourites_.push_back(it->second);
    Filter(kAll, QString());
}

void GridChannels::Filter(int choice, const QString& text)
{
    if (choice < kAll || choice > kFavourites + static_cast<int>(categories_.size()))
        choice = kAll;
    choice_ = choice;
    shown_.clear();
    const QString needle = text.trimmed();
    auto take = [&](int row) {
        if (needle.isEmpty() || rows_[static_cast<std::size_t>(row)].name.contains(needle, Qt::CaseInsensitive))
            shown_.push_back(row);
    };
    if (choice == kFavourites) {
        for (int row : favourites_)
            take(row);
        return;
    }
    const int category = choice - kFavourites - 1;
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row)
        if (choice == kAll || categoryOf_[static_cast<std::size_t>(row)] == category)
            take(row);
}

int GridChannels::RowOf(const QString& name) const
{
    for (int row = 0; row < Count(); ++row)
        if (At(row).name.compare(name, Qt::CaseInsensitive) == 0)
            return row;
    return -1;
}

} // namespace quorvel
