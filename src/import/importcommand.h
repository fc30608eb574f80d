#pragma once

#include "platform/datafolders.h"

#include <QStringList>

#include <istream>
#include <ostream>
#include <string>

namespace quorvel {

class PlaylistSources;
class ProviderLogin;
struct SourceOutcome;

// The command "quorvel-import PLAYLIST [--catalogue FILE] [--dry-run] [--verbose]": reads the playlist,
// merges it into the catalogue, remembers it as a source, prints what it imported and skipped
// per category, and returns the exit status (0 done, 1 failed, 2 wrong use). "list", "refresh
// [SOURCE]" and "remove SOURCE" work on the remembered sources; "provider SERVER USER" adds a
// provider account.
class ImportCommand {
public:
    // folders: the player's, whose data folder holds the catalogue changed by default.
    // terminal: whether err is a terminal, where a progress line is shown for large lists.
    ImportCommand(DataFolders folders, std::ostream& out, std::ostream& err, bool terminal);

    // Where "provider" reads the password from (standard input in the program); none: the keyring only.
    void SetInput(std::istream* in, bool terminal)
    {
        in_ = in;
        inputTerminal_ = terminal;
    }

    int Run(const QStringList& arguments);

private:
    // account: a provider account to read instead of the playlist.
    int Import(PlaylistSources& sources, const QString& playlist, bool dryRun, const ProviderLogin* account = nullptr);
    // "provider SERVER USER": the account's live channels, the password read from the input or
    // the keyring, never from the arguments (importaccount.cpp).
    int Provider(PlaylistSources& sources, const QString& server, const QString& user, bool dryRun);
    QString ReadPassword();
    // After a good first read: the password into the keyring, or where the viewer said.
    void KeepPassword(PlaylistSources& sources, const SourceOutcome& outcome);
    void AccountLines(const SourceOutcome& outcome);
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
    bool keepInDatabase_ = false;
    std::istream* in_ = nullptr;
    bool inputTerminal_ = false;
    long long lastProgressMs_ = -1000;
};

} // namespace quorvel
