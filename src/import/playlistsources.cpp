#include "import/playlistsources.h"

#include "base/exception.h"
#include "catalogue/channelnumbers.h"
#include "catalogue/channeltree.h"
#include "import/accountplaylist.h"
#include "import/faultpoint.h"
#include "import/m3uplaylist.h"
#include "import/playlistsource.h"
#include "import/stagedcatalogue.h"
#include "userdata/channelnumberstore.h"
#include "userdata/pendingcatalogue.h"
#include "userdata/provideraccountstore.h"

#include <QDateTime>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <unordered_set>
#include <utility>

namespace quorvel {
namespace {

// Readers of one catalogue take turns: each reads, merges and replaces the whole file, so two
// at once would lose one's channels. The lock is on the catalogue's folder: the catalogue itself
// is replaced by renaming, which a lock on it would not survive, and a lock file would be one
// more file in the viewer's folder.
class CatalogueLock {
public:
    explicit CatalogueLock(const std::string& catalogue)
    {
        const QByteArray folder = QFileInfo(QString::fromStdString(catalogue)).absolutePath().toLocal8Bit();
        fd_ = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ >= 0)
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) { }
    }
    ~CatalogueLock()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    CatalogueLock(const CatalogueLock&) = delete;
    CatalogueLock& operator=(const CatalogueLock&) = delete;

private:
    int fd_ = -1;
};

// The channels the source brought: only those can go with it.
std::vector<std::string> OwnedNames(const std::vector<SourceChannel>& channels)
{
    std::vector<std::string> names;
    names.reserve(channels.size());
    for (const auto& c : channels)
        if (c.owned)
            names.push_back(c.name);
    return names;
}

// What the panel said of the account, as the database keeps it.
ProviderAccountStore::Account AccountState(const AccountPlaylist& lists)
{
    const AccountInfo& info = lists.Info();
    ProviderAccountStore::Account a;
    a.status = info.status.toStdString();
    a.expires = info.expiresAt;
    a.activeConnections = info.activeConnections;
    a.maxConnections = info.maxConnections;
    a.formats = info.outputFormats.join(QLatin1Char(',')).toStdString();
    a.timeZone = info.timeZone.toStdString();
    return a;
}

} // namespace

PlaylistSources::PlaylistSources(std::string catalogueFile) : catalogue_(std::move(catalogueFile)) { }

ViewerDatabase& PlaylistSources::Database()
{
    if (!db_)
        db_ = std::make_unique<ViewerDatabase>(ViewerDatabase::FileBeside(catalogue_));
    return *db_;
}

std::optional<SourceRecord> PlaylistSources::Known(const std::string& location)
{
    if (!db_ && !QFileInfo::exists(QString::fromStdString(ViewerDatabase::FileBeside(catalogue_))))
        return std::nullopt;
    return Database().FindSource(location);
}

PlaylistSources::~PlaylistSources() = default;

