#include "userdata/viewerdatabase.h"

#include "base/exception.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QThread>
#include <QThreadPool>
#include <QVariant>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <sys/statvfs.h>

namespace quorvel {
namespace {

// Files whose every page was checked by a connection of this process. The check reads the whole
// file (about 130 ms for a guide of 480,000 programmes): once at the first opening is enough, and
// the connections opened later on the window's thread (lookups for the tree and the card) or
// for a guide's read must not pay it again.
std::mutex checkedMutex;
std::set<std::string> checkedFiles;

bool NeedsCheck(const std::string& file)
{
    std::lock_guard lock(checkedMutex);
    return checkedFiles.count(file) == 0;
}

void Checked(const std::string& file)
{
    std::lock_guard lock(checkedMutex);
    checkedFiles.insert(file);
}

constexpr int kBusyTimeoutMs = 15000;

// Whether the database's folder is (all but) out of space: SQLite needs room for its shared
// memory file and its log even to read.
bool NoSpaceBeside(const QString& file)
{
    struct statvfs st;
    const QByteArray folder = QFileInfo(file).absolutePath().toLocal8Bit();
    return ::statvfs(folder.constData(), &st) == 0 &&
           static_cast<unsigned long long>(st.f_bavail) * st.f_frsize < (1ULL << 20);
}

// Each schema version's statements, from the one before it. A new version appends its own
// step; a step once released never changes, so every older file comes up the same way.
const std::vector<std::vector<const char*>>& Migrations()
{
    static const std::vector<std::vector<const char*>> steps = {
        // 1: playlist sources and the channels each listed when last read.
        {
            "CREATE TABLE sources ("
            " id INTEGER PRIMARY KEY,"
            " location TEXT NOT NULL UNIQUE,"
            " last_read INTEGER NOT NULL DEFAULT 0,"
            " guide_addresses TEXT NOT NULL DEFAULT '',"
            " user_agent TEXT NOT NULL DEFAULT '',"
            " last_error TEXT NOT NULL DEFAULT '')",
            "CREATE TABLE source_channels ("
            " source_id INTEGER NOT NULL REFERENCES sources(id) ON DELETE CASCADE,"
            " position INTEGER NOT NULL,"
            " category TEXT NOT NULL,"
            " name TEXT NOT NULL,"
            " address TEXT NOT NULL,"
            " user_agent TEXT NOT NULL DEFAULT '',"
            " referrer TEXT NOT NULL DEFAULT '',"
            " origin TEXT NOT NULL DEFAULT '',"
            " tvg_id TEXT NOT NULL DEFAULT '',"
            " tvg_name TEXT NOT NULL DEFAULT '',"
            " tvg_chno TEXT NOT NULL DEFAULT '',"
            " tvg_shift TEXT NOT NULL DEFAULT '',"
            " owned INTEGER NOT NULL DEFAULT 1,"
            " PRIMARY KEY (source_id, position))",
            "CREATE INDEX source_channels_by_name ON source_channels (name COLLATE NOCASE)",
        },
        // 2: the programme guide, each channel's programmes by catalogue name and start.
        {
            "CREATE TABLE programmes ("
            " channel TEXT NOT NULL COLLATE NOCASE,"
            " start INTEGER NOT NULL,"
            " stop INTEGER NOT NULL,"
            " title TEXT NOT NULL DEFAULT '',"
            " sub_title TEXT NOT NULL DEFAULT '',"
            " description TEXT NOT NULL DEFAULT '',"
            " category TEXT NOT NULL DEFAULT '',"
            " PRIMARY KEY (channel, start)) WITHOUT ROWID",
        },
        // 3: favourites and recently watched channels, each a reference that a refresh can follow:
        // the source's location and the channel's tvg-id, its catalogue name and its address.
        // No key to sources: a favourite outlives the playlist it came from. Made only if missing:
        // a file taken back to an older version by hand keeps what it had.
        {
            "CREATE TABLE IF NOT EXISTS marked_channels ("
            " list TEXT NOT NULL,"
            " position INTEGER NOT NULL,"
            " source TEXT NOT NULL DEFAULT '',"
            " tvg_id TEXT NOT NULL DEFAULT '',"
            " name TEXT NOT NULL,"
            " address TEXT NOT NULL DEFAULT '',"
            " PRIMARY KEY (list, position))",
            "CREATE INDEX IF NOT EXISTS source_channels_by_tvg_id ON source_channels (tvg_id)",
            "CREATE INDEX IF NOT EXISTS source_channels_by_address ON source_channels (address)",
        },
        // 4: the tvg-shift a playlist's header gives its channels without one of their own, and
        // the programme guides the viewer added by address. Made only where missing, as in 3.
        {
            "ALTER TABLE sources ADD COLUMN tvg_shift TEXT NOT NULL DEFAULT ''",
            "CREATE TABLE IF NOT EXISTS guide_sources ("
            " id INTEGER PRIMARY KEY,"
            " location TEXT NOT NULL UNIQUE,"
            " added INTEGER NOT NULL DEFAULT 0)",
        },
        // 5: the viewer's settings (the sound, the window's place, the tree as last left), by name.
        {
            "CREATE TABLE IF NOT EXISTS settings ("
            " key TEXT NOT NULL PRIMARY KEY,"
            " value TEXT NOT NULL) WITHOUT ROWID",
        },
        // 6: the guide each programme was read from, so that a guide no longer read takes its
        // programmes with it. Programmes kept before say none, and age out as ever.
        {
            "ALTER TABLE programmes ADD COLUMN guide TEXT NOT NULL DEFAULT ''",
        },
    };
    return steps;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QVariant& v) { return v.toString().toStdString(); }

// Why opening failed, and whether the file itself is at fault (moved aside) or only busy.
struct OpenFailure {
    std::string why;
    bool damaged;
    bool busy = false; // another connection held the file just then
};

// A statement that failed, on its way to the caller that knows what it was for.
struct SqlFailure {
    QSqlError error;
};

SqlFailure Failure(const QSqlError& e) { return SqlFailure{e}; }

bool IsBusy(const QSqlError& error)
{
    // SQLite's result codes: 5 busy, 6 locked. Some of them (a change of journal mode, a
    // connection that must wait for another's recovery of the log) come without any wait.
    const int primary = error.nativeErrorCode().toInt() & 0xFF;
    return primary == 5 || primary == 6;
}

bool IsDamage(const QSqlError& error)
{
    // SQLite's result codes: 10 I/O error, 11 corrupt, 14 cannot open, 26 not a database.
    const int code = error.nativeErrorCode().toInt();
    const int primary = code & 0xFF;
    return primary == 10 || primary == 11 || primary == 14 || primary == 26;
}

// The table and column an "ALTER TABLE t ADD COLUMN c ..." statement adds; empty for any other.
std::pair<QString, QString> AddedColumn(const char* sql)
{
    const QStringList words = QString::fromUtf8(sql).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 6 || words[0].compare(QLatin1String("ALTER"), Qt::CaseInsensitive) != 0 ||
        words[3].compare(QLatin1String("ADD"), Qt::CaseInsensitive) != 0 ||
        words[4].compare(QLatin1String("COLUMN"), Qt::CaseInsensitive) != 0)
        return {};
    return {words[2], words[5]};
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& line : lines)
        out += (out.empty() ? "" : "\n") + line;
    return out;
}

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        if (!line.empty())
            out.push_back(line);
        if (nl == std::string::npos)
            break;
        pos = nl + 1;
    }
    return out;
}

} // namespace

