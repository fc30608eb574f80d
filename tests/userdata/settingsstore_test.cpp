// The viewer's settings: kept in the viewer's database, or beside the catalogue without one.
#include "base/exception.h"
#include "scratchdir.h"
#include "userdata/settingsstore.h"
#include "userdata/viewerdatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

// A value with the characters a settings file treats specially.
const std::string kAwkward = "News, Sport = \"Live\"\n中文 ; #1 \\ end";

// What the file says under that key, read straight from it.
std::string RawSetting(const std::string& file, const std::string& key)
{
    std::string value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(QString::fromStdString(file));
        if (db.open()) {
            QSqlQuery q(db);
            q.prepare(QStringLiteral("SELECT value FROM settings WHERE key = ?"));
            q.addBindValue(QString::fromStdString(key));
            if (q.exec() && q.next())
                value = q.value(0).toString().toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return value;
}

} // namespace

TEST(SettingsStore, FirstStartHasNoneAndStoredOnesComeBackInTheDatabaseBesideTheCatalogue)
{
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    {
        SettingsStore store(catalogue);
        EXPECT_EQ(store.Location(), ViewerDatabase::FileBeside(catalogue));
        EXPECT_TRUE(store.Read().empty());
        store.Store({{"volume", "40"}, {"mute", "1"}, {"tree.open", kAwkward}});
        // A later store changes what it names and leaves the rest.
        store.Store({{"volume", "65"}});
    }
    SettingsStore again(catalogue);
    EXPECT_EQ(again.Read(), (SettingsStore::Values{{"volume", "65"}, {"mute", "1"}, {"tree.open", kAwkward}}));
    EXPECT_EQ(RawSetting(ViewerDatabase::FileBeside(catalogue), "volume"), "65");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.File(SettingsStore::kFileName))));
}

TEST(SettingsStore, AnOlderDatabaseGainsTheTableAndKeepsItsData)
{
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    const std::string file = ViewerDatabase::FileBeside(catalogue);
    {
        ViewerDatabase db(file);
        SourceRecord source;
        source.location = "http://127.0.0.1/tv.m3u";
        db.StoreRead(source, {});
    }
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
        raw.setDatabaseName(QString::fromStdString(file));
        ASSERT_TRUE(raw.open());
        QSqlQuery(raw).exec(QStringLiteral("DROP TABLE settings"));
        QSqlQuery(raw).exec(QStringLiteral("PRAGMA user_version=3"));
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("old"));

    SettingsStore store(catalogue);
    store.Store({{"window.x", "12"}});
    EXPECT_EQ(store.Read().at("window.x"), "12");
    const ViewerDatabase db(file);
    EXPECT_EQ(db.SchemaVersion(), ViewerDatabase::kSchemaVersion);
    EXPECT_EQ(db.Sources().size(), 1u);
}

TEST(SettingsStore, TwoPlayersStoringInTurnKeepEachOthersSettings)
{
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    SettingsStore first(catalogue);
    SettingsStore second(catalogue);
    first.Store({{"volume", "10"}});
    second.Store({{"mute", "0"}});
    EXPECT_EQ(first.Read(), (SettingsStore::Values{{"volume", "10"}, {"mute", "0"}}));
}

TEST(SettingsStore, WithoutAUsableDatabaseTheyGoToAFileBesideTheCatalogue)
{
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    // A link to itself where the database should be: it can neither be opened nor moved aside,
    // so the database lives in memory only.
    const QString db = QString::fromStdString(ViewerDatabase::FileBeside(catalogue));
    ASSERT_TRUE(QFile::link(db, db));
    {
        SettingsStore store(catalogue);
        EXPECT_EQ(store.Location(), dir.File(SettingsStore::kFileName));
        EXPECT_TRUE(store.Read().empty());
        store.Store({{"volume", "30"}, {"tree.open", kAwkward}, {"tree.channel", "A/B"}});
        store.Store({{"volume", "35"}});
    }
    SettingsStore again(catalogue);
    EXPECT_EQ(again.Read(),
              (SettingsStore::Values{{"volume", "35"}, {"tree.open", kAwkward}, {"tree.channel", "A/B"}}));
}

TEST(SettingsStore, WhereNothingCanBeWrittenStoringSaysSo)
{
    ScratchDir dir;
    // The catalogue's "folder" is a file: neither the database nor the settings file can be made.
    ScratchDir::Spit(dir.File("plain"), "x");
    SettingsStore store(dir.File("plain/VisibleAPI.dat"));
    EXPECT_TRUE(store.Read().empty());
    EXPECT_THROW(store.Store({{"volume", "30"}}), Exception);
}
