// Feeds arbitrary bytes, plain or as they come out of gzip, to the guide reader in chunks, and
// checks what a store would be handed; and asks of them whether they are a guide at all.
#include "guide/guidecontent.h"
#include "guide/guidereader.h"
#include "guide/xmltvparser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace quorvel;

namespace {

const std::vector<WantedChannel>& Wanted()
{
    static const std::vector<WantedChannel> wanted = {
        {"One", "one", "", std::nullopt}, {"Two", "", "Second_Channel", 1.5}, {"Первый", "", "", std::nullopt},
        {"One again", "one", "", -0.5},   {"x", "x", "x", std::nullopt},
    };
    return wanted;
}

struct CheckingSink : GuideSink {
    struct Slot {
        std::int64_t start = INT64_MIN;
        int clump = 0;
        std::int64_t until = INT64_MIN; // the latest stop handed out
    };
    std::vector<Slot> last = std::vector<Slot>(Wanted().size());
    void Take(std::size_t channel, std::span<Programme> programmes) override
    {
        if (channel >= last.size() || programmes.empty())
            __builtin_trap();
        for (const Programme& p : programmes) {
            // In order, not overlapping what came before, never ending before they start; the
            // programmes of one clump share their start, in clump order.
            Slot& slot = last[channel];
            if (p.stop <= p.start || p.clump < 0 || p.clump >= XmltvParser::kClumpLimit)
                __builtin_trap();
            if (p.start == slot.start) {
                if (p.clump <= slot.clump)
                    __builtin_trap();
            } else if (p.start < slot.until) {
                __builtin_trap();
            }
            slot.start = p.start;
            slot.clump = p.clump;
            slot.until = std::max(slot.until, p.stop);
            if (p.title.size() > XmltvParser::kTitleLimit || p.subTitle.size() > XmltvParser::kSubTitleLimit ||
                p.description.size() > XmltvParser::kDescriptionLimit ||
                p.category.size() > XmltvParser::kCategoryLimit)
                __builtin_trap();
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte chooses the chunk size, so that every boundary gets its turn.
    if (size == 0)
        return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const std::size_t length = size - 1;
    GuideContent::IsGuide(std::string_view(bytes, length));
    CheckingSink sink;
    GuideReader::Options options;
    options.now = 1796668200;
    options.waitingRoom = 4096;
    GuideReader reader(Wanted(), sink, options);
    for (std::size_t at = 0; at < length; at += chunk)
        if (!reader.Feed(bytes + at, std::min(chunk, length - at)))
            break;
    const GuideOutcome outcome = reader.Finish();
    if (outcome.complete != outcome.problem.empty() || outcome.channels > Wanted().size())
        __builtin_trap();
    return 0;
}
