#include "app/mprisadaptors.h"

#include "app/mpris.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <exception>
#include <type_traits>

namespace quorvel {
namespace {

Q_LOGGING_CATEGORY(lcMpris, "quorvel.mpris")

// The bus calls these from the event loop: a failure of the player underneath is logged and
// answered with a default, never thrown through Qt, which would end the program.
void Logged(const char* what) { qCWarning(lcMpris) << "media-player request failed:" << what; }

template <typename F>
auto Answer(F&& f) -> decltype(f())
{
    using R = decltype(f());
    try {
        return f();
    } catch (const std::exception& e) {
        Logged(e.what());
    } catch (...) {
        Logged("unknown error");
    }
    if constexpr (!std::is_void_v<R>)
        return R();
}

} // namespace

MprisRootAdaptor::MprisRootAdaptor(QObject* parent, Mpris& mpris) : QDBusAbstractAdaptor(parent), mpris_(mpris)
{
    setAutoRelaySignals(false);
}

QString MprisRootAdaptor::Identity() const { return QStringLiteral("Quorvel Online TV"); }

// The desktop file's name without ".desktop": the same id the package installs and the portal
// knows the program by.
QString MprisRootAdaptor::DesktopEntry() const { return QStringLiteral("tv.quorvel.Quorvel"); }

void MprisRootAdaptor::Raise()
{
    Answer([&] { mpris_.Raise(); });
}

void MprisRootAdaptor::Quit()
{
    Answer([&] { mpris_.Quit(); });
}

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* parent, Mpris& mpris) : QDBusAbstractAdaptor(parent), mpris_(mpris)
{
    setAutoRelaySignals(false);
}

QString MprisPlayerAdaptor::PlaybackStatus() const
{
    return Answer([&] { return mpris_.PlaybackStatus(); });
}
QVariantMap MprisPlayerAdaptor::Metadata() const
{
    return Answer([&] { return mpris_.Metadata(); });
}
double MprisPlayerAdaptor::Volume() const
{
    return Answer([&] { return mpris_.Volume(); });
}
void MprisPlayerAdaptor::SetVolume(double volume)
{
    Answer([&] { mpris_.SetVolume(volume); });
}
qlonglong MprisPlayerAdaptor::Position() const
{
    return Answer([&] { return mpris_.Position(); });
}
bool MprisPlayerAdaptor::CanGoNext() const
{
    return Answer([&] { return mpris_.CanGoNext(); });
}
bool MprisPlayerAdaptor::CanGoPrevious() const
{
    return Answer([&] { return mpris_.CanGoPrevious(); });
}
bool MprisPlayerAdaptor::CanPlay() const
{
    return Answer([&] { return mpris_.CanPlay(); });
}
bool MprisPlayerAdaptor::CanPause() const
{
    return Answer([&] { return mpris_.CanPause(); });
}
void MprisPlayerAdaptor::Next()
{
    Answer([&] { mpris_.Next(); });
}
void MprisPlayerAdaptor::Previous()
{
    Answer([&] { mpris_.Previous(); });
}
void MprisPlayerAdaptor::Pause()
{
    Answer([&] { mpris_.Pause(); });
}
void MprisPlayerAdaptor::PlayPause()
{
    Answer([&] { mpris_.PlayPause(); });
}
void MprisPlayerAdaptor::Stop()
{
    Answer([&] { mpris_.Stop(); });
}
void MprisPlayerAdaptor::Play()
{
    Answer([&] { mpris_.Play(); });
}
// Channels are live: there is nothing to seek in, and addresses come only from the catalogue.
void MprisPlayerAdaptor::Seek(qlonglong) { }
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath&, qlonglong) { }
void MprisPlayerAdaptor::OpenUri(const QString&) { }

} // namespace quorvel
