#pragma once

#include "guide/guideoutcome.h"
#include "guide/wantedchannel.h"
#include "userdata/guidestore.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class GuideLoader;
class GuideStoreWriter;
class ViewerDatabase;

// The window's side of the programme guide: the guides the playlist sources name are read in the
// background into the viewer's database (after a playlist refresh, and at start when the stored
// guide ends within 12 hours or there is none), and what is on now and next is looked up there
// for the tree, the media keys and the channel card. A guide that cannot be read leaves the one
// kept as it was; a round's unreadable guides are told once through the function given, in one
// short line whose link opens each one's address and why (addresses with their secrets hidden),
// never in a box of their own.
class GuideManager : public QObject {
    Q_OBJECT
public:
    static constexpr std::int64_t kReadAgainWithin = 12 * 3600;

    GuideManager(std::string catalogueFile, std::function<void(const QString&)> tell, QObject* parent = nullptr);
    ~GuideManager() override;

    // A guide that runs out is looked at again this often while the program runs, and read
    // again no sooner than kReadAgainAfter after the last round.
    static constexpr int kLookEveryMs = 3600 * 1000;
    static constexpr std::int64_t kReadAgainAfter = 3 * 3600;

    // Reads the guides when the stored one runs out within 12 hours or is missing, soon after
    // the start and then every hour: a program left running for days keeps a guide.
    void Start();
    void ReadIfRunningOut();
    // Reads every source's guides now; a read under way is followed by one more.
    void ReadGuides();
    bool IsReading() const { return reading_ > 0; }

    // A guide of the last round that could not be read, as the viewer is shown it.
    struct Unreadable {
        QString address;
        QString problem;
    };
    const std::vector<Unreadable>& Unread() const { return unread_; }
    // The line told for a round: "12 of 101 guides could not be read", with a link to the details.
    static QString Told(const std::vector<Unreadable>& unread, int guides);

    // What is on the channel (its catalogue name) at the instant; nothing when the guide has
    // nothing or cannot be read.
    GuideStore::NowAndNext At(const QString& channel, std::int64_t instant);
    GuideStore::NowAndNext Now(const QString& channel);
    // The channel's programmes on at any time in [from, to), in start order; empty when the guide
    // has none or cannot be read.
    std::vector<Programme> Between(const QString& channel, std::int64_t from, std::int64_t to);
    // "Now: 20:00–21:00 Title" and "Next: …", in local time; empty when the guide has nothing.
    static QStringList Lines(const GuideStore::NowAndNext& programmes);
    // "20:00–21:00" in local time.
    static QString Span(std::int64_t start, std::int64_t stop);

signals:
    // A guide was stored: what is on now may read differently.
    void Changed();

private:
    // What a round reads, gathered off the window's thread: a catalogue of many thousand
    // channels and their playlists' data take a while to read.
    struct Wanted {
        std::vector<WantedChannel> channels;
        std::vector<std::string> names; // the catalogue names, by the same index
        QStringList addresses;
        std::string database;
        QString problem;
        // Programmes dropped because no guide of this round is theirs.
        std::size_t forgotten = 0;
    };
    static Wanted Gather(const std::string& catalogue);
    void StartReads(Wanted wanted);
    void EndRound();
    void Finished(const QString& location, const GuideOutcome& outcome);
    GuideStore* Store();

    std::string catalogue_;
    std::function<void(const QString&)> tell_;
    std::unique_ptr<GuideLoader> loader_;
    std::unique_ptr<ViewerDatabase> db_; // this thread's connection, for lookups
    std::unique_ptr<GuideStore> store_;
    std::map<QString, std::shared_ptr<GuideStoreWriter>> writers_;
    QStringList problems_;          // of the round under way, not of one guide
    std::vector<Unreadable> round_; // the round's guides that could not be read
    std::vector<Unreadable> unread_;
    int guides_ = 0;   // guides the round reads
    QString lastTold_; // the same failure is told once, not on every round
    QThread* gathering_ = nullptr;
    int reading_ = 0; // guides being read, and the gathering before them
    bool again_ = false;
    std::int64_t lastRound_ = 0; // when the last round of reads began
    QTimer* look_ = nullptr;
};

} // namespace quorvel
