#pragma once

#include "base/requestoptions.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace quorvel {

// Downloads logos on the thread it lives on, as many at once as it is given: each with the
// channel's request options, a byte bound (broken off as soon as it is passed) and a time bound
// for the whole fetch. Finished tells each outcome: the bytes, or a problem naming the host only.
class LogoFetcher : public QObject {
    Q_OBJECT
public:
    LogoFetcher(qint64 maxBytes, int timeoutMs);
    ~LogoFetcher() override;

    void Start(quint64 id, const QUrl& url, const RequestOptions& options);

signals:
    void Finished(quint64 id, const QByteArray& bytes, const QString& problem);

private:
    struct Running {
        QNetworkReply* reply = nullptr;
        QTimer* timer = nullptr;
        QByteArray bytes;
        QString problem; // set when this side broke the fetch off
    };

    void Take(quint64 id);
    void Check(quint64 id);
    void Conclude(quint64 id);
    void BreakOff(quint64 id, const QString& problem);
    QString Problem(const QNetworkReply& reply, int status, qint64 bytes) const;

    const qint64 maxBytes_;
    const int timeoutMs_;
    std::unique_ptr<QNetworkAccessManager> network_;
    QHash<quint64, Running> running_;
};

} // namespace quorvel
