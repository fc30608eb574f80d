#pragma once

#include <optional>
#include <string>

namespace quorvel {

class ViewerDatabase;

// The catalogue a change of the playlist sources is about to put in place, named in the viewer's
// database by its file's checksum. The note is written in the same transaction as the change of
// the sources: once that transaction is committed, the staged catalogue with that checksum is
// the catalogue the database agrees with, and a start that finds it staged still puts it in
// place; a staged catalogue no note names was never agreed to and goes. Kept as a row of the
// settings table, so no schema step is needed. Throws Exception when the database fails.
class PendingCatalogue {
public:
    // Writes the note; called inside the change's transaction.
    static void Note(const ViewerDatabase& db, const std::string& catalogue, const std::string& checksum);
    // The checksum noted for that catalogue, if any.
    static std::optional<std::string> Noted(const ViewerDatabase& db, const std::string& catalogue);
    static void Clear(const ViewerDatabase& db, const std::string& catalogue);
    // Commits of the connection reach the disk before they return (on), or as the database
    // usually writes them (off): a commit that a power cut could still take back must not be
    // followed by the catalogue it names.
    static void SyncEveryCommit(const ViewerDatabase& db, bool on);
};

} // namespace quorvel
