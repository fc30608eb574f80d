#include "provider/providerlogin.h"

#include <QUrlQuery>

#include <cstring>

namespace quorvel {
namespace {

QString Encoded(const QString& segment) { return QString::fromLatin1(QUrl::toPercentEncoding(segment)); }

bool IsWeb(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace

ProviderLogin::ProviderLogin(const QString& server, QString user, QString password)
    : user_(std::move(user).trimmed()), password_(std::move(password))
{
    QString text = server.trimmed();
    if (!text.contains(QLatin1String("://")))
        text.prepend(QLatin1String("http://"));
    QUrl url(text, QUrl::StrictMode);
    if (!IsWeb(url))
        return;
    QString path = url.path();
    // The address of a script names its folder: the panel's other scripts lie beside it.
    for (const char* script : {"get.php", "player_api.php", "xmltv.php", "panel_api.php"})
        if (path.endsWith(QLatin1Char('/') + QLatin1String(script)))
            path.chop(static_cast<qsizetype>(std::strlen(script)));
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path);
    url.setQuery(QString());
    url.setFragment(QString());
    url.setUserInfo(QString());
    url.setScheme(url.scheme().toLower());
    server_ = url;
}

std::optional<ProviderLogin> ProviderLogin::FromPlaylistAddress(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!IsWeb(url) || !url.path().endsWith(QLatin1String("/get.php")))
        return std::nullopt;
    const QUrlQuery query(url);
    const QString user = query.queryItemValue(QStringLiteral("username"), QUrl::FullyDecoded);
    const QString password = query.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded);
    if (user.isEmpty() || password.isEmpty())
        return std::nullopt;
    ProviderLogin login(url.toString(QUrl::RemoveQuery | QUrl::RemoveFragment), user, password);
    if (!login.IsValid())
        return std::nullopt;
    return login;
}

std::optional<ProviderLogin> ProviderLogin::FromLocation(const QString& location)
{
    const QUrl url(location, QUrl::StrictMode);
    if (!IsWeb(url) || !url.path().endsWith(QLatin1String("/player_api.php")))
        return std::nullopt;
    const QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("password")))
        return std::nullopt;
    ProviderLogin login(url.toString(QUrl::RemoveQuery | QUrl::RemoveFragment),
                        query.queryItemValue(QStringLiteral("username"), QUrl::FullyDecoded), QString());
    if (!login.IsValid())
        return std::nullopt;
    return login;
}

QString ProviderLogin::Server() const { return server_.toString(QUrl::FullyEncoded); }

QString ProviderLogin::Location() const
{
    return Server() + QStringLiteral("/player_api.php?username=") + Encoded(user_);
}

QUrl ProviderLogin::ApiAddress(const QString& action) const
{
    QString text = Location() + QStringLiteral("&password=") + Encoded(password_);
    if (!action.isEmpty())
        text += QStringLiteral("&action=") + Encoded(action);
    return QUrl(text, QUrl::StrictMode);
}

QString ProviderLogin::Mark() { return QStringLiteral("%E2%80%A2%E2%80%A2%E2%80%A2"); }

QString ProviderLogin::Prefix() const
{
    return Server() + QStringLiteral("/live/") + Encoded(user_) + QLatin1Char('/');
}

QString ProviderLogin::KeptLiveAddress(qint64 streamId, const QString& extension) const
{
    return Prefix() + Mark() + QLatin1Char('/') + QString::number(streamId) + QLatin1Char('.') + extension;
}

QString ProviderLogin::Opened(const QString& kept) const
{
    const QString marked = Prefix() + Mark() + QLatin1Char('/');
    if (!IsValid() || !kept.startsWith(marked))
        return kept;
    return Prefix() + Encoded(password_) + QLatin1Char('/') + kept.mid(marked.size());
}

QString ProviderLogin::Kept(const QString& opened) const
{
    const QString open = Prefix() + Encoded(password_) + QLatin1Char('/');
    if (!IsValid() || password_.isEmpty() || !opened.startsWith(open))
        return opened;
    return Prefix() + Mark() + QLatin1Char('/') + opened.mid(open.size());
}

} // namespace quorvel
