#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

// Section and key names of profile and skin files compare without regard to ASCII letter case
// (other bytes as they are). Both functors are transparent so that a lookup by view allocates
// nothing.
struct FoldedNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const;
};

struct FoldedNameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

// ASCII case-insensitive equality, the rule for section and key names.
bool NamesEqual(std::string_view a, std::string_view b);

} // namespace quorvel
