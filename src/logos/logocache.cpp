#include "logos/logocache.h"

#include "logos/logodisk.h"
#include "logos/logofetcher.h"
#include "logos/logolog.h"
#include "platform/webaddress.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>

namespace quorvel {
namespace {

constexpr int kBackgroundNice = 10;

// The most one turn of the event loop spends on noted asks.
constexpr qint64 kAskSliceMs = 4;

// Disk reads waiting on the pool are not taken back: a few at a time keep the newest asks first.
constexpr int kLoadsAtOnce = 2;

// Logos are background work: their threads give way to the window's and the video's.
void LowerThreadPriority()
{
    thread_local bool lowered = false;
    if (!lowered) {
        lowered = true;
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kBackgroundNice);
    }
}

} // namespace

LogoCache::LogoCache(LogoSettings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), disk_(std::make_shared<LogoDisk>(settings_)),
      fetcher_(new LogoFetcher(settings_.limits.bytes, settings_.timeoutMs))
{
    images_.setMaxCost(std::max<qint64>(1, settings_.memoryBytes / 1024));
    askTimer_.setSingleShot(true);
    askTimer_.setInterval(0);
    connect(&askTimer_, &QTimer::timeout, this, &LogoCache::TakeAsks);
    pool_.setMaxThreadCount(kLoadsAtOnce);
    // The folder is read at once, so that CachedFile can answer as soon as possible.
    pool_.start([disk = disk_] { disk->Scan(); });
    thread_.setObjectName(QStringLiteral("logos"));
    fetcher_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, fetcher_, &QObject::deleteLater);
    connect(fetcher_, &LogoFetcher::Finished, this, &LogoCache::OnFetched);
    // Without a receiver, called on the new thread itself.
    connect(&thread_, &QThread::started, &LowerThreadPriority);
    thread_.start();
}

LogoCache::~LogoCache()
{
    pool_.clear();
    pool_.waitForDone();
    thread_.quit();
    thread_.wait();
}

qint64 LogoCache::Now() const { return settings_.clock ? settings_.clock() : QDateTime::currentMSecsSinceEpoch(); }

QImage LogoCache::Logo(const QString& address, int side, const RequestOptions& options)
{
    if (side <= 0 || address.isEmpty())
        return {};
    if (const QImage* image = images_.object(ImageKey{address, side}))
        return *image;
    Note({address, side, AskKind::Picture, options});
    return {};
}

QString LogoCache::CachedFile(const QString& address, const RequestOptions& options)
{
    if (address.isEmpty())
        return {};
    const QString path = disk_->PathIfKept(LogoDisk::FileName(address));
    if (path.isEmpty())
        Note({address, 0, AskKind::File, options});
    return path;
}

void LogoCache::Prioritise(const QString& address) { Note({address, 0, AskKind::Prioritise, {}}); }

void LogoCache::Cancel(const QString& address) { Note({address, 0, AskKind::Cancel, {}}); }

void LogoCache::Note(Ask ask)
{
    asks_.push_back(std::move(ask));
    if (!askTimer_.isActive())
        askTimer_.start();
}

void LogoCache::TakeAsks()
{
    QElapsedTimer slice;
    slice.start();
    while (asksTaken_ < asks_.size()) {
        Take(asks_[asksTaken_++]);
        if ((asksTaken_ & 63) == 0 && slice.elapsed() >= kAskSliceMs)
            break;
    }
    if (asksTaken_ < asks_.size()) {
        askTimer_.start();
        return;
    }
    asks_.clear();
    asksTaken_ = 0;
}

void LogoCache::Take(const Ask& ask)
{
    Entry* e = Find(ask.address, ask.options);
    if (!e)
        return;
    switch (ask.kind) {
    case AskKind::Picture:
        // Painted again before the note was taken: nothing more to do.
        if (images_.contains(ImageKey{ask.address, ask.side}))
            return;
        e->wanted.insert(ask.side);
        break;
    case AskKind::File:
        e->wantFile = true;
        break;
    case AskKind::Prioritise:
        Renew(ask.address, *e);
        return;
    case AskKind::Cancel:
        Drop(*e);
        return;
    }
    Renew(ask.address, *e);
    Advance(ask.address, *e);
}

