// The viewer's database: made, brought up to date, moved aside when damaged, shared by processes.
#include "base/exception.h"
#include "scratchdir.h"
#include "userdata/viewerdatabase.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvel;

namespace {

SourceChannel Channel(const std::string& name, const std::string& address, RequestOptions options = {})
{
    SourceChannel c;
    c.category = "News";
    c.name = name;
    c.address = address;
    c.options = std::move(options);
    c.tvgId = name + ".tv";
    c.tvgChno = "7";
    return c;
}

SourceRecord Source(const std::string& location, std::int64_t when = 1000)
{
    SourceRecord r;
    r.location = location;
    r.lastRead = when;
    r.guideAddresses = {"http://127.0.0.1/a.xml", "http://127.0.0.1/b.xml.gz"};
    r.userAgent = "Box/1.0";
    return r;
}

// Runs SQL on the file directly, as the program of an older version left it.
void RawSql(const std::string& file, const std::vector<std::string>& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(QString::fromStdString(file));
        ASSERT_TRUE(db.open());
        for (const auto& sql : statements) {
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(QString::fromStdString(sql))) << sql;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

} // namespace

TEST(ViewerDatabase, FreshFileKeepsSourcesAndChannelsAcrossOpenings)
{
    ScratchDir dir;
    EXPECT_EQ(ViewerDatabase::FileBeside(dir.File("VisibleAPI.dat")), dir.File("viewer.db"));
    const std::string file = dir.File("viewer.db");
    std::int64_t id = 0;
    {
        ViewerDatabase db(file);
        EXPECT_EQ(db.Notice(), "");
        EXPECT_EQ(db.SchemaVersion(), ViewerDatabase::kSchemaVersion);
        id = db.StoreRead(Source("http://127.0.0.1/tv.m3u"),
                          {Channel("Alpha", "http://h/a", {"UA/1", "http://ref/", ""}), Channel("Beta", "http://h/b")});
        db.StoreRead(Source("/srv/other.m3u"), {Channel("Gamma", "http://h/g", {"", "", "http://origin"})});
        // A second read of the same source replaces what it listed.
        SourceChannel delta = Channel("Delta", "http://h/d");
        delta.owned = false;
        delta.logo = "http://l/delta.png";
        EXPECT_EQ(db.StoreRead(Source("http://127.0.0.1/tv.m3u", 2000),
                               {Channel("Alpha", "http://h/a2", {"UA/2", "", ""}), delta}),
                  id);
    }
    // Write-ahead logging is on for every later connection too.
    RawSql(file, {});
    ViewerDatabase db(file);
    const auto sources = db.Sources();
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[0].location, "http://127.0.0.1/tv.m3u");
    EXPECT_EQ(sources[0].lastRead, 2000);
    EXPECT_EQ(sources[0].guideAddresses,
              (std::vector<std::string>{"http://127.0.0.1/a.xml", "http://127.0.0.1/b.xml.gz"}));
    EXPECT_EQ(sources[0].userAgent, "Box/1.0");
    const auto channels = db.Channels(id);
    ASSERT_EQ(channels.size(), 2u);
    EXPECT_EQ(channels[0].name, "Alpha");
    EXPECT_EQ(channels[0].address, "http://h/a2");
    EXPECT_EQ(channels[0].tvgId, "Alpha.tv");
    EXPECT_EQ(channels[1].name, "Delta");
    EXPECT_TRUE(channels[0].owned);
    EXPECT_FALSE(channels[1].owned);
    // Options are found by catalogue name in any ASCII case; a channel without any has none.
    EXPECT_EQ(db.RequestOptionsOf("alpha"), (RequestOptions{"UA/2", "", ""}));
    EXPECT_EQ(db.RequestOptionsOf("GAMMA"), (RequestOptions{"", "", "http://origin"}));
    EXPECT_TRUE(db.RequestOptionsOf("Delta").Empty());
    EXPECT_TRUE(db.RequestOptionsOf("Beta").Empty());
    EXPECT_EQ(db.NamesOfOtherSources(id), (std::unordered_set<std::string>{"Gamma"}));
    const auto logos = db.ChannelLogos();
    ASSERT_EQ(logos.size(), 1u);
    EXPECT_EQ(logos[0].name, "Delta");
    EXPECT_EQ(logos[0].address, "http://l/delta.png");