QString PlaylistSources::Normalized(const QString& location)
{
    const QString trimmed = location.trimmed();
    if (PlaylistSource(trimmed).IsRemote())
        return trimmed;
    if (trimmed.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QFileInfo(QUrl(trimmed).toLocalFile()).absoluteFilePath();
    return QFileInfo(trimmed).absoluteFilePath();
}

std::vector<SourceRecord> PlaylistSources::List() { return Database().Sources(); }

std::optional<SourceRecord> PlaylistSources::Find(const QString& which)
{
    const auto sources = Database().Sources();
    bool number = false;
    const long long n = which.toLongLong(&number);
    if (number && n >= 1 && n <= static_cast<long long>(sources.size()))
        return sources[static_cast<std::size_t>(n - 1)];
    for (const auto& s : sources)
        if (QString::fromStdString(s.location) == which || QString::fromStdString(s.location) == Normalized(which))
            return s;
    return std::nullopt;
}

SourceOutcome PlaylistSources::Read(const QString& location, const ProgressFunction& progress, bool dryRun,
                                    const std::atomic<bool>* cancel)
{
    // A panel's playlist address remembered as a playlist stays one: read as the account it
    // would bring the same channels in again beside it.
    if (const auto login = ProviderLogin::FromPlaylistAddress(location);
        login && !Known(Normalized(location).toStdString()) && AccountPlaylist::AnswersAsPanel(*login, cancel))
        return ReadFrom(login->Location(), &*login, progress, dryRun, cancel);
    if (auto login = ProviderLogin::FromLocation(location.trimmed())) {
        login->SetPassword(PasswordOf(*login));
        return ReadFrom(login->Location(), &*login, progress, dryRun, cancel);
    }
    return ReadFrom(Normalized(location), nullptr, progress, dryRun, cancel);
}

SourceOutcome PlaylistSources::ReadAccount(const ProviderLogin& login, const ProgressFunction& progress, bool dryRun,
                                           const std::atomic<bool>* cancel)
{
    return ReadFrom(login.Location(), &login, progress, dryRun, cancel);
}

QString PlaylistSources::PasswordOf(const ProviderLogin& login)
{
    if (passwordOf_)
        if (QString found = passwordOf_(login); !found.isEmpty())
            return found;
    if (!db_ && !QFileInfo::exists(QString::fromStdString(ViewerDatabase::FileBeside(catalogue_))))
        return {};
    const auto kept = ProviderAccountStore::Find(Database(), login.Location().toStdString());
    return kept && kept->password ? QString::fromStdString(*kept->password) : QString();
}

SourceOutcome PlaylistSources::ReadFrom(const QString& where, const ProviderLogin* account,
                                        const ProgressFunction& progress, bool dryRun, const std::atomic<bool>* cancel)
{
    const std::string shown = where.toStdString();
    // A catalogue that cannot be read stops the read before anything is fetched.
    CatalogueImport::CheckReadable(catalogue_);
    const std::optional<SourceRecord> known = Known(shown);
    try {
        QByteArray bytes;
        QUrl base;
        std::optional<AccountPlaylist> lists;
        if (account) {
            if (account->Password().isEmpty())
                throw Exception("Cannot read " + shown + ": no password is known for this account; add it again");
            if (progress)
                progress(Progress{Progress::Stage::Downloading, 0, -1});
            lists.emplace(*account, cancel);
            bytes = lists->Bytes();
            base = QUrl(account->Server() + QLatin1Char('/'));
        } else {
            PlaylistSource source(where);
            PlaylistSource::Options options;
            options.cancel = cancel;
            if (progress)
                options.progress = [&progress](qint64 received, qint64 total) {
                    progress(Progress{Progress::Stage::Downloading, received, total});
                };
            bytes = source.Read(options);
            base = source.Base();
        }
        if (bytes.trimmed().isEmpty())
            throw Exception("Cannot import " + shown + ": it is empty");

        std::unique_ptr<M3uPlaylist> parsed;
        try {
            parsed = std::make_unique<M3uPlaylist>(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), base);
        } catch (const Exception& e) {
            throw Exception("Cannot import " + shown + ": " + e.Message());
        }
        if (parsed->Entries().empty() && parsed->WithoutAddress() == 0) {
            std::string why = "it holds no channels";
            if (parsed->TooLongLines() > 0)
                why +=
                    " (" + std::to_string(parsed->TooLongLines()) + " lines too long to be a channel's were skipped)";
            throw Exception("Cannot import " + shown + ": " + why);
        }

        // From here on the catalogue is read, merged and written by this reader alone.
        const CatalogueLock lock(catalogue_);
        if (!dryRun)
            RepairHeld(true);
        CatalogueImport import(catalogue_);
        if (known)
            import.SetSourceChannels(OwnedNames(Database().Channels(known->id)));
        import.Add(*parsed, [&](std::size_t done, std::size_t total) {
            if (cancel && cancel->load())
                throw Exception("Importing " + shown + " was cancelled");
        if (progress)
            progress(Progress{Progress::Stage::Importing, static_cast<long long>(done), static_cast<long long>(total)});
    });
    const ImportReport& r = import.Report();
    if (r.Added() + r.Updated() + r.Present() == 0)
        throw Exception("Nothing imported from " + shown + ": every entry was skipped");
    if (known) {
        const auto others = Database().NamesOfOtherSources(known->id);
            import.RemoveUnclaimed([&others](std::string_view name) { return others.count(std::string(name)) != 0;
    });
}

SourceOutcome outcome;
outcome.location = shown;
outcome.entries = static_cast<long long>(parsed->Entries().size()) + parsed->WithoutAddress();
outcome.catchup = CatchupSummary::Of(*parsed, import);
if (dryRun) {
    outcome.report = import.Report();
    return outcome;
}
if (progress)
    progress(Progress{Progress::Stage::Writing, 0, -1});
// What the source now lists, channel by channel, as the catalogue names them.
std::vector<SourceChannel> channels;
channels.reserve(import.PlacementCount());
const auto& entries = parsed->Entries();
for (std::size_t i = 0; i < import.PlacementCount(); ++i) {
    const auto placed = import.Placed(i);
    if (placed.name.empty())
        continue;
    const PlaylistEntry& e = entries[i];
    SourceChannel c;
    c.category = std::string(placed.category);
    c.name = std::string(placed.name);
    c.address = e.address;
    c.options = e.options;
    c.tvgId = e.tvgId;
    c.tvgName = e.tvgName;
    c.tvgChno = e.tvgChno;
    c.tvgShift = e.tvgShift;
    c.logo = e.tvgLogo;
    if (e.catchup.state == CatchupState::Ready) {
        c.catchupMode = std::string(CatchupModeName(e.catchup.catchup.mode));
        c.catchupDays = e.catchup.catchup.days;
        c.catchupSource = e.catchup.catchup.source;
        c.catchupCorrectionMinutes = e.catchup.catchup.correctionMinutes;
    }
    c.owned = placed.owned;
    channels.push_back(std::move(c));
}
SourceRecord record;
record.location = shown;
record.lastRead = QDateTime::currentSecsSinceEpoch();
record.guideAddresses = parsed->GuideAddresses();
record.userAgent = parsed->HeaderUserAgent();
record.tvgShift = parsed->HeaderShift();
outcome.written = Apply(import, [&](const std::function<void()>& within) {
    outcome.sourceId = Database().StoreRead(record, channels, [&] {
        within();
        // What the panel said commits with the account's lists.
        if (lists) {
            ProviderAccountStore::Account state = AccountState(*lists);
            const auto source = Database().FindSource(shown);
            if (!source)
                throw Exception("the account's source was not stored");
            state.sourceId = source->id;
            ProviderAccountStore::StoreState(Database(), state);
        }
    });
});
if (lists) {
    outcome.account = *account;
    outcome.accountInfo = lists->Info();
}
outcome.report = import.Report();
return outcome;
} // namespace quorvel
catch (const Exception& e)
{
    if (known && !dryRun) {
        try {
            Database().StoreFailure(known->id, e.Message());
        } catch (const Exception&) {
            // The reason is lost, the channels are not: the read's own failure is the news.
        }
    }
    throw;
}
}

