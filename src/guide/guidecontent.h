#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

// Whether the first bytes of a file or a download are an XMLTV guide (plain or gzip-packed)
// rather than a playlist: told by what they say, never by the name they were given. A few
// kilobytes are enough; a gzip stream cut short is unpacked as far as it goes.
class GuideContent {
public:
    static constexpr std::size_t kEnough = 64 * 1024;

    static bool IsGuide(std::string_view head);
};

} // namespace quorvel
