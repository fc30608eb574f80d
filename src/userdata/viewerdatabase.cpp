#include "userdata/viewerdatabase.h"

#include "base/exception.h"
#include "userdata/schemamigrations.h"
#include "userdata/viewerconnection.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QThreadPool>
#include <QVariant>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <sys/statvfs.h>

namespace quorvel {
namespace {

// Whether the database's folder is (all but) out of space: SQLite needs room for its shared
// memory file and its log even to read.
bool NoSpaceBeside(const QString& file)
{
    struct statvfs st;
    const QByteArray folder = QFileInfo(file).absolutePath().toLocal8Bit();
    return ::statvfs(folder.constData(), &st) == 0 &&
           static_cast<unsigned long long>(st.f_bavail) * st.f_frsize < (1ULL << 20);
}

// Files whose every page was checked by a connection of this process. The check reads the whole
// file (about 130 ms for a guide of 480,000 programmes): once at the first opening is enough, and
// the connections opened later on the window's thread (lookups for the tree and the card) or
// for a guide's read must not pay it again.
std::mutex checkedMutex;
std::set<std::string> checkedFiles;

bool NeedsCheck(const std::string& file)
{
    std::lock_guard lock(checkedMutex);
    return checkedFiles.count(file) == 0;
}

void Checked(const std::string& file)
{
    std::lock_guard lock(checkedMutex);
    checkedFiles.insert(file);
}

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QVariant& v) { return v.toString().toStdString(); }

using OpenFailure = ViewerConnection::OpenFailure;
using SqlFailure = ViewerConnection::SqlFailure;

} // namespace

std::string ViewerDatabase::FileBeside(const std::string& catalogueFile)
{
    const QFileInfo catalogue(Q(catalogueFile));
    return (catalogue.absolutePath() + QLatin1Char('/') + QLatin1String(FileName)).toStdString();
}

ViewerDatabase::ViewerDatabase(std::string file) : file_(std::move(file)) { Open(); }

void ViewerDatabase::ForgetCheckedFiles()
{
    std::lock_guard lock(checkedMutex);
    checkedFiles.clear();
}

void ViewerDatabase::LoadDriverAhead()
{
    static std::once_flag once;
    std::call_once(once, [] {
        QThreadPool::globalInstance()->start([] {
            const QString name = QStringLiteral("quorvel-driver-ahead");
            // The plugin stays loaded once a connection was made with it.
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            QSqlDatabase::removeDatabase(name);
        });
    });
}

ViewerDatabase::~ViewerDatabase() = default;

void ViewerDatabase::Open()
{
    auto attempt = [this](const QString& file) {
        db_ = std::make_unique<ViewerConnection>(file);
        try {
            const QSqlDatabase db = db_->Db();
            // The header is read here: a file that is no database fails now, not later.
            const std::string path = file.toStdString();
            if (NeedsCheck(path)) {
                QSqlQuery check = db_->Run("PRAGMA quick_check");
                if (check.next() && check.value(0).toString() != QLatin1String("ok"))
                    throw OpenFailure{"it is damaged (" + S(check.value(0)) + ")", true};
            } else {
                // Still a database: its header and schema are read.
                db_->Run("SELECT count(*) FROM sqlite_master");
            }
            db_->Run("PRAGMA journal_mode=WAL");
            db_->Run("PRAGMA synchronous=NORMAL");
            db_->Run("PRAGMA foreign_keys=ON");
            db_->Write([this] { MigrateSchema(*db_); });
            Checked(path);
        } catch (const SqlFailure& f) {
            db_.reset();
            throw OpenFailure{f.error.text().toStdString(), ViewerConnection::IsDamage(f.error),
                              ViewerConnection::IsBusy(f.error)};
        } catch (...) {
            db_.reset();
            throw;
        }
    };
    const QString file = Q(file_);
    // Several programs opening one new file at once meet each other's locks while the first
    // one makes it: those wait their turn, as long as any statement would.
    auto attemptWaiting = [&attempt](const QString& name) {
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            try {
                attempt(name);
                return;
            } catch (const OpenFailure& f) {
                if (!f.busy || waited.elapsed() > ViewerConnection::kBusyTimeoutMs)
                    throw;
            }
            QThread::msleep(20);
        }
    };
    try {
        attemptWaiting(file);
        return;
    } catch (const OpenFailure& failure) {
        // A device with no space left fails SQLite's opening with errors that read as damage:
        // the file is whole, and stays where it is.
        OpenFailure first = failure;
        if (NoSpaceBeside(file)) {
            first.damaged = false;
            first.why += std::string("; ") + std::strerror(ENOSPC);
        }
        if (first.damaged && QFileInfo::exists(file)) {
            const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
            const QFileInfo info(file);
            const QString aside = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
                                  QLatin1String("-damaged-") + stamp +
                                  (info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix());
            if (QFile::rename(file, aside)) {
                // Its journal files belong to it, not to the fresh one.
                for (const char* journal : {"-wal", "-shm"})
                    if (QFile::exists(file + QLatin1String(journal)))
                        QFile::rename(file + QLatin1String(journal), aside + QLatin1String(journal));
                try {
                    attemptWaiting(file);
                    notice_ = "The viewer's data in " + file_ + " could not be read (" + first.why +
                              "); it was moved aside as " + aside.toStdString() +
                              " and a fresh one was started: playlist sources must be added again.";
                    return;
                } catch (const OpenFailure&) {
                }
            }
        }
        // Nothing on disk can be used: the program runs on with its data in memory.
        try {
            attempt(QStringLiteral(":memory:"));
            inMemory_ = true;
        } catch (const OpenFailure& memory) {
            throw Exception("The viewer's data cannot be kept even in memory: " + memory.why);
        }
        notice_ = "The viewer's data in " + file_ + " cannot be used (" + first.why +
                  "); playlist sources added now are kept only until the player ends.";
    }
}

std::string ViewerDatabase::ConnectionName() const { return db_->Name().toStdString(); }

int ViewerDatabase::SchemaVersion() const
{
    try {
        QSqlQuery q = db_->Run("PRAGMA user_version");
        return q.next() ? q.value(0).toInt() : 0;
    } catch (const SqlFailure& f) {
        throw Exception("Cannot read the viewer's data: " + f.error.text().toStdString());
    }
}

} // namespace quorvel