SourceOutcome PlaylistSources::Remove(const SourceRecord& source)
{
    SourceOutcome outcome;
    outcome.location = source.location;
    const CatalogueLock lock(catalogue_);
    RepairHeld(true);
    CatalogueImport import(catalogue_);
    import.SetSourceChannels(OwnedNames(Database().Channels(source.id)));
    const auto others = Database().NamesOfOtherSources(source.id);
    import.RemoveUnclaimed([&others](std::string_view name) { return others.count(std::string(name)) != 0;
});
outcome.written =
    Apply(import, [&](const std::function<void()>& within) { Database().RemoveSource(source.id, within); });
outcome.report = import.Report();
return outcome;
}

namespace {

ChannelNumbers NumbersOf(const ChannelTree& tree, const std::vector<std::pair<std::string, std::string>>& given,
                         const ChannelNumbers::Kept& kept)
{
    std::unordered_map<std::string, std::string, FoldedNameHash, FoldedNameEqual> first;
    // The first source to give a channel a number speaks for it.
    for (const auto& [name, number] : given)
        first.try_emplace(name, number);
    return ChannelNumbers::Of(tree, first, kept);
}

ChannelNumberStore::Numbers Listed(const ChannelNumbers& numbers)
{
    ChannelNumberStore::Numbers out;
    for (const auto& c : numbers.Channels())
        if (c.number > 0)
            out.emplace_back(c.name, c.number);
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    return out;
}

} // namespace

