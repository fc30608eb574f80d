#pragma once

#include "watching/channelref.h"

#include <QString>

namespace quorvel {

// Where the viewer sees and picks channels: categories in their order, each with its channels
// in theirs, one of them selected. Choosing a channel there plays it, as a click does.
class ChannelList {
public:
    virtual ~ChannelList();

    virtual int CategoryCount() const = 0;
    virtual QString CategoryTitle(int category) const = 0;
    virtual int ChannelCount(int category) const = 0;
    virtual QString ChannelName(int category, int channel) const = 0;
    // A favourite whose channel no playlist lists now: it stays in its list and plays nothing.
    virtual bool IsGone(int category, int channel) const = 0;

    // The selected channel, or a category with no name, or nothing.
    virtual ChannelRef Selected() const = 0;
    // Selects the channel (its category opened, the row in sight), which plays it.
    virtual void Choose(const ChannelRef& channel) = 0;
    // Plays the selected channel although the selection stays as it is.
    virtual void PlaySelected() = 0;

    // The category of that title, else -1; the channel of that name in it, else -1.
    int CategoryIndex(const QString& title) const;
    int ChannelIndex(int category, const QString& name) const;
    // The channel under the category of that title when it has one there, else its first place.
    ChannelRef Find(const QString& category, const QString& name) const;
};

} // namespace quorvel
