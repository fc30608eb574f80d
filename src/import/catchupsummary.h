#pragma once

#include <string>
#include <vector>

namespace quorvel {

class CatalogueImport;
class M3uPlaylist;

// What a playlist says about its channels' archives, for the import's summary: how many
// channels have one and how far back, which were refused and why, and the placeholders that
// mean nothing. Channels the import skipped or found twice do not count.
struct CatchupSummary {
    struct Reach {
        int days = 0;
        int channels = 0;
    };
    struct Refusal {
        int line = 0; // of the channel's address in the playlist
        std::string title;
        std::string reason;
    };
    int withArchive = 0;
    std::vector<Reach> reaches; // by days, longest first
    int refused = 0;
    std::vector<Refusal> refusals; // in playlist order, the first kMostListed only
    std::vector<std::string> unknownPlaceholders;

    static constexpr std::size_t kMostListed = 20;

    static CatchupSummary Of(const M3uPlaylist& playlist, const CatalogueImport& import);
    // Nothing to say for a playlist that names no archive.
    bool Empty() const { return withArchive == 0 && refused == 0 && unknownPlaceholders.empty(); }
    // The summary's lines, each without its line break.
    std::vector<std::string> Lines() const;
};

} // namespace quorvel
