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
    explicit Queries(const QSqlDatabase& db) : now(db), next(db), end(db), span(db)
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

std::int64_t GuideStore::End() const
{
    QSqlQuery& q = queries_->end;
    Queries::Exec(q);
    std::int64_t end = kNoEnd;
    if (q.next() && !q.value(0).isNull())
        end = q.value(0).toLongLong();
    q.finish();
    return end;
}

} // namespace quorvel
