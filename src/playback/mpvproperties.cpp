#include "playback/mpvproperties.h"

namespace quorvel {
namespace {

constexpr MpvPropertyInfo kTable[] = {
    {MpvProperty::Pause, "pause", MPV_FORMAT_FLAG},
    {MpvProperty::Mute, "mute", MPV_FORMAT_FLAG},
    {MpvProperty::Volume, "volume", MPV_FORMAT_DOUBLE},
    {MpvProperty::TimePos, "time-pos", MPV_FORMAT_DOUBLE},
    {MpvProperty::Duration, "duration", MPV_FORMAT_DOUBLE},
    {MpvProperty::Seekable, "seekable", MPV_FORMAT_FLAG},
    {MpvProperty::PausedForCache, "paused-for-cache", MPV_FORMAT_FLAG},
    {MpvProperty::CacheBufferingState, "cache-buffering-state", MPV_FORMAT_INT64},
    {MpvProperty::IdleActive, "idle-active", MPV_FORMAT_FLAG},
    {MpvProperty::VideoTrack, "current-tracks/video/id", MPV_FORMAT_INT64},
    {MpvProperty::TrackList, "track-list", MPV_FORMAT_NODE},
    {MpvProperty::AudioId, "aid", MPV_FORMAT_INT64},
    {MpvProperty::AudioLanguage, "alang", MPV_FORMAT_STRING},
};
static_assert(sizeof kTable / sizeof kTable[0] == static_cast<int>(MpvProperty::Count));

} // namespace

const MpvPropertyInfo& PropertyInfo(MpvProperty p) { return kTable[static_cast<int>(p)]; }

} // namespace quorvel
