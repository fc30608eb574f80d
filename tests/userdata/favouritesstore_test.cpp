// Favourites and recently watched: kept in order, found again after a refresh, limited.
#include "scratchdir.h"
#include "userdata/favouritesstore.h"
#include "userdata/viewerdatabase.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>
#include <set>

using namespace quorvel;

namespace {

SourceChannel Listed(const std::string& category, const std::string& name, const std::string& address,
                     const std::string& tvgId)
{
    SourceChannel c;
    c.category = category;
    c.name = name;
    c.address = address;
    c.tvgId = tvgId;
    return c;
}

SourceRecord Source(const std::string& location)
{
    SourceRecord r;
    r.location = location;
    r.lastRead = 1000;
    return r;
}

std::vector<std::string> Names(const std::vector<ChannelReference>& refs)
{
    std::vector<std::string> out;
    for (const auto& r : refs)
        out.push_back(r.name);
    return out;
}

// The catalogue's channels as a refresh left them: what each source now lists, plus the given.
std::function<bool(const std::string&)> Catalogue(std::set<std::string> names)
{
    return [names = std::move(names)](const std::string& n) { return names.count(n) > 0; };
}

} // namespace

TEST(FavouritesStore, FirstSchemaGainsEmptyListsAndKeepsItsSources)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    {
        // The first schema as that release left it, with a source in it.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(QString::fromStdString(file));
        ASSERT_TRUE(db.open());
        for (const char* sql :
             {"CREATE TABLE sources (id INTEGER PRIMARY KEY, location TEXT NOT NULL UNIQUE, last_read INTEGER NOT NULL "
              "DEFAULT 0, guide_addresses TEXT NOT NULL DEFAULT '', user_agent TEXT NOT NULL DEFAULT '', last_error "
              "TEXT NOT NULL DEFAULT '')",
              "CREATE TABLE source_channels (source_id INTEGER NOT NULL REFERENCES sources(id) ON DELETE CASCADE, "
              "position INTEGER NOT NULL, category TEXT NOT NULL, name TEXT NOT NULL, address TEXT NOT NULL, "
              "user_agent TEXT NOT NULL DEFAULT '', referrer TEXT NOT NULL DEFAULT '', origin TEXT NOT NULL DEFAULT "
              "'', tvg_id TEXT NOT NULL DEFAULT '', tvg_name TEXT NOT NULL DEFAULT '', tvg_chno TEXT NOT NULL DEFAULT "
              "'', tvg_shift TEXT NOT NULL DEFAULT '', owned INTEGER NOT NULL DEFAULT 1, PRIMARY KEY (source_id, "
              "position))",
              "CREATE INDEX source_channels_by_name ON source_channels (name COLLATE NOCASE)",
              "INSERT INTO sources (id, location) VALUES (3, '/srv/tv.m3u')",
              "INSERT INTO source_channels (source_id, position, category, name, address, tvg_id) "
              "VALUES (3, 0, 'News', 'Alpha', 'http://h/a', 'alpha.tv')",
              "PRAGMA user_version=1"}) {
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(QString::fromUtf8(sql))) << sql;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));

    ViewerDatabase db(file);
    EXPECT_EQ(db.Notice(), "");
    EXPECT_EQ(db.SchemaVersion(), ViewerDatabase::kSchemaVersion);
    FavouritesStore store(db);
    EXPECT_TRUE(store.Favourites().empty());
    EXPECT_TRUE(store.RecentlyWatched().empty());
    // The old source's channel is known by its source and tvg-id.
    EXPECT_EQ(store.ReferenceOf("alpha", "ignored"),
              (ChannelReference{"/srv/tv.m3u", "alpha.tv", "alpha", "http://h/a"}));
    EXPECT_EQ(store.ReferenceOf("Hand made", "http://h/x"), (ChannelReference{"", "", "Hand made", "http://h/x"}));
    EXPECT_TRUE(store.AddFavourite(store.ReferenceOf("Alpha", "")));
    EXPECT_EQ(db.Channels(3).size(), 1u);
}

TEST(FavouritesStore, OrderAndRemovalPersistAcrossOpenings)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    {
        ViewerDatabase db(file);
        FavouritesStore store(db);
        for (const char* name : {"A", "B", "C", "D"})
            EXPECT_TRUE(store.AddFavourite(ChannelReference{"", "", name, ""}));
        EXPECT_FALSE(store.AddFavourite(ChannelReference{"", "", "b", ""})) << "a favourite is listed once";
        store.MoveFavourite(3, 0);  // D first
        store.MoveFavourite(1, 99); // A last: a place past the end is the end
        store.RemoveFavourite(1);   // B
        store.RemoveFavourite(7);   // nothing there, nothing changes
        EXPECT_EQ(store.FavouriteIndex("a"), 2);
        EXPECT_EQ(store.FavouriteIndex("B"), -1);
    }
    ViewerDatabase db(file);
    FavouritesStore store(db);
    EXPECT_EQ(Names(store.Favourites()), (std::vector<std::string>{"D", "C", "A"}));
}

