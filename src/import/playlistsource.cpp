#include "import/playlistsource.h"

#include "base/exception.h"
#include "base/readtoend.h"
#include "platform/webaddress.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {
namespace {

std::string Text(const QString& s) { return s.toStdString(); }

} // namespace

PlaylistSource::PlaylistSource(QString location) : location_(std::move(location)) { }

bool PlaylistSource::IsRemote() const { return WebAddress(location_).isValid(); }

QByteArray PlaylistSource::Read(const Options& options)
{
    if (const QUrl url = WebAddress(location_); url.isValid())
        return ReadRemote(url, options);
    const qsizetype sep = location_.indexOf(QLatin1String("://"));
    if (sep > 0 && !location_.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        throw Exception("Cannot read " + Text(location_) + ": only files and http or https addresses are read");
    const QString path =
        location_.startsWith(QLatin1String("file:"), Qt::CaseInsensitive) ? QUrl(location_).toLocalFile() : location_;
    return ReadFile(path, options);
}

QByteArray PlaylistSource::ReadFile(const QString& path, const Options& options)
{
    base_ = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    const QByteArray name = path.toLocal8Bit();
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw Exception("Cannot read " + Text(path) + ": " + std::strerror(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw Exception("Cannot read " + Text(path) + ": it is a folder");
    }
    // Reads block again: a named pipe or a slow disk is waited for, as any reader would.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    QByteArray bytes;
    if (S_ISREG(st.st_mode) && st.st_size > 0)
        bytes.reserve(static_cast<qsizetype>(std::min<qint64>(st.st_size, options.maxBytes)));
    const int err = ReadToEnd(fd, [&bytes, &options](const char* data, std::size_t size) {
        bytes.append(data, static_cast<qsizetype>(size));
        if (options.firstBytes > 0 && bytes.size() >= options.firstBytes)
            return false;
        return bytes.size() <= options.maxBytes;
    });
    ::close(fd);
    if (err != 0)
        throw Exception("Cannot read " + Text(path) + ": " + std::strerror(err));
    if (options.firstBytes > 0)
        return bytes;
    if (bytes.size() > options.maxBytes)
        throw Exception("Cannot read " + Text(path) + ": it is larger than any playlist (" +
                        std::to_string(options.maxBytes >> 20) + " MB)");
    return bytes;
}

QByteArray PlaylistSource::ReadRemote(const QUrl& url, const Options& options)
{
    base_ = url;
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    // Redirects are followed, but never from https down to plain http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("quorvel-import"));
    QNetworkReply* reply = manager.get(request);

    QEventLoop loop;
    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(options.timeoutMs);
    bool timedOut = false;
    bool tooLarge = false;
    bool enough = false; // the first bytes wanted are in
    QByteArray bytes;
    QObject::connect(&silence, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    // Any sign of the server starts the wait anew: a large list on a slow line is not cut off.
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &silence, qOverload<>(&QTimer::start));
    QObject::connect(reply, &QNetworkReply::redirected, &silence, qOverload<>(&QTimer::start));
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        silence.start();
        bytes += reply->readAll();
        if (options.firstBytes > 0 && bytes.size() >= options.firstBytes) {
            enough = true;
            reply->abort();
        } else if (bytes.size() > options.maxBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64 total) {
        if (options.progress)
            options.progress(received, total);
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    bool cancelled = false;
    QTimer watch;
    if (options.cancel) {
        watch.setInterval(100);
        QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
            if (options.cancel->load()) {
                cancelled = true;
                reply->abort();
            }
        });
        watch.start();
    }
    silence.start();
    loop.exec();
    silence.stop();
    if (!tooLarge && !timedOut && !enough)
        bytes += reply->readAll();

    const std::string where = Text(url.toDisplayString());
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    const auto error = reply->error();
    const QString errorText = reply->errorString();
    base_ = reply->url();
    delete reply;

    if (cancelled)
        throw Exception("Reading " + where + " was cancelled");
    if (timedOut)
        throw Exception("Cannot read " + where + ": no answer from the server for " +
                        std::to_string(options.timeoutMs / 1000) + " s");
    if (tooLarge)
        throw Exception("Cannot read " + where + ": it is larger than any playlist (" +
                        std::to_string(options.maxBytes >> 20) + " MB)");
    if (status >= 400)
        throw Exception("Cannot read " + where + ": the server answered " + std::to_string(status) +
                        (reason.isEmpty() ? std::string() : " " + Text(reason)));
    if (enough)
        return bytes;
    if (error == QNetworkReply::InsecureRedirectError)
        throw Exception("Cannot read " + where + ": it redirects from https to plain http, which is not followed");
    if (error == QNetworkReply::TooManyRedirectsError)
        throw Exception("Cannot read " + where + ": it redirects too many times");
    if (error != QNetworkReply::NoError)
        throw Exception("Cannot read " + where + ": " + Text(errorText));
    if (status >= 300)
        throw Exception("Cannot read " + where + ": the server answered " + std::to_string(status) +
                        " without a usable redirect");
    return bytes;
}

} // namespace quorvel
