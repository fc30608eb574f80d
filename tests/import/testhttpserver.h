#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

// A small HTTP server on 127.0.0.1 for the import tests, run by the test's own event loop:
// each path answers with a fixed status, headers and body; "silent" paths never answer.
class TestHttpServer : public QObject {
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray location; // for redirects
        bool silent = false;
    };

    TestHttpServer();
    ~TestHttpServer() override;

    void Serve(const QString& path, const Answer& answer) { answers_[path] = answer; }
    QString Url(const QString& path) const;
    // Every path asked for, in order.
    const QList<QString>& Requests() const { return requests_; }

private:
    void Reply(QTcpSocket* socket);

    QTcpServer* server_;
    QMap<QString, TestHttpServer::Answer> answers_;
    QList<QString> requests_;
};
