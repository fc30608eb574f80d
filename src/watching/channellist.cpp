#include "watching/channellist.h"

namespace quorvel {

ChannelList::~ChannelList() = default;

int ChannelList::CategoryIndex(const QString& title) const
{
    for (int c = 0; c < CategoryCount(); ++c)
        if (CategoryTitle(c) == title)
            return c;
    return -1;
}

int ChannelList::ChannelIndex(int category, const QString& name) const
{
    if (category < 0)
        return -1;
    const int count = ChannelCount(category);
    for (int i = 0; i < count; ++i)
        if (ChannelName(category, i) == name)
            return i;
    return -1;
}

ChannelRef ChannelList::Find(const QString& category, const QString& name) const
{
    if (name.isEmpty())
        return {};
    if (ChannelIndex(CategoryIndex(category), name) >= 0)
        return {category, name};
    for (int c = 0; c < CategoryCount(); ++c)
        if (ChannelIndex(c, name) >= 0)
            return {CategoryTitle(c), name};
    return {};
}

} // namespace quorvel
