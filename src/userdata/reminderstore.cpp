#include "userdata/reminderstore.h"

#include "base/exception.h"
#include "userdata/viewerdatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quorvel {

class ReminderStore::Connection {
public:
    explicit Connection(const ViewerDatabase& db)
        : db_(QSqlDatabase::database(QString::fromStdString(db.ConnectionName()), false))
    {
    }

    QSqlQuery Run(const char* sql, const QVariantList& values, const char* what) const
    {
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.prepare(QString::fromUtf8(sql)))
            Fail(what, q);
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
        if (!q.exec())
            Fail(what, q);
        return q;
    }

private:
    [[noreturn]] static void Fail(const char* what, const QSqlQuery& q)
    {
        throw Exception(std::string("Cannot ") + what + " the reminders: " + q.lastError().text().toStdString());
    }

    QSqlDatabase db_;
};

ReminderStore::ReminderStore(const ViewerDatabase& database) : db_(std::make_unique<Connection>(database)) { }

ReminderStore::~ReminderStore() = default;

std::vector<Reminder> ReminderStore::All() const
{
    QSqlQuery q = db_->Run("SELECT channel, category, start, title FROM reminders ORDER BY start, channel", {}, "read");
    std::vector<Reminder> out;
    while (q.next())
        out.push_back({q.value(0).toString().toStdString(), q.value(1).toString().toStdString(),
                       q.value(2).toLongLong(), q.value(3).toString().toStdString()});
    return out;
}

void ReminderStore::Add(const Reminder& reminder)
{
    db_->Run("INSERT OR REPLACE INTO reminders (channel, category, start, title) VALUES (?, ?, ?, ?)",
             {QString::fromStdString(reminder.channel), QString::fromStdString(reminder.category),
              QVariant::fromValue(reminder.start), QString::fromStdString(reminder.title)},
             "store");
}

void ReminderStore::Remove(const std::string& channel, std::int64_t start)
{
    db_->Run("DELETE FROM reminders WHERE channel = ? AND start = ?",
             {QString::fromStdString(channel), QVariant::fromValue(start)}, "store");
}

void ReminderStore::RemoveBefore(std::int64_t instant)
{
    db_->Run("DELETE FROM reminders WHERE start < ?", {QVariant::fromValue(instant)}, "store");
}

} // namespace quorvel