    db.StoreFailure(id, "the server answered 500");
    EXPECT_EQ(db.FindSource("http://127.0.0.1/tv.m3u")->lastError, "the server answered 500");
    EXPECT_EQ(db.Channels(id).size(), 2u); // a failed read keeps the channels
    db.RemoveSource(id);
    EXPECT_FALSE(db.FindSource(id).has_value());
    EXPECT_TRUE(db.RequestOptionsOf("Alpha").Empty());
    EXPECT_EQ(db.Sources().size(), 1u);

    QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("mode"));
    raw.setDatabaseName(QString::fromStdString(file));
    ASSERT_TRUE(raw.open());
    QSqlQuery mode(raw);
    ASSERT_TRUE(mode.exec(QStringLiteral("PRAGMA journal_mode")) && mode.next());
    EXPECT_EQ(mode.value(0).toString(), QStringLiteral("wal"));
    mode.finish();
    raw.close();
    raw = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("mode"));
}

TEST(ViewerDatabase, EmptyFileAndFirstSchemaComeUpToDate)
{
    ScratchDir dir;
    // An empty file (a crash before the first write) is an empty database.
    ScratchDir::Spit(dir.File("empty.db"), "");
    {
        ViewerDatabase db(dir.File("empty.db"));
        EXPECT_EQ(db.Notice(), "");
        EXPECT_EQ(db.SchemaVersion(), ViewerDatabase::kSchemaVersion);
        EXPECT_TRUE(db.Sources().empty());
    }
    // The first schema exactly as the first release wrote it, with data in it.
    const std::string first = dir.File("first.db");
    RawSql(
        first,
        {
            "CREATE TABLE sources (id INTEGER PRIMARY KEY, location TEXT NOT NULL UNIQUE, last_read INTEGER NOT NULL "
            "DEFAULT 0, guide_addresses TEXT NOT NULL DEFAULT '', user_agent TEXT NOT NULL DEFAULT '', last_error TEXT "
            "NOT NULL DEFAULT '')",
            "CREATE TABLE source_channels (source_id INTEGER NOT NULL REFERENCES sources(id) ON DELETE CASCADE, "
            "position "
            "INTEGER NOT NULL, category TEXT NOT NULL, name TEXT NOT NULL, address TEXT NOT NULL, user_agent TEXT NOT "
            "NULL DEFAULT '', referrer TEXT NOT NULL DEFAULT '', origin TEXT NOT NULL DEFAULT '', tvg_id TEXT NOT NULL "
            "DEFAULT '', tvg_name TEXT NOT NULL DEFAULT '', tvg_chno TEXT NOT NULL DEFAULT '', tvg_shift TEXT NOT NULL "
            "DEFAULT '', owned INTEGER NOT NULL DEFAULT 1, PRIMARY KEY (source_id, position))",
            "CREATE INDEX source_channels_by_name ON source_channels (name COLLATE NOCASE)",
            "INSERT INTO sources (id, location, last_read) VALUES (4, 'http://127.0.0.1/old.m3u', 77)",
            "INSERT INTO source_channels (source_id, position, category, name, address, referrer) "
            "VALUES (4, 0, 'Kids', 'Toons', 'http://h/t', 'http://r/')",
            "PRAGMA user_version=1",
        });
    ViewerDatabase db(first);
    EXPECT_EQ(db.Notice(), "");
    EXPECT_EQ(db.SchemaVersion(), ViewerDatabase::kSchemaVersion);
    const auto old = db.FindSource("http://127.0.0.1/old.m3u");
    ASSERT_TRUE(old.has_value());
    EXPECT_EQ(old->id, 4);
    EXPECT_EQ(old->lastRead, 77);
    EXPECT_EQ(db.RequestOptionsOf("toons"), (RequestOptions{"", "http://r/", ""}));
    EXPECT_FALSE(db.ArchiveChannel("toons").has_value()); // channels of old files have no archive
    // And it takes new data as a fresh one does.
    db.StoreRead(Source("http://127.0.0.1/new.m3u"), {Channel("N", "http://h/n")});
    EXPECT_EQ(db.Sources().size(), 2u);
}

