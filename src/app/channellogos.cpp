#include "app/channellogos.h"

#include "logos/logocache.h"
#include "userdata/viewerdatabase.h"

#include <cstdio>

namespace quorvel {

ChannelLogos::ChannelLogos(std::string catalogueFile, QObject* parent)
    : QObject(parent), cache_(new LogoCache({}, this)), catalogue_(std::move(catalogueFile))
{
    connect(cache_, &LogoCache::logoReady, this, &ChannelLogos::changed);
}

void ChannelLogos::Reload()
{
    QHash<QString, Entry> byName;
    try {
        ViewerDatabase db(ViewerDatabase::FileBeside(catalogue_));
        for (const ChannelLogo& logo : db.ChannelLogos()) {
            const QString name = QString::fromStdString(logo.name).toCaseFolded();
            if (!byName.contains(name))
                byName.insert(name, Entry{QString::fromStdString(logo.address), logo.options});
        }
    } catch (const std::exception&) {
        // Without the database the channels show the tree's own image; the playlists say why.
        return;
    }
    byName_ = std::move(byName);
    emit changed();
}

const ChannelLogos::Entry* ChannelLogos::Find(const QString& channel) const
{
    const auto it = byName_.constFind(channel.toCaseFolded());
    return it == byName_.constEnd() ? nullptr : &it.value();
}

bool ChannelLogos::Has(const QString& channel) const { return Find(channel) != nullptr; }

QImage ChannelLogos::Logo(const QString& channel, int side)
{
    const Entry* entry = Find(channel);
    return entry ? cache_->Logo(entry->address, side, entry->options) : QImage();
}

QString ChannelLogos::File(const QString& channel)
{
    const Entry* entry = Find(channel);
    return entry ? cache_->CachedFile(entry->address, entry->options) : QString();
}

} // namespace quorvel
