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

    // What the guide grid shows of a programme: its times, its place in its slot and its title.
    struct Cell {
        std::int64_t start = 0;
        std::int64_t stop = 0;
        int clump = 0;
        std::string title;
        bool operator==(const Cell&) const = default;
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
    // Where it begins: the earliest start kept; kNoEnd when nothing is kept. Like End, it reads
    // every programme: ask it away from the window's thread on a large guide.
    std::int64_t Begin() const;

    // For each of the channels, by the same index: the programmes that may show from `from` until
    // before `to` once a programme is cut at the next one's start, in start order (a slot's in
    // clump order): the channel's last programmes to start by `from` and every one starting
    // after it before `to`. A programme that ended before `from` may be among them; the grid
    // leaves it out. Each channel is one lookup of the grid's index.
    std::vector<std::vector<Cell>> Cells(const std::vector<std::string>& channels, std::int64_t from,
                                         std::int64_t to) const;
    // One programme in full, by its channel, start and place in its slot.
    std::optional<Programme> Find(const std::string& channel, std::int64_t start, int clump) const;

private:
    class Queries;
    std::unique_ptr<Queries> queries_;
};

} // namespace quorvel