TEST(ViewerDatabase, DamagedFileIsMovedAsideOnceAndAFreshOneStarts)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    std::string garbage(8192, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919 + 13) & 0xFF);
    ScratchDir::Spit(file, garbage);
    ScratchDir::Spit(file + "-wal", "stale journal");
    {
        ViewerDatabase db(file);
        EXPECT_NE(db.Notice().find("moved aside"), std::string::npos) << db.Notice();
        EXPECT_TRUE(db.Sources().empty());
        db.StoreRead(Source("http://127.0.0.1/tv.m3u"), {Channel("A", "http://h/a")});
    }
    const QStringList aside =
        QDir(QString::fromStdString(dir.Path())).entryList({QStringLiteral("viewer-damaged-*.db")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(ScratchDir::Slurp(dir.Path() + "/" + aside[0].toStdString()), garbage);
    // The fresh one is whole: the next opening says nothing and finds what was stored.
    ViewerDatabase again(file);
    EXPECT_EQ(again.Notice(), "");
    EXPECT_EQ(again.Sources().size(), 1u);

    // A database whose pages were cut off after its header is damaged too.
    const std::string cut = dir.File("cut.db");
    {
        ViewerDatabase db(cut);
        std::vector<SourceChannel> many;
        for (int i = 0; i < 2000; ++i)
            many.push_back(Channel("Channel " + std::to_string(i), "http://h/" + std::to_string(i)));
        db.StoreRead(Source("http://127.0.0.1/big.m3u"), many);
    }
    RawSql(cut, {"PRAGMA wal_checkpoint(TRUNCATE)"});
    std::string bytes = ScratchDir::Slurp(cut);
    ASSERT_GT(bytes.size(), 40000u);
    for (std::size_t i = 8192; i < bytes.size(); i += 4096)
        bytes.replace(i, 64, 64, '\xEE');
    ScratchDir::Spit(cut, bytes);
    // Pages are checked at a file's first opening in a process: this one was opened before.
    ViewerDatabase::ForgetCheckedFiles();
    ViewerDatabase damaged(cut);
    EXPECT_NE(damaged.Notice(), "");
    EXPECT_TRUE(damaged.Sources().empty());
}

TEST(ViewerDatabase, FolderThatCannotBeWrittenKeepsDataInMemory)
{
    ScratchDir dir;
    // A folder where the file should be: nothing can be moved aside or made there.
    const std::string file = dir.File("viewer.db");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(file + "/x")));
    ViewerDatabase db(file);
    EXPECT_NE(db.Notice(), "");
    db.StoreRead(Source("http://127.0.0.1/tv.m3u"), {Channel("A", "http://h/a", {"UA", "", ""})});
    EXPECT_EQ(db.RequestOptionsOf("A").userAgent, "UA");
}

TEST(ViewerDatabase, TwoProcessesWritingAtOnceBothLand)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    constexpr int kProcesses = 3;
    constexpr int kRounds = 25;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // Each opens the file (the first ones make it at the same time) and writes its own
            // source over and over, as a player and quorvel-import refreshing together would.
            int status = 0;
            try {
                ViewerDatabase db(file);
                if (!db.Notice().empty()) {
                    std::fprintf(stderr, "process %d: %s\n", p, db.Notice().c_str());
                    status = 3;
                }
                for (int round = 0; round < kRounds && status == 0; ++round) {
                    std::vector<SourceChannel> channels;
                    for (int i = 0; i < 300; ++i)
                        channels.push_back(Channel("P" + std::to_string(p) + " " + std::to_string(i),
                                                   "http://h/" + std::to_string(round)));
                    db.StoreRead(Source("http://127.0.0.1/" + std::to_string(p) + ".m3u", round), channels);
                    (void)db.RequestOptionsOf("P0 1");
                }
            } catch (const std::exception&) {
                status = 4;
            }
            ::_exit(status);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    ViewerDatabase db(file);
    EXPECT_EQ(db.Notice(), "");
    const auto sources = db.Sources();
    ASSERT_EQ(sources.size(), static_cast<std::size_t>(kProcesses));
    for (const auto& s : sources) {
        EXPECT_EQ(s.lastRead, kRounds - 1);
        const auto channels = db.Channels(s.id);
        ASSERT_EQ(channels.size(), 300u);
        EXPECT_EQ(channels.back().address, "http://h/" + std::to_string(kRounds - 1));
    }
}

