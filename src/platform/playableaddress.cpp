#include "playableaddress.h"

#include <QStringList>

namespace quorvel {

bool IsPlayableAddress(const QString& address)
{
    static const QStringList kSchemes = {
        QStringLiteral("http"),   QStringLiteral("https"),  QStringLiteral("ftp"),    QStringLiteral("rtmp"),
        QStringLiteral("rtmps"),  QStringLiteral("rtmpe"),  QStringLiteral("rtmpt"),  QStringLiteral("rtmpte"),
        QStringLiteral("rtmpts"), QStringLiteral("rtsp"),   QStringLiteral("rtsps"),  QStringLiteral("rtp"),
        QStringLiteral("udp"),    QStringLiteral("srt"),    QStringLiteral("mms"),    QStringLiteral("mmsh"),
        QStringLiteral("mmst"),   QStringLiteral("file"),
    };
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String("-"))
        return false;
    const qsizetype sep = trimmed.indexOf(QLatin1String("://"));
    if (sep < 0)
        return true; // a local path
    return kSchemes.contains(trimmed.left(sep), Qt::CaseInsensitive);
}

} // namespace quorvel
