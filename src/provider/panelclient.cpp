#include "provider/panelclient.h"

#include "base/exception.h"
#include "base/redactedaddress.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace quorvel {

PanelClient::PanelClient(ProviderLogin login, Options options) : login_(std::move(login)), options_(options) { }

QByteArray PanelClient::Ask(const QString& action, const char* what)
{
    QNetworkAccessManager manager;
    QNetworkRequest request(login_.ApiAddress(action));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("quorvel"));
    QNetworkReply* reply = manager.get(request);
    // Only a little is held by the reply itself: the bound below is the answer's whole cost.
    reply->setReadBufferSize(qint64(1) << 20);

    QEventLoop loop;
    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(options_.timeoutMs);
    enum class End { Done, Silent, TooLarge, Cancelled } end = End::Done;
    QByteArray bytes;
    auto stop = [&](End why) {
        end = why;
        reply->abort();
    };
    QObject::connect(&silence, &QTimer::timeout, &loop, [&] { stop(End::Silent); });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        silence.start();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > options_.maxBytes)
            stop(End::TooLarge);
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        silence.start();
        if (end != End::Done)
            return;
        const qint64 room = options_.maxBytes - bytes.size();
        bytes += reply->read(room + 1);
        if (bytes.size() > options_.maxBytes) {
            bytes.clear();
            bytes.squeeze();
            stop(End::TooLarge);
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer watch;
    if (options_.cancel) {
        QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
            if (options_.cancel->load())
                stop(End::Cancelled);
        });
        watch.start(100);
    }
    silence.start();
    if (!reply->isFinished())
        loop.exec();
    silence.stop();
    if (end == End::Done && bytes.size() <= options_.maxBytes)
        bytes += reply->read(options_.maxBytes + 1 - bytes.size());
    if (end == End::Done && bytes.size() > options_.maxBytes)
        end = End::TooLarge;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const auto error = reply->error();
    // Qt's words name the address, password and all: only the address with the login hidden is shown.
    std::string why = RedactedAddress(reply->errorString().toStdString());
    if (const QString password = login_.Password(); password.size() >= 3)
        why = QString::fromStdString(why).replace(password, QStringLiteral("•••")).toStdString();
    delete reply;

    const std::string server = RedactedAddress(login_.Server().toStdString());
    const std::string about = std::string("Cannot get ") + what + " from " + server;
    switch (end) {
    case End::Cancelled:
        throw Exception("Asking " + server + " was cancelled");
    case End::Silent:
        throw Exception(about + ": no answer from the server for " + std::to_string(options_.timeoutMs / 1000) + " s");
    case End::TooLarge:
        throw Exception(about + ": the answer is larger than any panel's (" + std::to_string(options_.maxBytes >> 20) +
                        " MB)");
    case End::Done:
        break;
    }
    if (status == 401 || status == 403)
        throw Exception(about + ": the provider does not know this user name and password");
    if (status >= 400)
        throw Exception(about + ": the server answered " + std::to_string(status));
    if (error != QNetworkReply::NoError)
        throw Exception(about + ": " + why);
    return bytes;
}

} // namespace quorvel
