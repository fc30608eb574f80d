#pragma once

#include "archive/catchupattributes.h"
#include "archive/readcatchup.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// A channel's catch-up as an importer keeps it: read as ReadCatchup does, and refused as well
// when no archive address can be made from the channel's live address. Placeholders of that
// address that mean nothing are added to unknownPlaceholders (each once over every call).
CatchupOutcome ReadChannelCatchup(const CatchupAttributes& channel, const CatchupAttributes& defaults,
                                  std::string_view liveAddress, std::vector<std::string>& unknownPlaceholders);

} // namespace quorvel
