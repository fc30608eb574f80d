#include "userdata/pendingcatalogue.h"

#include "base/exception.h"
#include "userdata/viewerdatabase.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quorvel {
namespace {

QString KeyOf(const std::string& catalogue)
{
    return QStringLiteral("pending-catalogue:") + QFileInfo(QString::fromStdString(catalogue)).fileName();
}

QSqlQuery Run(const ViewerDatabase& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery q(QSqlDatabase::database(QString::fromStdString(db.ConnectionName()), false));
    q.setForwardOnly(true);
    bool ok = q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!ok || !q.exec())
        throw Exception("Cannot keep the viewer's data: " + q.lastError().text().toStdString());
    return q;
}

} // namespace

void PendingCatalogue::Note(const ViewerDatabase& db, const std::string& catalogue, const std::string& checksum)
{
    Run(db,
        QStringLiteral("INSERT INTO settings (key, value) VALUES (?, ?) "
                       "ON CONFLICT (key) DO UPDATE SET value = excluded.value"),
        {KeyOf(catalogue), QString::fromStdString(checksum)});
}

std::optional<std::string> PendingCatalogue::Noted(const ViewerDatabase& db, const std::string& catalogue)
{
    QSqlQuery q = Run(db, QStringLiteral("SELECT value FROM settings WHERE key = ?"), {KeyOf(catalogue)});
    if (!q.next())
        return std::nullopt;
    return q.value(0).toString().toStdString();
}

void PendingCatalogue::Clear(const ViewerDatabase& db, const std::string& catalogue)
{
    Run(db, QStringLiteral("DELETE FROM settings WHERE key = ?"), {KeyOf(catalogue)});
}

void PendingCatalogue::SyncEveryCommit(const ViewerDatabase& db, bool on)
{
    Run(db, on ? QStringLiteral("PRAGMA synchronous=FULL") : QStringLiteral("PRAGMA synchronous=NORMAL"));
}

} // namespace quorvel
