#include "import/catchupsummary.h"

#include "import/catalogueimport.h"
#include "import/m3uplaylist.h"
#include "import/safename.h"

#include <algorithm>

namespace quorvel {

namespace {

std::string Channels(int n) { return std::to_string(n) + (n == 1 ? " channel" : " channels"); }

std::string Days(int n) { return std::to_string(n) + (n == 1 ? " day" : " days"); }

} // namespace

CatchupSummary CatchupSummary::Of(const M3uPlaylist& playlist, const CatalogueImport& import)
{
    CatchupSummary summary;
    const auto& entries = playlist.Entries();
    for (std::size_t i = 0; i < import.PlacementCount() && i < entries.size(); ++i) {
        if (import.Placed(i).name.empty())
            continue;
        const PlaylistEntry& e = entries[i];
        if (e.catchup.state == CatchupState::Ready) {
            ++summary.withArchive;
            const int days = e.catchup.catchup.days;
            auto reach = std::find_if(summary.reaches.begin(), summary.reaches.end(),
                                      [days](const Reach& r) { return r.days == days; });
            if (reach == summary.reaches.end())
                summary.reaches.push_back({days, 1});
            else
                ++reach->channels;
        } else if (e.catchup.state == CatchupState::Refused) {
            ++summary.refused;
            if (summary.refusals.size() < kMostListed)
                summary.refusals.push_back({e.line, ShortText(e.title), e.catchup.reason});
        }
    }
    std::sort(summary.reaches.begin(), summary.reaches.end(),
              [](const Reach& a, const Reach& b) { return a.days > b.days; });
    if (summary.withArchive + summary.refused > 0)
        summary.unknownPlaceholders = playlist.UnknownCatchupPlaceholders();
    return summary;
}

std::vector<std::string> CatchupSummary::Lines() const
{
    std::vector<std::string> lines;
    if (Empty())
        return lines;
    std::string reach = "Archive: " + Channels(withArchive) + " with one";
    if (!reaches.empty()) {
        reach += " (";
        for (std::size_t i = 0; i < reaches.size(); ++i)
            reach += (i ? ", " : "") + Channels(reaches[i].channels) + " of " + Days(reaches[i].days);
        reach += ")";
    }
    lines.push_back(reach + ".");
    if (refused > 0) {
        lines.push_back("Archive refused for " + Channels(refused) + ":");
        for (const Refusal& r : refusals)
            lines.push_back("  line " + std::to_string(r.line) + ": \"" + r.title + "\" (" + r.reason + ")");
        if (static_cast<std::size_t>(refused) > refusals.size())
            lines.push_back("  and " + std::to_string(refused - static_cast<int>(refusals.size())) + " more");
    }
    if (!unknownPlaceholders.empty()) {
        std::string unknown = "Archive addresses keep placeholders this player does not know, as written:";
        for (const std::string& p : unknownPlaceholders)
            unknown += " " + p;
        lines.push_back(unknown);
    }
    return lines;
}

} // namespace quorvel
