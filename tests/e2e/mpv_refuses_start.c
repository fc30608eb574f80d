/* Loaded in front of libmpv: mpv refuses to start, as it does when its set-up fails. */
#include <mpv/client.h>

int mpv_initialize(mpv_handle* ctx)
{
    (void)ctx;
    return MPV_ERROR_INVALID_PARAMETER;
}
