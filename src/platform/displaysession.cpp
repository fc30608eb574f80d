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

std::vector<char*> WithChosenPlatform(int argc, char** argv, QByteArray& platform)
{
    static char option[] = "-platform";
    platform = DisplaySession::FromEnvironment().ChosenPlatform();
    std::vector<char*> arguments(argv, argv + argc);
    if (!platform.isEmpty() && !arguments.empty())
        arguments.insert(arguments.begin() + 1, {option, platform.data()});
    arguments.push_back(nullptr);
    return arguments;
}

} // namespace quorvel
