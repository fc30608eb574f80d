#pragma once

namespace quorvel {

// What a row of the channel model stands for. Films, series, their episodes and recordings
// come as kinds of their own, so that code asking "is this a channel" keeps its answer.
enum class RowKind {
    None,
    Category,
    Channel,
};

// Which list a category row (and the rows under it) belongs to: the catalogue's, or one of the
// viewer's own, which are kept apart from the catalogue file.
enum class RowList {
    Catalogue,
    Favourites,
    Recent,
};

} // namespace quorvel
