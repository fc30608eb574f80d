#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>

class QTcpServer;
class QTcpSocket;

// A small HTTP server on 127.0.0.1 for the logo tests and benchmark, run by the event loop of
// the thread it is made on. Each path has its answer; the server counts the connections it is
// serving at once (each answer closes its connection, so that is the fetches under way).
class LogoServer : public QObject {
public:
    enum class Kind {
        Body,    // the body, with its length
        Silent,  // never answers
        Endless, // a body without length that goes on until the client leaves (64 MiB at most)
    };
    struct Answer {
        int status = 200;
        QByteArray body;
        Kind kind = Kind::Body;
        int delayMs = 0;
        qint64 announcedLength = -1; // a Content-Length of its own, to announce a larger body
    };
    struct Request {
        QString path;
        QMap<QByteArray, QByteArray> headers; // names in lower case
    };

    LogoServer();
    ~LogoServer() override;

    void Serve(const QString& path, const Answer& answer);
    // The answer to every path not served otherwise (404 unless set).
    void ServeOthers(const Answer& answer);
    QString Url(const QString& path) const;

    QList<Request> Requests() const;
    int Count(const QString& path) const;
    qint64 BytesSent(const QString& path) const;
    int Serving() const { return serving_; }
    int PeakServing() const { return peak_; }

private:
    void Read(QTcpSocket* socket);
    void Reply(QTcpSocket* socket, const QString& path);
    void Pour(QTcpSocket* socket, const QString& path);
    void Done(QTcpSocket* socket);

    QTcpServer* server_;
    mutable QMutex mutex_;
    QHash<QString, Answer> answers_;
    Answer others_;
    QList<Request> requests_;
    QHash<QString, qint64> sent_;
    std::atomic<int> serving_{0};
    std::atomic<int> peak_{0};
};
