#pragma once

#include <string>

struct mpv_handle;

namespace quorvel {

// What mpv refused, with its error code.
struct RefusedOption {
    const char* name = nullptr;
    int error = 0;
};

// What a core is made for: playing channels, or only listening to libav's lines (LibavLog).
enum class CoreRole { Playing, Listening };

// Sets the options every mpv core of this program is made with, before mpv_initialize, from one
// table: nothing of the user's mpv set-up, none of mpv's own scripts, keys or terminal, and what
// a role needs of its own. audioOutput: mpv's "ao" for a playing core; empty leaves mpv's own
// choice. Returns the first option mpv refused (name null when it took them all); the options
// after it are still set.
RefusedOption SetBaseOptions(mpv_handle* handle, CoreRole role, const std::string& audioOutput = {});

} // namespace quorvel
