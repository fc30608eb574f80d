#include "userdata/channelnumberstore.h"

#include "base/exception.h"
#include "userdata/viewerdatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quorvel {
namespace {

QSqlDatabase Db(const ViewerDatabase& db)
{
    return QSqlDatabase::database(QString::fromStdString(db.ConnectionName()), false);
}

[[noreturn]] void Fail(const char* what, const QSqlQuery& q)
{
    throw Exception(std::string("Cannot ") + what + " the channel numbers: " + q.lastError().text().toStdString());
}

} // namespace

ChannelNumberStore::Numbers ChannelNumberStore::Read(const ViewerDatabase& db)
{
    QSqlQuery q(Db(db));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'channel_numbers'")))
        Fail("read", q);
    if (!q.next() || q.value(0).toInt() == 0)
        return {};
    q.finish();
    if (!q.exec(QStringLiteral("SELECT name, number FROM channel_numbers ORDER BY number")))
        Fail("read", q);
    Numbers out;
    while (q.next())
        out.emplace_back(q.value(0).toString().toStdString(), q.value(1).toInt());
    return out;
}

void ChannelNumberStore::Store(const ViewerDatabase& db, const Numbers& numbers)
{
    QSqlQuery q(Db(db));
    if (!q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS channel_numbers ("
                               " name TEXT NOT NULL PRIMARY KEY COLLATE NOCASE,"
                               " number INTEGER NOT NULL UNIQUE) WITHOUT ROWID")))
        Fail("store", q);
    if (!q.exec(QStringLiteral("DELETE FROM channel_numbers")))
        Fail("store", q);
    QSqlQuery insert(Db(db));
    if (!insert.prepare(QStringLiteral("INSERT INTO channel_numbers (name, number) VALUES (?, ?)")))
        Fail("store", insert);
    for (const auto& [name, number] : numbers) {
        if (number <= 0)
            continue;
        insert.bindValue(0, QString::fromStdString(name));
        insert.bindValue(1, number);
        if (!insert.exec())
            Fail("store", insert);
    }
}

} // namespace quorvel