// One Qt SQL connection, named uniquely and removed with the object.
class ViewerDatabase::Connection {
public:
    explicit Connection(const QString& file)
    {
        static std::atomic<int> counter{0};
        name_ = QStringLiteral("quorvel-viewer-%1").arg(counter.fetch_add(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        if (!db.open())
            throw OpenFailure{db.lastError().text().toStdString(), IsDamage(db.lastError())};
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }

    QSqlDatabase Db() const { return QSqlDatabase::database(name_, false); }
    const QString& Name() const { return name_; }

    bool HasColumn(const QString& table, const QString& column) const
    {
        QSqlQuery query(Db());
        if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
            throw Failure(query.lastError());
        while (query.next())
            if (query.value(1).toString().compare(column, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }

    // Runs one statement; on failure throws what the caller gives as the context.
    QSqlQuery Run(const char* sql, std::initializer_list<QVariant> values = {}) const
    {
        return Run(QString::fromUtf8(sql), QVariantList(values));
    }
    QSqlQuery Run(const QString& sql, const QVariantList& values) const
    {
        QSqlQuery query(Db());
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            throw Failure(query.lastError());
        for (const QVariant& v : values)
            query.addBindValue(v);
        if (!query.exec())
            throw Failure(query.lastError());
        return query;
    }

    // Runs the work in one write transaction, taken at once so that two writers queue up on the
    // lock instead of failing halfway.
    template <typename Work>
    void Write(Work&& work) const
    {
        Run("BEGIN IMMEDIATE");
        try {
            work();
            Run("COMMIT");
        } catch (...) {
            QSqlQuery(Db()).exec(QStringLiteral("ROLLBACK"));
            throw;
        }
    }

private:
    QString name_;
};

std::string ViewerDatabase::FileBeside(const std::string& catalogueFile)
{
    const QFileInfo catalogue(Q(catalogueFile));
    return (catalogue.absolutePath() + QLatin1Char('/') + QLatin1String(FileName)).toStdString();
}

ViewerDatabase::ViewerDatabase(std::string file) : file_(std::move(file)) { Open(); }

void ViewerDatabase::ForgetCheckedFiles()
{
    std::lock_guard lock(checkedMutex);
    checkedFiles.clear();
}

void ViewerDatabase::LoadDriverAhead()
{
    static std::once_flag once;
    std::call_once(once, [] {
        QThreadPool::globalInstance()->start([] {
            const QString name = QStringLiteral("quorvel-driver-ahead");
            // The plugin stays loaded once a connection was made with it.
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            QSqlDatabase::removeDatabase(name);
        });
    });
}

ViewerDatabase::~ViewerDatabase() = default;

void ViewerDatabase::Open()
{
    auto attempt = [this](const QString& file) {
        db_ = std::make_unique<Connection>(file);
        try {
            const QSqlDatabase db = db_->Db();
            // The header is read here: a file that is no database fails now, not later.
            const std::string path = file.toStdString();
            if (NeedsCheck(path)) {
                QSqlQuery check = db_->Run("PRAGMA quick_check");
                if (check.next() && check.value(0).toString() != QLatin1String("ok"))
                    throw OpenFailure{"it is damaged (" + S(check.value(0)) + ")", true};
            } else {
                // Still a database: its header and schema are read.
                db_->Run("SELECT count(*) FROM sqlite_master");
            }
            db_->Run("PRAGMA journal_mode=WAL");
            db_->Run("PRAGMA synchronous=NORMAL");
            db_->Run("PRAGMA foreign_keys=ON");
            db_->Write([this] {
                QSqlQuery version = db_->Run("PRAGMA user_version");
                int at = version.next() ? version.value(0).toInt() : 0;
                version.finish();
                const auto& steps = Migrations();
                // A file from a newer program is used as it stands: versions only ever add.
                for (; at < static_cast<int>(steps.size()); ++at) {
                    for (const char* sql : steps[static_cast<std::size_t>(at)]) {
                        // SQLite has no "ADD COLUMN IF NOT EXISTS": a file set back to an older
                        // version by hand already has the column, and keeps it.
                        if (const auto [table, column] = AddedColumn(sql);
                            !column.isEmpty() && db_->HasColumn(table, column))
                            continue;
                        db_->Run(sql);
                    }
                    db_->Run(QStringLiteral("PRAGMA user_version=%1").arg(at + 1).toUtf8().constData());
                }
            });
            Checked(path);
        } catch (const SqlFailure& f) {
            db_.reset();
            throw OpenFailure{f.error.text().toStdString(), IsDamage(f.error), IsBusy(f.error)};
        } catch (...) {
            db_.reset();
            throw;
        }
    };
    const QString file = Q(file_);
    // Several programs opening one new file at once meet each other's locks while the first
    // one makes it: those wait their turn, as long as any statement would.
    auto attemptWaiting = [&attempt](const QString& name) {
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            try {
                attempt(name);
                return;
            } catch (const OpenFailure& f) {
                if (!f.busy || waited.elapsed() > kBusyTimeoutMs)
                    throw;
            }
            QThread::msleep(20);
        }
    };
    try {
        attemptWaiting(file);
        return;
    } catch (const OpenFailure& failure) {
        // A device with no space left fails SQLite's opening with errors that read as damage:
        // the file is whole, and stays where it is.
        OpenFailure first = failure;
        if (NoSpaceBeside(file)) {
            first.damaged = false;
            first.why += std::string("; ") + std::strerror(ENOSPC);
        }
        if (first.damaged && QFileInfo::exists(file)) {
            const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
            const QFileInfo info(file);
            const QString aside = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
                                  QLatin1String("-damaged-") + stamp +
                                  (info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix());
            if (QFile::rename(file, aside)) {
                // Its journal files belong to it, not to the fresh one.
                for (const char* journal : {"-wal", "-shm"})
                    if (QFile::exists(file + QLatin1String(journal)))
                        QFile::rename(file + QLatin1String(journal), aside + QLatin1String(journal));
                try {
                    attemptWaiting(file);
                    notice_ = "The viewer's data in " + file_ + " could not be read (" + first.why +
                              "); it was moved aside as " + aside.toStdString() +
                              " and a fresh one was started: playlist sources must be added again.";
                    return;
                } catch (const OpenFailure&) {
                }
            }
        }
        // Nothing on disk can be used: the program runs on with its data in memory.
        try {
            attempt(QStringLiteral(":memory:"));
            inMemory_ = true;
        } catch (const OpenFailure& memory) {
            throw Exception("The viewer's data cannot be kept even in memory: " + memory.why);
        }
        notice_ = "The viewer's data in " + file_ + " cannot be used (" + first.why +
                  "); playlist sources added now are kept only until the player ends.";
    }
}

std::string ViewerDatabase::ConnectionName() const { return db_->Name().toStdString(); }

int ViewerDatabase::SchemaVersion() const
{
    try {
        QSqlQuery q = db_->Run("PRAGMA user_version");
        return q.next() ? q.value(0).toInt() : 0;
    } catch (const SqlFailure& f) {
        throw Exception("Cannot read the viewer's data: " + f.error.text().toStdString());
    }
}

namespace {

SourceRecord RecordOf(const QSqlQuery& q)
{
    SourceRecord r;
    r.id = q.value(0).toLongLong();
    r.location = S(q.value(1));
    r.lastRead = q.value(2).toLongLong();
    r.guideAddresses = Split(S(q.value(3)));
    r.userAgent = S(q.value(4));
    r.lastError = S(q.value(5));
    r.tvgShift = S(q.value(6));
    return r;
}

constexpr const char* kSourceColumns =
    "SELECT id, location, last_read, guide_addresses, user_agent, last_error, tvg_shift FROM sources ";

// Runs a query's work; a failing statement becomes the message the viewer reads.
template <typename Work>
auto Guarded(const char* what, Work&& work)
{
    try {
        return work();
    } catch (const SqlFailure& f) {
        // SQLite says "database or disk is full" (13) for a device with no space left: the
        // viewer reads the system's own words for it, as for any other file.
        const bool full = (f.error.nativeErrorCode().toInt() & 0xFF) == 13;
        throw Exception(std::string("Cannot ") + what + " the viewer's data: " + f.error.text().toStdString() +
                        (full ? std::string(" (") + std::strerror(ENOSPC) + ")" : std::string()));
    }
}

} // namespace

std::vector<SourceRecord> ViewerDatabase::Sources() const
{
    return Guarded("read", [&] {
        QSqlQuery q = db_->Run((std::string(kSourceColumns) + "ORDER BY id").c_str());
        std::vector<SourceRecord> out;
        while (q.next())
            out.push_back(RecordOf(q));
        return out;
    });
}

std::optional<SourceRecord> ViewerDatabase::FindSource(const std::string& location) const
{
    return Guarded("read", [&]() -> std::optional<SourceRecord> {
        QSqlQuery q = db_->Run((std::string(kSourceColumns) + "WHERE location = ?").c_str(), {Q(location)});
        if (q.next())
            return RecordOf(q);
        return std::nullopt;
    });
}

std::optional<SourceRecord> ViewerDatabase::FindSource(std::int64_t id) const
{
    return Guarded("read", [&]() -> std::optional<SourceRecord> {
        QSqlQuery q = db_->Run((std::string(kSourceColumns) + "WHERE id = ?").c_str(), {QVariant::fromValue(id)});
        if (q.next())
            return RecordOf(q);
        return std::nullopt;
    });
}

std::vector<SourceChannel> ViewerDatabase::Channels(std::int64_t source) const
{
    return Guarded("read", [&] {
        QSqlQuery q = db_->Run("SELECT category, name, address, user_agent, referrer, origin, tvg_id, tvg_name, "
                               "tvg_chno, tvg_shift, owned FROM source_channels WHERE source_id = ? ORDER BY position",
                               {QVariant::fromValue(source)});
        std::vector<SourceChannel> out;
        while (q.next()) {
            SourceChannel c;
            c.category = S(q.value(0));
            c.name = S(q.value(1));
            c.address = S(q.value(2));
            c.options = RequestOptions{S(q.value(3)), S(q.value(4)), S(q.value(5))};
            c.tvgId = S(q.value(6));
            c.tvgName = S(q.value(7));
            c.tvgChno = S(q.value(8));
            c.tvgShift = S(q.value(9));
            c.owned = q.value(10).toInt() != 0;
            out.push_back(std::move(c));
        }
        return out;
    });
}

std::unordered_set<std::string> ViewerDatabase::NamesOfOtherSources(std::int64_t source) const
{
    return Guarded("read", [&] {
        QSqlQuery q = db_->Run("SELECT name FROM source_channels WHERE source_id <> ?", {QVariant::fromValue(source)});
        std::unordered_set<std::string> out;
        while (q.next())
            out.insert(S(q.value(0)));
        return out;
    });
}

std::int64_t ViewerDatabase::StoreRead(const SourceRecord& source, const std::vector<SourceChannel>& channels,
                                       const std::function<void()>& within)
{
    return Guarded("store", [&] {
        std::int64_t id = 0;
        db_->Write([&] {
            db_->Run("INSERT INTO sources (location) VALUES (?) ON CONFLICT (location) DO NOTHING",
                     {Q(source.location)});
            QSqlQuery found = db_->Run("SELECT id FROM sources WHERE location = ?", {Q(source.location)});
            if (!found.next())
                throw Exception("the source was not stored");
            id = found.value(0).toLongLong();
            found.finish();
            db_->Run("UPDATE sources SET last_read = ?, guide_addresses = ?, user_agent = ?, tvg_shift = ?, "
                     "last_error = '' WHERE id = ?",
                     {QVariant::fromValue(source.lastRead), Q(Joined(source.guideAddresses)), Q(source.userAgent),
                      Q(source.tvgShift), QVariant::fromValue(id)});
            db_->Run("DELETE FROM source_channels WHERE source_id = ?", {QVariant::fromValue(id)});
            QSqlQuery insert(db_->Db());
            insert.prepare(QStringLiteral(
                "INSERT INTO source_channels (source_id, position, category, name, address, user_agent, referrer, "
                "origin, tvg_id, tvg_name, tvg_chno, tvg_shift, owned) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "?)"));
            int position = 0;
            for (const auto& c : channels) {
                insert.bindValue(0, QVariant::fromValue(id));
                insert.bindValue(1, position++);
                insert.bindValue(2, Q(c.category));
                insert.bindValue(3, Q(c.name));
                insert.bindValue(4, Q(c.address));
                insert.bindValue(5, Q(c.options.userAgent));
                insert.bindValue(6, Q(c.options.referrer));
                insert.bindValue(7, Q(c.options.origin));
                insert.bindValue(8, Q(c.tvgId));
                insert.bindValue(9, Q(c.tvgName));
                insert.bindValue(10, Q(c.tvgChno));
                insert.bindValue(11, Q(c.tvgShift));
                insert.bindValue(12, c.owned ? 1 : 0);
                if (!insert.exec())
                    throw Failure(insert.lastError());
            }
            if (within)
                within();
        });
        return id;
    });
}

void ViewerDatabase::StoreFailure(std::int64_t source, const std::string& why)
{
    return Guarded("store", [&] {
        db_->Write([&] {
            db_->Run("UPDATE sources SET last_error = ? WHERE id = ?",
                     {Q(why.empty() ? "failed" : why), QVariant::fromValue(source)});
        });
    });
}

void ViewerDatabase::RemoveSource(std::int64_t source, const std::function<void()>& within)
{
    return Guarded("change", [&] {
        db_->Write([&] {
            db_->Run("DELETE FROM source_channels WHERE source_id = ?", {QVariant::fromValue(source)});
            db_->Run("DELETE FROM sources WHERE id = ?", {QVariant::fromValue(source)});
            if (within)
                within();
        });
    });
}

RequestOptions ViewerDatabase::RequestOptionsOf(const std::string& channel) const
{
    return Guarded("read", [&]() -> RequestOptions {
        QSqlQuery q = db_->Run("SELECT user_agent, referrer, origin FROM source_channels "
                               "WHERE name = ? COLLATE NOCASE "
                               "AND (user_agent <> '' OR referrer <> '' OR origin <> '') LIMIT 1",
                               {Q(channel)});
        if (q.next())
            return RequestOptions{S(q.value(0)), S(q.value(1)), S(q.value(2))};
        return {};
    });
}

std::vector<std::string> ViewerDatabase::GuideSources() const
{
    return Guarded("read", [&] {
        QSqlQuery q = db_->Run("SELECT location FROM guide_sources ORDER BY id");
        std::vector<std::string> out;
        while (q.next())
            out.push_back(S(q.value(0)));
        return out;
    });
}

bool ViewerDatabase::AddGuideSource(const std::string& location, std::int64_t when)
{
    return Guarded("store", [&] {
        QSqlQuery q = db_->Run("INSERT INTO guide_sources (location, added) VALUES (?, ?) "
                               "ON CONFLICT (location) DO NOTHING",
                               {Q(location), QVariant::fromValue(when)});
        return q.numRowsAffected() > 0;
    });
}

void ViewerDatabase::RemoveGuideSource(const std::string& location)
{
    Guarded("change", [&] { db_->Run("DELETE FROM guide_sources WHERE location = ?", {Q(location)}); });
}

std::size_t ViewerDatabase::ForgetGuidesOtherThan(const std::vector<std::string>& read)
{
    return Guarded("change", [&] {
        QString sql = QStringLiteral("DELETE FROM programmes WHERE guide <> ''");
        QVariantList values;
        if (!read.empty()) {
            sql += QStringLiteral(" AND guide NOT IN (");
            for (std::size_t i = 0; i < read.size(); ++i) {
                sql += i ? QStringLiteral(", ?") : QStringLiteral("?");
                values << Q(read[i]);
            }
            sql += QLatin1Char(')');
        }
        std::size_t dropped = 0;
        db_->Write([&] {
            QSqlQuery q = db_->Run(sql, values);
            dropped = static_cast<std::size_t>(std::max(0, q.numRowsAffected()));
        });
        return dropped;
    });
}

std::vector<std::pair<std::string, std::string>> ViewerDatabase::GivenChannelNumbers() const
{
    return Guarded("read", [&] {
        QSqlQuery q = db_->Run("SELECT name, tvg_chno FROM source_channels WHERE tvg_chno <> '' "
                               "ORDER BY source_id, position",
                               {});
        std::vector<std::pair<std::string, std::string>> out;
        while (q.next())
            out.emplace_back(S(q.value(0)), S(q.value(1)));
        return out;
    });
}

} // namespace quorvel
