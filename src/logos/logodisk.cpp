#include "logos/logodisk.h"

#include "logos/logodecode.h"
#include "logos/logolog.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QSaveFile>

namespace quorvel {
namespace {

constexpr qint64 kLeftoverAgeMs = 3600LL * 1000;

bool IsLogoFileName(const QString& name)
{
    if (name.size() != 68 || !name.endsWith(QLatin1String(".png")))
        return false;
    for (int i = 0; i < 64; ++i) {
        const char16_t c = name[i].unicode();
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return false;
    }
    return true;
}

} // namespace

LogoDisk::LogoDisk(const LogoSettings& settings)
    : folder_(settings.folder.isEmpty() ? DefaultLogoFolder() : settings.folder), bound_(settings.diskBytes),
      refreshAfterMs_(settings.refreshAfterMs), limits_(settings.limits), clock_(settings.clock)
{
}

QString LogoDisk::FileName(const QString& address)
{
    return QString::fromLatin1(QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha256).toHex()) +
           QStringLiteral(".png");
}

qint64 LogoDisk::Now() const { return clock_ ? clock_() : QDateTime::currentMSecsSinceEpoch(); }

void LogoDisk::Scan()
{
    QMutexLocker lock(&mutex_);
    ScanLocked();
}

void LogoDisk::ScanLocked()
{
    if (scanned_)
        return;
    scanned_ = true;
    QDir dir(folder_);
    if (!dir.mkpath(QStringLiteral("."))) {
        qCWarning(logosLog) << "cannot make the logo cache folder";
        return;
    }
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const qint64 now = Now();
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : files) {
        const qint64 modified = info.lastModified().toMSecsSinceEpoch();
        if (IsLogoFileName(info.fileName())) {
            // Reading a logo sets its access time on purpose, so it tells when it was last used
            // whatever the file system does with access times itself.
            UseLocked(info.fileName(), info.size(), std::max(modified, info.lastRead().toMSecsSinceEpoch()));
        } else if (now - modified > kLeftoverAgeMs) {
            // A write cut short leaves its temporary file; one still young may be another
            // instance's write under way.
            QFile::remove(info.filePath());
        }
    }
    TrimLocked(QString());
}

LogoDisk::Loaded LogoDisk::Load(const QString& name, const QList<int>& sides)
{
    {
        QMutexLocker lock(&mutex_);
        ScanLocked();
        if (!items_.contains(name))
            return {};
    }
    const qint64 now = Now();
    QFile file(folder_ + QLatin1Char('/') + name);
    QByteArray bytes;
    qint64 modified = 0;
    if (file.open(QIODevice::ReadOnly) && file.size() <= limits_.bytes) {
        bytes = file.readAll();
        modified = file.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch();
        file.setFileTime(QDateTime::fromMSecsSinceEpoch(now), QFileDevice::FileAccessTime);
        file.close();
    }
    const QImage image = DecodeLogo(bytes, limits_, nullptr);
    QMutexLocker lock(&mutex_);
    if (image.isNull()) {
        // Damaged or gone under us: fetched again.
        if (file.exists())
            file.remove();
        ForgetLocked(name);
        return {};
    }
    if (items_.contains(name))
        UseLocked(name, bytes.size(), now);
    lock.unlock();
    Loaded loaded;
    loaded.found = true;
    loaded.stale = now - modified >= refreshAfterMs_;
    loaded.images = Scaled(image, sides);
    return loaded;
}

LogoDisk::Stored LogoDisk::Store(const QString& name, const QByteArray& bytes, const QList<int>& sides)
{
    Stored stored;
    const QImage decoded = DecodeLogo(bytes, limits_, &stored.problem);
    if (decoded.isNull())
        return stored;
    const QImage kept = KeptLogo(decoded, limits_);
    const QByteArray png = EncodePng(kept);
    if (png.isEmpty()) {
        stored.problem = QStringLiteral("it cannot be kept as PNG");
        return stored;
    }
    Scan();
    const qint64 now = Now();
    QSaveFile file(folder_ + QLatin1Char('/') + name);
    bool written = file.open(QIODevice::WriteOnly) && file.write(png) == png.size() && file.flush();
    // The modification time is when the logo was fetched (the rename keeps it); where it cannot
    // be set, the time of the write is as good.
    if (written)
        file.setFileTime(QDateTime::fromMSecsSinceEpoch(now), QFileDevice::FileModificationTime);
    written = written && file.commit();
    if (!written) {
        // The logo is still shown this session; only the disk misses it.
        qCWarning(logosLog) << "cannot write a logo to the cache folder:" << file.errorString();
    } else {
        QMutexLocker lock(&mutex_);
        UseLocked(name, png.size(), now);
        TrimLocked(name);
    }
    stored.images = Scaled(kept, sides);
    return stored;
}

QString LogoDisk::PathIfKept(const QString& name) const
{
    if (!mutex_.tryLock())
        return {};
    const bool kept = scanned_ && items_.contains(name);
    mutex_.unlock();
    return kept ? folder_ + QLatin1Char('/') + name : QString();
}

qint64 LogoDisk::TotalBytes() const
{
    QMutexLocker lock(&mutex_);
    return total_;
}

void LogoDisk::UseLocked(const QString& name, qint64 bytes, qint64 when)
{
    ForgetLocked(name);
    Item item{bytes, {when, ++useCount_}};
    items_.insert(name, item);
    byUse_.insert({item.used, name});
    total_ += bytes;
}

void LogoDisk::ForgetLocked(const QString& name)
{
    const auto it = items_.constFind(name);
    if (it == items_.constEnd())
        return;
    total_ -= it->bytes;
    byUse_.erase({it->used, name});
    items_.erase(it);
}

void LogoDisk::TrimLocked(const QString& keep)
{
    auto it = byUse_.begin();
    while (total_ > bound_ && it != byUse_.end()) {
        const QString name = it->second;
        ++it;
        // The logo just kept stays even when it alone is over the bound.
        if (name == keep)
            continue;
        QFile::remove(folder_ + QLatin1Char('/') + name);
        ForgetLocked(name);
    }
}

QHash<int, QImage> LogoDisk::Scaled(const QImage& image, const QList<int>& sides)
{
    QHash<int, QImage> images;
    for (const int side : sides)
        images.insert(side, ScaleLogo(image, side));
    return images;
}

} // namespace quorvel