LogoCache::Entry* LogoCache::Find(const QString& address, const RequestOptions& options)
{
    auto it = entries_.find(address);
    if (it == entries_.end()) {
        it = entries_.insert(address, Entry{});
        // Only web addresses are fetched; anything else never has a logo. The address is parsed
        // off this thread, with the first disk read: here it is only glanced at.
        it->invalid = !address.startsWith(QLatin1String("http"), Qt::CaseInsensitive);
    }
    if (!options.Empty())
        it->options = options;
    return it->invalid ? nullptr : &*it;
}

bool LogoCache::FailedRecently(const Entry& e) const
{
    return e.failedAt >= 0 && Now() - e.failedAt < settings_.retryAfterMs;
}

void LogoCache::Advance(const QString& address, Entry& e)
{
    if (e.loading || e.fetch != Fetch::None)
        return;
    if (e.onDisk != OnDisk::Absent && (!e.wanted.isEmpty() || e.wantFile)) {
        e.loading = true;
        e.loadTicket = e.ticket;
        loadQueue_.emplace(e.loadTicket, address);
        PumpLoads();
        return;
    }
    const bool missing = e.onDisk == OnDisk::Absent && (!e.wanted.isEmpty() || e.wantFile);
    const bool refresh = e.onDisk == OnDisk::Present && e.stale && !e.refreshed;
    if ((!missing && !refresh) || FailedRecently(e))
        return;
    e.fetch = Fetch::Waiting;
    e.fetchTicket = e.ticket;
    fetchQueue_.emplace(e.fetchTicket, address);
    PumpFetches();
}

void LogoCache::PumpLoads()
{
    while (loads_ < kLoadsAtOnce && !loadQueue_.empty()) {
        // The newest ask first: the rows on screen are the ones painted last.
        const auto newest = std::prev(loadQueue_.end());
        const QString address = newest->second;
        loadQueue_.erase(newest);
        Entry& e = entries_[address];
        e.loadTicket = 0;
        const QList<int> sides = e.wanted.values();
        e.reading = e.wanted;
        e.wanted.clear();
        ++loads_;
        pool_.start([this, disk = disk_, address, sides] {
            LowerThreadPriority();
            const QUrl url = WebAddress(address);
            const LogoDisk::Loaded loaded = disk->Load(LogoDisk::FileName(address), sides);
            QMetaObject::invokeMethod(
                this, [this, address, url, loaded] { OnLoaded(address, url, loaded); }, Qt::QueuedConnection);
        });
    }
}

void LogoCache::PumpFetches()
{
    while (running_ < settings_.concurrentFetches && !fetchQueue_.empty()) {
        const auto newest = std::prev(fetchQueue_.end());
        const QString address = newest->second;
        fetchQueue_.erase(newest);
        Entry& e = entries_[address];
        e.fetchTicket = 0;
        e.fetch = Fetch::Running;
        ++running_;
        const quint64 id = ++fetchIds_;
        fetching_.insert(id, address);
        LogoFetcher* fetcher = fetcher_;
        QMetaObject::invokeMethod(
            fetcher_, [fetcher, id, url = e.url, options = e.options] { fetcher->Start(id, url, options); });
    }
}

void LogoCache::Hold(const QString& address, Entry& e, const QHash<int, QImage>& images)
{
    for (auto it = images.constBegin(); it != images.constEnd(); ++it) {
        if (it->isNull())
            continue;
        images_.insert(ImageKey{address, it.key()}, new QImage(*it), std::max<qsizetype>(1, it->sizeInBytes() / 1024));
        e.held.insert(it.key());
    }
}

