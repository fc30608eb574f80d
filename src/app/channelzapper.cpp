#include "app/channelzapper.h"

#include "catalogue/channeltree.h"
#include "userdata/channelnumberstore.h"
#include "userdata/viewerdatabase.h"

namespace quorvel {

ChannelZapper::ChannelZapper(std::string catalogueFile) : catalogue_(std::move(catalogueFile)) { }

ChannelZapper::~ChannelZapper() = default;

void ChannelZapper::Invalidate() { numbers_.reset(); }

const ChannelNumbers& ChannelZapper::Numbers()
{
    if (numbers_)
        return *numbers_;
    std::unordered_map<std::string, std::string, FoldedNameHash, FoldedNameEqual> given;
    ChannelNumbers::Kept kept;
    try {
        if (!db_)
            db_ = std::make_unique<ViewerDatabase>(ViewerDatabase::FileBeside(catalogue_));
        // The first source to give a channel a number speaks for it.
        for (auto& [name, number] : db_->GivenChannelNumbers())
            given.try_emplace(std::move(name), std::move(number));
        // Numbers once given stay with their channels.
        for (auto& [name, number] : ChannelNumberStore::Read(*db_))
            kept.try_emplace(std::move(name), number);
    } catch (const std::exception&) {
        // Without the database (the playlists say why) channels are numbered by their places.
        db_.reset();
    }
    numbers_ = ChannelNumbers::Of(ChannelTree::Read(catalogue_), given, kept);
    return *numbers_;
}

int ChannelZapper::NumberOf(const QString& channel) { return Numbers().NumberOf(channel.toStdString()); }

QString ChannelZapper::CategoryOf(const QString& channel)
{
    const ChannelNumbers& numbers = Numbers();
    const ChannelNumbers::Channel* c = numbers.ChannelOf(numbers.NumberOf(channel.toStdString()));
    return c ? QString::fromStdString(c->category) : QString();
}

ChannelRef ChannelZapper::ChannelOf(int number)
{
    const ChannelNumbers::Channel* c = Numbers().ChannelOf(number);
    return c ? ChannelRef{QString::fromStdString(c->category), QString::fromStdString(c->name)} : ChannelRef();
}

} // namespace quorvel
