#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

class QTimer;

namespace quorvel {

class MpvCore;

// Records the channel the playing core receives, as it comes, into a transport-stream file:
// mpv writes what its buffer holds from the chosen moment on and goes on with what arrives (its
// cache dump), so there is no second connection to the provider and nothing is encoded again.
// Needs the core's buffer (TimeShift::Give). The files go into the recordings folder,
// "<channel> – <programme> – <YYYY-MM-DD HH-MM>.ts".
//
// A folder that cannot be written, or a disk that fills, stops the recording with a plain
// message; it stops while there is still room for mpv to finish the file, so what was written
// stays playable.
class StreamRecorder : public QObject {
    Q_OBJECT
public:
    // A recording stops once the disk has less than this left.
    static constexpr qint64 kReserveBytes = 512 * 1024;

    explicit StreamRecorder(MpvCore& core, QObject* parent = nullptr);
    ~StreamRecorder() override;

    // $XDG_VIDEOS_DIR/Quorvel Online TV (~/Videos when the desktop names none).
    static QString DefaultFolder();
    // The file's name for a channel and programme started at that time; characters no file
    // name may hold, or that would lead elsewhere, are replaced.
    static QString FileName(const QString& channel, const QString& programme, const QDateTime& at);
    void SetFolder(const QString& folder);
    QString Folder() const { return folder_; }

    // Starts recording from the stream's second given (what the viewer sees, or the live edge).
    // False, with failed() told, when the folder cannot be written or mpv refuses.
    bool Start(const QString& channel, const QString& programme, double fromSecond);
    // Ends the recording; the file stays.
    void Stop();
    bool Recording() const { return recording_; }
    QString Channel() const { return channel_; }
    QString File() const { return file_; }
    // Seconds since it started.
    qint64 Elapsed() const;

signals:
    void started(const QString& file);
    void stopped(const QString& file);
    // The recording could not start or stopped by itself; message says why, plainly.
    void failed(const QString& message);

private:
    void CheckRoom();
    void Replied(quint64 id, int error);
    void Fail(const QString& message);

    MpvCore& core_;
    QString folder_;
    QTimer* room_ = nullptr;
    bool recording_ = false;
    QString channel_;
    QString file_;
    QDateTime startedAt_;
    // Each dump's own reply number: a stopped dump's late reply is not the running one's.
    quint64 dumpId_ = 0;
};

} // namespace quorvel