bool PlaylistSources::Apply(const CatalogueImport& import,
                            const std::function<void(const std::function<void()>& within)>& change)
{
    std::optional<StagedCatalogue> staged;
    std::shared_ptr<const ProfileText> after;
    if (import.HasChanges()) {
        std::string bytes = import.Contents();
        staged.emplace(catalogue_);
        staged->Write(bytes);
        after = std::make_shared<const ProfileText>(std::move(bytes));
    }
    ViewerDatabase& db = Database();
    // Sources kept only in memory would be forgotten while the catalogue keeps their channels.
    if (db.InMemory())
        throw Exception("The catalogue was left as it is: its playlist sources cannot be remembered while the "
                        "viewer's data lives only in memory (" +
                        db.Notice() + ")");
    // The numbers the viewer knows now: those kept, and those worked out for channels that have
    // none kept yet (the window numbers them the same way), so that none of them moves.
    const ChannelNumberStore::Numbers stored = ChannelNumberStore::Read(db);
    ChannelNumbers::Kept kept(stored.begin(), stored.end());
    const std::shared_ptr<const ProfileText> before = std::make_shared<const ProfileText>(import.Text().Bytes());
    const ChannelNumbers now = NumbersOf(ChannelTree::Of(before), db.GivenChannelNumbers(), kept);
    for (const auto& c : now.Channels())
        if (c.number > 0)
            kept.try_emplace(c.name, c.number);
    if (staged)
        PendingCatalogue::SyncEveryCommit(db, true);
    try {
        change([&] {
            if (staged)
                PendingCatalogue::Note(db, catalogue_, staged->Checksum());
            const ChannelNumberStore::Numbers numbers =
                Listed(NumbersOf(ChannelTree::Of(after ? after : before), db.GivenChannelNumbers(), kept));
            if (numbers != stored)
                ChannelNumberStore::Store(db, numbers);
            FaultPoint();
        });
    } catch (...) {
        try {
            if (staged)
                PendingCatalogue::SyncEveryCommit(db, false);
        } catch (const Exception&) {
            // The change's own failure is the news.
        }
        throw;
    }
    if (!staged)
        return false;
    staged->Committed();
    try {
        PendingCatalogue::SyncEveryCommit(db, false);
    } catch (const Exception&) {
        // Later commits are only synced more than they need: the change itself stands.
    }
    FaultPoint();
    staged->Install();
    try {
        PendingCatalogue::Clear(db, catalogue_);
    } catch (const Exception&) {
        // A note left behind names the catalogue in place; the next change clears it.
    }
    FaultPoint();
    return true;
}

std::string PlaylistSources::Repair()
{
    // Nothing staged, nothing to do: the database is not even opened for it.
    if (!QFileInfo::exists(QString::fromStdString(StagedCatalogue::StagedFileOf(catalogue_))))
        return {};
    const CatalogueLock lock(catalogue_);
    return RepairHeld(false);
}

std::string PlaylistSources::RepairHeld(bool changing)
{
    const std::string stagedFile = StagedCatalogue::StagedFileOf(catalogue_);
    const bool isStaged = QFileInfo::exists(QString::fromStdString(stagedFile));
    if (!isStaged &&
        (!changing || (!db_ && !QFileInfo::exists(QString::fromStdString(ViewerDatabase::FileBeside(catalogue_))))))
        return {};
    ViewerDatabase& db = Database();
    // A database that could not be opened says nothing of what the one on disk committed to:
    // the staged file waits for a start that can read it.
    if (db.InMemory())
        return {};
    const std::optional<std::string> noted = PendingCatalogue::Noted(db, catalogue_);
    std::string said;
    if (isStaged && noted && *noted == StagedCatalogue::ChecksumOfFile(stagedFile)) {
        // The database committed to it: the catalogue follows.
        StagedCatalogue::InstallFile(catalogue_);
        said = "A change of the catalogue " + catalogue_ +
               " was cut short after the playlist sources had changed; it was completed.";
    } else if (isStaged) {
        // The change never reached the database: the catalogue stays as it is.
        ::unlink(stagedFile.c_str());
        said = "A change of the catalogue " + catalogue_ +
               " was cut short before the playlist sources had changed; it was undone.";
    }
    if (noted)
        PendingCatalogue::Clear(db, catalogue_);
    if (!said.empty())
        repairs_.push_back(said);
    return said;
}

std::vector<std::string> PlaylistSources::TakeRepairs() { return std::exchange(repairs_, {}); }

} // namespace quorvel
