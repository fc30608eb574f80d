#include "watching/channelref.h"

namespace quorvel {

bool operator==(const ChannelRef& a, const ChannelRef& b) { return a.category == b.category && a.name == b.name; }

bool operator!=(const ChannelRef& a, const ChannelRef& b) { return !(a == b); }

} // namespace quorvel
