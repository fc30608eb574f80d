#pragma once

#include "archive/catchup.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The moments an archive address is made for: Unix seconds, and the provider's zone.
struct ArchiveTimes {
    std::int64_t start = 0; // the programme's start
    std::int64_t end = 0;   // the programme's end
    std::int64_t now = 0;
    // Minutes the provider's clock is ahead of UTC: the local zone's offset at the start, plus
    // catchup-correction, plus the guide's tvg-shift (see ProviderOffsetMinutes).
    int offsetMinutes = 0;
};

struct ArchiveAddress {
    std::string address;
    // Placeholders left as written because they mean nothing here, each once, in order.
    std::vector<std::string> unknownPlaceholders;
};

// The template with its placeholders filled in:
//   {utc} ${start}            the start, Unix seconds
//   {utcend} ${end}           the end
//   {lutc} ${now} ${timestamp} now
//   {duration} {duration:N}   end − start in seconds, divided by N
//   {offset:N} ${offset}      now − start in seconds, divided by N (1 for ${offset})
//   {Y} {m} {d} {H} {M} {S}   the start on the provider's clock, zero-padded
//   {utc:F} {utcend:F} ${start:F} ${end:F}   start or end on the provider's clock, F's letters
//                             Y m d H M S replaced by those fields and the rest kept
// Times are kept between 1970 and 9999, so every value has a bounded length.
ArchiveAddress ExpandArchiveTemplate(std::string_view archiveTemplate, const ArchiveTimes& times);

// Whether the programme starting at start is in the archive: started, and not more than the
// catch-up's days before now.
bool CanPlayFromArchive(const Catchup& catchup, std::int64_t start, std::int64_t now);

// The archive address that plays the programme on now from its start; none when times.now is not
// within the programme or the programme is not in the archive.
std::optional<ArchiveAddress> StartOverAddress(std::string_view archiveTemplate, const Catchup& catchup,
                                               const ArchiveTimes& times);

} // namespace quorvel
