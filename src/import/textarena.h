#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace quorvel {

// Copies of many small texts in a few large blocks: one allocation per 64 KiB instead of one
// per name, and views that stay valid until the arena goes (blocks never move).
class TextArena {
public:
    std::string_view Keep(std::string_view text) { return Keep(text, {}); }
    // The two texts one after the other, as one.
    std::string_view Keep(std::string_view first, std::string_view second);

private:
    static constexpr std::size_t kBlock = 64 * 1024;

    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;
    std::size_t left_ = 0;
};

} // namespace quorvel
