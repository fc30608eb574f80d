#include "provider/providerjson.h"

#include "base/exception.h"

#include <QJsonParseError>

#include <cctype>
#include <cmath>

namespace quorvel {

QString JsonText(const QJsonValue& value)
{
    if (value.isString())
        return value.toString().trimmed();
    if (value.isDouble()) {
        const double d = value.toDouble();
        // Whole numbers read as written ("12", not "12.0"); others as JSON gave them.
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e15)
            return QString::number(static_cast<qint64>(d));
        return QString::number(d);
    }
    return {};
}

qint64 JsonInteger(const QJsonValue& value, qint64 fallback)
{
    if (value.isDouble()) {
        const double d = value.toDouble();
        return std::isfinite(d) && std::fabs(d) < 9.0e15 ? static_cast<qint64>(d) : fallback;
    }
    if (value.isString()) {
        bool ok = false;
        const qint64 n = value.toString().trimmed().toLongLong(&ok);
        return ok ? n : fallback;
    }
    if (value.isBool())
        return value.toBool() ? 1 : 0;
    return fallback;
}

QJsonDocument ParseAnswer(const QByteArray& bytes, const char* what)
{
    // Looked at in place: the answer may be tens of megabytes.
    qsizetype first = 0;
    qsizetype end = bytes.size();
    while (first < end && std::isspace(static_cast<unsigned char>(bytes[first])))
        ++first;
    while (end > first && std::isspace(static_cast<unsigned char>(bytes[end - 1])))
        --end;
    const std::string about = std::string("The server's answer for ") + what;
    if (first == end)
        throw Exception(about + " was empty");
    if (bytes[first] == '<')
        throw Exception(about + " was a web page, not a panel's data: the address may not be the panel's");
    QJsonParseError error{};
    QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError)
        return doc;
    if (error.offset >= end - 1 || error.error == QJsonParseError::UnterminatedObject ||
        error.error == QJsonParseError::UnterminatedArray || error.error == QJsonParseError::UnterminatedString)
        throw Exception(about + " was cut short");
    throw Exception(about + " could not be read (" + error.errorString().toStdString() + " at byte " +
                    std::to_string(error.offset) + ")");
}

} // namespace quorvel
