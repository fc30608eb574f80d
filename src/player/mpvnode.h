#pragma once

#include <cstdint>
#include <mpv/client.h>
#include <optional>

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
    // The integer under a key of a map node, when the node is a map holding one there.
    std::optional<int64_t> MapInt(const char* key) const;

private:
    mpv_node node_{};
    bool filled_ = false;
};

} // namespace quorvel
