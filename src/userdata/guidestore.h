#pragma once

#include "guide/programme.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class ViewerDatabase;

// The programme guide as kept in the viewer's database, read by catalogue channel name (letter
// case aside). Made and used on the thread of the database it is given.
class GuideStore {
public:
    static constexpr std::int64_t kNoEnd = std::numeric_limits<std::int64_t>::min();

    struct NowAndNext {
        std::optional<Programme> now;  // on at the instant
        std::optional<Programme> next; // the first to start after it
        // Where a guide gives several programmes one slot (a clump: "News", then "Weather"),
        // all of them in clump order; now and next are the first of each. One programme, or
        // none, where the slot holds one.
        std::vector<Programme> onNow;
        std::vector<Programme> upNext;
    };

    explicit GuideStore(ViewerDatabase& db);
    ~GuideStore();
    GuideStore(const GuideStore&) = delete;
    GuideStore& operator=(const GuideStore&) = delete;

    // Throws Exception when the database cannot be read.
    NowAndNext At(const std::string& channel, std::int64_t instant) const;
    // The channel's programmes on at any time from `from` until before `to`, in start order; those
    // of one slot (a clump) in clump order.
    std::vector<Programme> Between(const std::string& channel, std::int64_t from, std::int64_t to) const;
    // Where the stored guide ends: the latest stop kept; kNoEnd when nothing is kept.
    std::int64_t End() const;

private:
    class Queries;
    std::unique_ptr<Queries> queries_;
};

} // namespace quorvel
