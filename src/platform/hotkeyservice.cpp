#include "platform/hotkeyservice.h"

#include "platform/displaysession.h"
#include "platform/portalhotkeyservice.h"
#include "platform/xcbhotkeyservice.h"

#include <QDBusConnection>
#include <QGuiApplication>

namespace quorvel {

std::unique_ptr<HotKeyService> CreateHotKeyService()
{
    // On a Wayland desktop no client sees keys pressed in another program's window (under
    // XWayland an X11 grab sees them only while an X11 window has the focus): only the desktop
    // can hand a key to a program wherever the focus is.
    const bool wayland =
        DisplaySession::FromEnvironment().wayland || QGuiApplication::platformName() == QLatin1String("wayland");
    if (!wayland)
        return std::make_unique<XcbHotKeyService>();
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (PortalHotKeyService::Offered(bus))
        return std::make_unique<PortalHotKeyService>(bus);
    return std::make_unique<XcbHotKeyService>(false);
}

} // namespace quorvel
