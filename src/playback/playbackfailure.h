#pragma once

#include <QString>
#include <QStringList>

namespace quorvel {

// Why a channel cannot play, in the viewer's words, with mpv's own words kept apart for those
// who want them.
struct PlaybackFailure {
    // "Cannot play this channel: the server refused the connection".
    QString headline;
    // What mpv said ("loading failed (… Connection refused)").
    QString details;
    // Opening the address again could help (not so for an address that is no stream's).
    bool canRetry = true;

    // The plain cause of a failed opening, from mpv's error code and the first complaints it
    // logged.
    static PlaybackFailure FromMpv(int mpvError, const QStringList& logged);
    // The stream gave nothing for too long, also after it was opened again.
    static PlaybackFailure StoppedSending();
    // A live channel's stream broke off, also after it was opened again.
    static PlaybackFailure ServerStopped();
    // A plain cause of the program's own.
    static PlaybackFailure Because(const QString& cause, bool canRetry);
};

} // namespace quorvel
