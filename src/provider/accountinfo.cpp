#include "provider/accountinfo.h"

#include "base/exception.h"
#include "provider/providerjson.h"

#include <QJsonArray>
#include <QJsonObject>

namespace quorvel {
namespace {

AccountInfo::State StateOf(const QString& status)
{
    const QString s = status.toLower();
    if (s == QLatin1String("active"))
        return AccountInfo::State::Active;
    if (s == QLatin1String("expired"))
        return AccountInfo::State::Expired;
    if (s == QLatin1String("disabled"))
        return AccountInfo::State::Disabled;
    if (s == QLatin1String("banned"))
        return AccountInfo::State::Banned;
    return AccountInfo::State::Other;
}

int Count(const QJsonValue& value)
{
    const qint64 n = JsonInteger(value, 0);
    return n < 0 ? 0 : static_cast<int>(std::min<qint64>(n, 1000000));
}

} // namespace

AccountInfo AccountInfo::Read(const QByteArray& answer)
{
    const QJsonDocument doc = ParseAnswer(answer, "the account");
    // Some panels answer a wrong login with an empty list or with nothing but "auth": 0.
    if (doc.isArray() && doc.array().isEmpty()) {
        AccountInfo info;
        info.state = State::WrongLogin;
        return info;
    }
    if (!doc.isObject())
        throw Exception("The server's answer for the account is not a panel's account information");
    const QJsonObject root = doc.object();
    const QJsonValue userValue = root.value(QLatin1String("user_info"));
    if (!userValue.isObject()) {
        if (root.contains(QLatin1String("auth")) && JsonInteger(root.value(QLatin1String("auth")), 0) == 0) {
            AccountInfo info;
            info.state = State::WrongLogin;
            return info;
        }
        throw Exception("The server's answer for the account has no account information: the address may not be "
                        "a panel's");
    }
    const QJsonObject user = userValue.toObject();
    AccountInfo info;
    if (JsonInteger(user.value(QLatin1String("auth")), 1) == 0) {
        info.state = State::WrongLogin;
        return info;
    }
    info.status = JsonText(user.value(QLatin1String("status")));
    info.state = StateOf(info.status);
    info.message = JsonText(user.value(QLatin1String("message")));
    const qint64 expiry = JsonInteger(user.value(QLatin1String("exp_date")), 0);
    info.expiresAt = expiry > 0 ? expiry : 0;
    info.trial = JsonInteger(user.value(QLatin1String("is_trial")), 0) != 0;
    info.activeConnections = Count(user.value(QLatin1String("active_cons")));
    info.maxConnections = Count(user.value(QLatin1String("max_connections")));
    for (const QJsonValue& format : user.value(QLatin1String("allowed_output_formats")).toArray())
        if (const QString f = JsonText(format).toLower(); !f.isEmpty() && !info.outputFormats.contains(f))
            info.outputFormats << f;
    const QJsonValue server = root.value(QLatin1String("server_info"));
    if (server.isObject())
        info.timeZone = JsonText(server.toObject().value(QLatin1String("timezone")));
    return info;
}

bool AccountInfo::AtConnectionLimit() const
{
    return maxConnections == 1 || (maxConnections > 0 && activeConnections >= maxConnections);
}

QString AccountInfo::LiveExtension() const
{
    if (!outputFormats.isEmpty() && !outputFormats.contains(QLatin1String("m3u8")) &&
        outputFormats.contains(QLatin1String("ts")))
        return QStringLiteral("ts");
    return QStringLiteral("m3u8");
}

} // namespace quorvel
