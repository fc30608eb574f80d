#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <string>

namespace quorvel {

// One Qt SQL connection to the viewer's database, named uniquely and removed with the object.
// What goes wrong is thrown as OpenFailure (opening) or SqlFailure (a statement), for the
// caller that knows what it was for.
class ViewerConnection {
public:
    // How long a statement waits for another connection's lock.
    static constexpr int kBusyTimeoutMs = 15000;

    // Why opening failed, and whether the file itself is at fault (moved aside) or only busy.
    struct OpenFailure {
        std::string why;
        bool damaged;
        bool busy = false; // another connection held the file just then
    };

    // A statement that failed, on its way to the caller that knows what it was for.
    struct SqlFailure {
        QSqlError error;
    };

    static bool IsBusy(const QSqlError& error);
    static bool IsDamage(const QSqlError& error);

    explicit ViewerConnection(const QString& file);
    ~ViewerConnection();
    ViewerConnection(const ViewerConnection&) = delete;
    ViewerConnection& operator=(const ViewerConnection&) = delete;

    QSqlDatabase Db() const { return QSqlDatabase::database(name_, false); }
    const QString& Name() const { return name_; }

    bool HasColumn(const QString& table, const QString& column) const;

    // Runs one statement; throws SqlFailure when it fails.
    QSqlQuery Run(const char* sql, std::initializer_list<QVariant> values = {}) const
    {
        return Run(QString::fromUtf8(sql), QVariantList(values));
    }
    QSqlQuery Run(const QString& sql, const QVariantList& values) const;

    // Runs the work in one write transaction, taken at once so that two writers queue up on the
    // lock instead of failing halfway.
    template <typename Work>
    void Write(Work&& work) const
    {
        Run("BEGIN IMMEDIATE");
        try {
            work();
            Run("COMMIT");
        } catch (...) {
            QSqlQuery(Db()).exec(QStringLiteral("ROLLBACK"));
            throw;
        }
    }

private:
    QString name_;
};

} // namespace quorvel
