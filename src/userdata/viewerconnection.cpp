#include "userdata/viewerconnection.h"

#include <atomic>

namespace quorvel {

bool ViewerConnection::IsBusy(const QSqlError& error)
{
    // SQLite's result codes: 5 busy, 6 locked. Some of them (a change of journal mode, a
    // connection that must wait for another's recovery of the log) come without any wait.
    const int primary = error.nativeErrorCode().toInt() & 0xFF;
    return primary == 5 || primary == 6;
}

bool ViewerConnection::IsDamage(const QSqlError& error)
{
    // SQLite's result codes: 10 I/O error, 11 corrupt, 14 cannot open, 26 not a database.
    const int code = error.nativeErrorCode().toInt();
    const int primary = code & 0xFF;
    return primary == 10 || primary == 11 || primary == 14 || primary == 26;
}

ViewerConnection::ViewerConnection(const QString& file)
{
    static std::atomic<int> counter{0};
    name_ = QStringLiteral("quorvel-viewer-%1").arg(counter.fetch_add(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open())
        throw OpenFailure{db.lastError().text().toStdString(), IsDamage(db.lastError())};
}

ViewerConnection::~ViewerConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

bool ViewerConnection::HasColumn(const QString& table, const QString& column) const
{
    QSqlQuery query(Db());
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
        throw SqlFailure{query.lastError()};
    while (query.next())
        if (query.value(1).toString().compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QSqlQuery ViewerConnection::Run(const QString& sql, const QVariantList& values) const
{
    QSqlQuery query(Db());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw SqlFailure{query.lastError()};
    for (const QVariant& v : values)
        query.addBindValue(v);
    if (!query.exec())
        throw SqlFailure{query.lastError()};
    return query;
}

} // namespace quorvel
