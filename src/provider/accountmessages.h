#pragma once

#include "provider/accountinfo.h"

#include <QString>
#include <QTimeZone>

namespace quorvel {

// What the viewer is told of an account, in plain words; dates in the viewer's zone.
class AccountMessages {
public:
    static constexpr qint64 kNoticeDays = 7;

    // Why the account cannot be used ("The provider says this account expired on 3 December
    // 2026."), or empty when it can. now: seconds since the epoch.
    static QString Problem(const AccountInfo& info, qint64 now, const QTimeZone& zone = QTimeZone::systemTimeZone());

    // The day (a Julian day number in the viewer's zone) the expiry notice is due on, or 0 when
    // none is: from kNoticeDays before the end, once a day; lastNoticeDay is the day it was
    // last given (0 for never).
    static qint64 NoticeDay(const AccountInfo& info, qint64 now, qint64 lastNoticeDay,
                            const QTimeZone& zone = QTimeZone::systemTimeZone());
    // "The provider says this account expires on 10 December 2026, in 3 days."
    static QString Notice(const AccountInfo& info, qint64 now, const QTimeZone& zone = QTimeZone::systemTimeZone());

    // "3 December 2026".
    static QString Date(qint64 secs, const QTimeZone& zone);
};

} // namespace quorvel
