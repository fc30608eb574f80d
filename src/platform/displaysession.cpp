#include "platform/displaysession.h"

#include <QtGlobal>

namespace quorvel {

DisplaySession DisplaySession::FromEnvironment()
{
    DisplaySession session;
    session.wayland =
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE").trimmed().toLower() == "wayland";
    session.xServer = !qEnvironmentVariableIsEmpty("DISPLAY");
    session.requestedPlatform = qgetenv("QT_QPA_PLATFORM").trimmed();
    return session;
}

QByteArray DisplaySession::ChosenPlatform() const
{
    // Any platform other than Wayland's was asked for on purpose (xcb, offscreen, vnc): kept.
    const bool asksWayland = requestedPlatform.toLower().startsWith("wayland");
    if (!requestedPlatform.isEmpty() && !asksWayland)
        return {};
    // The picture output, the cards over the video and the ticker are native X11 windows laid
    // over each other; a Wayland client cannot place such windows, so with XWayland there the
    // program is an X11 client, even where the desktop asks every Qt program for Wayland.
    if (wayland && xServer)
        return "xcb";
    // A Wayland desktop without XWayland leaves the Wayland client as the one way to show.
    if (wayland && requestedPlatform.isEmpty())
        return "wayland";
    return {};
}

QByteArray ChooseQtPlatform()
{
    const QByteArray platform = DisplaySession::FromEnvironment().ChosenPlatform();
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    return platform;
}

} // namespace quorvel
