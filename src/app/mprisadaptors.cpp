#include "app/mprisadaptors.h"

#include "app/mpris.h"

#include <QCoreApplication>

namespace quorvel {

MprisRootAdaptor::MprisRootAdaptor(QObject* parent, Mpris& mpris) : QDBusAbstractAdaptor(parent), mpris_(mpris)
{
    setAutoRelaySignals(false);
}

QString MprisRootAdaptor::Identity() const { return QStringLiteral("Quorvel Online TV"); }

QString MprisRootAdaptor::DesktopEntry() const { return QStringLiteral("quorvel"); }

void MprisRootAdaptor::Raise() { mpris_.Raise(); }

void MprisRootAdaptor::Quit() { mpris_.Quit(); }

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* parent, Mpris& mpris) : QDBusAbstractAdaptor(parent), mpris_(mpris)
{
    setAutoRelaySignals(false);
}

QString MprisPlayerAdaptor::PlaybackStatus() const { return mpris_.PlaybackStatus(); }
QVariantMap MprisPlayerAdaptor::Metadata() const { return mpris_.Metadata(); }
double MprisPlayerAdaptor::Volume() const { return mpris_.Volume(); }
void MprisPlayerAdaptor::SetVolume(double volume) { mpris_.SetVolume(volume); }
qlonglong MprisPlayerAdaptor::Position() const { return mpris_.Position(); }
bool MprisPlayerAdaptor::CanGoNext() const { return mpris_.CanGoNext(); }
bool MprisPlayerAdaptor::CanGoPrevious() const { return mpris_.CanGoPrevious(); }
bool MprisPlayerAdaptor::CanPlay() const { return mpris_.CanPlay(); }
bool MprisPlayerAdaptor::CanPause() const { return mpris_.CanPause(); }
void MprisPlayerAdaptor::Next() { mpris_.Next(); }
void MprisPlayerAdaptor::Previous() { mpris_.Previous(); }
void MprisPlayerAdaptor::Pause() { mpris_.Pause(); }
void MprisPlayerAdaptor::PlayPause() { mpris_.PlayPause(); }
void MprisPlayerAdaptor::Stop() { mpris_.Stop(); }
void MprisPlayerAdaptor::Play() { mpris_.Play(); }
// Channels are live: there is nothing to seek in, and addresses come only from the catalogue.
void MprisPlayerAdaptor::Seek(qlonglong) {}
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath&, qlonglong) {}
void MprisPlayerAdaptor::OpenUri(const QString&) {}

} // namespace quorvel
