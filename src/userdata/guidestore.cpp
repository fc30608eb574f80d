#include "userdata/guidestore.h"

#include "base/exception.h"
#include "userdata/viewerdatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quorvel {

// The statements prepared once: now and next are asked on every zap and every tooltip.
class GuideStore::Queries {
public:
    explicit Queries(const QSqlDatabase& db) : now(db), next(db), end(db), span(db), cells(db), one(db), begin(db)
    {
        Prepare(span, "SELECT start, stop, title, sub_title, description, category, clump FROM programmes "
                      "WHERE channel = ? AND start < ? AND stop > ? ORDER BY start, clump");
        // The whole slot: every programme of the clump at that start.
        Prepare(now, "SELECT start, stop, title, sub_title, description, category, clump FROM programmes "
                     "WHERE channel = ? AND start = (SELECT MAX(start) FROM programmes WHERE channel = ? AND "
                     "start <= ?) ORDER BY clump");
        Prepare(next, "SELECT start, stop, title, sub_title, description, category, clump FROM programmes "
                      "WHERE channel = ? AND start = (SELECT MIN(start) FROM programmes WHERE channel = ? AND "
                      "start > ?) ORDER BY clump");
        Prepare(end, "SELECT MAX(stop) FROM programmes");
        Prepare(begin, "SELECT MIN(start) FROM programmes");
        // Cut at the next start, only the last programme to start by `from` can still be on
        // then; every one before it ends by its successor's start.
        Prepare(cells, "SELECT start, stop, clump, title FROM programmes WHERE channel = ? AND start < ? AND start >= "
                       "COALESCE((SELECT MAX(start) FROM programmes WHERE channel = ? AND start <= ?), ?) "
                       "ORDER BY start, clump");
        Prepare(one, "SELECT start, stop, title, sub_title, description, category, clump FROM programmes "
                     "WHERE channel = ? AND start = ? AND clump = ?");
    }

    static void Prepare(QSqlQuery& q, const char* sql)
    {
        q.setForwardOnly(true);
        if (!q.prepare(QString::fromUtf8(sql)))
            throw Exception("Cannot read the programme guide: " + q.lastError().text().toStdString());
    }

    static void Exec(QSqlQuery& q)
    {
        if (!q.exec())
            throw Exception("Cannot read the programme guide: " + q.lastError().text().toStdString());
    }

    static Programme Row(const QSqlQuery& q)
    {
        Programme p;
        p.start = q.value(0).toLongLong();
        p.stop = q.value(1).toLongLong();
        p.title = q.value(2).toString().toStdString();
        p.subTitle = q.value(3).toString().toStdString();
        p.description = q.value(4).toString().toStdString();
        p.category = q.value(5).toString().toStdString();
        p.clump = q.value(6).toInt();
        return p;
    }

    // The slot of the channel the query finds around the instant.
    static std::vector<Programme> Slot(QSqlQuery& q, const QString& channel, std::int64_t instant)
    {
        q.bindValue(0, channel);
        q.bindValue(1, channel);
        q.bindValue(2, QVariant::fromValue(instant));
        Exec(q);
        std::vector<Programme> out;
        while (q.next())
            out.push_back(Row(q));
        q.finish();
        return out;
    }

    QSqlQuery now;
    QSqlQuery next;
    QSqlQuery end;
    QSqlQuery span;
    QSqlQuery cells;
    QSqlQuery one;
    QSqlQuery begin;
};

GuideStore::GuideStore(ViewerDatabase& db)
    : queries_(std::make_unique<Queries>(QSqlDatabase::database(QString::fromStdString(db.ConnectionName()), false)))
{
}

GuideStore::~GuideStore() = default;

GuideStore::NowAndNext GuideStore::At(const std::string& channel, std::int64_t instant) const
{
    const QString name = QString::fromStdString(channel);
    NowAndNext out;
    out.onNow = Queries::Slot(queries_->now, name, instant);
    // A programme whose stop has come is over, even when the guide has nothing after it.
    std::erase_if(out.onNow, [instant](const Programme& p) { return p.stop <= instant; });
    if (!out.onNow.empty())
        out.now = out.onNow.front();
    out.upNext = Queries::Slot(queries_->next, name, instant);
    if (!out.upNext.empty())
        out.next = out.upNext.front();
    return out;
}

std::vector<Programme> GuideStore::Between(const std::string& channel, std::int64_t from, std::int64_t to) const
{
    QSqlQuery& q = queries_->span;
    q.bindValue(0, QString::fromStdString(channel));
    q.bindValue(1, QVariant::fromValue(to));
    q.bindValue(2, QVariant::fromValue(from));
    Queries::Exec(q);
    std::vector<Programme> out;
    while (q.next())
        out.push_back(Queries::Row(q));
    q.finish();
    return out;
}

namespace {

std::int64_t OneNumber(QSqlQuery& q, std::int64_t none)
{
    if (!q.exec())
        throw Exception("Cannot read the programme guide: " + q.lastError().text().toStdString());
    std::int64_t out = none;
    if (q.next() && !q.value(0).isNull())
        out = q.value(0).toLongLong();
    q.finish();
    return out;
}

} // namespace

std::int64_t GuideStore::End() const { return OneNumber(queries_->end, kNoEnd); }

std::int64_t GuideStore::Begin() const { return OneNumber(queries_->begin, kNoEnd); }

std::vector<std::vector<GuideStore::Cell>> GuideStore::Cells(const std::vector<std::string>& channels,
                                                             std::int64_t from, std::int64_t to) const
{
    std::vector<std::vector<Cell>> out(channels.size());
    if (to <= from)
        return out;
    QSqlQuery& q = queries_->cells;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        const QString name = QString::fromStdString(channels[i]);
        q.bindValue(0, name);
        q.bindValue(1, QVariant::fromValue(to));
        q.bindValue(2, name);
        q.bindValue(3, QVariant::fromValue(from));
        q.bindValue(4, QVariant::fromValue(from));
        Queries::Exec(q);
        while (q.next())
            out[i].push_back({q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toInt(),
                              q.value(3).toString().toStdString()});
        q.finish();
    }
    return out;
}

std::optional<Programme> GuideStore::Find(const std::string& channel, std::int64_t start, int clump) const
{
    QSqlQuery& q = queries_->one;
    q.bindValue(0, QString::fromStdString(channel));
    q.bindValue(1, QVariant::fromValue(start));
    q.bindValue(2, clump);
    Queries::Exec(q);
    std::optional<Programme> out;
    if (q.next())
        out = Queries::Row(q);
    q.finish();
    return out;
}

} // namespace quorvel
