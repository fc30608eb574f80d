// The programme guide kept in the viewer's database: written while read, replaced by a later
// read, old programmes dropped, now and next at the edges of programmes.
#include "scratchdir.h"
#include "userdata/guidestore.h"
#include "userdata/guidestorewriter.h"
#include "userdata/viewerdatabase.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>
#include <thread>

using namespace quorvel;

namespace {

constexpr std::int64_t kNow = 1'800'000'000;
constexpr std::int64_t kHour = 3600;

Programme P(std::int64_t start, std::int64_t stop, const std::string& title, int clump = 0)
{
    Programme p;
    p.start = start;
    p.stop = stop;
    p.title = title;
    p.description = title + " described";
    p.clump = clump;
    return p;
}

std::vector<std::string> Titles(const std::vector<Programme>& programmes)
{
    std::vector<std::string> titles;
    for (const Programme& p : programmes)
        titles.push_back(p.title);
    return titles;
}

// Runs SQL on the file directly, as another version of the program left it.
void RawSql(const std::string& file, const std::vector<QString>& statements)
{
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rawsql"));
        raw.setDatabaseName(QString::fromStdString(file));
        ASSERT_TRUE(raw.open());
        for (const QString& sql : statements)
            ASSERT_TRUE(QSqlQuery(raw).exec(sql)) << sql.toStdString();
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("rawsql"));
}

// Feeds one read as the reader does: each channel's programmes in batches, then Finish.
void Read(const std::string& file, const std::vector<std::string>& channels,
          std::vector<std::pair<std::size_t, std::vector<Programme>>> batches, std::int64_t now = kNow,
          std::string* failure = nullptr, const std::string& guide = "http://127.0.0.1/guide.xml")
{
    GuideStoreWriter writer(file, channels, guide, now);
    for (auto& [channel, programmes] : batches)
        writer.Take(channel, programmes);
    writer.Finish(GuideOutcome{});
    if (failure)
        *failure = writer.Failure();
    else
        EXPECT_EQ(writer.Failure(), "");
}

std::string Title(const std::optional<Programme>& p) { return p ? p->title : "-"; }

} // namespace

TEST(GuideStore, KeepsWhatWasReadAndAnswersNowAndNextAtTheEdges)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    ViewerDatabase db(file);
    GuideStore store(db);
    EXPECT_EQ(store.End(), GuideStore::kNoEnd);
    EXPECT_EQ(Title(store.At("Alpha", kNow).now), "-");

    Read(file, {"Alpha", "Beta"},
         {{0, {P(kNow - kHour, kNow, "Early"), P(kNow, kNow + kHour, "Noon")}},
          {0, {P(kNow + 2 * kHour, kNow + 3 * kHour, "Late")}},
          {1, {P(kNow, kNow + 30 * 60, "Beta news")}}});
    EXPECT_EQ(store.End(), kNow + 3 * kHour);

    // A programme is on from its start up to, not including, its stop.
    auto at = store.At("Alpha", kNow);
    EXPECT_EQ(Title(at.now), "Noon");
    EXPECT_EQ(Title(at.next), "Late");
    EXPECT_EQ(at.now->stop, kNow + kHour);
    EXPECT_EQ(at.now->description, "Noon described");
    at = store.At("Alpha", kNow - 1);
    EXPECT_EQ(Title(at.now), "Early");
    EXPECT_EQ(Title(at.next), "Noon");
    // In a gap nothing is on, and the next is still told.
    at = store.At("Alpha", kNow + kHour);
    EXPECT_EQ(Title(at.now), "-");
    EXPECT_EQ(Title(at.next), "Late");
    // After the guide's end, nothing.
    at = store.At("Alpha", kNow + 3 * kHour);
    EXPECT_EQ(Title(at.now), "-");
    EXPECT_EQ(Title(at.next), "-");
    // Catalogue names are found without regard to letter case, and never one another's.
    EXPECT_EQ(Title(store.At("BETA", kNow + 60).now), "Beta news");
    EXPECT_EQ(Title(store.At("Gamma", kNow).now), "-");
}

