#pragma once

#include <cstdint>

namespace quorvel {

// The largest skin container a load inflates (the program's own is 1.8 MB). Everything that
// builds or reads a container stops at this size, so a skin that could never load is never
// written, and no file or stream makes a reader take more memory than this.
constexpr std::int64_t MaxSkinContainerSize = 64LL * 1024 * 1024;

// The longest definition text a skin may have (the program's own has 18 KB). Every line of it
// can become an object of the skin data several hundred bytes large, so the text is bounded on
// its own: a hostile definition costs at most some hundred megabytes and a second to load.
constexpr std::int64_t MaxSkinDefinitionSize = 4LL * 1024 * 1024;

} // namespace quorvel
