#include "guidegrid/gridrow.h"

#include <algorithm>

namespace quorvel {

std::vector<GridCell> ArrangeRow(const std::vector<GuideStore::Cell>& programmes, std::int64_t from)
{
    std::vector<GridCell> row;
    row.reserve(programmes.size());
    for (const GuideStore::Cell& p : programmes) {
        if (p.stop <= p.start)
            continue;
        const QString title = QString::fromStdString(p.title);
        if (!row.empty() && row.back().start == p.start) {
            GridCell& slot = row.back();
            slot.stop = std::max(slot.stop, p.stop);
            if (!title.isEmpty())
                slot.title = slot.title.isEmpty() ? title : slot.title + QStringLiteral(" / ") + title;
            continue;
        }
        if (!row.empty() && row.back().stop > p.start)
            row.back().stop = p.start;
        row.push_back({p.start, p.stop, p.clump, title});
    }
    // Cutting cannot empty a cell (starts only grow), but the first may have ended by `from`.
    std::erase_if(row, [from](const GridCell& c) { return c.stop <= from || c.stop <= c.start; });
    return row;
}

const GridCell* CellAt(const std::vector<GridCell>& row, std::int64_t instant)
{
    auto it = std::upper_bound(row.begin(), row.end(), instant,
                               [](std::int64_t t, const GridCell& c) { return t < c.start; });
    if (it == row.begin())
        return nullptr;
    --it;
    return instant < it->stop ? &*it : nullptr;
}

} // namespace quorvel