TEST(GuideStore, ALaterReadReplacesFromItsStartAndKeepsWhatItDoesNotReach)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    Read(file, {"Alpha", "Beta"},
         {{0,
           {P(kNow - 2 * kHour, kNow - kHour, "Past"), P(kNow - kHour, kNow + kHour, "Old now"),
            P(kNow + kHour, kNow + 2 * kHour, "Old next")}},
          {1, {P(kNow, kNow + kHour, "Beta old")}}});
    // The new guide starts at kNow for Alpha and says nothing of Beta (a read broken off, or a
    // guide without it): Alpha's past stays, what overlaps the new start goes, Beta stays whole.
    Read(file, {"Alpha", "Beta"},
         {{0, {P(kNow, kNow + 30 * 60, "New now"), P(kNow + 30 * 60, kNow + 90 * 60, "New next")}}}, kNow + 60);

    ViewerDatabase db(file);
    GuideStore store(db);
    EXPECT_EQ(Title(store.At("Alpha", kNow - 90 * 60).now), "Past");
    EXPECT_EQ(Title(store.At("Alpha", kNow - 1).now), "-");
    auto at = store.At("Alpha", kNow + 60);
    EXPECT_EQ(Title(at.now), "New now");
    EXPECT_EQ(Title(at.next), "New next");
    EXPECT_EQ(Title(store.At("Alpha", kNow + 100 * 60).now), "-");
    EXPECT_EQ(Title(store.At("Beta", kNow + 60).now), "Beta old");

    // A read that stored nothing changes nothing but dropping what ended 12 hours before it.
    Read(file, {"Alpha"}, {}, kNow + 11 * kHour + 1);
    EXPECT_EQ(Title(store.At("Alpha", kNow - 90 * 60).now), "-");
    EXPECT_EQ(Title(store.At("Alpha", kNow + 60).now), "New now");
}

TEST(GuideStore, WritesOnTheReadersThreadInManyTransactionsBesideAReader)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    ViewerDatabase db(file);
    GuideStore store(db);
    constexpr std::size_t kChannels = 50;
    constexpr int kEach = 200; // 10,000 programmes: more than two of the writer's transactions
    std::vector<std::string> names;
    for (std::size_t c = 0; c < kChannels; ++c)
        names.push_back("Channel " + std::to_string(c));
    std::size_t stored = 0;
    std::thread reader([&] {
        GuideStoreWriter writer(file, names, "guide.xml", kNow);
        for (std::size_t c = 0; c < kChannels; ++c) {
            std::vector<Programme> batch;
            for (int i = 0; i < kEach; ++i)
                batch.push_back(P(kNow + i * 600, kNow + (i + 1) * 600, "Show " + std::to_string(i)));
            writer.Take(c, batch);
        }
        writer.Finish(GuideOutcome{});
        EXPECT_EQ(writer.Failure(), "");
        stored = writer.Stored();
    });
    // The window keeps reading while the guide is written.
    for (int i = 0; i < 50; ++i)
        store.At("Channel 3", kNow + 605);
    reader.join();
    EXPECT_EQ(stored, kChannels * kEach);
    auto at = store.At("Channel 49", kNow + 605);
    EXPECT_EQ(Title(at.now), "Show 1");
    EXPECT_EQ(Title(at.next), "Show 2");
}

TEST(GuideStore, AFileOfTheFirstVersionGainsTheGuideAndKeepsItsSources)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    {
        ViewerDatabase db(file);
        SourceRecord source;
        source.location = "/srv/tv.m3u";
        db.StoreRead(source, {});
    }
    {
        // As the first version left it: no guide table, version 1.
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(QString::fromStdString(file));
        ASSERT_TRUE(raw.open());
        QSqlQuery(raw).exec(QStringLiteral("DROP TABLE programmes"));
        QSqlQuery(raw).exec(QStringLiteral("PRAGMA user_version=1"));
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    ViewerDatabase db(file);
    EXPECT_EQ(db.SchemaVersion(), ViewerDatabase::kSchemaVersion);
    EXPECT_EQ(db.Sources().size(), 1u);
    Read(file, {"Alpha"}, {{0, {P(kNow, kNow + kHour, "Noon")}}});
    EXPECT_EQ(Title(GuideStore(db).At("alpha", kNow).now), "Noon");
}

