#include "playback/loadoptions.h"

namespace quorvel {
namespace {

// A header value is one line: control characters (a CR or LF would start a header of their own)
// go, and so does the space they leave at either end.
std::string HeaderValue(const std::string& value)
{
    std::string clean;
    clean.reserve(value.size());
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        clean += u < 0x20 || u == 0x7f ? ' ' : c;
    }
    const auto first = clean.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

} // namespace

std::vector<std::pair<std::string, std::string>> LoadOptions(const RequestOptions& options)
{
    std::vector<std::pair<std::string, std::string>> result;
    if (const std::string agent = HeaderValue(options.userAgent); !agent.empty())
        result.emplace_back("user-agent", agent);
    if (const std::string referrer = HeaderValue(options.referrer); !referrer.empty())
        result.emplace_back("referrer", referrer);
    // The header list is a list: "-append" adds one item as it stands, so a comma in the
    // value stays in this one field instead of starting another.
    if (const std::string origin = HeaderValue(options.origin); !origin.empty())
        result.emplace_back("http-header-fields-append", "Origin: " + origin);
    return result;
}

} // namespace quorvel
