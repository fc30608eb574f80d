#pragma once

#include "playback/mpvproperty.h"

#include <mpv/client.h>

namespace quorvel {

// How mpv names and types each property the player uses: for this folder's own sources, which
// speak to mpv.
struct MpvPropertyInfo {
    MpvProperty id;
    const char* name;
    mpv_format format;
};

const MpvPropertyInfo& PropertyInfo(MpvProperty p);

} // namespace quorvel
