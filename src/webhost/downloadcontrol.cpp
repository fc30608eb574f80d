#include "webhost/downloadcontrol.h"

#include "webhost/hostoptions.h"

namespace quorvel {

bool DownloadControl::ScriptsEnabled() const { return (flags_ & DLCTL_NO_SCRIPTS) == 0; }

bool DownloadControl::ImagesEnabled() const { return (flags_ & DLCTL_DLIMAGES) != 0; }

bool DownloadControl::PluginsEnabled() const { return (flags_ & (DLCTL_NO_RUNACTIVEXCTLS | DLCTL_NO_JAVA)) == 0; }

bool DownloadControl::Offline() const { return (flags_ & (DLCTL_FORCEOFFLINE | DLCTL_OFFLINEIFNOTCONNECTED)) != 0; }

bool DownloadControl::IsNetworkScheme(const QString& scheme)
{
    const QString s = scheme.toLower();
    return s == QLatin1String("http") || s == QLatin1String("https") || s == QLatin1String("ws") ||
           s == QLatin1String("wss") || s == QLatin1String("ftp");
}

bool DownloadControl::AllowsRequest(Resource kind, const QString& scheme) const
{
    if (Offline() && IsNetworkScheme(scheme))
        return false;
    switch (kind) {
    case Resource::Script:
        return ScriptsEnabled();
    case Resource::Image:
        return ImagesEnabled();
    case Resource::Media:
        // Audio and video elements are one kind of request; the page's videos decide.
        return (flags_ & DLCTL_VIDEOS) != 0;
    case Resource::Frame:
        return (flags_ & DLCTL_NO_FRAMEDOWNLOAD) == 0;
    case Resource::Object:
        return PluginsEnabled() && (flags_ & DLCTL_NO_DLACTIVEXCTLS) == 0;
    case Resource::Page:
    case Resource::Other:
        break;
    }
    return true;
}

} // namespace quorvel
