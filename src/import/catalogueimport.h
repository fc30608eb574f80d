#pragma once

#include "m3uplaylist.h"
#include "profiletext.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quorvel {

// What an import did to one category.
struct CategoryReport {
    std::string name;      // as it stands in the catalogue
    bool isNew = false;    // added to "Layer1" by this import
    int added = 0;         // new channels
    int updated = 0;       // channels already there whose address changed
    int present = 0;       // channels already there with the same address
    int refused = 0;       // addresses the player does not open
    int tooLong = 0;       // addresses longer than a catalogue value can hold
    int duplicates = 0;    // the same channel twice in the playlist
    int Skipped() const { return refused + tooLong + duplicates; }
};

struct ImportReport {
    std::vector<CategoryReport> categories; // in the order the playlist first names them
    int withoutAddress = 0;                 // entries with no address at all
    std::vector<std::string> refusedExamples; // the first few refused addresses

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

    using Progress = std::function<void(std::size_t done, std::size_t total)>;
    void Add(const M3uPlaylist& playlist, const Progress& progress = {});

    const ImportReport& Report() const { return report_; }
    // Whether Write has anything to write.
    bool HasChanges() const;
    // Writes every change in one replacement of the file: an interruption leaves the old
    // catalogue whole. Throws EIniFileException when it cannot be written.
    void Write() const;

    static constexpr const char* DefaultCategory = "Undefined";
    static constexpr const char* DefaultChannel = "Channel";

private:
    struct Channel {
        std::string category;
        std::string address;
        bool used = false; // claimed by an entry of this import
    };

    void AddEntry(const PlaylistEntry& entry);
    std::size_t CategoryOf(const std::string& group);

    std::string file_;
    std::unordered_map<std::string, std::string> categories_;    // folded name -> spelling
    std::unordered_map<std::string, std::size_t> groups_;        // playlist group -> report index
    std::unordered_map<std::string, std::size_t> reportIndex_;   // category -> report index
    std::vector<bool> inFile_;                                   // by report index: in "Layer1" already
    std::vector<Channel> channels_;                              // every channel, old and new
    std::unordered_map<std::string, std::size_t> channelIndex_; // folded "Layer2" name -> channel
    std::unordered_set<std::string> programNames_;               // folded "Programs" names
    std::vector<std::pair<std::string, std::string>> newCategories_;
    std::vector<std::pair<std::string, std::string>> newChannels_;
    std::vector<std::pair<std::string, std::string>> addresses_;
    ImportReport report_;
};

} // namespace quorvel
