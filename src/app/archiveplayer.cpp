#include "app/archiveplayer.h"

#include "app/guidemanager.h"
#include "archive/archiveaddress.h"
#include "archive/archivetemplate.h"
#include "archive/providertime.h"
#include "archive/redactedaddress.h"
#include "base/redactedaddress.h"
#include "playback/playbackfailure.h"
#include "playback/playersession.h"
#include "player/mediaplayer.h"
#include "player/programmecard.h"
#include "player/zapcard.h"
#include "userdata/viewerdatabase.h"
#include "watching/channellist.h"
#include "watching/watchsession.h"

#include <QDateTime>
#include <QLocale>
#include <QTimer>

#include <cmath>

namespace quorvel {
namespace {

std::int64_t Clock() { return QDateTime::currentSecsSinceEpoch(); }

QString Text(const std::string& s) { return QString::fromStdString(s); }

// "Monday 20:00", local time, as the guide list has it.
QString DayAndTime(std::int64_t t)
{
    return QLocale(QLocale::English).toString(QDateTime::fromSecsSinceEpoch(t), QStringLiteral("dddd HH:mm"));
}

// The guide's tvg-shift in whole minutes; 0 when it is not a sensible number.
int ShiftMinutes(const std::string& hours)
{
    bool ok = false;
    const double h = QString::fromStdString(hours).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(h) || std::fabs(h) > 24)
        return 0;
    return static_cast<int>(std::lround(h * 60));
}

std::optional<Catchup> CatchupOf(const SourceChannel& c)
{
    const std::optional<CatchupMode> mode = CatchupModeNamed(c.catchupMode);
    if (!mode || c.catchupDays <= 0)
        return std::nullopt;
    Catchup catchup;
    catchup.mode = *mode;
    catchup.days = c.catchupDays;
    catchup.source = c.catchupSource;
    catchup.correctionMinutes = c.catchupCorrectionMinutes;
    return catchup;
}

} // namespace

ArchivePlayer::ArchivePlayer(MediaPlayer* player, WatchSession* session, GuideManager* guide, std::string catalogueFile,
                             QObject* parent)
    : QObject(parent), player_(player), session_(session), guide_(guide), catalogue_(std::move(catalogueFile)),
      openLimit_(new QTimer(this))
{
    openLimit_->setSingleShot(true);
    openLimit_->setInterval(kOpenLimitMs);
    connect(openLimit_, &QTimer::timeout, this, [this] {
        if (!session_->FromArchive())
            return;
        player_->CloseMedia();
        NoRecording(tr("the archive sent nothing within %1 seconds").arg(kOpenLimitMs / 1000));
    });
    connect(session_, &WatchSession::changed, this, [this] {
        const bool archive = session_->FromArchive().has_value();
        player_->OfferLive(archive);
        if (!archive)
            openLimit_->stop();
    });
    connect(player_, &MediaPlayer::liveRequested, session_, &WatchSession::GoLive);
    connect(&player_->Session(), &PlayerSession::stateChanged, this,
            [this](PlayerSession::State state) { Follow(static_cast<int>(state)); });
}

ArchivePlayer::~ArchivePlayer() = default;

std::optional<SourceChannel> ArchivePlayer::ArchiveOf(const QString& channel) const
{
    if (channel.isEmpty())
        return std::nullopt;
    try {
        if (!db_)
            db_ = std::make_unique<ViewerDatabase>(ViewerDatabase::FileBeside(catalogue_));
        return db_->ArchiveChannel(channel.toStdString());
    } catch (const std::exception&) {
        // A database that cannot be read leaves the guide without archive, nothing more.
        return std::nullopt;
    }
}

int ArchivePlayer::ArchiveDays(const QString& channel) const
{
    const std::optional<SourceChannel> c = ArchiveOf(channel);
    const std::optional<Catchup> catchup = c ? CatchupOf(*c) : std::nullopt;
    return catchup ? catchup->days : 0;
}

