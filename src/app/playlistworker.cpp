#include "app/playlistworker.h"

#include "base/exception.h"
#include "catalogue/channeltree.h"
#include "guide/guidecontent.h"
#include "import/playlistsource.h"
#include "import/playlistsources.h"
#include "provider/passwordbook.h"

#include <QDateTime>
#include <QLocale>

namespace quorvel {
namespace {

QString Count(long long n) { return QLocale::c().toString(n); }

QString Plural(long long n, const char* one, const char* many)
{
    return Count(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

// "Added 120 channels in 2 new categories, 3 updated, 2 removed; 4 skipped."
QString Summary(const SourceOutcome& o)
{
    const ImportReport& r = o.report;
    QStringList parts;
    parts << QStringLiteral("added %1").arg(Plural(r.Added(), "channel", "channels"));
    if (r.NewCategories() > 0)
        parts.last() += QStringLiteral(" (%1)").arg(Plural(r.NewCategories(), "new category", "new categories"));
    if (r.Updated() > 0)
        parts << QStringLiteral("%1 with a new address").arg(Count(r.Updated()));
    if (r.moved > 0)
        parts << QStringLiteral("%1 moved").arg(Count(r.moved));
    if (r.removed > 0)
        parts << QStringLiteral("%1 no longer listed removed").arg(Count(r.removed));
    if (r.Present() > 0)
        parts << QStringLiteral("%1 already there").arg(Count(r.Present()));
    QString text = parts.join(QStringLiteral(", "));
    text[0] = text[0].toUpper();
    if (r.Skipped() > 0)
        text += QStringLiteral("; %1 skipped").arg(Plural(r.Skipped(), "entry", "entries"));
    return text + QLatin1Char('.');
}

// Every entry skipped, a line each: "line 12: "Name" (listed twice)".
QString Details(const SourceOutcome& o)
{
    const ImportReport& r = o.report;
    if (r.skipped.empty())
        return {};
    QStringList lines{QString::fromStdString(o.location) + QLatin1Char(':')};
    for (const auto& e : r.skipped)
        lines << QStringLiteral("  line %1: \"%2\" (%3)")
                     .arg(e.line)
                     .arg(QString::fromStdString(e.text), QLatin1String(SkippedEntry::Reason(e.why)));
    if (static_cast<std::size_t>(r.Skipped()) > r.skipped.size())
        lines << QStringLiteral("  and %1 more").arg(Count(r.Skipped() - static_cast<long long>(r.skipped.size())));
    return lines.join(QLatin1Char('\n'));
}

QString Shown(const std::string& location)
{
    QString s = QString::fromStdString(location);
    return s.size() > 60 ? s.left(57) + QStringLiteral("...") : s;
}

} // namespace

PlaylistWorker::PlaylistWorker(std::string catalogueFile, Report report, const std::atomic<bool>* cancel)
    : catalogue_(std::move(catalogueFile)), report_(std::move(report)), cancel_(cancel)
{
}

PlaylistWorker::~PlaylistWorker() = default;

PlaylistSources& PlaylistWorker::Sources()
{
    if (!sources_)
        sources_ = std::make_unique<PlaylistSources>(catalogue_);
    if (passwords_)
        sources_->SetPasswordFinder([book = passwords_](const ProviderLogin& login) { return book->Find(login); });
    if (!noticed_) {
        noticed_ = true;
        const std::string& notice = sources_->Database().Notice();
        if (!notice.empty() && report_.notice)
            report_.notice(QString::fromStdString(notice));
    }
    return *sources_;
}

void PlaylistWorker::Progress(const QString& text)
{
    // A few updates a second are all the eye follows; more would only queue up in the window.
    const long long now = QDateTime::currentMSecsSinceEpoch();
    if (now - lastProgressMs_ < 100)
        return;
    lastProgressMs_ = now;
    if (report_.progress)
        report_.progress(text);
}

void PlaylistWorker::Finish(Outcome outcome, bool changed)
{
    lastProgressMs_ = 0;
    // A change cut short before this job, completed or undone on its way, is said first.
    if (sources_) {
        QStringList said;
        for (const auto& repair : sources_->TakeRepairs())
            said << QString::fromStdString(repair);
        if (!said.isEmpty()) {
            changed = true;
            outcome.summary = (said << outcome.summary).join(QLatin1Char('\n')).trimmed();
        }
    }
    if (changed)
        outcome.tree = std::make_shared<const ChannelTree>(ChannelTree::Read(catalogue_));
    if (report_.finished)
        report_.finished(outcome);
}

SourceKind PlaylistWorker::Tell(const QString& location)
{
    PlaylistSource source(PlaylistSources::Normalized(location));
    PlaylistSource::Options options;
    options.cancel = cancel_;
    options.firstBytes = static_cast<qint64>(GuideContent::kEnough);
    const QByteArray head = source.Read(options);
    return GuideContent::IsGuide(std::string_view(head.constData(), static_cast<std::size_t>(head.size())))
               ? SourceKind::Guide
               : SourceKind::Playlist;
}

void PlaylistWorker::AddGuide(const QString& location)
{
    Outcome outcome;
    try {
        const QString where = PlaylistSources::Normalized(location);
        const bool added = Sources().Database().AddGuideSource(where.toStdString(), QDateTime::currentSecsSinceEpoch());
        outcome.summary = added ? QStringLiteral("Programme guide %1 added: it is read now, and again with the "
                                                 "playlists.")
                                      .arg(Shown(where.toStdString()))
                                : QStringLiteral("Programme guide %1 is added already: it is read again now.")
                                      .arg(Shown(where.toStdString()));
    } catch (const std::exception& e) {
        outcome.failed = true;
        outcome.summary = QString::fromStdString(e.what()) + QStringLiteral(". Nothing was changed.");
    }
    Finish(std::move(outcome), false);
}

void PlaylistWorker::RemoveGuide(const QString& location)
{
    Outcome outcome;
    try {
        Sources().Database().RemoveGuideSource(location.toStdString());
        outcome.summary =
            QStringLiteral("Programme guide %1 removed: it is no longer read.").arg(Shown(location.toStdString()));
    } catch (const std::exception& e) {
        outcome.failed = true;
        outcome.summary = QString::fromStdString(e.what());
    }
    Finish(std::move(outcome), false);
}

void PlaylistWorker::Add(const QString& location, SourceKind kind)
{
    // A panel's playlist address is no guide: it is asked as a panel first.
    if (kind == SourceKind::ByContent && ProviderLogin::FromPlaylistAddress(location))
        kind = SourceKind::Playlist;
    if (kind == SourceKind::ByContent) {
        try {
            kind = Tell(location);
        } catch (const std::exception& e) {
            Outcome outcome;
            outcome.failed = true;
            outcome.summary = QString::fromStdString(e.what()) + QStringLiteral(". Nothing was changed.");
            Finish(std::move(outcome), false);
            return;
        }
    }
    if (kind == SourceKind::Guide) {
        AddGuide(location);
        return;
    }
    Outcome outcome;
    bool changed = false;
    try {
        PlaylistSources& sources = Sources();
        const QString shown = Shown(PlaylistSources::Normalized(location).toStdString());
        const SourceOutcome o = sources.Read(
            location,
            [this, &shown](const PlaylistSources::Progress& p) {
                using Stage = PlaylistSources::Progress::Stage;
                if (p.stage == Stage::Downloading)
                    Progress(QStringLiteral("Reading %1: %2 KB").arg(shown, Count(p.done / 1024)));
                else if (p.stage == Stage::Importing)
                    Progress(QStringLiteral("Adding channels: %1 of %2").arg(Count(p.done), Count(p.total)));
                else
                    Progress(QStringLiteral("Saving the channels..."));
            },
            false, cancel_);
        changed = o.written;
        outcome.summary = QStringLiteral("%1: %2").arg(Shown(o.location), Summary(o));
        outcome.details = Details(o);
        if (o.account)
            outcome.accounts.push_back({*o.account, o.sourceId, o.accountInfo});
    } catch (const std::exception& e) {
        outcome.failed = true;
        outcome.summary = QString::fromStdString(e.what()) + QStringLiteral(". Nothing was changed.");
    }
    Finish(std::move(outcome), changed);
}

void PlaylistWorker::AddAccount(const ProviderLogin& login)
{
    Outcome outcome;
    bool changed = false;
    try {
        Progress(QStringLiteral("Asking the provider for the account of %1...").arg(login.User()));
        const SourceOutcome o = Sources().ReadAccount(login, {}, false, cancel_);
        changed = o.written;
        outcome.summary = QStringLiteral("%1: %2").arg(Shown(o.location), Summary(o));
        outcome.details = Details(o);
        outcome.accounts.push_back({login, o.sourceId, o.accountInfo});
    } catch (const std::exception& e) {
        outcome.failed = true;
        outcome.summary = QString::fromStdString(e.what()) + QStringLiteral(". Nothing was changed.");
    }
    Finish(std::move(outcome), changed);
}

void PlaylistWorker::Repair()
{
    Outcome outcome;
    try {
        // The database is opened only when something was left staged.
        if (!sources_)
            sources_ = std::make_unique<PlaylistSources>(catalogue_);
        sources_->Repair();
    } catch (const std::exception& e) {
        outcome.failed = true;
        outcome.summary = QString::fromStdString(e.what());
    }
    Finish(std::move(outcome), false);
}

void PlaylistWorker::Refresh(long long maxAgeSeconds)
{
    Outcome outcome;
    bool changed = false;
    QStringList done;
    QStringList failures;
    try {
        PlaylistSources& sources = Sources();
        const long long now = QDateTime::currentSecsSinceEpoch();
        int n = 0;
        const auto list = sources.List();
        for (const auto& s : list) {
            ++n;
            if (maxAgeSeconds >= 0 && s.lastRead > 0 && now - s.lastRead < maxAgeSeconds)
                continue;
            if (cancel_ && cancel_->load())
                break;
            try {
                const SourceOutcome o = sources.Read(
                    QString::fromStdString(s.location),
                    [this, n, &list](const PlaylistSources::Progress& p) {
                        if (p.stage == PlaylistSources::Progress::Stage::Importing)
                            Progress(QStringLiteral("Refreshing playlist %1 of %2: %3 of %4 channels")
                                         .arg(n)
                                         .arg(list.size())
                                         .arg(Count(p.done), Count(p.total)));
                        else
                            Progress(QStringLiteral("Refreshing playlist %1 of %2...").arg(n).arg(list.size()));
                    },
                    false, cancel_);
                changed = changed || o.written;
                if (o.account)
                    outcome.accounts.push_back({*o.account, o.sourceId, o.accountInfo});
                done << QStringLiteral("%1: %2").arg(Shown(o.location), Summary(o));
                if (const QString details = Details(o); !details.isEmpty())
                    outcome.details += (outcome.details.isEmpty() ? QString() : QStringLiteral("\n")) + details;
            } catch (const std::exception& e) {
                failures << QString::fromStdString(e.what());
            }
        }
    } catch (const std::exception& e) {
        failures << QString::fromStdString(e.what());
    }
    outcome.failed = !failures.isEmpty();
    if (done.isEmpty() && failures.isEmpty())
        outcome.summary = maxAgeSeconds >= 0 ? QString() : QStringLiteral("No playlists to refresh.");
    else
        outcome.summary = (done + (failures.isEmpty() ? QStringList()
                                                      : QStringList{QStringLiteral("Not refreshed, its channels kept "
                                                                                   "as they were: ") +
                                                                    failures.join(QStringLiteral("; "))}))
                              .join(QLatin1Char('\n'));
    Finish(std::move(outcome), changed);
}

void PlaylistWorker::Remove(long long sourceId)
{
    Outcome outcome;
    bool changed = false;
    try {
        PlaylistSources& sources = Sources();
        const auto source = sources.Database().FindSource(sourceId);
        if (!source)
            throw Exception("That playlist was removed already");
        const SourceOutcome o = sources.Remove(*source);
        changed = o.written;
        outcome.summary = QStringLiteral("Removed %1 and %2.")
                              .arg(Shown(o.location), Plural(o.report.removed, "channel", "channels"));
    } catch (const std::exception& e) {
        outcome.failed = true;
        outcome.summary = QString::fromStdString(e.what());
    }
    Finish(std::move(outcome), changed);
}

} // namespace quorvel
