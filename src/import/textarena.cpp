#include "import/textarena.h"

#include <cstring>

namespace quorvel {

std::string_view TextArena::Keep(std::string_view first, std::string_view second)
{
    const std::size_t size = first.size() + second.size();
    if (size == 0)
        return {};
    char* at;
    if (size > kBlock / 4) {
        // A large text gets a block of its own; the current block stays in use.
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        at = blocks_.back().get();
    } else {
        if (size > left_) {
            blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlock));
            free_ = blocks_.back().get();
            left_ = kBlock;
        }
        at = free_;
        free_ += size;
        left_ -= size;
    }
    if (!first.empty())
        std::memcpy(at, first.data(), first.size());
    if (!second.empty())
        std::memcpy(at + first.size(), second.data(), second.size());
    return std::string_view(at, size);
}

} // namespace quorvel