TEST(GuideStore, AGuideNoLongerReadTakesItsProgrammesWhileThoseKeptBeforeGuidesWereToldApartStay)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    {
        // As the fifth version left it: programmes without the guide they came from.
        ViewerDatabase db(file);
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw5"));
        raw.setDatabaseName(QString::fromStdString(file));
        ASSERT_TRUE(raw.open());
        ASSERT_TRUE(QSqlQuery(raw).exec(QStringLiteral("ALTER TABLE programmes DROP COLUMN guide")));
        ASSERT_TRUE(QSqlQuery(raw).exec(
            QStringLiteral("INSERT INTO programmes (channel, start, stop, title) VALUES ('Gamma', %1, %2, 'Older')")
                .arg(kNow)
                .arg(kNow + kHour)));
        ASSERT_TRUE(QSqlQuery(raw).exec(QStringLiteral("PRAGMA user_version=5")));
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw5"));
    ViewerDatabase db(file);
    EXPECT_EQ(db.SchemaVersion(), ViewerDatabase::kSchemaVersion);
    Read(file, {"Alpha"}, {{0, {P(kNow, kNow + kHour, "From A")}}}, kNow, nullptr, "http://a/guide.xml");
    Read(file, {"Beta"}, {{0, {P(kNow, kNow + kHour, "From B")}}}, kNow, nullptr, "/srv/b.xml");
    GuideStore store(db);

    EXPECT_EQ(db.ForgetGuidesOtherThan({"http://a/guide.xml", "/srv/b.xml"}), 0u);
    EXPECT_EQ(db.ForgetGuidesOtherThan({"/srv/b.xml"}), 1u);
    EXPECT_EQ(Title(store.At("Alpha", kNow).now), "-");
    EXPECT_EQ(Title(store.At("Beta", kNow).now), "From B");
    EXPECT_EQ(db.ForgetGuidesOtherThan({}), 1u);
    EXPECT_EQ(Title(store.At("Beta", kNow).now), "-");
    EXPECT_EQ(Title(store.At("Gamma", kNow).now), "Older");
}

TEST(GuideStore, EveryProgrammeOfAClumpIsKeptAndToldInClumpOrder)
{
    using Names = std::vector<std::string>;
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    ViewerDatabase db(file);
    GuideStore store(db);
    const auto read = [&file] {
        Read(file, {"Alpha"},
             {{0,
               {P(kNow - kHour, kNow, "Film"), P(kNow, kNow + 1800, "News", 0), P(kNow, kNow + 1800, "Weather", 1),
                P(kNow, kNow + 1800, "Sport", 2), P(kNow + 1800, kNow + kHour, "Quiz")}}});
    };
    read();
    read(); // a read again replaces the slot, all of it
    EXPECT_EQ(Titles(store.Between("alpha", kNow - kHour, kNow + kHour)),
              (Names{"Film", "News", "Weather", "Sport", "Quiz"}));
    auto at = store.At("Alpha", kNow + 60);
    EXPECT_EQ(Title(at.now), "News");
    EXPECT_EQ(Titles(at.onNow), (Names{"News", "Weather", "Sport"}));
    EXPECT_EQ(Title(at.next), "Quiz");
    EXPECT_EQ(Titles(at.upNext), Names{"Quiz"});
    at = store.At("Alpha", kNow - 60);
    EXPECT_EQ(Title(at.now), "Film");
    EXPECT_EQ(Title(at.next), "News");
    EXPECT_EQ(Titles(at.upNext), (Names{"News", "Weather", "Sport"}));
    EXPECT_EQ(at.upNext[2].clump, 2);
}

