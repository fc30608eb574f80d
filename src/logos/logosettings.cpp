#include "logos/logosettings.h"

#include <QDir>

namespace quorvel {

QString DefaultLogoFolder()
{
    // The base-directory rule: a relative $XDG_CACHE_HOME is invalid and ignored.
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/quorvel/logos");
}

} // namespace quorvel
