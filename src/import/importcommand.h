#pragma once

#include "platform/datafolders.h"

#include <QStringList>
#include <ostream>
#include <string>

namespace quorvel {

// The command "quorvel-import PLAYLIST [--catalogue FILE] [--dry-run]": reads the playlist,
// merges it into the catalogue, prints what it imported and skipped per category, and returns
// the exit status (0 done, 1 failed, 2 wrong use).
class ImportCommand {
public:
    // folders: the player's, whose data folder holds the catalogue changed by default.
    // terminal: whether err is a terminal, where a progress line is shown for large lists.
    ImportCommand(DataFolders folders, std::ostream& out, std::ostream& err, bool terminal);

    int Run(const QStringList& arguments);

private:
    int Import(const QString& playlist, const std::string& catalogue, bool dryRun);
    void Usage(std::ostream& to) const;
    void Progress(const std::string& line);
    void EndProgress();

    DataFolders folders_;
    std::ostream& out_;
    std::ostream& err_;
    bool terminal_;
    bool progressShown_ = false;
    long long lastProgressMs_ = -1000;
};

} // namespace quorvel
