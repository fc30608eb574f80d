#include "testhttpserver.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

TestHttpServer::TestHttpServer() : server_(new QTcpServer(this))
{
    server_->listen(QHostAddress::LocalHost, 0);
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_->nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Reply(socket); });
        }
    });
}

TestHttpServer::~TestHttpServer() = default;

QString TestHttpServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_->serverPort()).arg(path);
}

void TestHttpServer::Reply(QTcpSocket* socket)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n"))
        return;
    const QList<QByteArray> first = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = first.size() > 1 ? QString::fromLatin1(first[1]) : QString();
    requests_.append(path);
    const auto it = answers_.constFind(path);
    TestHttpServer::Answer answer;
    if (it == answers_.constEnd())
        answer.status = 404;
    else
        answer = *it;
    if (answer.silent)
        return;
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.status) +
                       (answer.status == 200   ? " OK"
                        : answer.status == 404 ? " Not Found"
                                               : " Moved") +
                       "\r\n";
    if (!answer.location.isEmpty())
        reply += "Location: " + answer.location + "\r\n";
    reply += "Content-Type: audio/x-mpegurl\r\nContent-Length: " + QByteArray::number(answer.body.size()) +
             "\r\nConnection: close\r\n\r\n" + answer.body;
    socket->write(reply);
    socket->disconnectFromHost();
}
