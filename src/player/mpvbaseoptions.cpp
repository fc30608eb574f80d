#include "player/mpvbaseoptions.h"

#include <mpv/client.h>
#include <utility>

namespace quorvel {

RefusedOption SetBaseOptions(mpv_handle* handle)
{
    // Addresses come from files a user may have been handed: no user configuration, scripts
    // or external downloaders, no playlists that reach outside their own kind. mpv's
    // statistics page and console answer keys this player never hands over; each is a script
    // run on a thread of its own in every core, started with it and woken by every event of
    // it, a zap's included.
    static constexpr std::pair<const char*, const char*> kOptions[] = {
        {"config", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        {"load-unsafe-playlists", "no"},
        {"load-auto-profiles", "no"},
        {"osc", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"terminal", "no"},
    };
    RefusedOption refused;
    for (const auto& [name, value] : kOptions) {
        const int rc = mpv_set_option_string(handle, name, value);
        if (rc < 0 && !refused.name)
            refused = {name, rc};
    }
    return refused;
}

} // namespace quorvel
