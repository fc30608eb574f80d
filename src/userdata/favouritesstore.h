#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class ViewerDatabase;

// What the viewer's lists remember of a channel, so that it is found again after a refresh
// renamed it or moved it to another category: the playlist it came from and its tvg-id, its
// catalogue name, its stream address. A channel the viewer put into the catalogue by hand has
// no source.
struct ChannelReference {
    std::string source; // the source's location; empty for a channel of no playlist
    std::string tvgId;
    std::string name; // its key in the catalogue when last found
    std::string address;
    bool operator==(const ChannelReference&) const = default;
};

// The viewer's favourites (in the viewer's order) and recently watched channels (the last
// kRecentLimit, newest first), kept in the viewer's database. Every change is one transaction,
// so a second player writing at the same time never leaves a list half changed. Throws
// Exception when the database cannot be read or written.
class FavouritesStore {
public:
    static constexpr std::size_t kRecentLimit = 20;

    // Works on the file the database opened (and brought up to date).
    explicit FavouritesStore(const ViewerDatabase& database);
    ~FavouritesStore();
    FavouritesStore(const FavouritesStore&) = delete;
    FavouritesStore& operator=(const FavouritesStore&) = delete;

    // The reference of a catalogue channel as its sources list it now; address is the
    // catalogue's own, used when no source lists the channel.
    ChannelReference ReferenceOf(const std::string& name, const std::string& address) const;

    std::vector<ChannelReference> Favourites() const;
    std::vector<ChannelReference> RecentlyWatched() const;

    // Index of the favourite of that catalogue name (any letter case), or -1.
    int FavouriteIndex(const std::string& name) const;
    // Appends the channel unless it is a favourite already; true when it was added.
    bool AddFavourite(const ChannelReference& channel);
    void RemoveFavourite(std::size_t index);
    // Moves a favourite to another place in the list, the others closing up around it.
    void MoveFavourite(std::size_t from, std::size_t to);
    // Puts the channel first among the recently watched, once, dropping the oldest beyond the limit.
    void Watched(const ChannelReference& channel);

    // Finds every remembered channel in the catalogue as it is now (inCatalogue answers whether
    // a name is a channel there): by its source and tvg-id, else by its name, else by its address,
    // and remembers the name (and address) it has now. A channel found nowhere keeps its
    // reference, to be found when its playlist lists it again.
    void Follow(const std::function<bool(const std::string&)>& inCatalogue);

private:
    class Connection;
    std::vector<ChannelReference> List(const char* list) const;
    void Store(const char* list, const std::vector<ChannelReference>& entries);

    std::unique_ptr<Connection> db_;
};

} // namespace quorvel
