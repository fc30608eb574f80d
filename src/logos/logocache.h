#pragma once

#include "base/requestoptions.h"
#include "logos/logodisk.h"
#include "logos/logosettings.h"

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>

#include <map>
#include <memory>
#include <vector>

namespace quorvel {

class LogoFetcher;

// Channel logos for the window, by their playlist address: kept on disk, fetched in the
// background, scaled to the sizes asked for and held in memory, so that painting any number of
// rows reads neither disk nor network on the window's thread. Lives on the window's thread.
//
// An ask that misses memory is only noted; the notes are worked through in slices of a few
// milliseconds per turn of the event loop, so that asking for 20,000 logos at once holds the
// window no longer than asking for 20 (Prioritise and Cancel take their turn among them).
// Fetches run at most concurrentFetches at a time, the most recently asked first (the rows on
// screen were asked for last); disk reads likewise, two at a time on a pool of its own. A logo
// on disk older than a day is shown and fetched again. A failed fetch is remembered in memory,
// for this run only, and not tried again within the hour. Addresses are never logged whole,
// since they may carry credentials: only their host.
class LogoCache : public QObject {
    Q_OBJECT
public:
    explicit LogoCache(LogoSettings settings = {}, QObject* parent = nullptr);
    // Waits for a disk read or write under way (a few milliseconds) and breaks off the fetches.
    ~LogoCache() override;

    // The logo scaled to fit a square of side pixels, or a null image while it is not in memory;
    // then it is read from disk or fetched, and logoReady tells when to ask again. Never blocks.
    // options: the channel's request options, used by the fetch (the latest given is kept).
    QImage Logo(const QString& address, int side, const RequestOptions& options = {});

    // The kept file of the logo (a PNG) for others to read, or empty while there is none; then
    // it is looked for or fetched as Logo does, and logoReady tells when to ask again.
    QString CachedFile(const QString& address, const RequestOptions& options = {});

    // The logo's fetch or disk read goes before all others waiting.
    void Prioritise(const QString& address);
    // The logo is no longer wanted: its waiting fetch or disk read is dropped (one under way
    // finishes and is kept).
    void Cancel(const QString& address);

    int RunningFetches() const { return running_; }
    int WaitingFetches() const { return static_cast<int>(fetchQueue_.size()); }

signals:
    // The logo is in memory at the sizes asked for (and on disk): ask again.
    void logoReady(const QString& address);
    // The logo could not be had and there is none on disk: nothing will come for the next hour.
    // A failed refresh of a logo on disk says nothing; the old one stays.
    void logoFailed(const QString& address);

private:
    enum class AskKind { Picture, File, Prioritise, Cancel };
    struct Ask {
        QString address;
        int side = 0;
        AskKind kind = AskKind::Picture;
        RequestOptions options;
    };
    struct ImageKey {
        QString address;
        int side = 0;
        bool operator==(const ImageKey&) const = default;
        friend size_t qHash(const ImageKey& k, size_t seed = 0) noexcept { return qHashMulti(seed, k.address, k.side); }
    };
    enum class OnDisk { Unknown, Present, Absent };
    enum class Fetch { None, Waiting, Running, Storing };
    struct Entry {
        RequestOptions options;
        QUrl url;          // parsed with the first disk read
        QSet<int> wanted;  // sides asked for and not yet read
        QSet<int> reading; // sides the disk read under way makes
        QSet<int> held;    // sides put in memory, made again when a refresh brings a new picture
        bool wantFile = false;
        bool invalid = false;
        OnDisk onDisk = OnDisk::Unknown;
        bool stale = false;
        bool refreshed = false;
        bool loading = false;
        qint64 failedAt = -1;
        Fetch fetch = Fetch::None;
        quint64 ticket = 0;      // when last asked for: the later, the sooner it is served
        quint64 loadTicket = 0;  // its place in loadQueue_, 0 when not waiting
        quint64 fetchTicket = 0; // its place in fetchQueue_, 0 when not waiting
    };

    qint64 Now() const;
    void Note(Ask ask);
    void TakeAsks();
    void Take(const Ask& ask);
    Entry* Find(const QString& address, const RequestOptions& options);
    void Renew(const QString& address, Entry& e);
    void Drop(Entry& e);
    void Advance(const QString& address, Entry& e);
    bool FailedRecently(const Entry& e) const;
    void PumpLoads();
    void PumpFetches();
    void OnLoaded(const QString& address, const QUrl& url, const LogoDisk::Loaded& loaded);
    void OnFetched(quint64 id, const QByteArray& bytes, const QString& problem);
    void OnStored(const QString& address, const QString& problem, const QHash<int, QImage>& images);
    void Hold(const QString& address, Entry& e, const QHash<int, QImage>& images);

    const LogoSettings settings_;
    std::shared_ptr<LogoDisk> disk_;
    QThreadPool pool_;
    QThread thread_;
    LogoFetcher* fetcher_;
    QHash<QString, Entry> entries_;
    QCache<ImageKey, QImage> images_; // cost in KiB
    std::vector<Ask> asks_;
    std::size_t asksTaken_ = 0;
    QTimer askTimer_;
    std::map<quint64, QString> loadQueue_;
    std::map<quint64, QString> fetchQueue_;
    quint64 tickets_ = 0;
    QHash<quint64, QString> fetching_;
    quint64 fetchIds_ = 0;
    int loads_ = 0;
    int running_ = 0;
};

} // namespace quorvel
