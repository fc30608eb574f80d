#include "playback/mpvnode.h"

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

MpvCommandNode::MpvCommandNode(const std::string& name) { Add("name", name); }

char* MpvCommandNode::Keep(const std::string& text)
{
    // A NUL inside would cut the text short where mpv reads it; the rest is dropped here instead.
    texts_.push_back(text.substr(0, text.find('\0')));
    return texts_.back().data();
}

mpv_node MpvCommandNode::TextNode(const std::string& text)
{
    mpv_node n{};
    n.format = MPV_FORMAT_STRING;
    n.u.string = Keep(text);
    return n;
}

void MpvCommandNode::Link(List& l)
{
    l.list.num = static_cast<int>(l.values.size());
    l.list.values = l.values.data();
    l.list.keys = l.keys.data();
}

void MpvCommandNode::Add(const std::string& key, const std::string& value)
{
    top_.keys.push_back(Keep(key));
    top_.values.push_back(TextNode(value));
}

void MpvCommandNode::AddMap(const std::string& key, const Texts& entries)
{
    List& map = lists_.emplace_back();
    for (const auto& [k, v] : entries) {
        map.keys.push_back(Keep(k));
        map.values.push_back(TextNode(v));
    }
    Link(map);
    mpv_node n{};
    n.format = MPV_FORMAT_NODE_MAP;
    n.u.list = &map.list;
    top_.keys.push_back(Keep(key));
    top_.values.push_back(n);
}

mpv_node* MpvCommandNode::Node()
{
    Link(top_);
    node_.format = MPV_FORMAT_NODE_MAP;
    node_.u.list = &top_.list;
    return &node_;
}

} // namespace quorvel
