#include "logos/logofetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace quorvel {
namespace {

// A header value is one line: control characters (a CR or LF would start a header of their own)
// become spaces, and the spaces at either end go.
QByteArray HeaderValue(const std::string& value)
{
    QByteArray clean = QByteArray::fromStdString(value);
    for (char& c : clean) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f)
            c = ' ';
    }
    return clean.trimmed();
}

} // namespace

QString LogoFetcher::Problem(const QNetworkReply& reply, int status, qint64 bytes) const
{
    if (bytes > maxBytes_)
        return QStringLiteral("it is larger than %1 bytes").arg(maxBytes_);
    if (status >= 300)
        return QStringLiteral("the server answered %1").arg(status);
    if (reply.error() == QNetworkReply::InsecureRedirectError)
        return QStringLiteral("it redirects from https to plain http");
    // Qt's error text can quote the whole address, credentials and all: only its kind is told.
    if (reply.error() != QNetworkReply::NoError)
        return QStringLiteral("network error %1").arg(static_cast<int>(reply.error()));
    return {};
}

LogoFetcher::LogoFetcher(qint64 maxBytes, int timeoutMs) : maxBytes_(maxBytes), timeoutMs_(timeoutMs) { }

LogoFetcher::~LogoFetcher()
{
    // The replies go with the manager; none of them reports any more.
    for (Running& r : running_)
        r.reply->disconnect(this);
}

void LogoFetcher::Start(quint64 id, const QUrl& url, const RequestOptions& options)
{
    if (!network_) {
        network_ = std::make_unique<QNetworkAccessManager>();
        network_->setCookieJar(nullptr);
    }
    QNetworkRequest request(url);
    // Redirects are followed, but never from https down to plain http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    const QByteArray agent = HeaderValue(options.userAgent);
    request.setRawHeader("User-Agent", agent.isEmpty() ? QByteArrayLiteral("quorvel") : agent);
    if (const QByteArray referrer = HeaderValue(options.referrer); !referrer.isEmpty())
        request.setRawHeader("Referer", referrer);
    if (const QByteArray origin = HeaderValue(options.origin); !origin.isEmpty())
        request.setRawHeader("Origin", origin);
    request.setRawHeader("Accept", "image/*");

    Running& r = running_[id];
    r.reply = network_->get(request);
    r.timer = new QTimer(r.reply);
    r.timer->setSingleShot(true);
    // The whole fetch has its time: a server that sends a byte now and then is no faster.
    connect(r.timer, &QTimer::timeout, this,
            [this, id] { BreakOff(id, QStringLiteral("no logo within %1 s").arg(timeoutMs_ / 1000.0)); });
    connect(r.reply, &QNetworkReply::metaDataChanged, this, [this, id] { Check(id); });
    connect(r.reply, &QNetworkReply::readyRead, this, [this, id] { Take(id); });
    connect(r.reply, &QNetworkReply::finished, this, [this, id] { Conclude(id); });
    r.timer->start(timeoutMs_);
}

void LogoFetcher::Check(quint64 id)
{
    const auto it = running_.find(id);
    if (it == running_.end())
        return;
    // A length announced past the bound is refused before a byte of it comes.
    const int status = it->reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = it->reply->header(QNetworkRequest::ContentLengthHeader);
    if (status < 300 && length.isValid() && length.toLongLong() > maxBytes_ && it->problem.isEmpty()) {
        it->problem = QStringLiteral("it is larger than %1 bytes").arg(maxBytes_);
        // Qt's reply is not to be aborted from within its own report of the headers.
        QMetaObject::invokeMethod(
            this,
            [this, id] {
                if (const auto r = running_.find(id); r != running_.end())
                    r->reply->abort();
            },
            Qt::QueuedConnection);
    }
}

void LogoFetcher::Take(quint64 id)
{
    const auto it = running_.find(id);
    if (it == running_.end() || !it->problem.isEmpty())
        return;
    const int status = it->reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 300) {
        // An error page is no logo; a redirect's body is not the logo either.
        it->reply->readAll();
        return;
    }
    const qint64 room = maxBytes_ - it->bytes.size();
    if (it->reply->bytesAvailable() > room) {
        BreakOff(id, QStringLiteral("it is larger than %1 bytes").arg(maxBytes_));
        return;
    }
    it->bytes += it->reply->readAll();
}

void LogoFetcher::BreakOff(quint64 id, const QString& problem)
{
    const auto it = running_.find(id);
    if (it == running_.end() || !it->problem.isEmpty())
        return;
    it->problem = problem;
    // Aborting finishes the reply at once, which concludes the fetch.
    it->reply->abort();
}

void LogoFetcher::Conclude(quint64 id)
{
    const auto it = running_.find(id);
    if (it == running_.end())
        return;
    Running r = std::move(*it);
    running_.erase(it);
    r.timer->stop();
    QNetworkReply* reply = r.reply;
    reply->disconnect(this);
    reply->deleteLater();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (r.problem.isEmpty() && reply->error() == QNetworkReply::NoError && status < 300)
        r.bytes += reply->readAll();
    const QString problem = r.problem.isEmpty() ? Problem(*reply, status, r.bytes.size()) : r.problem;
    emit Finished(id, problem.isEmpty() ? r.bytes : QByteArray(), problem);
}

} // namespace quorvel
