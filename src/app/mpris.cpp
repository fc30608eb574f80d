#include "app/mpris.h"

#include "app/mprisadaptors.h"
#include "base/redactedaddress.h"
#include "watching/channelnumbering.h"
#include "watching/channelref.h"
#include "watching/watchsession.h"
#include "widgets/errorbox.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTimer>
#include <QUrl>

#include <unistd.h>

namespace quorvel {
namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

// A track's path names the channel: its name's bytes in hexadecimal keep it a valid path element
// whatever the name holds.
QDBusObjectPath TrackOf(const QString& channel)
{
    return QDBusObjectPath(QStringLiteral("/org/quorvel/Channel/c") + QString::fromLatin1(channel.toUtf8().toHex()));
}

QString StatusName(PlaybackControl::Status status)
{
    switch (status) {
    case PlaybackControl::Status::Playing:
        return QStringLiteral("Playing");
    case PlaybackControl::Status::Paused:
        return QStringLiteral("Paused");
    case PlaybackControl::Status::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

} // namespace

Mpris::Mpris(WatchSession& session, ProgrammeLookup programmeNow, ArtLookup art)
    : QObject(nullptr), session_(session), programmeNow_(std::move(programmeNow)), art_(std::move(art))
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    new MprisRootAdaptor(this, *this);
    new MprisPlayerAdaptor(this, *this);
    if (!bus.registerObject(kPath, this, QDBusConnection::ExportAdaptors))
        return;
    // A second player running takes a name of its own, as the media player interface asks.
    QString name = QStringLiteral("org.mpris.MediaPlayer2.quorvel");
    if (!bus.registerService(name)) {
        name += QStringLiteral(".instance%1").arg(::getpid());
        if (!bus.registerService(name)) {
            bus.unregisterObject(kPath);
            return;
        }
    }
    service_ = name;

    connect(&session_, &WatchSession::changed, this, &Mpris::PlayerChanged);
    connect(&session_, &WatchSession::statusChanged, this, &Mpris::PlayerChanged);
    connect(&session_, &WatchSession::volumeChanged, this, [this](double volume) {
        Changed(kPlayer, {{QStringLiteral("Volume"), volume}});
    });
    // A programme ends while the channel plays on: looked at twice a minute.
    auto* programmeClock = new QTimer(this);
    connect(programmeClock, &QTimer::timeout, this, &Mpris::ProgrammeMayHaveChanged);
    programmeClock->start(30000);
}

Mpris::~Mpris()
{
    if (service_.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(service_);
    bus.unregisterObject(kPath);
}

void Mpris::Next()
{
    RunHandler([this] { session_.StepSelection(1); });
}

void Mpris::Previous()
{
    RunHandler([this] { session_.StepSelection(-1); });
}

void Mpris::Raise() { session_.Raise(); }

void Mpris::Quit() { session_.Quit(); }

void Mpris::Play()
{
    RunHandler([this] { session_.Play(); });
}

void Mpris::Pause()
{
    RunHandler([this] { session_.Pause(); });
}

void Mpris::PlayPause()
{
    RunHandler([this] { session_.PlayPause(); });
}

void Mpris::Stop()
{
    RunHandler([this] { session_.Stop(); });
}

QString Mpris::PlaybackStatus() const { return StatusName(session_.Status()); }

QVariantMap Mpris::Metadata() const
{
    const ChannelRef channel = session_.Current();
    if (!channel.IsChannel())
        return {{QStringLiteral("mpris:trackid"),
                 QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")))}};
    // The channel's own category, not the list it was chosen from (Favourites, Recently watched).
    QString album = session_.Numbers().CategoryOf(channel.name);
    if (album.isEmpty())
        album = channel.category;
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackOf(channel.name))},
        {QStringLiteral("xesam:title"), channel.name},
        {QStringLiteral("xesam:album"), album},
    };
    // Any program on the bus reads it: a login in the address stays out.
    if (channel == session_.Playing())
        metadata.insert(QStringLiteral("xesam:url"),
                        QString::fromStdString(RedactedAddress(session_.Player().Address().toStdString())));
    if (const QString programme = ProgrammeNow(); !programme.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{programme});
    // A programme from the archive is what plays: the channel is whose it is.
    if (const auto& archive = session_.FromArchive(); archive && channel == session_.Playing()) {
        metadata.insert(QStringLiteral("xesam:title"), archive->title);
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{channel.name});
    }
    if (const QString file = art_ ? art_(channel.name) : QString(); !file.isEmpty())
        metadata.insert(QStringLiteral("mpris:artUrl"), QUrl::fromLocalFile(file).toString());
    return metadata;
}

QString Mpris::ProgrammeNow() const
{
    const ChannelRef channel = session_.Current();
    return channel.IsChannel() && programmeNow_ ? programmeNow_(channel.name) : QString();
}

void Mpris::ArtMayHaveChanged()
{
    const ChannelRef channel = session_.Current();
    if (art_ && channel.IsChannel() && art_(channel.name) != artTold_)
        PlayerChanged();
}

void Mpris::ProgrammeMayHaveChanged()
{
    if (ProgrammeNow() != programmeTold_)
        PlayerChanged();
}

double Mpris::Volume() const { return session_.Player().Volume(); }

void Mpris::SetVolume(double volume)
{
    RunHandler([this, volume] { session_.Player().SetVolume(volume); });
}

qlonglong Mpris::Position() const
{
    return session_.Status() == PlaybackControl::Status::Stopped ? 0 : session_.Player().Position();
}

bool Mpris::CanGoNext() const { return session_.CanPlay(); }

bool Mpris::CanGoPrevious() const { return session_.CanPlay(); }

bool Mpris::CanPlay() const { return session_.CanPlay(); }

bool Mpris::CanPause() const { return session_.CanPause(); }

void Mpris::PlayerChanged()
{
    if (service_.isEmpty())
        return;
    programmeTold_ = ProgrammeNow();
    const ChannelRef channel = session_.Current();
    artTold_ = art_ && channel.IsChannel() ? art_(channel.name) : QString();
    Changed(kPlayer, {
                         {QStringLiteral("PlaybackStatus"), PlaybackStatus()},
                         {QStringLiteral("Metadata"), Metadata()},
                         {QStringLiteral("CanPause"), CanPause()},
                     });
}

void Mpris::Changed(const QString& interface, const QVariantMap& properties)
{
    QDBusMessage signal = QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << interface << properties << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace quorvel
