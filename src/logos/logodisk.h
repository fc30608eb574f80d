#pragma once

#include "logos/logosettings.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QString>

#include <set>
#include <utility>

namespace quorvel {

// The logos kept on disk, one PNG file per address named by a hash of it, in a folder bounded
// in size: the least recently used files go first. Safe to use from several threads at once;
// every call but PathIfKept reads or writes files and belongs on a worker thread.
class LogoDisk {
public:
    struct Loaded {
        bool found = false;
        bool stale = false;        // fetched longer ago than the refresh age
        QHash<int, QImage> images; // by the side asked for
    };
    struct Stored {
        QString problem; // empty when the logo was kept
        QHash<int, QImage> images;
    };

    LogoDisk(const LogoSettings& settings);

    // The file name an address is kept under.
    static QString FileName(const QString& address);

    // Reads the folder once: what is there, how large, when last used; trims it to its bound and
    // removes what an interrupted write left behind. Every other call does this first.
    void Scan();

    // The kept logo scaled to each side asked for; a file that cannot be read counts as missing
    // and is forgotten.
    Loaded Load(const QString& name, const QList<int>& sides);

    // Checks and keeps fetched bytes (written whole under a temporary name, then renamed over
    // the old file), then trims the folder to its bound.
    Stored Store(const QString& name, const QByteArray& bytes, const QList<int>& sides);

    // The kept file's path, or empty when there is none or the folder is busy (never waits).
    QString PathIfKept(const QString& name) const;

    qint64 TotalBytes() const;

private:
    struct Item {
        qint64 bytes = 0;
        std::pair<qint64, quint64> used; // when last used, then the order of use within a millisecond
    };

    qint64 Now() const;
    void ScanLocked();
    void UseLocked(const QString& name, qint64 bytes, qint64 when);
    void ForgetLocked(const QString& name);
    void TrimLocked(const QString& keep);
    static QHash<int, QImage> Scaled(const QImage& image, const QList<int>& sides);

    const QString folder_;
    const qint64 bound_;
    const qint64 refreshAfterMs_;
    const LogoLimits limits_;
    const std::function<qint64()> clock_;

    mutable QMutex mutex_;
    bool scanned_ = false;
    QHash<QString, Item> items_;
    std::set<std::pair<std::pair<qint64, quint64>, QString>> byUse_;
    qint64 total_ = 0;
    quint64 useCount_ = 0;
};

} // namespace quorvel
