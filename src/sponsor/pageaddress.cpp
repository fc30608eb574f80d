#include "sponsor/pageaddress.h"

#include <QUrl>

namespace quorvel {

QString LocalPageAddress(const std::string& folder, const char* page)
{
    const QString dir = folder.empty() ? QStringLiteral("/") : QString::fromLocal8Bit(folder);
    return QUrl::fromLocalFile(dir + QString::fromLocal8Bit(page)).toString(QUrl::FullyEncoded);
}

bool IsWebAddress(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace quorvel
