#include "provider/accountmessages.h"

#include <QDateTime>
#include <QLocale>

namespace quorvel {

QString AccountMessages::Date(qint64 secs, const QTimeZone& zone)
{
    const QDate date = QDateTime::fromSecsSinceEpoch(secs, zone).date();
    return QLocale(QLocale::English, QLocale::UnitedKingdom).toString(date, QStringLiteral("d MMMM yyyy"));
}

QString AccountMessages::Problem(const AccountInfo& info, qint64 now, const QTimeZone& zone)
{
    switch (info.state) {
    case AccountInfo::State::WrongLogin:
        return QStringLiteral("The provider does not know this user name and password.");
    case AccountInfo::State::Disabled:
        return QStringLiteral("The provider says this account is disabled.");
    case AccountInfo::State::Banned:
        return QStringLiteral("The provider says this account is banned.");
    case AccountInfo::State::Expired:
        return info.expiresAt > 0
                   ? QStringLiteral("The provider says this account expired on %1.").arg(Date(info.expiresAt, zone))
                   : QStringLiteral("The provider says this account expired.");
    case AccountInfo::State::Active:
    case AccountInfo::State::Other:
        break;
    }
    // A panel may go on saying "Active" past the date it gives.
    if (info.expiresAt > 0 && info.expiresAt <= now)
        return QStringLiteral("The provider says this account expired on %1.").arg(Date(info.expiresAt, zone));
    if (info.state == AccountInfo::State::Other && !info.status.isEmpty())
        return QStringLiteral("The provider says this account is not active (\"%1\").").arg(info.status.left(40));
    return {};
}

qint64 AccountMessages::NoticeDay(const AccountInfo& info, qint64 now, qint64 lastNoticeDay, const QTimeZone& zone)
{
    if (info.expiresAt <= now || info.expiresAt - now > kNoticeDays * 86400 || !Problem(info, now, zone).isEmpty())
        return 0;
    const qint64 today = QDateTime::fromSecsSinceEpoch(now, zone).date().toJulianDay();
    return today == lastNoticeDay ? 0 : today;
}

QString AccountMessages::Notice(const AccountInfo& info, qint64 now, const QTimeZone& zone)
{
    const QDate today = QDateTime::fromSecsSinceEpoch(now, zone).date();
    const QDate end = QDateTime::fromSecsSinceEpoch(info.expiresAt, zone).date();
    const qint64 days = today.daysTo(end);
    const QString when = days <= 0   ? QStringLiteral("today")
                         : days == 1 ? QStringLiteral("tomorrow")
                                     : QStringLiteral("in %1 days").arg(days);
    return QStringLiteral("The provider says this account expires on %1, %2.").arg(Date(info.expiresAt, zone), when);
}

} // namespace quorvel
