#include "playback/mpvbaseoptions.h"

#include <algorithm>
#include <cstring>
#include <mpv/client.h>

namespace quorvel {
namespace {

// Which cores a row is for.
enum class For { Every, Playing, Listening };

struct BaseOption {
    const char* name;
    // Null: the audio output the playing core was given, left unset when none was.
    const char* value;
    For role;
};

constexpr BaseOption kOptions[] = {
    // Addresses come from files a user may have been handed: no user configuration, scripts
    // or external downloaders, no playlists that reach outside their own kind.
    {"config", "no", For::Every},
    {"load-scripts", "no", For::Every},
    {"ytdl", "no", For::Every},
    {"load-unsafe-playlists", "no", For::Every},
    {"load-auto-profiles", "no", For::Every},
    // mpv's statistics page and console answer keys this player never hands over; each is a
    // script run on a thread of its own in every core, started with it and woken by every
    // event of it, a zap's included.
    {"osc", "no", For::Every},
    {"load-stats-overlay", "no", For::Every},
    {"load-osd-console", "no", For::Every},
    {"input-default-bindings", "no", For::Every},
    {"input-vo-keyboard", "no", For::Every},
    {"terminal", "no", For::Every},
    // A core with nothing open waits for the next address instead of quitting.
    {"idle", "yes", For::Every},

    // The playing core's pictures are drawn by the player (MpvRenderer) through mpv's render
    // interface, decoded on the processor: pictures drawn in memory, where OpenGL is drawn in
    // software, cannot take frames held on a graphics card.
    {"vo", "libmpv", For::Playing},
    {"hwdec", "no", For::Playing},
    {"gpu-hwdec-interop", "no", For::Playing},
    // mpv has no output named "auto": its own choice is made only when "ao" is left unset.
    {"ao", nullptr, For::Playing},
    // mpv hands each picture over this long before it is due and expects its drawing to wait
    // for the time; ours draws at once (waiting would hold the drawing thread), so the picture
    // is handed over when it is due. The first picture of a channel came later with mpv's
    // 50 ms, and every other one was shown up to that much ahead of its sound.
    {"video-timing-offset", "0", For::Playing},
    // How a live channel is opened is left to mpv: naming the demuxer for .m3u8 addresses,
    // smaller probe size and analysis time, starting at the live edge, one connection per
    // stream and a short read-ahead until the first picture were each timed with
    // tests/bench/zap.py, and none brought the new channel's picture sooner.
    // The end of a file is told (the session shows it) instead of held on its last picture.
    {"keep-open", "no", For::Playing},
    // A dead address gives up after this many seconds instead of hanging.
    {"network-timeout", "10", For::Playing},
    // A stream that breaks off is opened again by the session, which tells the viewer so,
    // rather than by libav out of sight.
    {"demuxer-lavf-o", "reconnect=0", For::Playing},
    // A core keeps nothing of what it read beyond what it plays next: a channel opened ahead
    // for surfing stops reading at its first picture. The session's own core is given its
    // buffer for going back in a live channel (SetTimeShiftOptions).
    {"cache", "no", For::Playing},

    // The listening core plays nothing and has nowhere to show or sound it.
    {"vo", "null", For::Listening},
    {"ao", "null", For::Listening},
};

// The time shift's buffer, set on a running core. Null: the value given.
struct ShiftOption {
    const char* name;
    const char* on;
    const char* off;
};

constexpr ShiftOption kShiftOptions[] = {
    // The stream goes on being read while paused, as far as the bounds allow.
    {"cache", "yes", "no"},
    // Beyond a small part in memory the buffer is a file, unlinked by mpv as it makes it, so
    // that a crash leaves nothing behind but an empty name at most.
    {"cache-on-disk", "yes", "no"},
    {"cache-dir", nullptr, nullptr},
    // Half the bytes for what lies ahead of the picture (a pause's gathering), half for what
    // was played (to go back in): the two together stay within the bound.
    {"demuxer-max-bytes", nullptr, "150MiB"},
    {"demuxer-max-back-bytes", nullptr, "50MiB"},
};

} // namespace

RefusedOption SetTimeShiftOptions(mpv_handle* handle, bool on, std::int64_t bytes, const std::string& folder)
{
    const std::string half = std::to_string(std::max<std::int64_t>(bytes / 2, 1024 * 1024));
    RefusedOption refused;
    for (const ShiftOption& option : kShiftOptions) {
        std::string value = on ? (option.on ? option.on : "") : (option.off ? option.off : "");
        if (on && !option.on)
            value = std::strcmp(option.name, "cache-dir") == 0 ? folder : half;
        if (value.empty())
            continue;
        const int rc = mpv_set_property_string(handle, option.name, value.c_str());
        if (rc < 0 && !refused.name)
            refused = {option.name, rc};
    }
    return refused;
}

RefusedOption SetBaseOptions(mpv_handle* handle, CoreRole role, const std::string& audioOutput)
{
    const For own = role == CoreRole::Playing ? For::Playing : For::Listening;
    RefusedOption refused;
    for (const BaseOption& option : kOptions) {
        if (option.role != For::Every && option.role != own)
            continue;
        const char* value = option.value ? option.value : audioOutput.c_str();
        if (!*value)
            continue;
        const int rc = mpv_set_option_string(handle, option.name, value);
        if (rc < 0 && !refused.name)
            refused = {option.name, rc};
    }
    return refused;
}

} // namespace quorvel
