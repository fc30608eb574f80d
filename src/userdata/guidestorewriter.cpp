#include "userdata/guidestorewriter.h"

#include "base/exception.h"
#include "userdata/viewerdatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quorvel {
namespace {

struct SqlFailure {
    std::string why;
};

void Run(QSqlQuery& q)
{
    if (!q.exec())
        throw SqlFailure{q.lastError().text().toStdString()};
}

QSqlQuery Prepared(const QSqlDatabase& db, const char* sql)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(QString::fromUtf8(sql)))
        throw SqlFailure{q.lastError().text().toStdString()};
    return q;
}

void Run(const QSqlDatabase& db, const char* sql)
{
    QSqlQuery q = Prepared(db, sql);
    Run(q);
}

} // namespace

GuideStoreWriter::GuideStoreWriter(std::string databaseFile, std::vector<std::string> channels, std::string guide,
                                   std::int64_t now)
    : file_(std::move(databaseFile)), channels_(std::move(channels)), guide_(std::move(guide)), now_(now),
      replaced_(channels_.size(), false)
{
    pending_.reserve(kBatch);
}

// The connection goes with the thread that fed it; a writer that was never fed has none.
GuideStoreWriter::~GuideStoreWriter() = default;

void GuideStoreWriter::Take(std::size_t channel, std::span<Programme> programmes)
{
    // Called from inside the reader: nothing may be thrown back through it.
    if (channel >= channels_.size() || !Failure().empty())
        return;
    for (Programme& p : programmes) {
        pending_.push_back(Pending{channel, std::move(p)});
        if (pending_.size() >= kBatch)
            Flush();
    }
}

void GuideStoreWriter::Finish(const GuideOutcome& /*outcome*/)
{
    if (!Failure().empty())
        return;
    Flush();
    if (!Failure().empty())
        return;
    try {
        if (!db_)
            db_ = std::make_unique<ViewerDatabase>(file_);
        const QSqlDatabase db = QSqlDatabase::database(QString::fromStdString(db_->ConnectionName()), false);
        QSqlQuery drop = Prepared(db, "DELETE FROM programmes WHERE stop < ?");
        drop.addBindValue(QVariant::fromValue(now_ - kKeptBehind));
        Run(drop);
    } catch (const SqlFailure& f) {
        Fail(f.why);
    } catch (const std::exception& e) {
        Fail(e.what());
    }
    // The connection is closed here, on the thread that opened it.
    db_.reset();
}

void GuideStoreWriter::Flush()
{
    if (pending_.empty())
        return;
    try {
        if (!db_)
            db_ = std::make_unique<ViewerDatabase>(file_);
        const QSqlDatabase db = QSqlDatabase::database(QString::fromStdString(db_->ConnectionName()), false);
        Run(db, "BEGIN IMMEDIATE");
        try {
            QSqlQuery clear = Prepared(db, "DELETE FROM programmes WHERE channel = ? AND stop > ?");
            QSqlQuery insert = Prepared(db, "INSERT OR REPLACE INTO programmes (channel, start, clump, stop, "
                                            "title, sub_title, description, category, guide) "
                                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
            const QString guide = QString::fromStdString(guide_);
            for (const Pending& item : pending_) {
                const QString channel = QString::fromStdString(channels_[item.channel]);
                const Programme& p = item.programme;
                if (!replaced_[item.channel]) {
                    // The guide's first programme of the channel: what was kept from its start on
                    // is what the guide says now.
                    clear.bindValue(0, channel);
                    clear.bindValue(1, QVariant::fromValue(p.start));
                    Run(clear);
                    replaced_[item.channel] = true;
                }
                insert.bindValue(0, channel);
                insert.bindValue(1, QVariant::fromValue(p.start));
                insert.bindValue(2, p.clump);
                insert.bindValue(3, QVariant::fromValue(p.stop));
                insert.bindValue(4, QString::fromStdString(p.title));
                insert.bindValue(5, QString::fromStdString(p.subTitle));
                insert.bindValue(6, QString::fromStdString(p.description));
                insert.bindValue(7, QString::fromStdString(p.category));
                insert.bindValue(8, guide);
                Run(insert);
            }
            clear.finish();
            insert.finish();
            Run(db, "COMMIT");
        } catch (...) {
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            throw;
        }
        std::lock_guard lock(mutex_);
        stored_ += pending_.size();
    } catch (const SqlFailure& f) {
        Fail(f.why);
    } catch (const std::exception& e) {
        Fail(e.what());
    }
    pending_.clear();
}

void GuideStoreWriter::Fail(const std::string& why)
{
    std::lock_guard lock(mutex_);
    if (failure_.empty())
        failure_ = "Cannot store the programme guide: " + why;
}

std::string GuideStoreWriter::Failure() const
{
    std::lock_guard lock(mutex_);
    return failure_;
}

std::size_t GuideStoreWriter::Stored() const
{
    std::lock_guard lock(mutex_);
    return stored_;
}

} // namespace quorvel