TEST(ViewerDatabase, AThirdVersionFileGainsThePlaylistShiftAndAddedGuidesKeepingItsData)
{
    ScratchDir dir;
    const std::string file = dir.File("viewer.db");
    std::int64_t id = 0;
    {
        ViewerDatabase db(file);
        id = db.StoreRead(Source("http://127.0.0.1/tv.m3u"), {Channel("Alpha", "http://h/a", {"UA/1", "", ""})});
    }
    // As the third version left it: no shift of the playlist's, no guides of the viewer's; with a
    // favourite and a programme.
    RawSql(file, {
                     "ALTER TABLE sources DROP COLUMN tvg_shift",
                     "DROP TABLE guide_sources",
                     "INSERT INTO marked_channels (list, position, name) VALUES ('favourite', 0, 'Alpha')",
                     "INSERT INTO programmes (channel, start, stop, title) VALUES ('Alpha', 100, 200, 'Noon')",
                     "PRAGMA user_version=3",
                 });
    {
        ViewerDatabase db(file);
        EXPECT_EQ(db.Notice(), "");
        EXPECT_EQ(db.SchemaVersion(), ViewerDatabase::kSchemaVersion);
        const auto source = db.FindSource(id);
        ASSERT_TRUE(source.has_value());
        EXPECT_EQ(source->tvgShift, "");
        EXPECT_EQ(source->userAgent, "Box/1.0");
        EXPECT_EQ(db.RequestOptionsOf("Alpha"), (RequestOptions{"UA/1", "", ""}));
        SourceRecord shifted = *source;
        shifted.tvgShift = "+2.5";
        db.StoreRead(shifted, db.Channels(id));
        EXPECT_EQ(db.FindSource(id)->tvgShift, "+2.5");
        EXPECT_TRUE(db.GuideSources().empty());
        EXPECT_TRUE(db.AddGuideSource("http://127.0.0.1/extra.xml.gz", 5));
        EXPECT_TRUE(db.AddGuideSource("/srv/guide.xml", 6));
        EXPECT_FALSE(db.AddGuideSource("/srv/guide.xml", 7));
    }
    // Set back to the third version by hand: the column and the table are there already and
    // keep what they hold.
    RawSql(file, {"PRAGMA user_version=3"});
    ViewerDatabase db(file);
    EXPECT_EQ(db.Notice(), "");
    EXPECT_EQ(db.SchemaVersion(), ViewerDatabase::kSchemaVersion);
    EXPECT_EQ(db.FindSource(id)->tvgShift, "+2.5");
    EXPECT_EQ(db.GuideSources(), (std::vector<std::string>{"http://127.0.0.1/extra.xml.gz", "/srv/guide.xml"}));
    db.RemoveGuideSource("http://127.0.0.1/extra.xml.gz");
    EXPECT_EQ(db.GuideSources(), (std::vector<std::string>{"/srv/guide.xml"}));
    QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
    raw.setDatabaseName(QString::fromStdString(file));
    ASSERT_TRUE(raw.open());
    {
        QSqlQuery q(raw);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT (SELECT COUNT(*) FROM marked_channels), "
                                          "(SELECT COUNT(*) FROM programmes)")) &&
                    q.next());
        EXPECT_EQ(q.value(0).toInt(), 1);
        EXPECT_EQ(q.value(1).toInt(), 1);
    }
    raw.close();
    raw = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
}

TEST(ViewerDatabase, GivenChannelNumbersInTheOrderTheSourcesWereAdded)
{
    ScratchDir dir;
    ViewerDatabase db(dir.File("viewer.db"));
    SourceChannel none = Channel("Plain", "http://h/p");
    none.tvgChno.clear();
    SourceChannel second = Channel("Beta", "http://h/b");
    second.tvgChno = "12";
    db.StoreRead(Source("/first.m3u"), {Channel("Alpha", "http://h/a"), none, second});
    SourceChannel again = Channel("Alpha", "http://h/a");
    again.tvgChno = "99";
    db.StoreRead(Source("/second.m3u"), {again});
    using Given = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(db.GivenChannelNumbers(), (Given{{"Alpha", "7"}, {"Beta", "12"}, {"Alpha", "99"}}));
}
