#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QString>

namespace quorvel {

// Panels write the same field as a number in one version and as a string in the next, leave it
// out or send null: these read what is there and fall back where nothing usable is.

// Text of a string or a number; empty for anything else.
QString JsonText(const QJsonValue& value);
// A whole number from a number or a string of digits; fallback for anything else.
qint64 JsonInteger(const QJsonValue& value, qint64 fallback = 0);

// The answer read as JSON. Throws Exception in plain words when it is no JSON: empty, a web page
// (a panel behind a login page or an error page), cut short, or anything else. what: what the
// answer was meant to be, for the message ("the account information").
QJsonDocument ParseAnswer(const QByteArray& bytes, const char* what);

} // namespace quorvel
