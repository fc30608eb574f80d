#pragma once

#include "watching/channelref.h"

#include <QString>

namespace quorvel {

// A programme playing from the provider's archive instead of its channel live: which channel,
// what the guide calls it and when it was on (Unix seconds), and the archive's address.
struct ArchiveProgramme {
    ChannelRef channel;
    QString title;
    qint64 start = 0;
    qint64 stop = 0;
    QString address;
    bool startOver = false; // the programme on now, from its start
};

} // namespace quorvel
