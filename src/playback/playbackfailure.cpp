#include "playback/playbackfailure.h"

#include "base/redactedaddress.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <mpv/client.h>

namespace quorvel {
namespace {

QString Tr(const char* text) { return QCoreApplication::translate("PlaybackFailure", text); }

QString Headline(const QString& cause) { return Tr("Cannot play this channel: %1").arg(cause); }

bool Mentions(const QString& text, const QStringList& words)
{
    for (const QString& w : words)
        if (text.contains(w, Qt::CaseInsensitive))
            return true;
    return false;
}

// An HTTP status as a number of its own: the address quoted in the same line ("Failed to open
// http://127.0.0.1:40309/gone.m3u8") holds digits too, and a port of 40309 is not a 403.
bool MentionsStatus(const QString& text, const char* codes)
{
    const QRegularExpression status(QStringLiteral("(?<![\\w.:/%-])(%1)(?![\\w.:/%-])").arg(QLatin1String(codes)));
    return status.match(text).hasMatch();
}

// What went wrong, read from the first thing mpv (or the library under it) complained of.
QString Cause(int mpvError, const QString& logged)
{
    // mpv's own verdicts first: the words logged on the way (a sound driver's "No such file")
    // would otherwise be read as the stream's.
    switch (mpvError) {
    case MPV_ERROR_AO_INIT_FAILED:
        return Tr("there is no sound device to play it on");
    case MPV_ERROR_VO_INIT_FAILED:
        return Tr("the video cannot be shown");
    default:
        break;
    }
    if (Mentions(logged, {QStringLiteral("Connection refused")}))
        return Tr("the server refused the connection");
    if (MentionsStatus(logged, "403|401") ||
        Mentions(logged, {QStringLiteral("Forbidden"), QStringLiteral("Unauthorized")}))
        return Tr("the server refused to send the stream");
    if (MentionsStatus(logged, "404|410") ||
        Mentions(logged, {QStringLiteral("Not Found"), QStringLiteral("No such file"), QStringLiteral("resolve"),
                          QStringLiteral("Name or service not known"), QStringLiteral("No address associated")}))
        return Tr("the address was not found");
    if (Mentions(logged, {QStringLiteral("timed out"), QStringLiteral("timeout")}))
        return Tr("the server did not answer");
    if (Mentions(logged, {QStringLiteral("Network is unreachable"), QStringLiteral("No route to host")}))
        return Tr("the server cannot be reached");
    switch (mpvError) {
    case MPV_ERROR_UNKNOWN_FORMAT:
        return Tr("the stream is in a form the player cannot read");
    case MPV_ERROR_NOTHING_TO_PLAY:
        return Tr("the stream holds nothing to play");
    default:
        return Tr("the stream could not be opened");
    }
}

} // namespace

PlaybackFailure PlaybackFailure::FromMpv(int mpvError, const QStringList& logged)
{
    QString details = QString::fromUtf8(mpv_error_string(mpvError));
    const QString said = logged.join(QStringLiteral("; "));
    // mpv's lines quote the address, login and all: shown on the screen, the login goes.
    if (!said.isEmpty())
        details +=
            QStringLiteral(" (") + QString::fromStdString(RedactedAddress(said.toStdString())) + QStringLiteral(")");
    return {Headline(Cause(mpvError, said)), details, true};
}

PlaybackFailure PlaybackFailure::StoppedSending() { return {Headline(Tr("the stream stopped sending")), {}, true}; }

PlaybackFailure PlaybackFailure::ServerStopped() { return {Tr("The channel's server stopped answering"), {}, true}; }

PlaybackFailure PlaybackFailure::Because(const QString& cause, bool canRetry)
{
    return {Headline(cause), {}, canRetry};
}

} // namespace quorvel
