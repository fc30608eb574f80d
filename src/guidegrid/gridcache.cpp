#include "guidegrid/gridcache.h"

#include <algorithm>

namespace quorvel {

GridCache::GridCache(Reader reader) : reader_(std::move(reader)) { }

void GridCache::Clear() { rows_.clear(); }

void GridCache::Need(int first, int last, int rowCount, std::int64_t from, std::int64_t to, const NameOf& nameOf)
{
    first = std::max(first, 0);
    last = std::min(last, rowCount);
    if (first >= last || to <= from)
        return;
    if (from < from_ || to > to_) {
        const std::int64_t span = to - from;
        from_ = from - span;
        to_ = to + span;
        rows_.clear();
    }
    const int screen = last - first;
    const int keepFirst = std::max(first - screen, 0);
    const int keepLast = std::min(last + screen, rowCount);
    bool missing = false;
    for (int row = first; row < last && !missing; ++row)
        missing = !rows_.contains(row);
    if (!missing)
        return;
    std::erase_if(rows_, [&](const auto& kept) { return kept.first < keepFirst || kept.first >= keepLast; });
    std::vector<int> wanted;
    std::vector<std::string> names;
    for (int row = keepFirst; row < keepLast; ++row) {
        if (rows_.contains(row))
            continue;
        wanted.push_back(row);
        names.push_back(nameOf(row).toStdString());
    }
    auto cells = reader_(names, from_, to_);
    for (std::size_t i = 0; i < wanted.size() && i < cells.size(); ++i)
        rows_[wanted[i]] = ArrangeRow(cells[i], from_);
}

const std::vector<GridCell>& GridCache::Row(int row) const
{
    static const std::vector<GridCell> kNone;
    const auto it = rows_.find(row);
    return it == rows_.end() ? kNone : it->second;
}

} // namespace quorvel