QString ArchivePlayer::Play(const QString& channel, const Programme& programme)
{
    const std::int64_t now = Clock();
    if (programme.start > now)
        return tr("%1 starts %2.")
            .arg(Text(programme.title),
                 QDateTime::fromSecsSinceEpoch(programme.start).date() == QDate::currentDate()
                     ? tr("today at %1")
                           .arg(QDateTime::fromSecsSinceEpoch(programme.start).toString(QStringLiteral("HH:mm")))
                     : tr("on %1").arg(DayAndTime(programme.start)));
    const std::optional<SourceChannel> c = ArchiveOf(channel);
    const std::optional<Catchup> catchup = c ? CatchupOf(*c) : std::nullopt;
    if (!catchup)
        return tr("%1 has no archive to play this programme from.").arg(channel);
    if (!CanPlayFromArchive(*catchup, programme.start, now))
        return tr("The archive of %1 reaches back %2 days only.").arg(channel).arg(catchup->days);
    const ArchiveTemplate made = MakeArchiveTemplate(*catchup, c->address);
    if (made.text.empty())
        return tr("The archive of %1 cannot be reached: %2").arg(channel, Text(made.reason));
    const ArchiveTimes times{programme.start, programme.stop, now,
                             ProviderOffsetMinutes(*catchup, programme.start, ShiftMinutes(c->tvgShift))};
    const ArchiveAddress address = ExpandArchiveTemplate(made.text, times);

    ArchiveProgramme playing;
    // The channel where the viewer has it: selected, or where it plays.
    playing.channel = session_->Channels().Selected().name == channel ? session_->Channels().Selected()
                                                                      : session_->Channels().Find(QString(), channel);
    if (!playing.channel.IsChannel())
        playing.channel = {session_->Playing().category, channel};
    playing.title = Text(programme.title);
    playing.start = programme.start;
    playing.stop = programme.stop;
    playing.address = Text(address.address);
    playing.startOver = programme.stop > now;

    player_->show();
    const QString card = tr("From the archive: %1 \u2014 %2").arg(playing.title, DayAndTime(programme.start));
    player_->SetChannelName(card);
    player_->SetURL(playing.address, c->options);
    player_->ShowZap(ZapInfo{0, card, channel, {}});
    ProgrammeInfo info;
    info.nowTitle = playing.title;
    info.nowSpan = QDateTime::fromSecsSinceEpoch(programme.start).toString(QStringLiteral("HH:mm")) + QChar(0x2013) +
                   QDateTime::fromSecsSinceEpoch(programme.stop).toString(QStringLiteral("HH:mm"));
    player_->SetProgrammeInfo(info);
    session_->PlayedFromArchive(playing);
    openLimit_->start();
    return {};
}

void ArchivePlayer::Follow(int state)
{
    const std::optional<ArchiveProgramme>& playing = session_->FromArchive();
    if (!playing)
        return;
    switch (static_cast<PlayerSession::State>(state)) {
    case PlayerSession::State::Playing:
        openLimit_->stop();
        return;
    case PlayerSession::State::Ended:
        openLimit_->stop();
        // The next address goes to the player once the session is done telling of this end.
        QTimer::singleShot(0, this, [this] {
            if (session_->FromArchive() && player_->Session().CurrentState() == PlayerSession::State::Ended)
                PlayNext();
        });
        return;
    case PlayerSession::State::Failed:
        openLimit_->stop();
        NoRecording(player_->Session().Failure().details);
        return;
    default:
        return;
    }
}

void ArchivePlayer::PlayNext()
{
    const ArchiveProgramme ended = *session_->FromArchive();
    const std::int64_t now = Clock();
    // The channel's programme starting where this one stopped; live once that is still to come.
    for (const Programme& p : guide_->Between(ended.channel.name, ended.stop, ended.stop + 1)) {
        if (p.start >= ended.stop && p.start <= now) {
            if (Play(ended.channel.name, p).isEmpty())
                return;
            break;
        }
    }
    session_->GoLive();
}

void ArchivePlayer::NoRecording(const QString& why)
{
    const std::optional<ArchiveProgramme>& playing = session_->FromArchive();
    if (!playing)
        return;
    // The address is told for those who look, never with what lets a stranger in.
    QString details = tr("Address: %1").arg(Text(RedactedArchiveAddress(playing->address.toStdString())));
    if (!why.isEmpty())
        details += QLatin1Char('\n') + Text(RedactedAddress(why.toStdString()));
    player_->ShowLiveMessage(playing->channel.name, tr("The provider's archive has no recording of this programme"),
                             details);
}

} // namespace quorvel