TEST(GuideStore, TheSixthVersionsProgrammesAreKeptUnderTheClumpsKey)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    {
        ViewerDatabase db(file);
    }
    // As the sixth version left it: one programme a start, whatever else it held.
    RawSql(file, {QStringLiteral("DROP TABLE programmes"),
                  QStringLiteral("CREATE TABLE programmes (channel TEXT NOT NULL COLLATE NOCASE, start INTEGER NOT "
                                 "NULL, stop INTEGER NOT NULL, title TEXT NOT NULL DEFAULT '', sub_title TEXT NOT "
                                 "NULL DEFAULT '', description TEXT NOT NULL DEFAULT '', category TEXT NOT NULL "
                                 "DEFAULT '', guide TEXT NOT NULL DEFAULT '', PRIMARY KEY (channel, start)) WITHOUT "
                                 "ROWID"),
                  QStringLiteral("INSERT INTO programmes VALUES ('Alpha', %1, %2, 'Kept', 'Sub', 'Desc', 'Cat', "
                                 "'http://a/guide.xml')")
                      .arg(kNow)
                      .arg(kNow + kHour),
                  QStringLiteral("INSERT INTO programmes VALUES ('Beta', %1, %2, 'Old', '', '', '', '')")
                      .arg(kNow)
                      .arg(kNow + kHour),
                  QStringLiteral("PRAGMA user_version=6")});
    {
        ViewerDatabase db(file);
        EXPECT_EQ(db.SchemaVersion(), ViewerDatabase::kSchemaVersion);
        GuideStore store(db);
        const auto at = store.At("alpha", kNow);
        ASSERT_TRUE(at.now);
        EXPECT_EQ(at.now->title, "Kept");
        EXPECT_EQ(at.now->subTitle, "Sub");
        EXPECT_EQ(at.now->description, "Desc");
        EXPECT_EQ(at.now->category, "Cat");
        EXPECT_EQ(at.now->stop, kNow + kHour);
        EXPECT_EQ(Title(store.At("Beta", kNow).now), "Old");
        // Which guide each came from is kept as well.
        EXPECT_EQ(db.ForgetGuidesOtherThan({"http://a/guide.xml"}), 0u);
        EXPECT_EQ(db.ForgetGuidesOtherThan({}), 1u);
        EXPECT_EQ(Title(store.At("Beta", kNow).now), "Old");
    }
    // A clump stored, then the file set back to the sixth version by hand: the places stay.
    Read(file, {"Alpha"}, {{0, {P(kNow, kNow + kHour, "News", 0), P(kNow, kNow + kHour, "Weather", 1)}}});
    RawSql(file, {QStringLiteral("PRAGMA user_version=6")});
    ViewerDatabase db(file);
    EXPECT_EQ(db.SchemaVersion(), ViewerDatabase::kSchemaVersion);
    EXPECT_EQ(Titles(GuideStore(db).At("Alpha", kNow).onNow), (std::vector<std::string>{"News", "Weather"}));
}

TEST(GuideStore, CellsOfSeveralChannelsStartWithTheOneOnAtTheSpansStart)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    Read(file, {"Alpha", "Beta"},
         {{0,
           {P(kNow - 3 * kHour, kNow - 2 * kHour, "Long ago"), P(kNow - kHour, kNow + kHour, "On at from"),
            P(kNow + kHour, kNow + 2 * kHour, "News", 0), P(kNow + kHour, kNow + 2 * kHour, "Weather", 1),
            P(kNow + 3 * kHour, kNow + 4 * kHour, "After the span")}},
          {1, {P(kNow - 2 * kHour, kNow - kHour, "Ended before from")}}});
    ViewerDatabase db(file);
    GuideStore store(db);
    const auto cells = store.Cells({"alpha", "Beta", "Gamma"}, kNow, kNow + 3 * kHour);
    ASSERT_EQ(cells.size(), 3u);
    std::vector<std::string> titles;
    for (const GuideStore::Cell& c : cells[0])
        titles.push_back(c.title + "/" + std::to_string(c.clump));
    EXPECT_EQ(titles, (std::vector<std::string>{"On at from/0", "News/0", "Weather/1"}));
    // The last to start by `from` comes along even when it ended: the grid shows a gap there.
    ASSERT_EQ(cells[1].size(), 1u);
    EXPECT_EQ(cells[1][0].title, "Ended before from");
    EXPECT_TRUE(cells[2].empty());
    EXPECT_TRUE(store.Cells({"Alpha"}, kNow, kNow)[0].empty());

    const auto full = store.Find("ALPHA", kNow + kHour, 1);
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->description, "Weather described");
    EXPECT_FALSE(store.Find("Alpha", kNow + 1, 0).has_value());
    EXPECT_EQ(store.Begin(), kNow - 3 * kHour);

    // The grid's reads go through its index, whatever the table's size.
    QSqlQuery plan(QSqlDatabase::database(QString::fromStdString(db.ConnectionName()), false));
    ASSERT_TRUE(plan.exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT start, stop, clump, title FROM programmes "
                                         "WHERE channel = 'a' AND start < 5 AND start >= 1")));
    QString steps;
    while (plan.next())
        steps += plan.value(3).toString();
    EXPECT_TRUE(steps.contains(QStringLiteral("COVERING INDEX programmes_in_grid"))) << steps.toStdString();
}
