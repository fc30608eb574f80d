#pragma once

#include "userdata/guidestore.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace quorvel {

// One cell of a channel's row in the guide grid: a programme as drawn, or the programmes a
// guide gives one slot together, joined.
struct GridCell {
    std::int64_t start = 0;
    std::int64_t stop = 0;
    int clump = 0; // the first programme's place in its slot, for reading it in full
    QString title;
};

// A channel's programmes as the grid draws them, whatever the guide says: the programmes of one
// slot become one cell ("News / Weather") ending with the last of them; a programme running into
// the next one's start is cut there; one of no length (or ending before it starts) is left out,
// and so is one ending by `from`. Gaps stay gaps. Input in start order, as the store gives it.
std::vector<GridCell> ArrangeRow(const std::vector<GuideStore::Cell>& programmes, std::int64_t from);

// The cell on at the instant, else nullptr.
const GridCell* CellAt(const std::vector<GridCell>& row, std::int64_t instant);

} // namespace quorvel
