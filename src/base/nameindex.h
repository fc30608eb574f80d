#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvel {

// Names to numbers, for the hundred thousand names of a large catalogue or playlist: one flat
// table of slots probed in a row (no node per name, no string copied), each slot keeping its
// name's view and a part of its hash, so that a miss rarely touches a name's bytes. Names are
// matched exactly, or without regard to ASCII letter case as profile names are. The index
// keeps views: the names' bytes must outlive it.
//
// A name may be looked up in two parts (a base and a suffix, "Name" and " (2)"), so that
// numbered forms of a name are found without building them.
class NameIndex {
public:
    static constexpr std::uint32_t npos = ~std::uint32_t(0);

    explicit NameIndex(bool ignoreCase);

    // The name's hash in this index's sense; a two-part name hashes as the whole.
    std::uint64_t Hash(std::string_view base, std::string_view suffix = {}) const;

    // Makes room for that many more names without growing on the way.
    void Reserve(std::size_t more);

    // The number stored under the name, or npos.
    std::uint32_t Find(std::string_view base, std::string_view suffix = {}) const
    {
        return Find(Hash(base, suffix), base, suffix);
    }
    std::uint32_t Find(std::uint64_t hash, std::string_view base, std::string_view suffix = {}) const;

    // Stores value (not npos) under the name unless the name is there already; returns the
    // number the name has now (value, or the one stored first).
    std::uint32_t Insert(std::string_view name, std::uint32_t value) { return Insert(Hash(name), name, value); }
    std::uint32_t Insert(std::uint64_t hash, std::string_view name, std::uint32_t value);

    std::size_t Size() const { return names_.size(); }

    // Asks for the slot a name of that hash starts at to be fetched into the cache: looking up
    // many names one after the other, fetch a few ahead, so that they arrive together.
    void Prefetch(std::uint64_t hash) const;

private:
    // Slots are small, so that more of the table stays in the cache: the names stand apart,
    // in the order they came, and are only looked at when a slot's tag matches.
    struct Slot {
        std::uint32_t at = 0;  // position in names_ + 1; 0: an empty slot
        std::uint32_t tag = 0; // high half of the hash
    };
    struct Name {
        std::string_view name;
        std::uint32_t value;
    };

    bool Same(std::string_view name, std::string_view base, std::string_view suffix) const;
    std::size_t SlotOf(std::uint64_t hash, std::string_view base, std::string_view suffix) const;
    void Grow(std::size_t wanted);

    bool ignoreCase_;
    std::vector<Slot> slots_; // a power of two, at most half full
    std::vector<Name> names_;
    mutable std::vector<char> joined_; // a two-part name put together for hashing
};

} // namespace quorvel
