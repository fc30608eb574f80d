#include "userdata/settingsstore.h"

#include "base/exception.h"
#include "userdata/viewerdatabase.h"

#include <QFileInfo>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quorvel {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

[[noreturn]] void Fail(const char* what, const QSqlError& error)
{
    throw Exception(std::string("Cannot ") + what + " the viewer's settings: " + error.text().toStdString());
}

} // namespace

class SettingsStore::Backend {
public:
    virtual ~Backend() = default;
    virtual Values Read() const = 0;
    virtual void Store(const Values& values) = 0;
};

// The settings table of the viewer's database, through the database's own connection.
class SettingsStore::DatabaseBackend : public Backend {
public:
    explicit DatabaseBackend(const ViewerDatabase& database) : connection_(Q(database.ConnectionName())) { }

    Values Read() const override
    {
        QSqlQuery q(Db());
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT key, value FROM settings")))
            Fail("read", q.lastError());
        Values out;
        while (q.next())
            out[q.value(0).toString().toStdString()] = q.value(1).toString().toStdString();
        return out;
    }

    void Store(const Values& values) override
    {
        QSqlDatabase db = Db();
        QSqlQuery q(db);
        // Taken at once: a second player storing at the same moment waits for the lock.
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            Fail("store", q.lastError());
        QSqlQuery upsert(db);
        bool done = upsert.prepare(QStringLiteral(
            "INSERT INTO settings (key, value) VALUES (?, ?) ON CONFLICT (key) DO UPDATE SET value = excluded.value"));
        for (auto it = values.begin(); done && it != values.end(); ++it) {
            upsert.bindValue(0, Q(it->first));
            upsert.bindValue(1, Q(it->second));
            done = upsert.exec();
        }
        if (done && q.exec(QStringLiteral("COMMIT")))
            return;
        const QSqlError error = done ? q.lastError() : upsert.lastError();
        upsert.finish();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        Fail("store", error);
    }

private:
    QSqlDatabase Db() const { return QSqlDatabase::database(connection_, false); }

    QString connection_;
};

// A settings file beside the catalogue, for a folder where the database cannot live.
class SettingsStore::FileBackend : public Backend {
public:
    explicit FileBackend(const QString& file) : file_(file) { }

    Values Read() const override
    {
        QSettings settings(file_, QSettings::IniFormat);
        Values out;
        for (const QString& key : settings.allKeys())
            out[key.toStdString()] = settings.value(key).toString().toStdString();
        return out;
    }

    void Store(const Values& values) override
    {
        QSettings settings(file_, QSettings::IniFormat);
        for (const auto& [key, value] : values)
            settings.setValue(Q(key), Q(value));
        // The file is written whole to a new file that then takes the old one's place.
        settings.sync();
        if (settings.status() != QSettings::NoError)
            throw Exception("Cannot store the viewer's settings in " + file_.toStdString());
    }

private:
    QString file_;
};

SettingsStore::SettingsStore(const std::string& catalogueFile)
{
    try {
        database_ = std::make_unique<ViewerDatabase>(ViewerDatabase::FileBeside(catalogueFile));
    } catch (const Exception&) {
        database_.reset();
    }
    if (database_ && !database_->InMemory()) {
        backend_ = std::make_unique<DatabaseBackend>(*database_);
        location_ = database_->File();
        return;
    }
    database_.reset();
    const QFileInfo catalogue(Q(catalogueFile));
    const QString file = catalogue.absolutePath() + QLatin1Char('/') + QLatin1String(kFileName);
    backend_ = std::make_unique<FileBackend>(file);
    location_ = file.toStdString();
}

SettingsStore::~SettingsStore() = default;

SettingsStore::Values SettingsStore::Read() const { return backend_->Read(); }

void SettingsStore::Store(const Values& values)
{
    if (!values.empty())
        backend_->Store(values);
}

} // namespace quorvel
