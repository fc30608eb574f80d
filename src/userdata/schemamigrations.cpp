#include "userdata/schemamigrations.h"

#include "userdata/viewerconnection.h"

#include <QStringList>

#include <utility>
#include <vector>

namespace quorvel {
namespace {

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
        // 7: the programmes a guide gives one slot together (a clump: "News", then "Weather") are
        // kept side by side, keyed by their place in the clump too. SQLite changes no key in
        // place: the table is made again with the new key and every programme copied over, at
        // place 0. The column is added first, so that a file set back to version 6 by hand keeps
        // the places it has.
        {
            "ALTER TABLE programmes ADD COLUMN clump INTEGER NOT NULL DEFAULT 0",
            "CREATE TABLE programmes_by_clump ("
            " channel TEXT NOT NULL COLLATE NOCASE,"
            " start INTEGER NOT NULL,"
            " clump INTEGER NOT NULL DEFAULT 0,"
            " stop INTEGER NOT NULL,"
            " title TEXT NOT NULL DEFAULT '',"
            " sub_title TEXT NOT NULL DEFAULT '',"
            " description TEXT NOT NULL DEFAULT '',"
            " category TEXT NOT NULL DEFAULT '',"
            " guide TEXT NOT NULL DEFAULT '',"
            " PRIMARY KEY (channel, start, clump)) WITHOUT ROWID",
            "INSERT INTO programmes_by_clump (channel, start, clump, stop, title, sub_title, description, category, "
            "guide) SELECT channel, start, clump, stop, title, sub_title, description, category, guide FROM programmes",
            "DROP TABLE programmes",
            "ALTER TABLE programmes_by_clump RENAME TO programmes",
        },
        // 8: each channel's logo as its playlist gave it.
        {
            "ALTER TABLE source_channels ADD COLUMN logo TEXT NOT NULL DEFAULT ''",
        },
        // 9: each channel's archive as its playlist gave it: the catch-up mode (empty for none),
        // its days, its address source and the provider's clock correction in minutes.
        {
            "ALTER TABLE source_channels ADD COLUMN catchup_mode TEXT NOT NULL DEFAULT ''",
            "ALTER TABLE source_channels ADD COLUMN catchup_days INTEGER NOT NULL DEFAULT 0",
            "ALTER TABLE source_channels ADD COLUMN catchup_source TEXT NOT NULL DEFAULT ''",
            "ALTER TABLE source_channels ADD COLUMN catchup_correction INTEGER NOT NULL DEFAULT 0",
        },
        // 10: the guide grid reads each visible channel's programmes over the time in sight: this
        // index holds what a cell shows, so scrolling reads small index pages, never the
        // descriptions beside them. And the programmes the viewer asked to be reminded of, by
        // channel and start; no key to programmes: a guide read again keeps them. Made only if
        // missing, as in 3.
        {
            "CREATE INDEX IF NOT EXISTS programmes_in_grid ON programmes (channel, start, stop, title)",
            "CREATE TABLE IF NOT EXISTS reminders ("
            " channel TEXT NOT NULL COLLATE NOCASE,"
            " start INTEGER NOT NULL,"
            " category TEXT NOT NULL DEFAULT '',"
            " title TEXT NOT NULL DEFAULT '',"
            " PRIMARY KEY (channel, start)) WITHOUT ROWID",
        },
        // 11: provider accounts: what the panel last said of each, and the password only where the
        // viewer chose to keep it here for want of a keyring.
        {
            "CREATE TABLE IF NOT EXISTS provider_accounts ("
            " source_id INTEGER PRIMARY KEY REFERENCES sources(id) ON DELETE CASCADE,"
            " keep TEXT NOT NULL DEFAULT 'keyring',"
            " password TEXT,"
            " status TEXT NOT NULL DEFAULT '',"
            " expires INTEGER NOT NULL DEFAULT 0,"
            " active_connections INTEGER NOT NULL DEFAULT 0,"
            " max_connections INTEGER NOT NULL DEFAULT 0,"
            " formats TEXT NOT NULL DEFAULT '',"
            " time_zone TEXT NOT NULL DEFAULT '',"
            " noticed_day INTEGER NOT NULL DEFAULT 0)",
        },
    };
    return steps;
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

} // namespace

void MigrateSchema(const ViewerConnection& db)
{
    QSqlQuery version = db.Run("PRAGMA user_version");
    int at = version.next() ? version.value(0).toInt() : 0;
    version.finish();
    const auto& steps = Migrations();
    for (; at < static_cast<int>(steps.size()); ++at) {
        for (const char* sql : steps[static_cast<std::size_t>(at)]) {
            // SQLite has no "ADD COLUMN IF NOT EXISTS": a file set back to an older version by
            // hand already has the column, and keeps it.
            if (const auto [table, column] = AddedColumn(sql); !column.isEmpty() && db.HasColumn(table, column))
                continue;
            db.Run(sql);
        }
        db.Run(QStringLiteral("PRAGMA user_version=%1").arg(at + 1).toUtf8().constData());
    }
}

} // namespace quorvel
