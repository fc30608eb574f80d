#include "platform/webaddress.h"

namespace quorvel {

QUrl WebAddress(const QString& location)
{
    const QUrl url(location, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        return url;
    return {};
}

} // namespace quorvel
