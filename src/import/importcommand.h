#pragma once

#include "platform/datafolders.h"

#include <QStringList>

#include <ostream>
#include <string>

namespace quorvel {

class PlaylistSources;

// The command "quorvel-import PLAYLIST [--catalogue FILE] [--dry-run] [--verbose]": reads the playlist,
// merges it into the catalogue, remembers it as a source, prints what it imported and skipped
// per category, and returns the exit status (0 done, 1 failed, 2 wrong use). "list", "refresh
// [SOURCE]" and "remove SOURCE" work on the remembered sources.
class ImportCommand {
public:
    // folders: the player's, whose data folder holds the catalogue changed by default.
    // terminal: whether err is a terminal, where a progress line is shown for large lists.
    ImportCommand(DataFolders folders, std::ostream& out, std::ostream& err, bool terminal);

    int Run(const QStringList& arguments);

private:
    int Import(PlaylistSources& sources, const QString& playlist, bool dryRun);
    int List(PlaylistSources& sources);
    int Refresh(PlaylistSources& sources, const QString& which, bool dryRun);
    int Remove(PlaylistSources& sources, const QString& which, bool dryRun);
    // The database's notice (a damaged file moved aside), once.
    void Notice(PlaylistSources& sources);
    // What the sources completed or undid of a change cut short, each once.
    void Repairs(PlaylistSources& sources);
    void Usage(std::ostream& to) const;
    void Progress(const std::string& line);
    void EndProgress();

    DataFolders folders_;
    std::ostream& out_;
    std::ostream& err_;
    bool terminal_;
    bool progressShown_ = false;
    bool noticeShown_ = false;
    bool verbose_ = false;
    long long lastProgressMs_ = -1000;
};

} // namespace quorvel
