#include "logoserver.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace {

constexpr qint64 kEndlessBound = 64LL << 20;
constexpr int kChunk = 16 * 1024;

} // namespace

LogoServer::LogoServer() : server_(new QTcpServer(this))
{
    others_.status = 404;
    server_->listen(QHostAddress::LocalHost, 0);
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_->nextPendingConnection()) {
            socket->setParent(this);
            socket->setProperty("serving", true);
            peak_ = std::max(peak_.load(), ++serving_);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                Done(socket);
                socket->deleteLater();
            });
        }
    });
}

LogoServer::~LogoServer() = default;

void LogoServer::Serve(const QString& path, const Answer& answer)
{
    QMutexLocker lock(&mutex_);
    answers_.insert(path, answer);
}

void LogoServer::ServeOthers(const Answer& answer)
{
    QMutexLocker lock(&mutex_);
    others_ = answer;
}

QString LogoServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_->serverPort()).arg(path);
}

QList<LogoServer::Request> LogoServer::Requests() const
{
    QMutexLocker lock(&mutex_);
    return requests_;
}

int LogoServer::Count(const QString& path) const
{
    QMutexLocker lock(&mutex_);
    return static_cast<int>(
        std::count_if(requests_.begin(), requests_.end(), [&](const Request& r) { return r.path == path; }));
}

qint64 LogoServer::BytesSent(const QString& path) const
{
    QMutexLocker lock(&mutex_);
    return sent_.value(path);
}

void LogoServer::Done(QTcpSocket* socket)
{
    if (socket->property("serving").toBool()) {
        socket->setProperty("serving", false);
        --serving_;
    }
}

void LogoServer::Read(QTcpSocket* socket)
{
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    socket->setProperty("head", head);
    if (!head.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> lines = head.left(head.indexOf("\r\n\r\n")).split('\n');
    Request request;
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.path = QString::fromLatin1(first.value(1));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    Answer answer;
    {
        QMutexLocker lock(&mutex_);
        requests_.append(request);
        answer = answers_.value(request.path, others_);
    }
    if (answer.kind == Kind::Silent)
        return;
    if (answer.delayMs > 0) {
        QTimer::singleShot(answer.delayMs, socket, [this, socket, path = request.path] { Reply(socket, path); });
        return;
    }
    Reply(socket, request.path);
}

void LogoServer::Reply(QTcpSocket* socket, const QString& path)
{
    Answer answer;
    {
        QMutexLocker lock(&mutex_);
        answer = answers_.value(path, others_);
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + (answer.status == 200 ? " OK" : " Not OK") +
                      "\r\nContent-Type: image/png\r\nConnection: close\r\n";
    if (answer.kind == Kind::Endless) {
        socket->write(head + "\r\n");
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket, path] { Pour(socket, path); });
        Pour(socket, path);
        return;
    }
    const qint64 length = answer.announcedLength >= 0 ? answer.announcedLength : answer.body.size();
    socket->write(head + "Content-Length: " + QByteArray::number(length) + "\r\n\r\n" + answer.body);
    {
        QMutexLocker lock(&mutex_);
        sent_[path] += answer.body.size();
    }
    // The answer is on its way: the client may start its next fetch as soon as it has it.
    Done(socket);
    socket->disconnectFromHost();
}

void LogoServer::Pour(QTcpSocket* socket, const QString& path)
{
    if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > kChunk)
        return;
    QMutexLocker lock(&mutex_);
    if (sent_[path] >= kEndlessBound) {
        lock.unlock();
        Done(socket);
        socket->disconnectFromHost();
        return;
    }
    sent_[path] += kChunk;
    lock.unlock();
    socket->write(QByteArray(kChunk, 'x'));
}
