#pragma once

#include <cstdint>
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

// Gives a running core the buffer that lets a live channel be paused and gone back in (on), or
// takes it away: mpv's cache, on disk in folder beyond a small part in memory, within bytes all
// told. Returns the first option mpv refused; the ones after it are still set.
RefusedOption SetTimeShiftOptions(mpv_handle* handle, bool on, std::int64_t bytes, const std::string& folder);

} // namespace quorvel
