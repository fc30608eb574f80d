#pragma once

#include <QString>
#include <cstdint>

namespace quorvel {

// What a page may load and run under a pane's download-control flag word.
class DownloadControl {
public:
    // The kinds of request the flags tell apart.
    enum class Resource { Page, Frame, Script, Image, Media, Object, Other };

    explicit DownloadControl(std::uint32_t flags) : flags_(flags) {}

    bool ScriptsEnabled() const;
    bool ImagesEnabled() const;
    // Plug-in content (object and embed elements, the built-in document viewers).
    bool PluginsEnabled() const;
    // Both offline modes keep the pages off the network.
    bool Offline() const;
    // Whether a request of that kind for an address of that scheme may go out.
    bool AllowsRequest(Resource kind, const QString& scheme) const;

    // Schemes that reach the network (everything a page gets from elsewhere than this computer).
    static bool IsNetworkScheme(const QString& scheme);

private:
    std::uint32_t flags_;
};

} // namespace quorvel
