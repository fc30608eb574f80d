#pragma once

#include "import/catalogueimport.h"
#include "import/catchupsummary.h"
#include "provider/accountinfo.h"
#include "provider/providerlogin.h"
#include "userdata/viewerdatabase.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// What one read of a playlist source did.
struct SourceOutcome {
    std::string location;
    ImportReport report;
    CatchupSummary catchup;
    long long entries = 0; // entries the playlist holds
    bool written = false;  // the catalogue changed
    // A provider account read: its login (password and all, for the caller to keep) and what
    // its panel said of it.
    std::optional<ProviderLogin> account;
    AccountInfo accountInfo;
    std::int64_t sourceId = 0;
};

// The playlists the viewer added, kept fresh: one implementation for the window and for
// quorvel-import. Reading a source makes its channels in the catalogue what it now lists (new
// ones appear, changed addresses update, channels it no longer lists go) and remembers it with
// what it listed; channels added by hand or by another source stay as they are. A read that
// fails in any way (no answer, an error status, not a playlist, nothing usable in it) changes
// no channel and throws Exception saying why; a remembered source keeps that reason.
// The catalogue is replaced in one step, and readers of one catalogue take turns.
class PlaylistSources {
public:
    struct Progress {
        enum class Stage { Downloading, Importing, Writing };
        Stage stage;
        long long done;  // bytes or entries
        long long total; // -1 when unknown
    };
    using ProgressFunction = std::function<void(const Progress&)>;

    // The database lies beside the catalogue file.
    explicit PlaylistSources(std::string catalogueFile);
    ~PlaylistSources();

    const std::string& CatalogueFile() const { return catalogue_; }
    // The database, opened on first use: a read that fails before anything is remembered
    // leaves no file behind.
    ViewerDatabase& Database();
    bool DatabaseOpen() const { return db_ != nullptr; }

    std::vector<SourceRecord> List();
    // A remembered source by its number in List() order (from 1) or its location.
    std::optional<SourceRecord> Find(const QString& which);

    // Reads the playlist at location (a file or an http(s) address) into the catalogue and
    // remembers it; dryRun reports what would change and changes nothing.
    // A panel's playlist address (get.php with a login) whose server answers as a panel, and a
    // remembered account, are read as a provider account.
    SourceOutcome Read(const QString& location, const ProgressFunction& progress = {}, bool dryRun = false,
                       const std::atomic<bool>* cancel = nullptr);
    // Reads a provider account's live lists into the catalogue and remembers it by its location
    // (without the password); a read that fails keeps the account's previous lists whole.
    SourceOutcome ReadAccount(const ProviderLogin& login, const ProgressFunction& progress = {}, bool dryRun = false,
                              const std::atomic<bool>* cancel = nullptr);
    // Where a remembered account's password comes from beyond the database (where the viewer
    // chose to keep it): the keyring, or what the viewer typed at this start. Empty: unknown.
    void SetPasswordFinder(std::function<QString(const ProviderLogin&)> finder) { passwordOf_ = std::move(finder); }
    // Takes a source and its channels away (channels another source lists too stay).
    SourceOutcome Remove(const SourceRecord& source);

    // The location as it is remembered: a file by its absolute path, an address as given.
    static QString Normalized(const QString& location);

    // A change of the catalogue and the sources that was cut short (a crash, a kill, a power
    // cut) is completed when the database had committed to it, else undone; gives what was
    // done, empty when nothing was left half done. Read and Remove do it first on their own.
    std::string Repair();
    // What Repair, Read and Remove repaired since last asked, each said once.
    std::vector<std::string> TakeRepairs();

private:
    SourceOutcome ReadFrom(const QString& where, const ProviderLogin* account, const ProgressFunction& progress,
                           bool dryRun, const std::atomic<bool>* cancel);
    QString PasswordOf(const ProviderLogin& login);
    // A remembered source of that location; none without opening a database that is not there.
    std::optional<SourceRecord> Known(const std::string& location);
    // Repair with the catalogue's lock held; changing: a change follows, so a note left with no
    // staged file is cleared as well (its checksum must not name the next change's file).
    std::string RepairHeld(bool changing);
    // Makes the import's catalogue and the database's change (change, running within inside
    // its transaction) one: the catalogue staged, the change committed with a note naming it
    // and with the channel numbers, then the catalogue put in place. True when it changed.
    bool Apply(const CatalogueImport& import, const std::function<void(const std::function<void()>& within)>& change);

    std::string catalogue_;
    std::unique_ptr<ViewerDatabase> db_;
    std::vector<std::string> repairs_;
    std::function<QString(const ProviderLogin&)> passwordOf_;
};

} // namespace quorvel