void LogoCache::OnLoaded(const QString& address, const QUrl& url, const LogoDisk::Loaded& loaded)
{
    --loads_;
    Entry& e = entries_[address];
    e.url = url;
    e.loading = false;
    e.onDisk = loaded.found ? OnDisk::Present : OnDisk::Absent;
    bool ready = false;
    bool failed = false;
    if (loaded.found) {
        e.stale = loaded.stale;
        Hold(address, e, loaded.images);
        ready = !loaded.images.isEmpty() || e.wantFile;
        e.wantFile = false;
    } else if (!url.isValid()) {
        e.invalid = true;
        e.wanted.clear();
        e.wantFile = false;
        failed = true;
    } else {
        e.wanted.unite(e.reading); // for the fetch
    }
    e.reading.clear();
    Advance(address, e);
    PumpLoads();
    // Last: a receiver may ask for more logos at once, which changes entries_.
    if (ready)
        emit logoReady(address);
    if (failed)
        emit logoFailed(address);
}

void LogoCache::OnFetched(quint64 id, const QByteArray& bytes, const QString& problem)
{
    --running_;
    const QString address = fetching_.take(id);
    Entry& e = entries_[address];
    if (!problem.isEmpty()) {
        e.fetch = Fetch::None;
        e.failedAt = Now();
        const bool failed = e.onDisk != OnDisk::Present;
        qCDebug(logosLog).noquote() << "logo from" << e.url.host() << "skipped:" << problem;
        PumpFetches();
        if (failed)
            emit logoFailed(address);
        return;
    }
    e.fetch = Fetch::Storing;
    QSet<int> sides = e.held;
    sides.unite(e.wanted);
    e.wanted.clear();
    pool_.start([this, disk = disk_, address, bytes, sides = sides.values()] {
        LowerThreadPriority();
        const LogoDisk::Stored stored = disk->Store(LogoDisk::FileName(address), bytes, sides);
        QMetaObject::invokeMethod(
            this, [this, address, stored] { OnStored(address, stored.problem, stored.images); }, Qt::QueuedConnection);
    });
    PumpFetches();
}

void LogoCache::OnStored(const QString& address, const QString& problem, const QHash<int, QImage>& images)
{
    Entry& e = entries_[address];
    e.fetch = Fetch::None;
    e.refreshed = true;
    bool ready = false;
    bool failed = false;
    if (!problem.isEmpty()) {
        e.failedAt = Now();
        failed = e.onDisk != OnDisk::Present;
        qCDebug(logosLog).noquote() << "logo from" << e.url.host() << "skipped:" << problem;
    } else {
        e.onDisk = OnDisk::Present;
        e.stale = false;
        e.failedAt = -1;
        Hold(address, e, images);
        e.wantFile = false;
        ready = true;
    }
    Advance(address, e);
    if (ready)
        emit logoReady(address);
    if (failed)
        emit logoFailed(address);
}

// Asked for again: it goes before everything asked for until now, in whichever queue it waits.
void LogoCache::Renew(const QString& address, Entry& e)
{
    e.ticket = ++tickets_;
    if (e.loadTicket) {
        loadQueue_.erase(e.loadTicket);
        e.loadTicket = e.ticket;
        loadQueue_.emplace(e.loadTicket, address);
    }
    if (e.fetchTicket) {
        fetchQueue_.erase(e.fetchTicket);
        e.fetchTicket = e.ticket;
        fetchQueue_.emplace(e.fetchTicket, address);
    }
}

void LogoCache::Drop(Entry& e)
{
    e.wanted.clear();
    e.wantFile = false;
    e.reading.clear();
    if (e.loadTicket) {
        loadQueue_.erase(e.loadTicket);
        e.loadTicket = 0;
        e.loading = false;
    }
    if (e.fetchTicket) {
        fetchQueue_.erase(e.fetchTicket);
        e.fetchTicket = 0;
        e.fetch = Fetch::None;
    }
}

} // namespace quorvel
