#include "player/mpvnode.h"

#include <cstring>

namespace quorvel {

MpvNode::~MpvNode()
{
    if (filled_)
        mpv_free_node_contents(&node_);
}

mpv_node* MpvNode::Out()
{
    if (filled_)
        mpv_free_node_contents(&node_);
    node_ = mpv_node{};
    filled_ = true; // a node mpv left untouched is MPV_FORMAT_NONE, which frees as nothing
    return &node_;
}

std::optional<int64_t> MpvNode::MapInt(const char* key) const
{
    if (!filled_ || node_.format != MPV_FORMAT_NODE_MAP || !node_.u.list)
        return std::nullopt;
    const mpv_node_list& map = *node_.u.list;
    for (int i = 0; i < map.num; ++i)
        if (map.keys && map.keys[i] && std::strcmp(map.keys[i], key) == 0 && map.values[i].format == MPV_FORMAT_INT64)
            return map.values[i].u.int64;
    return std::nullopt;
}

} // namespace quorvel
