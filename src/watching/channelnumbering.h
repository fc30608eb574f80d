#pragma once

#include "watching/channelref.h"

#include <QString>

namespace quorvel {

// Channel numbers as a television has them, and each channel's own category (the catalogue's,
// whichever list it was chosen from).
class ChannelNumbering {
public:
    virtual ~ChannelNumbering();

    // 0 for a channel with no number.
    virtual int NumberOf(const QString& channel) = 0;
    virtual QString CategoryOf(const QString& channel) = 0;
    // The channel of that number, empty when none has it.
    virtual ChannelRef ChannelOf(int number) = 0;
};

} // namespace quorvel
