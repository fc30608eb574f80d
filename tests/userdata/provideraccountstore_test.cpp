// Provider accounts in the viewer's database: the panel's word kept with the source, the
// password only where the viewer chose the database, and then in a file of the viewer's alone.
#include "scratchdir.h"
#include "userdata/provideraccountstore.h"
#include "userdata/viewerdatabase.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

TEST(ProviderAccountStore, KeepsThePanelsWordAndThePasswordOnlyWhereChosen)
{
    ScratchDir dir;
    ViewerDatabase db(dir.File("viewer.db"));
    SourceRecord source;
    source.location = "http://panel.test/player_api.php?username=anna";
    ProviderAccountStore::Account state;
    state.status = "Active";
    state.expires = 1800000000;
    state.maxConnections = 1;
    state.formats = "m3u8,ts";
    state.sourceId = db.StoreRead(source, {}, [&] {
        state.sourceId = db.FindSource(source.location)->id;
        ProviderAccountStore::StoreState(db, state);
    });
    auto kept = ProviderAccountStore::Find(db, source.location);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->keep, ProviderAccountStore::Keep::Keyring);
    EXPECT_FALSE(kept->password);
    EXPECT_EQ(kept->maxConnections, 1);
    EXPECT_EQ(kept->formats, "m3u8,ts");

    ProviderAccountStore::StoreKeep(db, state.sourceId, ProviderAccountStore::Keep::Database, "s3cret");
    EXPECT_EQ(ProviderAccountStore::Find(db, source.location)->password, "s3cret");
    EXPECT_EQ(QFile::permissions(QString::fromStdString(db.File())) & (QFile::ReadGroup | QFile::ReadOther), 0);
    // A later read keeps the choice; asking at each start clears the password.
    state.status = "Expired";
    db.StoreRead(source, {}, [&] { ProviderAccountStore::StoreState(db, state); });
    kept = ProviderAccountStore::Find(db, source.location);
    EXPECT_EQ(kept->status, "Expired");
    EXPECT_EQ(kept->password, "s3cret");
    ProviderAccountStore::StoreKeep(db, state.sourceId, ProviderAccountStore::Keep::Ask, "s3cret");
    EXPECT_FALSE(ProviderAccountStore::Find(db, source.location)->password);
    // Taken out, it is nowhere in the files either.
    for (const char* suffix : {"", "-wal"})
        if (QFile::exists(QString::fromStdString(db.File() + suffix)))
            EXPECT_EQ(ScratchDir::Slurp(db.File() + suffix).find("s3cret"), std::string::npos) << suffix;

    // The account goes with its source.
    db.RemoveSource(state.sourceId);
    EXPECT_TRUE(ProviderAccountStore::Read(db).empty());
}

} // namespace
