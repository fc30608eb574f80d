#include "guide/guidefetch.h"

#include "guide/guidefile.h"
#include "platform/webaddress.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace quorvel {
namespace {

std::string Text(const QString& s) { return s.toStdString(); }

GuideOutcome Failed(std::string problem)
{
    GuideOutcome outcome;
    outcome.problem = std::move(problem);
    return outcome;
}

// The outcome of a read that broke off: what the reader kept, and the reason that stands first.
GuideOutcome BrokenOff(GuideOutcome outcome, std::string problem)
{
    outcome.complete = false;
    outcome.problem = std::move(problem);
    if (outcome.programmes > 0)
        outcome.problem += "; the programmes read before that are kept";
    return outcome;
}

} // namespace

GuideFetch::GuideFetch(const std::atomic<bool>& cancel) : cancel_(cancel), silence_(new QTimer(this))
{
    silence_->setSingleShot(true);
    connect(silence_, &QTimer::timeout, this, [this] {
        timedOut_ = true;
        if (reply_)
            reply_->abort();
    });
}

GuideFetch::~GuideFetch() = default;

void GuideFetch::Run(GuideJob job)
{
    where_ = job.location;
    if (!job.sink) {
        emit Done(Failed("no store was given for the guide"));
        return;
    }
    sink_ = job.sink;
    reader_ = std::make_unique<GuideReader>(job.wanted, *sink_, job.options);
    if (const QUrl url = WebAddress(job.location); url.isValid()) {
        ReadRemote(url, job.timeoutMs);
        return;
    }
    const qsizetype sep = job.location.indexOf(QLatin1String("://"));
    const bool isFileUrl = job.location.startsWith(QLatin1String("file:"), Qt::CaseInsensitive);
    if (sep > 0 && !isFileUrl) {
        Conclude(Failed("cannot read " + Text(job.location) + ": only files and http or https addresses are read"));
        return;
    }
    const QString path = isFileUrl ? QUrl(job.location).toLocalFile() : job.location;
    Conclude(ReadGuideFile(path.toStdString(), *reader_, &cancel_));
}

void GuideFetch::ReadRemote(const QUrl& url, int timeoutMs)
{
    if (!network_)
        network_ = std::make_unique<QNetworkAccessManager>();
    QNetworkRequest request(url);
    // Redirects are followed, but never from https down to plain http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("quorvel"));
    timedOut_ = readerStopped_ = fed_ = false;
    timeoutMs_ = timeoutMs;
    reply_ = network_->get(request);
    // Any sign of the server starts the wait anew: a large guide on a slow line is not cut off.
    connect(reply_, &QNetworkReply::metaDataChanged, silence_, qOverload<>(&QTimer::start));
    connect(reply_, &QNetworkReply::redirected, silence_, qOverload<>(&QTimer::start));
    connect(reply_, &QNetworkReply::readyRead, this, &GuideFetch::TakeBytes);
    connect(reply_, &QNetworkReply::finished, this, &GuideFetch::RemoteFinished);
    silence_->start(timeoutMs);
}

void GuideFetch::TakeBytes()
{
    silence_->start(timeoutMs_);
    if (cancel_.load(std::memory_order_relaxed)) {
        reply_->abort();
        return;
    }
    // An error page is no guide: its body is not read as one.
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 300 || readerStopped_) {
        reply_->readAll();
        return;
    }
    char buf[65536];
    for (;;) {
        const qint64 n = reply_->read(buf, sizeof buf);
        if (n <= 0)
            break;
        fed_ = true;
        if (!reader_->Feed(buf, static_cast<std::size_t>(n))) {
            // Refused or broken: the reader says why when it is finished.
            readerStopped_ = true;
            reply_->abort();
            return;
        }
    }
}

void GuideFetch::RemoteFinished()
{
    silence_->stop();
    if (reply_->error() == QNetworkReply::NoError)
        TakeBytes();
    const std::string where = Text(reply_->url().toDisplayString());
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reason = reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    const QNetworkReply::NetworkError error = reply_->error();
    const QString errorText = reply_->errorString();
    reply_->deleteLater();
    reply_ = nullptr;

    GuideOutcome outcome = reader_->Finish();
    if (readerStopped_)
        Conclude(outcome);
    else if (cancel_.load(std::memory_order_relaxed))
        Conclude(BrokenOff(outcome, "reading " + where + " was cancelled"));
    else if (timedOut_)
        Conclude(BrokenOff(outcome, "cannot read " + where + ": no answer from the server for " +
                                        std::to_string(timeoutMs_ / 1000) + " s"));
    else if (status >= 400)
        Conclude(Failed("cannot read " + where + ": the server answered " + std::to_string(status) +
                        (reason.isEmpty() ? std::string() : " " + Text(reason))));
    else if (error == QNetworkReply::InsecureRedirectError)
        Conclude(Failed("cannot read " + where + ": it redirects from https to plain http, which is not followed"));
    else if (error != QNetworkReply::NoError)
        Conclude(BrokenOff(outcome, "cannot read " + where + ": " + Text(errorText)));
    else if (status >= 300)
        Conclude(Failed("cannot read " + where + ": the server answered " + std::to_string(status) +
                        " without a usable redirect"));
    else
        Conclude(outcome);
}

void GuideFetch::Conclude(GuideOutcome outcome)
{
    reader_.reset();
    if (sink_)
        sink_->Finish(outcome);
    sink_.reset();
    emit Done(outcome);
}

} // namespace quorvel
