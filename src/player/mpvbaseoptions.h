#pragma once

struct mpv_handle;

namespace quorvel {

// What mpv refused, with its error code.
struct RefusedOption {
    const char* name = nullptr;
    int error = 0;
};

// Sets what every mpv core of this program is made with, before mpv_initialize: nothing of the
// user's mpv set-up, none of mpv's own scripts, keys or terminal. Returns the first option mpv
// refused (name null when it took them all); the options after it are still set.
RefusedOption SetBaseOptions(mpv_handle* handle);

} // namespace quorvel
