#include "playback/streamrecorder.h"

#include "playback/mpvcore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTimer>

#include <exception>

namespace quorvel {
namespace {

constexpr int kRoomCheckMs = 1000;
// Reply numbers of the dumps start high: the core's other commands use small ones.
constexpr quint64 kFirstDumpId = quint64(1) << 40;
// The stop's own reply, which nobody waits for.
constexpr quint64 kStopId = kFirstDumpId - 1;

QString CleanPart(const QString& text)
{
    QString out;
    for (const QChar c : text.simplified()) {
        // A slash would lead into another folder, control characters and the characters other
        // file systems refuse make a name that cannot be copied elsewhere.
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            out += QLatin1Char('_');
        else
            out += c;
    }
    while (out.startsWith(QLatin1Char('.')))
        out.remove(0, 1);
    return out.left(80).trimmed();
}

} // namespace

StreamRecorder::StreamRecorder(MpvCore& core, QObject* parent)
    : QObject(parent), core_(core), folder_(DefaultFolder()), room_(new QTimer(this))
{
    room_->setInterval(kRoomCheckMs);
    connect(room_, &QTimer::timeout, this, &StreamRecorder::CheckRoom);
    connect(&core_, &MpvCore::commandReplied, this, &StreamRecorder::Replied);
}

StreamRecorder::~StreamRecorder()
{
    if (recording_)
        Stop();
}

QString StreamRecorder::DefaultFolder()
{
    QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (videos.isEmpty())
        videos = QDir::homePath() + QStringLiteral("/Videos");
    return videos + QStringLiteral("/Quorvel Online TV");
}

QString StreamRecorder::FileName(const QString& channel, const QString& programme, const QDateTime& at)
{
    QStringList parts;
    const QString name = CleanPart(channel);
    parts << (name.isEmpty() ? tr("Channel") : name);
    if (const QString title = CleanPart(programme); !title.isEmpty())
        parts << title;
    parts << at.toString(QStringLiteral("yyyy-MM-dd HH-mm"));
    return parts.join(QStringLiteral(" \u2013 ")) + QStringLiteral(".ts");
}

void StreamRecorder::SetFolder(const QString& folder) { folder_ = folder.isEmpty() ? DefaultFolder() : folder; }

bool StreamRecorder::Start(const QString& channel, const QString& programme, double fromSecond)
{
    if (recording_)
        Stop();
    if (!QDir().mkpath(folder_)) {
        Fail(tr("Cannot record: the folder %1 cannot be made").arg(QDir::toNativeSeparators(folder_)));
        return false;
    }
    const QDateTime now = QDateTime::currentDateTime();
    QString path = QDir(folder_).filePath(FileName(channel, programme, now));
    // Two recordings in the same minute keep both.
    for (int n = 2; QFile::exists(path); ++n)
        path = QDir(folder_).filePath(FileName(channel, programme, now).chopped(3) + QStringLiteral(" (%1).ts").arg(n));
    {
        // Tried here, where the reason can be told; mpv only says that it failed.
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            Fail(tr("Cannot record: %1 cannot be written (%2)")
                     .arg(QDir::toNativeSeparators(folder_), probe.errorString()));
            return false;
        }
    }
    if (QStorageInfo(folder_).bytesAvailable() < kReserveBytes) {
        QFile::remove(path);
        Fail(tr("Cannot record: the disk of %1 is full").arg(QDir::toNativeSeparators(folder_)));
        return false;
    }
    const quint64 id = dumpId_ == 0 ? kFirstDumpId : dumpId_ + 1;
    try {
        core_.RunAsync(QStringLiteral("dump-cache"),
                       {{"start", QByteArray::number(std::max(0.0, fromSecond), 'f', 3).toStdString()},
                        {"end", "no"},
                        {"filename", QFile::encodeName(path).toStdString()}},
                       id);
    } catch (const std::exception& e) {
        QFile::remove(path);
        Fail(tr("Cannot record: %1").arg(QString::fromUtf8(e.what())));
        return false;
    }
    dumpId_ = id;
    recording_ = true;
    channel_ = channel;
    file_ = path;
    startedAt_ = now;
    room_->start();
    emit started(file_);
    return true;
}

void StreamRecorder::Stop()
{
    if (!recording_)
        return;
    recording_ = false;
    room_->stop();
    // An empty file name ends the dump that runs; mpv closes the file whole.
    try {
        core_.RunAsync(QStringLiteral("dump-cache"), {{"start", "0"}, {"end", "0"}, {"filename", ""}}, kStopId);
    } catch (const std::exception&) {
        // The core is gone or stopping: its dump ends with it.
    }
    emit stopped(file_);
}

qint64 StreamRecorder::Elapsed() const { return recording_ ? startedAt_.secsTo(QDateTime::currentDateTime()) : 0; }

void StreamRecorder::CheckRoom()
{
    if (!recording_)
        return;
    QStorageInfo disk(folder_);
    disk.refresh();
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < kReserveBytes)
        Fail(tr("Recording stopped: the disk of %1 is full").arg(QDir::toNativeSeparators(folder_)));
}

void StreamRecorder::Replied(quint64 id, int error)
{
    if (id != dumpId_ || !recording_)
        return;
    // The running dump ended without being stopped: the file could not be written, or the
    // channel's stream ended.
    if (error < 0)
        Fail(tr("Recording stopped: %1 could not be written").arg(QDir::toNativeSeparators(file_)));
    else
        Fail(tr("Recording stopped: the channel's stream ended"));
}

void StreamRecorder::Fail(const QString& message)
{
    if (recording_)
        Stop();
    emit failed(message);
}

} // namespace quorvel
