#pragma once

#include "archive/catchup.h"

#include <string>
#include <string_view>

namespace quorvel {

// A channel's archive address with the programme's placeholders still in it, or why the live
// address does not fit the mode.
struct ArchiveTemplate {
    std::string text; // empty when refused
    std::string reason;
};

// The archive address of catchup for the channel playing liveAddress. Braces of the live address
// are written %7B and %7D, so that only the playlist's source can hold placeholders.
//   Default:   the source
//   Append:    the live address followed by the source
//   Shift:     the live address with "utc={utc}&lutc={lutc}" added to its query
//   Flussonic: …/ID/mpegts → …/ID/timeshift_abs-{utc}.ts; …/ID/index.m3u8 →
//              …/ID/timeshift_rel-{offset:1}.m3u8; …/ID/mono.m3u8 → …/ID/mono-timeshift_rel-{offset:1}.m3u8
//   Xc:        http(s)://host[/live]/user/pass/id[.ext] →
//              http(s)://host/timeshift/user/pass/{duration:60}/{Y}-{m}-{d}:{H}-{M}/id.ts (.m3u8 for HLS)
// Scheme, host, port and query of the live address are kept.
ArchiveTemplate MakeArchiveTemplate(const Catchup& catchup, std::string_view liveAddress);

} // namespace quorvel
