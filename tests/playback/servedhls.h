#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

// A recorded HLS stream served on 127.0.0.1 by served_hls.py, run for one test: its address and
// every request it was sent, with the request's headers.
class ServedHls {
public:
    struct Request {
        QString path;
        QJsonObject headers;
    };

    // arguments: served_hls.py's own (--sound, --seconds N, --live, --agent UA --referrer REF).
    explicit ServedHls(const QStringList& arguments = {});
    ~ServedHls();

    bool Started() const { return !url_.isEmpty(); }
    // Ends the server: from now on a connection is refused.
    void Stop();
    QString Url() const { return url_; }
    // The requests read so far (waits for none).
    const QList<Request>& Requests();
    void ForgetRequests();

private:
    QProcess process_;
    QString url_;
    QList<Request> requests_;
};
