#pragma once

#include "guidegrid/gridrow.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quorvel {

// The programmes of the rows in sight over the time in sight, with a screen's worth around
// them each way, so that scrolling reads the guide store only when it leaves that margin, and
// then only the rows it lacks. Never more than those rows are kept.
class GridCache {
public:
    // Reads the cells of these channels (by the same index) over a span: GuideStore::Cells.
    using Reader = std::function<std::vector<std::vector<GuideStore::Cell>>(const std::vector<std::string>&,
                                                                            std::int64_t, std::int64_t)>;
    // The channel name of a row.
    using NameOf = std::function<QString(int)>;

    explicit GridCache(Reader reader);

    // Forgets everything (the rows changed, or the guide was read again).
    void Clear();
    // Makes rows [first, last) over [from, to) ready, reading with a margin of as many rows and
    // as much time again on each side; rowCount bounds the rows.
    void Need(int first, int last, int rowCount, std::int64_t from, std::int64_t to, const NameOf& nameOf);
    // The cells of a row made ready (empty for any other).
    const std::vector<GridCell>& Row(int row) const;

private:
    Reader reader_;
    std::int64_t from_ = 0;
    std::int64_t to_ = 0;
    std::unordered_map<int, std::vector<GridCell>> rows_;
};

} // namespace quorvel
