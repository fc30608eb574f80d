#include "app/guidemanager.h"

#include "app/playlistmanager.h"
#include "base/exception.h"
#include "base/redactedaddress.h"
#include "catalogue/channeltree.h"
#include "channelmodel/channelmodel.h"
#include "guide/guideloader.h"
#include "userdata/guidestorewriter.h"
#include "userdata/viewerdatabase.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace quorvel {
namespace {

std::int64_t Clock() { return QDateTime::currentSecsSinceEpoch(); }

QString Shown(const QString& text) { return QString::fromStdString(RedactedAddress(text.toStdString())); }

// A channel's tvg-shift in hours; nothing when it is not a sensible number.
std::optional<double> Shift(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    bool ok = false;
    const double hours =
        QString::fromStdString(text).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(hours) || std::fabs(hours) > 24)
        return std::nullopt;
    return hours;
}

} // namespace

GuideManager::GuideManager(std::string catalogueFile, std::function<void(const QString&)> tell, QObject* parent)
    : QObject(parent), catalogue_(std::move(catalogueFile)), tell_(std::move(tell)),
      loader_(std::make_unique<GuideLoader>())
{
    connect(loader_.get(), &GuideLoader::Finished, this, &GuideManager::Finished);
}

// The loader waits for its worker, which closes the stores' connections there.
GuideManager::~GuideManager()
{
    if (gathering_) {
        gathering_->wait();
        delete gathering_;
    }
}

void GuideManager::Start()
{
    // After the playlists' own look at their age: a refresh they start reads the guides anyway.
    QTimer::singleShot(3000, this, &GuideManager::ReadIfRunningOut);
    if (!look_) {
        look_ = new QTimer(this);
        connect(look_, &QTimer::timeout, this, &GuideManager::ReadIfRunningOut);
        look_->start(kLookEveryMs);
    }
}

void GuideManager::ReadIfRunningOut()
{
    // A guide that never reaches 12 hours ahead is not read over and over.
    if (reading_ > 0 || (lastRound_ > 0 && Clock() - lastRound_ < kReadAgainAfter))
        return;
    GuideStore* store = Store();
    if (!store)
        return;
    std::int64_t end = GuideStore::kNoEnd;
    try {
        end = store->End();
    } catch (const Exception&) {
    }
    if (end == GuideStore::kNoEnd || end < Clock() + kReadAgainWithin)
        ReadGuides();
}

GuideManager::Wanted GuideManager::Gather(const std::string& catalogue)
{
    Wanted out;
    try {
        // This thread's own connection: connections stay with the thread that made them.
        ViewerDatabase db(ViewerDatabase::FileBeside(catalogue));
        out.database = db.File();
        // The tvg data of each channel as its playlist listed it, with the shift the playlist
        // gives all its channels; the first source listing it wins.
        struct Tvg {
            SourceChannel channel;
            std::string playlistShift;
        };
        QHash<QString, Tvg> tvg;
        const auto want = [&out](const std::string& address) {
            if (!out.addresses.contains(QString::fromStdString(address)))
                out.addresses << QString::fromStdString(address);
        };
        for (const SourceRecord& source : db.Sources()) {
            for (const std::string& address : source.guideAddresses)
                want(address);
            for (SourceChannel& c : db.Channels(source.id)) {
                const QString key = ChannelModel::Text(c.name).toLower();
                if (!tvg.contains(key))
                    tvg.insert(key, Tvg{std::move(c), source.tvgShift});
            }
        }
        for (const std::string& address : db.GuideSources())
            want(address);
        // A guide the viewer removed, or one its playlist no longer names, goes with its
        // programmes: the tree and the guide list would show them for days otherwise.
        std::vector<std::string> read;
        for (const QString& address : out.addresses)
            read.push_back(address.toStdString());
        try {
            out.forgotten = db.ForgetGuidesOtherThan(read);
        } catch (const Exception&) {
            // Tried again next round; the guides are read all the same.
        }
        if (out.addresses.isEmpty())
            return out;
        const ChannelTree tree = ChannelTree::Read(catalogue);
        QSet<QString> seen;
        for (std::size_t category = 0; category < tree.CategoryCount(); ++category)
            for (std::string_view channel : tree.Channels(category)) {
                const QString name = ChannelModel::Text(channel);
                const QString key = name.toLower();
                if (seen.contains(key))
                    continue;
                seen.insert(key);
                WantedChannel wanted;
                wanted.name = name.toStdString();
                if (auto found = tvg.constFind(key); found != tvg.constEnd()) {
                    wanted.tvgId = found->channel.tvgId;
                    wanted.tvgName = found->channel.tvgName;
                    wanted.shiftHours = Shift(found->channel.tvgShift);
                    if (!wanted.shiftHours)
                        wanted.shiftHours = Shift(found->playlistShift);
                }
                out.names.push_back(wanted.name);
                out.channels.push_back(std::move(wanted));
            }
    } catch (const std::exception& e) {
        out.addresses.clear();
        out.problem = QStringLiteral("The programme guide was not read: %1").arg(Shown(QString::fromUtf8(e.what())));
    }
    return out;
}

