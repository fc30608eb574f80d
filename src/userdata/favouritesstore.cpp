#include "userdata/favouritesstore.h"

#include "base/exception.h"
#include "userdata/viewerdatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <algorithm>
#include <atomic>

namespace quorvel {
namespace {

constexpr int kBusyTimeoutMs = 15000;
constexpr const char* kFavourites = "favourite";
constexpr const char* kRecent = "recent";

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QVariant& v) { return v.toString().toStdString(); }

bool SameName(const std::string& a, const std::string& b) { return Q(a).compare(Q(b), Qt::CaseInsensitive) == 0; }

} // namespace

// The store's own connection to the viewer's file: it lives beside the database object that
// made the file, on the same thread.
class FavouritesStore::Connection {
public:
    explicit Connection(const std::string& file)
    {
        static std::atomic<int> counter{0};
        name_ = QStringLiteral("quorvel-favourites-%1").arg(counter.fetch_add(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(Q(file));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        if (!db.open()) {
            const std::string why = db.lastError().text().toStdString();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            throw Exception("Cannot open the viewer's favourites: " + why);
        }
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }

    QSqlQuery Run(const char* sql, std::initializer_list<QVariant> values = {}) const
    {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        query.setForwardOnly(true);
        if (!query.prepare(QString::fromUtf8(sql)))
            Fail(query.lastError());
        for (const QVariant& v : values)
            query.addBindValue(v);
        if (!query.exec())
            Fail(query.lastError());
        return query;
    }

    // One write transaction, taken at once: a second writer waits for the lock instead of
    // failing halfway through a list.
    template <typename Work>
    void Write(Work&& work) const
    {
        Run("BEGIN IMMEDIATE");
        try {
            work();
            Run("COMMIT");
        } catch (...) {
            QSqlQuery(QSqlDatabase::database(name_, false)).exec(QStringLiteral("ROLLBACK"));
            throw;
        }
    }

private:
    [[noreturn]] static void Fail(const QSqlError& error)
    {
        throw Exception("Cannot use the viewer's favourites: " + error.text().toStdString());
    }

    QString name_;
};

FavouritesStore::FavouritesStore(const ViewerDatabase& database) : db_(std::make_unique<Connection>(database.File()))
{
    // Every zap writes the recently watched: a commit waits for no disk, as the database's own
    // connection does (write-ahead logging keeps the file whole either way).
    db_->Run("PRAGMA synchronous=NORMAL");
    // A database that fell back to memory has no marked_channels in the file: say so now.
    db_->Run("SELECT 1 FROM marked_channels LIMIT 1");
}

FavouritesStore::~FavouritesStore() = default;

ChannelReference FavouritesStore::ReferenceOf(const std::string& name, const std::string& address) const
{
    // A channel that a source brought in is known by what that source says of it.
    QSqlQuery q = db_->Run("SELECT s.location, c.tvg_id, c.address FROM source_channels c "
                           "JOIN sources s ON s.id = c.source_id WHERE c.name = ? COLLATE NOCASE "
                           "ORDER BY c.owned DESC, s.id LIMIT 1",
                           {Q(name)});
    if (q.next())
        return ChannelReference{S(q.value(0)), S(q.value(1)), name, S(q.value(2))};
    return ChannelReference{"", "", name, address};
}

std::vector<ChannelReference> FavouritesStore::List(const char* list) const
{
    QSqlQuery q = db_->Run("SELECT source, tvg_id, name, address FROM marked_channels WHERE list = ? ORDER BY position",
                           {QString::fromLatin1(list)});
    std::vector<ChannelReference> out;
    while (q.next())
        out.push_back(ChannelReference{S(q.value(0)), S(q.value(1)), S(q.value(2)), S(q.value(3))});
    return out;
}

void FavouritesStore::Store(const char* list, const std::vector<ChannelReference>& entries)
{
    db_->Run("DELETE FROM marked_channels WHERE list = ?", {QString::fromLatin1(list)});
    int position = 0;
    for (const auto& e : entries)
        db_->Run("INSERT INTO marked_channels (list, position, source, tvg_id, name, address) "
                 "VALUES (?, ?, ?, ?, ?, ?)",
                 {QString::fromLatin1(list), position++, Q(e.source), Q(e.tvgId), Q(e.name), Q(e.address)});
}

std::vector<ChannelReference> FavouritesStore::Favourites() const { return List(kFavourites); }

std::vector<ChannelReference> FavouritesStore::RecentlyWatched() const { return List(kRecent); }

int FavouritesStore::FavouriteIndex(const std::string& name) const
{
    const auto all = Favourites();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (SameName(all[i].name, name))
            return static_cast<int>(i);
    return -1;
}

bool FavouritesStore::AddFavourite(const ChannelReference& channel)
{
    bool added = false;
    // Read and written under one lock: another player's change in between is not lost.
    db_->Write([&] {
        auto all = List(kFavourites);
        if (std::any_of(all.begin(), all.end(), [&](const auto& f) { return SameName(f.name, channel.name); }))
            return;
        all.push_back(channel);
        Store(kFavourites, all);
        added = true;
    });
    return added;
}

void FavouritesStore::RemoveFavourite(std::size_t index)
{
    db_->Write([&] {
        auto all = List(kFavourites);
        if (index >= all.size())
            return;
        all.erase(all.begin() + static_cast<std::ptrdiff_t>(index));
        Store(kFavourites, all);
    });
}

void FavouritesStore::MoveFavourite(std::size_t from, std::size_t to)
{
    db_->Write([&] {
        auto all = List(kFavourites);
        if (from >= all.size() || from == to)
            return;
        const ChannelReference moved = all[from];
        all.erase(all.begin() + static_cast<std::ptrdiff_t>(from));
        all.insert(all.begin() + static_cast<std::ptrdiff_t>(std::min(to, all.size())), moved);
        Store(kFavourites, all);
    });
}

void FavouritesStore::Watched(const ChannelReference& channel)
{
    db_->Write([&] {
        auto all = List(kRecent);
        std::erase_if(all, [&](const auto& r) { return SameName(r.name, channel.name); });
        all.insert(all.begin(), channel);
        if (all.size() > kRecentLimit)
            all.resize(kRecentLimit);
        Store(kRecent, all);
    });
}

void FavouritesStore::Follow(const std::function<bool(const std::string&)>& inCatalogue)
{
    // Where a reference's channel is now; the reference as it was when it is found nowhere.
    auto find = [&](const ChannelReference& ref) -> ChannelReference {
        if (!ref.source.empty() && !ref.tvgId.empty()) {
            QSqlQuery q = db_->Run("SELECT c.name, c.address FROM source_channels c "
                                   "JOIN sources s ON s.id = c.source_id "
                                   "WHERE s.location = ? AND c.tvg_id = ? ORDER BY c.position",
                                   {Q(ref.source), Q(ref.tvgId)});
            while (q.next())
                if (inCatalogue(S(q.value(0))))
                    return ChannelReference{ref.source, ref.tvgId, S(q.value(0)), S(q.value(1))};
        }
        if (inCatalogue(ref.name))
            return ref;
        if (!ref.address.empty()) {
            QSqlQuery q = db_->Run("SELECT s.location, c.tvg_id, c.name FROM source_channels c "
                                   "JOIN sources s ON s.id = c.source_id WHERE c.address = ? ORDER BY s.id, c.position",
                                   {Q(ref.address)});
            while (q.next())
                if (inCatalogue(S(q.value(2))))
                    return ChannelReference{S(q.value(0)), S(q.value(1)), S(q.value(2)), ref.address};
        }
        return ref;
    };
    db_->Write([&] {
        for (const char* list : {kFavourites, kRecent}) {
            const auto before = List(list);
            std::vector<ChannelReference> after;
            after.reserve(before.size());
            for (const auto& ref : before) {
                ChannelReference now = find(ref);
                // Two references that came to name one channel are one entry.
                if (std::none_of(after.begin(), after.end(), [&](const auto& a) { return SameName(a.name, now.name); }))
                    after.push_back(std::move(now));
            }
            if (after != before)
                Store(list, after);
        }
    });
}

} // namespace quorvel
