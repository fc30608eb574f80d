#include "userdata/provideraccountstore.h"

#include "base/exception.h"
#include "userdata/viewerdatabase.h"

#include <QFile>
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
    throw Exception(std::string("Cannot ") + what + " the provider accounts: " + q.lastError().text().toStdString());
}

const char* KeepText(ProviderAccountStore::Keep keep)
{
    switch (keep) {
    case ProviderAccountStore::Keep::Database:
        return "database";
    case ProviderAccountStore::Keep::Ask:
        return "ask";
    case ProviderAccountStore::Keep::Keyring:
        break;
    }
    return "keyring";
}

ProviderAccountStore::Keep KeepOf(const QString& text)
{
    if (text == QLatin1String("database"))
        return ProviderAccountStore::Keep::Database;
    if (text == QLatin1String("ask"))
        return ProviderAccountStore::Keep::Ask;
    return ProviderAccountStore::Keep::Keyring;
}

constexpr const char* kSelect = "SELECT a.source_id, s.location, a.keep, a.password, a.status, a.expires, "
                                "a.active_connections, a.max_connections, a.formats, a.time_zone, a.noticed_day "
                                "FROM provider_accounts a JOIN sources s ON s.id = a.source_id";

ProviderAccountStore::Account AccountOf(const QSqlQuery& q)
{
    ProviderAccountStore::Account a;
    a.sourceId = q.value(0).toLongLong();
    a.location = q.value(1).toString().toStdString();
    a.keep = KeepOf(q.value(2).toString());
    if (!q.value(3).isNull() && a.keep == ProviderAccountStore::Keep::Database)
        a.password = q.value(3).toString().toStdString();
    a.status = q.value(4).toString().toStdString();
    a.expires = q.value(5).toLongLong();
    a.activeConnections = q.value(6).toInt();
    a.maxConnections = q.value(7).toInt();
    a.formats = q.value(8).toString().toStdString();
    a.timeZone = q.value(9).toString().toStdString();
    a.noticedDay = q.value(10).toLongLong();
    return a;
}

} // namespace

std::vector<ProviderAccountStore::Account> ProviderAccountStore::Read(const ViewerDatabase& db)
{
    QSqlQuery q(Db(db));
    q.setForwardOnly(true);
    if (!q.exec(QString::fromLatin1(kSelect) + QStringLiteral(" ORDER BY s.id")))
        Fail("read", q);
    std::vector<Account> out;
    while (q.next())
        out.push_back(AccountOf(q));
    return out;
}

std::optional<ProviderAccountStore::Account> ProviderAccountStore::Find(const ViewerDatabase& db,
                                                                        const std::string& location)
{
    QSqlQuery q(Db(db));
    q.setForwardOnly(true);
    if (!q.prepare(QString::fromLatin1(kSelect) + QStringLiteral(" WHERE s.location = ?")))
        Fail("read", q);
    q.addBindValue(QString::fromStdString(location));
    if (!q.exec())
        Fail("read", q);
    if (!q.next())
        return std::nullopt;
    return AccountOf(q);
}

void ProviderAccountStore::StoreState(const ViewerDatabase& db, const Account& a)
{
    QSqlQuery q(Db(db));
    if (!q.prepare(QStringLiteral(
            "INSERT INTO provider_accounts (source_id, status, expires, active_connections, max_connections, "
            "formats, time_zone) VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT(source_id) DO UPDATE SET "
            "status = excluded.status, expires = excluded.expires, active_connections = excluded.active_connections, "
            "max_connections = excluded.max_connections, formats = excluded.formats, time_zone = excluded.time_zone")))
        Fail("store", q);
    q.addBindValue(static_cast<qlonglong>(a.sourceId));
    q.addBindValue(QString::fromStdString(a.status));
    q.addBindValue(static_cast<qlonglong>(a.expires));
    q.addBindValue(a.activeConnections);
    q.addBindValue(a.maxConnections);
    q.addBindValue(QString::fromStdString(a.formats));
    q.addBindValue(QString::fromStdString(a.timeZone));
    if (!q.exec())
        Fail("store", q);
}

void ProviderAccountStore::StoreKeep(const ViewerDatabase& db, std::int64_t sourceId, Keep keep,
                                     const std::string& password)
{
    // The file holding a password is the viewer's alone, with its journal files (SQLite makes
    // those with the database's own permissions).
    if (keep == Keep::Database && !db.InMemory()) {
        for (const char* suffix : {"", "-wal", "-shm"}) {
            const QString file = QString::fromStdString(db.File() + suffix);
            if (QFile::exists(file) && !QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner))
                throw Exception("Cannot make " + db.File() + suffix +
                                " readable by you alone; the password was not kept in it");
        }
    }
    QSqlQuery q(Db(db));
    // A password taken out leaves no copy in the file's free pages.
    if (!q.exec(QStringLiteral("PRAGMA secure_delete=ON")))
        Fail("store", q);
    if (!q.prepare(QStringLiteral("UPDATE provider_accounts SET keep = ?, password = ? WHERE source_id = ?")))
        Fail("store", q);
    q.addBindValue(QString::fromLatin1(KeepText(keep)));
    q.addBindValue(keep == Keep::Database ? QVariant(QString::fromStdString(password)) : QVariant());
    q.addBindValue(static_cast<qlonglong>(sourceId));
    if (!q.exec())
        Fail("store", q);
    if (q.numRowsAffected() == 0)
        throw Exception("Cannot store the provider account's password: the account is not known");
    // Nor in the journal's older copies of the page: they go into the file and the journal
    // starts empty. A reader holding on keeps them a while; the next change tries again.
    if (keep != Keep::Database)
        q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    // Other changes on this connection (a guide's many programmes) need not pay for it.
    q.exec(QStringLiteral("PRAGMA secure_delete=OFF"));
}

void ProviderAccountStore::StoreNoticed(const ViewerDatabase& db, std::int64_t sourceId, std::int64_t day)
{
    QSqlQuery q(Db(db));
    if (!q.prepare(QStringLiteral("UPDATE provider_accounts SET noticed_day = ? WHERE source_id = ?")))
        Fail("store", q);
    q.addBindValue(static_cast<qlonglong>(day));
    q.addBindValue(static_cast<qlonglong>(sourceId));
    if (!q.exec())
        Fail("store", q);
}

} // namespace quorvel
