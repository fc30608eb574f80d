#pragma once

#include "archive/catchup.h"

#include <cstdint>

namespace quorvel {

// A moment as a calendar shows it.
struct CivilTime {
    int year = 1970;
    int month = 1; // 1 to 12
    int day = 1;   // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The Unix time unixTime on a clock offsetMinutes ahead of UTC. Kept between 1970 and 9999.
CivilTime ProviderCivilTime(std::int64_t unixTime, int offsetMinutes);

// Minutes the local zone (TZ, as the C library reads it) is ahead of UTC at unixTime.
int LocalOffsetMinutes(std::int64_t unixTime);

// The provider's clock for a programme starting at start: the local zone's offset then, plus the
// channel's catchup-correction, plus the guide's tvg-shift in minutes.
int ProviderOffsetMinutes(const Catchup& catchup, std::int64_t start, int guideShiftMinutes);

} // namespace quorvel