TEST(FavouritesStore, RecentlyWatchedKeepsTheLastTwentyNewestFirstEachOnce)
{
    ScratchDir dir;
    ViewerDatabase db(dir.File("viewer.db"));
    FavouritesStore store(db);
    for (int i = 0; i < 25; ++i)
        store.Watched(ChannelReference{"", "", "Ch" + std::to_string(i), ""});
    auto recent = Names(store.RecentlyWatched());
    ASSERT_EQ(recent.size(), FavouritesStore::kRecentLimit);
    EXPECT_EQ(recent.front(), "Ch24");
    EXPECT_EQ(recent.back(), "Ch5");
    // Watching one again brings it to the front without a second entry.
    store.Watched(ChannelReference{"", "", "ch10", ""});
    recent = Names(store.RecentlyWatched());
    ASSERT_EQ(recent.size(), FavouritesStore::kRecentLimit);
    EXPECT_EQ(recent[0], "ch10");
    EXPECT_EQ(std::count(recent.begin(), recent.end(), "Ch10"), 0);
    EXPECT_EQ(recent.back(), "Ch5");
}

TEST(FavouritesStore, RefreshedChannelIsFollowedByTvgIdNameOrAddressAndAGoneOneWaits)
{
    ScratchDir dir;
    ViewerDatabase db(dir.File("viewer.db"));
    FavouritesStore store(db);
    const std::string tv = "http://127.0.0.1/tv.m3u";
    db.StoreRead(Source(tv), {Listed("News", "Alpha", "http://h/a", "alpha.tv"),
                              Listed("News", "Beta", "http://h/b", ""), Listed("News", "Gamma", "http://h/g", "")});
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        store.AddFavourite(store.ReferenceOf(name, ""));
    store.AddFavourite(store.ReferenceOf("Own", "http://own/")); // put in the catalogue by hand
    store.Watched(store.ReferenceOf("Alpha", ""));

    // The refresh renames Alpha (same tvg-id) and moves it to another category; Beta moves to
    // Sports under its name; Gamma is listed under a new name at its old address.
    db.StoreRead(Source(tv), {Listed("Sports", "Alpha HD", "http://h/a2", "alpha.tv"),
                              Listed("Sports", "Beta", "http://h/b", ""), Listed("Kids", "Gamma 2", "http://h/g", "")});
    store.Follow(Catalogue({"Alpha HD", "Beta", "Gamma 2", "Own"}));
    EXPECT_EQ(Names(store.Favourites()), (std::vector<std::string>{"Alpha HD", "Beta", "Gamma 2", "Own"}));
    EXPECT_EQ(store.Favourites()[0].address, "http://h/a2");
    EXPECT_EQ(Names(store.RecentlyWatched()), (std::vector<std::string>{"Alpha HD"}));

    // A refresh that drops Alpha HD: the favourite stays, in its place, with what it knew.
    db.StoreRead(Source(tv), {Listed("Sports", "Beta", "http://h/b", ""), Listed("Kids", "Gamma 2", "http://h/g", "")});
    store.Follow(Catalogue({"Beta", "Gamma 2", "Own"}));
    EXPECT_EQ(store.Favourites()[0], (ChannelReference{tv, "alpha.tv", "Alpha HD", "http://h/a2"}));
    // It comes back under yet another name: the tvg-id finds it.
    db.StoreRead(Source(tv), {Listed("Movies", "Alpha", "http://h/a3", "alpha.tv")});
    store.Follow(Catalogue({"Alpha", "Own"}));
    EXPECT_EQ(Names(store.Favourites()), (std::vector<std::string>{"Alpha", "Beta", "Gamma 2", "Own"}));
    // Another source's channel with the same tvg-id is not this one.
    db.StoreRead(Source("/srv/other.m3u"), {Listed("News", "Other Alpha", "http://o/a", "alpha.tv")});
    db.StoreRead(Source(tv), {});
    store.Follow(Catalogue({"Other Alpha", "Own"}));
    EXPECT_EQ(store.Favourites()[0].name, "Alpha");
}
