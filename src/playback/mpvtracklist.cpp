#include "playback/mpvtracklist.h"

#include <cstring>

namespace quorvel {

namespace {

const mpv_node* Find(const mpv_node_list& map, const char* key)
{
    for (int i = 0; i < map.num; ++i)
        if (map.keys && map.keys[i] && std::strcmp(map.keys[i], key) == 0)
            return &map.values[i];
    return nullptr;
}

QString Text(const mpv_node_list& map, const char* key)
{
    const mpv_node* n = Find(map, key);
    return n && n->format == MPV_FORMAT_STRING && n->u.string ? QString::fromUtf8(n->u.string) : QString();
}

} // namespace

AudioTracks AudioTracksIn(const mpv_node& trackList)
{
    AudioTracks tracks;
    if (trackList.format != MPV_FORMAT_NODE_ARRAY || !trackList.u.list)
        return tracks;
    const mpv_node_list& list = *trackList.u.list;
    for (int i = 0; i < list.num; ++i) {
        const mpv_node& entry = list.values[i];
        if (entry.format != MPV_FORMAT_NODE_MAP || !entry.u.list)
            continue;
        const mpv_node_list& map = *entry.u.list;
        const mpv_node* id = Find(map, "id");
        if (Text(map, "type") != QLatin1String("audio") || !id || id->format != MPV_FORMAT_INT64)
            continue;
        const mpv_node* selected = Find(map, "selected");
        tracks.push_back(AudioTrack{id->u.int64, Text(map, "lang"), Text(map, "title"),
                                    selected && selected->format == MPV_FORMAT_FLAG && selected->u.flag != 0});
    }
    return tracks;
}

} // namespace quorvel
