#include "base/playableaddress.h"

#include "base/blanks.h"

#include <algorithm>
#include <array>

namespace quorvel {

namespace {

bool EqualsFolded(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

} // namespace

bool IsPlayableAddress(std::string_view address)
{
    static constexpr std::array<std::string_view, 18> kSchemes = {
        "http", "https", "ftp", "rtmp", "rtmps", "rtmpe", "rtmpt", "rtmpte", "rtmpts",
        "rtsp", "rtsps", "rtp", "udp",  "srt",   "mms",   "mmsh",  "mmst",   "file",
    };
    address = TrimBlanks(address);
    if (address.empty() || address == "-")
        return false;
    const std::size_t sep = address.find("://");
    if (sep == std::string_view::npos)
        return true; // a local path
    const std::string_view scheme = address.substr(0, sep);
    return std::any_of(kSchemes.begin(), kSchemes.end(), [&](std::string_view s) { return EqualsFolded(s, scheme); });
}

} // namespace quorvel
