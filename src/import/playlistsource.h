#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <atomic>
#include <functional>

namespace quorvel {

// Where a playlist comes from: a local file, or an http or https address as providers hand
// them out (redirects followed, a silent server given up on after a time-out).
class PlaylistSource {
public:
    struct Options {
        int timeoutMs = 30000;                                       // longest wait for any sign of the server
        qint64 maxBytes = qint64(512) << 20;                         // no playlist is larger
        std::function<void(qint64 received, qint64 total)> progress; // total -1 when unknown
        const std::atomic<bool>* cancel = nullptr;                   // set from elsewhere: the read ends soon after
        qint64 firstBytes = 0; // more than 0: only about that many bytes are wanted, the rest not read
    };

    // location: a file path, a "file:" address, or an "http:"/"https:" address.
    explicit PlaylistSource(QString location);

    bool IsRemote() const;
    // Reads the whole playlist. Throws Exception with a message that names the cause (missing
    // file, folder, no permission, unknown host, refused connection, HTTP status, time-out).
    // Remote reads need a running Qt core application.
    QByteArray Read(const Options& options);
    // Where relative addresses in the playlist start from: the file, or the address reached
    // after redirects. Set by Read.
    QUrl Base() const { return base_; }

private:
    QByteArray ReadFile(const QString& path, const Options& options);
    QByteArray ReadRemote(const QUrl& url, const Options& options);

    QString location_;
    QUrl base_;
};

} // namespace quorvel