void GuideManager::ReadGuides()
{
    if (reading_ > 0) {
        again_ = true;
        return;
    }
    reading_ = 1;
    lastRound_ = Clock();
    problems_.clear();
    round_.clear();
    guides_ = 0;
    gathering_ = QThread::create([this, catalogue = catalogue_] {
        Wanted wanted = Gather(catalogue);
        QMetaObject::invokeMethod(
            this, [this, wanted = std::move(wanted)]() mutable { StartReads(std::move(wanted)); },
            Qt::QueuedConnection);
    });
    gathering_->setObjectName(QStringLiteral("guide channels"));
    gathering_->start(QThread::LowPriority);
}

void GuideManager::StartReads(Wanted wanted)
{
    if (gathering_) {
        gathering_->wait();
        delete gathering_;
        gathering_ = nullptr;
    }
    reading_ = 0;
    if (!wanted.problem.isEmpty())
        problems_ << wanted.problem;
    if (wanted.forgotten > 0)
        emit Changed();
    const std::int64_t now = Clock();
    guides_ = static_cast<int>(wanted.addresses.size());
    for (const QString& address : wanted.addresses) {
        GuideJob job;
        job.location = address;
        job.wanted = wanted.channels;
        job.options.now = now;
        auto writer = std::make_shared<GuideStoreWriter>(wanted.database, wanted.names, address.toStdString(), now);
        writers_[address] = writer;
        job.sink = writer;
        ++reading_;
        loader_->Load(std::move(job));
    }
    if (reading_ == 0)
        EndRound();
}

void GuideManager::Finished(const QString& location, const GuideOutcome& outcome)
{
    --reading_;
    std::shared_ptr<GuideStoreWriter> writer;
    if (auto found = writers_.find(location); found != writers_.end()) {
        writer = found->second;
        writers_.erase(found);
    }
    const std::string stored = writer ? writer->Failure() : std::string();
    QStringList why;
    if (!outcome.complete)
        why << QString::fromStdString(outcome.problem) + (outcome.programmes > 0
                                                              ? QStringLiteral(" (what was read before is kept)")
                                                              : QStringLiteral(" (the guide kept before stays)"));
    if (!stored.empty())
        why << QString::fromStdString(stored);
    if (!why.isEmpty()) {
        // Shown under its address, the problem need not name it again.
        const QString address = Shown(location);
        round_.push_back({address, Shown(why.join(QStringLiteral("; ")))
                                       .replace(QStringLiteral("cannot read %1: ").arg(address), QString())});
    }
    if (outcome.programmes > 0)
        emit Changed();
    if (reading_ == 0)
        EndRound();
}

QString GuideManager::Told(const std::vector<Unreadable>& unread, int guides)
{
    if (unread.empty())
        return {};
    QStringList details;
    for (const Unreadable& guide : unread)
        details << guide.address + QStringLiteral("\n    ") + guide.problem;
    const QString line = guides <= 1
                             ? QStringLiteral("The programme guide could not be read")
                             : QStringLiteral("%1 of %2 guides could not be read").arg(unread.size()).arg(guides);
    return PlaylistManager::WithDetails(line, details.join(QLatin1Char('\n')));
}

void GuideManager::EndRound()
{
    // The same guides failing the same way are told once, not after every round.
    unread_ = std::move(round_);
    round_.clear();
    std::sort(unread_.begin(), unread_.end(),
              [](const Unreadable& a, const Unreadable& b) { return a.address < b.address; });
    if (!unread_.empty())
        problems_ << Told(unread_, guides_);
    const QString told = problems_.join(QLatin1Char('\n'));
    if (!told.isEmpty() && told != lastTold_)
        tell_(told);
    lastTold_ = told;
    problems_.clear();
    if (again_) {
        again_ = false;
        ReadGuides();
    }
}

GuideStore* GuideManager::Store()
{
    if (!store_) {
        try {
            if (!db_)
                db_ = std::make_unique<ViewerDatabase>(ViewerDatabase::FileBeside(catalogue_));
            store_ = std::make_unique<GuideStore>(*db_);
        } catch (const std::exception&) {
            return nullptr;
        }
    }
    return store_.get();
}

GuideStore::NowAndNext GuideManager::At(const QString& channel, std::int64_t instant)
{
    try {
        if (GuideStore* store = Store())
            return store->At(channel.toStdString(), instant);
    } catch (const Exception&) {
        // A guide that cannot be read shows nothing; the channel plays all the same.
    }
    return {};
}

GuideStore::NowAndNext GuideManager::Now(const QString& channel) { return At(channel, Clock()); }

std::vector<Programme> GuideManager::Between(const QString& channel, std::int64_t from, std::int64_t to)
{
    try {
        if (GuideStore* store = Store())
            return store->Between(channel.toStdString(), from, to);
    } catch (const Exception&) {
    }
    return {};
}

QString GuideManager::Span(std::int64_t start, std::int64_t stop)
{
    const auto local = [](std::int64_t t) {
        return QDateTime::fromSecsSinceEpoch(t).toLocalTime().toString(QStringLiteral("HH:mm"));
    };
    return local(start) + QChar(0x2013) + local(stop);
}

QStringList GuideManager::Lines(const GuideStore::NowAndNext& programmes)
{
    QStringList lines;
    if (programmes.now)
        lines << QStringLiteral("Now: %1 %2")
                     .arg(Span(programmes.now->start, programmes.now->stop),
                          QString::fromStdString(programmes.now->title));
    if (programmes.next)
        lines << QStringLiteral("Next: %1 %2")
                     .arg(Span(programmes.next->start, programmes.next->stop),
                          QString::fromStdString(programmes.next->title));
    return lines;
}

} // namespace quorvel
