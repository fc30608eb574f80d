#include "platform/shellopen.h"

#include <QByteArray>
#include <QDesktopServices>
#include <QUrl>

namespace quorvel {

void ShellOpen(const QString& address)
{
    // The player composes its windows with OpenGL through an environment switch of Qt's; the
    // browser it starts (which may be a Qt program too) gets the environment without it.
    const bool composing = qEnvironmentVariableIsSet("QT_WIDGETS_RHI");
    const QByteArray value = qgetenv("QT_WIDGETS_RHI");
    qunsetenv("QT_WIDGETS_RHI");
    QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
    if (composing)
        qputenv("QT_WIDGETS_RHI", value);
}

} // namespace quorvel
