#pragma once

#include <cstdint>
#include <deque>
#include <mpv/client.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

// Owns one mpv_node that mpv filled in (a command's result): its contents are freed with it.
class MpvNode {
public:
    MpvNode() = default;
    ~MpvNode();
    MpvNode(const MpvNode&) = delete;
    MpvNode& operator=(const MpvNode&) = delete;

    // Where mpv writes the node; the object owns whatever it writes there.
    mpv_node* Out();
    // The node as mpv filled it (MPV_FORMAT_NONE before).
    const mpv_node* Get() const { return &node_; }
    // The integer under a key of a map node, when the node is a map holding one there.
    std::optional<int64_t> MapInt(const char* key) const;

private:
    mpv_node node_{};
    bool filled_ = false;
};

// A command with named arguments, built and owned here and handed to mpv_command_node: each
// text reaches mpv as one value, never parsed for separators or quotes, so nothing in it can
// start another argument or option. One level of nesting: an argument may be a map of texts.
class MpvCommandNode {
public:
    using Texts = std::vector<std::pair<std::string, std::string>>;

    explicit MpvCommandNode(const std::string& name);
    MpvCommandNode(const MpvCommandNode&) = delete;
    MpvCommandNode& operator=(const MpvCommandNode&) = delete;

    void Add(const std::string& key, const std::string& value);
    // An argument whose value is a map of texts (loadfile's per-file options).
    void AddMap(const std::string& key, const Texts& entries);
    // The node for mpv; valid while this object lives and nothing more is added.
    mpv_node* Node();

private:
    struct List {
        std::vector<char*> keys;
        std::vector<mpv_node> values;
        mpv_node_list list{};
    };
    char* Keep(const std::string& text);
    mpv_node TextNode(const std::string& text);
    void Link(List& l);

    // Stable addresses: mpv reads these through raw pointers.
    std::deque<std::string> texts_;
    std::deque<List> lists_;
    List top_;
    mpv_node node_{};
};

} // namespace quorvel
