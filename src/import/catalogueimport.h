#pragma once

#include "base/nameindex.h"
#include "base/profiletext.h"
#include "import/m3uplaylist.h"
#include "import/textarena.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// What an import did to one category.
struct CategoryReport {
    std::string name;   // as it stands in the catalogue
    bool isNew = false; // added to "Layer1" by this import
    int added = 0;      // new channels
    int updated = 0;    // channels already there whose address changed
    int present = 0;    // channels already there with the same address
    int refused = 0;    // addresses the player does not open
    int tooLong = 0;    // addresses longer than a catalogue value can hold
    int duplicates = 0; // the same channel twice in the playlist
    int Skipped() const { return refused + tooLong + duplicates; }
};

// One entry an import left out, and why.
struct SkippedEntry {
    enum class Why { WithoutAddress, Refused, TooLong, Duplicate };
    int line = 0;     // in the playlist, from 1: the address's line, or the title's without one
    std::string text; // its title or address, cut short
    Why why = Why::Refused;
    static const char* Reason(Why why); // in words, for the viewer
};

struct ImportReport {
    std::vector<CategoryReport> categories;   // in the order the playlist first names them
    int withoutAddress = 0;                   // entries with no address at all
    int removed = 0;                          // channels of the source it no longer lists
    int removedCategories = 0;                // categories those left empty
    int moved = 0;                            // channels of the source now in another category
    std::vector<std::string> refusedExamples; // the first few refused addresses
    std::vector<SkippedEntry> skipped;        // by line; the first M3uPlaylist::kMostListed only

    int Added() const;
    int Updated() const;
    int Present() const;
    int Refused() const;
    int TooLong() const;
    int Duplicates() const;
    int NewCategories() const;
    int Skipped() const { return Refused() + TooLong() + Duplicates() + withoutAddress; }
};

// Merges playlist entries into a channel catalogue: each group a category ("Layer1"), each
// channel a "Layer2" key naming its category and a "Programs" key holding its address, in
// playlist order. Categories already there keep their place and channels; new ones follow. A
// channel already there (same category, same name or a numbered form of it, same address) is
// not added again; one there under its name with another address gets the new address. Two
// channels of one name get distinct names ("Name (2)"), also against names in other letter case,
// since the catalogue's lookups ignore it.
class CatalogueImport {
public:
    // Reads the catalogue as it is now (a missing one is empty). Throws Exception when it exists
    // but cannot be read: such a catalogue is never replaced.
    explicit CatalogueImport(std::string catalogueFile);
    // Throws the same Exception the constructor would for a catalogue that exists but cannot
    // be read, without reading it.
    static void CheckReadable(const std::string& catalogueFile);

    using Progress = std::function<void(std::size_t done, std::size_t total)>;
    void Add(const M3uPlaylist& playlist, const Progress& progress = {});

    // The channels (catalogue names) a remembered source brought into the catalogue, before Add:
    // the playlist may move them to another category, and those it no longer lists can go.
    // Channels that were there before the source first listed them are not its to take away.
    void SetSourceChannels(const std::vector<std::string>& names);
    // Takes out the source's channels no entry claimed, except those another source lists too;
    // a category left empty by that goes as well, unless it is one of the default ones.
    void RemoveUnclaimed(const std::function<bool(std::string_view name)>& listedElsewhere);

    // Where each entry Add took landed, in order: the channel's catalogue name and category,
    // and whether the source brought it (added now, or its own already); names empty for an
    // entry that was skipped or listed twice.
    struct Placement {
        std::string_view name;
        std::string_view category;
        bool owned = false;
    };
    std::size_t PlacementCount() const { return placed_.size(); }
    Placement Placed(std::size_t entry) const;

    const ImportReport& Report() const { return report_; }
    // Whether Write has anything to write.
    bool HasChanges() const;
    // Writes every change in one replacement of the file: an interruption leaves the old
    // catalogue whole. Throws EIniFileException when it cannot be written.
    void Write() const;
    // The catalogue's bytes as Write would leave them, for a caller that puts them in place itself.
    std::string Contents() const;
    // The catalogue as read, before any change.
    const ProfileText& Text() const { return *text_; }

    static constexpr const char* DefaultCategory = "Undefined";
    static constexpr const char* DefaultChannel = "Channel";

private:
    // A text by number: a category's spelling or a "Layer2" value. Equal numbers, equal bytes.
    using TextId = std::uint32_t;

    struct Channel {
        std::string_view name; // its key, in the catalogue or as it will be written
        std::string_view address;
        TextId category;
        bool used = false;    // claimed by an entry of this import
        bool owned = false;   // brought by the source being read
        bool removed = false; // taken out by RemoveUnclaimed
    };
    static constexpr std::uint32_t kNotPlaced = 0xFFFFFFFF;

    void Skip(int line, std::string_view text, SkippedEntry::Why why);
    void Changes(std::vector<SectionKeys>& removals, std::vector<SectionValues>& edits) const;
    void AddEntry(const PlaylistEntry& entry);
    void Claim(Channel& c, std::uint32_t at);
    void CategoryUsed(std::size_t reportIndex, TextId category);
    std::size_t CategoryOf(std::string_view group);
    TextId Intern(std::string_view text);

    // Names and addresses are views: into the catalogue as read, or into the arena. A hundred
    // thousand channels cost no allocation of their own and no node of a hash map.
    std::string file_;
    std::unique_ptr<const ProfileText> text_;
    TextArena arena_;
    NameIndex texts_{false};               // text -> TextId
    std::vector<std::string_view> textOf_; // by TextId
    std::vector<std::uint32_t> reportOf_;  // by TextId: the category's report index, or npos
    NameIndex categories_{true};           // "Layer1" name, any case -> TextId of its first spelling
    NameIndex groups_{false};              // playlist group -> report index
    std::string lastGroup_;                // playlists tend to list a group's channels together
    std::size_t lastReport_ = 0;
    std::vector<TextId> reportCategory_; // by report index
    std::vector<bool> inFile_;           // by report index: in "Layer1" already
    std::vector<Channel> channels_;      // every channel, old and new
    NameIndex channelIndex_{true};       // "Layer2" name, any case -> channel
    NameIndex programNames_{true};       // "Programs" names, any case
    std::vector<std::pair<std::string_view, TextId>> newChannels_;
    std::vector<TextId> newCategories_;
    std::vector<std::pair<std::string_view, std::string_view>> addresses_;
    std::vector<std::pair<std::string_view, TextId>> moves_; // "Layer2" values that change
    std::vector<std::string> removedNames_;
    std::vector<std::string> removedCategories_;
    std::vector<std::uint32_t> placed_; // by entry: its channel, or kNotPlaced
    ImportReport report_;
};

} // namespace quorvel
