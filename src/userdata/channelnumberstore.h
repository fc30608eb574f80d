#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quorvel {

class ViewerDatabase;

// The channel numbers once given, by catalogue name, in the viewer's database: a channel keeps
// its number however later playlists change the catalogue around it. The table is made by the
// first store (an older file has none, and reads as no numbers kept). Throws Exception when
// the database fails.
class ChannelNumberStore {
public:
    using Numbers = std::vector<std::pair<std::string, int>>;

    static Numbers Read(const ViewerDatabase& db);
    // Keeps exactly these numbers; meant to run inside the transaction of the change that made
    // them (ViewerDatabase::StoreRead's within), so that they commit with it.
    static void Store(const ViewerDatabase& db, const Numbers& numbers);
};

} // namespace quorvel
