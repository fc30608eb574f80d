// The programme guide in the viewer's database: storing 20,000 channels × 24 hours (about
// 480,000 programmes) as a read hands them over, and then now and next of one channel at a time,
// as a zap or a tooltip asks. Run it as
//   build/bench/bench_guidestore [lookups]
// It reports; it does not judge.
#include "scratchdir.h"
#include "userdata/guidestore.h"
#include "userdata/guidestorewriter.h"
#include "userdata/viewerdatabase.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace quorvel;

namespace {

constexpr int kChannels = 20000;
constexpr int kHours = 24;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

} // namespace

int main(int argc, char** argv)
{
    const int lookups = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    ViewerDatabase db(file);
    const std::int64_t now = 1'800'000'000;

    std::vector<std::string> names;
    names.reserve(kChannels);
    for (int c = 0; c < kChannels; ++c)
        names.push_back("Channel " + std::to_string(c));

    const auto storeStart = Clock::now();
    {
        GuideStoreWriter writer(file, names, "guide.xml", now);
        for (int c = 0; c < kChannels; ++c) {
            std::vector<Programme> day;
            for (int h = 0; h < kHours; ++h) {
                Programme p;
                p.start = now - 6 * 3600 + h * 3600;
                p.stop = p.start + 3600;
                p.title = "Programme " + std::to_string(h) + " of channel " + std::to_string(c);
                p.description = "A programme of about a line of description, as guides usually give them.";
                p.category = "News";
                day.push_back(std::move(p));
            }
            writer.Take(static_cast<std::size_t>(c), day);
        }
        writer.Finish(GuideOutcome{});
        if (!writer.Failure().empty()) {
            std::fprintf(stderr, "%s\n", writer.Failure().c_str());
            return 1;
        }
    }
    const double storeMs = Ms(Clock::now() - storeStart);

    GuideStore store(db);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> channel(0, kChannels - 1);
    std::uniform_int_distribution<int> offset(-6 * 3600, 18 * 3600 - 1);
    std::vector<double> each;
    each.reserve(static_cast<std::size_t>(lookups));
    int found = 0;
    for (int i = 0; i < lookups; ++i) {
        const std::string& name = names[static_cast<std::size_t>(channel(random))];
        const std::int64_t at = now + offset(random);
        const auto t0 = Clock::now();
        const auto nn = store.At(name, at);
        each.push_back(Ms(Clock::now() - t0));
        found += nn.now ? 1 : 0;
    }
    std::sort(each.begin(), each.end());
    double sum = 0;
    for (double v : each)
        sum += v;
    std::printf("stored %d programmes of %d channels: %.0f ms\n", kChannels * kHours, kChannels, storeMs);
    std::printf("now and next of one channel, %d lookups (%d on now): mean %.3f ms, median %.3f ms, "
                "99th %.3f ms, longest %.3f ms\n",
                lookups, found, sum / lookups, each[each.size() / 2], each[each.size() * 99 / 100], each.back());
    return 0;
}
