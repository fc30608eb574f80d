#include "archive/channelcatchup.h"

#include "archive/archiveaddress.h"
#include "archive/archivetemplate.h"

#include <algorithm>

namespace quorvel {

CatchupOutcome ReadChannelCatchup(const CatchupAttributes& channel, const CatchupAttributes& defaults,
                                  std::string_view liveAddress, std::vector<std::string>& unknownPlaceholders)
{
    CatchupOutcome outcome = ReadCatchup(channel, defaults);
    if (outcome.state != CatchupState::Ready)
        return outcome;
    const ArchiveTemplate made = MakeArchiveTemplate(outcome.catchup, liveAddress);
    if (made.text.empty()) {
        outcome.state = CatchupState::Refused;
        outcome.reason = made.reason;
        return outcome;
    }
    // Any moment shows which placeholders mean nothing: that does not depend on the times.
    const ArchiveAddress probe = ExpandArchiveTemplate(made.text, ArchiveTimes{3600, 7200, 7200, 0});
    for (const std::string& unknown : probe.unknownPlaceholders)
        if (std::find(unknownPlaceholders.begin(), unknownPlaceholders.end(), unknown) == unknownPlaceholders.end())
            unknownPlaceholders.push_back(unknown);
    return outcome;
}

} // namespace quorvel
