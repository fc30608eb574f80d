#pragma once

#include <QString>

namespace quorvel {

// A channel as the viewer's list names it: its name under a category. The same channel may
// stand under several categories (Favourites, Recently watched and its own); the category says
// which of its places was meant. A category alone has an empty name.
struct ChannelRef {
    QString category;
    QString name;

    bool IsChannel() const { return !name.isEmpty(); }
    bool IsEmpty() const { return category.isEmpty() && name.isEmpty(); }
};

bool operator==(const ChannelRef& a, const ChannelRef& b);
bool operator!=(const ChannelRef& a, const ChannelRef& b);

} // namespace quorvel
