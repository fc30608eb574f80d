// Splits arbitrary bytes into a live address and catch-up attributes (a channel's and the
// playlist's defaults), reads them and makes and fills in the archive address; checks that
// every answer is whole and bounded by what went in.
#include "archive/archiveaddress.h"
#include "archive/archivetemplate.h"
#include "archive/readcatchup.h"
#include "archive/redactedaddress.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace quorvel;

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// "@start end now offset": the moments to fill in, each left as it was when absent.
void ReadTimes(std::string_view line, ArchiveTimes& times)
{
    std::int64_t* const fields[] = {&times.start, &times.end, &times.now};
    const char* p = line.data() + 1;
    const char* const end = line.data() + line.size();
    for (std::int64_t* field : fields) {
        while (p < end && *p == ' ')
            ++p;
        p = std::from_chars(p, end, *field).ptr;
    }
    while (p < end && *p == ' ')
        ++p;
    std::from_chars(p, end, times.offsetMinutes);
}

void CheckExpanded(std::string_view archiveTemplate, const ArchiveTimes& times)
{
    const ArchiveAddress address = ExpandArchiveTemplate(archiveTemplate, times);
    // No value is longer than four times its placeholder ("{Y}" is four digits at most).
    Check(address.address.size() <= 4 * archiveTemplate.size() + 32);
    std::size_t reported = 0;
    for (const std::string& unknown : address.unknownPlaceholders) {
        Check(unknown.size() >= 2 && (unknown.front() == '{' || unknown.front() == '$') && unknown.back() == '}');
        reported += unknown.size();
    }
    Check(reported <= archiveTemplate.size());
    const std::string redacted = RedactedArchiveAddress(address.address);
    Check(RedactedArchiveAddress(redacted) == redacted);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string_view live;
    CatchupAttributes channel;
    CatchupAttributes defaults;
    ArchiveTimes times = {1796668200, 1796673600, 1796671925, 330};
    std::size_t at = 0;
    for (bool first = true; at <= bytes.size(); first = false) {
        const std::size_t lineEnd = std::min(bytes.find('\n', at), bytes.size());
        std::string_view line = bytes.substr(at, lineEnd - at);
        at = lineEnd + 1;
        if (first) {
            live = line;
        } else if (!line.empty() && line.front() == '@') {
            ReadTimes(line, times);
        } else {
            // "#name=value" is the playlist's default, "name=value" the channel's own.
            CatchupAttributes& target = !line.empty() && line.front() == '#' ? defaults : channel;
            if (!line.empty() && line.front() == '#')
                line.remove_prefix(1);
            const std::size_t equals = line.find('=');
            if (equals != std::string_view::npos)
                TakeCatchupAttribute(target, line.substr(0, equals), line.substr(equals + 1));
        }
    }

    // The live address itself as a template: placeholders from anywhere must be safe to fill.
    CheckExpanded(live, times);

    const CatchupOutcome outcome = ReadCatchup(channel, defaults);
    if (outcome.state == CatchupState::Refused) {
        Check(!outcome.reason.empty() && outcome.reason.size() <= 300);
        Check(outcome.reason.find('\n') == std::string::npos);
        return 0;
    }
    if (outcome.state == CatchupState::None)
        return 0;
    const Catchup& catchup = outcome.catchup;
    Check(catchup.days >= 1 && catchup.days <= kMaxCatchupDays);
    Check(catchup.correctionMinutes >= -24 * 60 && catchup.correctionMinutes <= 24 * 60);
    Check(catchup.source.size() <= kMaxCatchupSource);

    const ArchiveTemplate made = MakeArchiveTemplate(catchup, live);
    Check(made.text.empty() != made.reason.empty());
    Check(made.text.size() <= 3 * (live.size() + catchup.source.size()) + 128);
    CheckExpanded(made.text, times);
    CanPlayFromArchive(catchup, times.start, times.now);
    if (const auto over = StartOverAddress(made.text, catchup, times))
        Check(over->address.size() <= 4 * made.text.size() + 32);
    const std::string redacted = RedactedArchiveAddress(live);
    Check(RedactedArchiveAddress(redacted) == redacted);
    return 0;
}
