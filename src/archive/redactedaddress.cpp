#include "archive/redactedaddress.h"

#include "archive/addressparts.h"
#include "base/foldednames.h"
#include "base/redactedaddress.h"

#include <vector>

namespace quorvel {

namespace {

constexpr std::string_view kHidden = "***";

bool IsNumericId(std::string_view file)
{
    const std::string_view stem = file.substr(0, file.find('.'));
    return !stem.empty() && stem.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string RedactedPath(std::string_view path)
{
    if (path.empty())
        return {};
    std::vector<std::string_view> segments;
    std::string_view rest = path.substr(1);
    while (true) {
        const std::size_t slash = rest.find('/');
        segments.push_back(rest.substr(0, slash));
        if (slash == std::string_view::npos)
            break;
        rest.remove_prefix(slash + 1);
    }
    // Xtream Codes put user and password right after the kind of stream, or first of all before a
    // numeric stream id.
    std::size_t user = segments.size();
    const std::string_view kind = segments.front();
    if (segments.size() >= 3 && (NamesEqual(kind, "live") || NamesEqual(kind, "timeshift") ||
                                 NamesEqual(kind, "movie") || NamesEqual(kind, "series")))
        user = 1;
    else if (segments.size() == 3 && IsNumericId(segments[2]))
        user = 0;
    std::string out;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        out += '/';
        out += i == user || i == user + 1 ? kHidden : segments[i];
    }
    return out;
}

} // namespace

std::string RedactedArchiveAddress(std::string_view address)
{
    const std::optional<AddressParts> parts = SplitAddress(address);
    if (!parts) {
        // A tail to append ("?username=...&password=...") is hidden as the query of an address.
        constexpr std::string_view kHost = "http://h";
        if (address.empty() || (address.front() != '?' && address.front() != '/'))
            return std::string(address);
        return RedactedAddress(std::string(kHost) + std::string(address)).substr(kHost.size());
    }
    // The authority and the query are hidden as everywhere else; the Xtream Codes path is the
    // archive's own.
    if (parts->path.empty())
        return RedactedAddress(address);
    std::string pathHidden(address.substr(0, static_cast<std::size_t>(parts->path.data() - address.data())));
    pathHidden += RedactedPath(parts->path);
    pathHidden += address.substr(static_cast<std::size_t>(parts->path.data() - address.data()) + parts->path.size());
    return RedactedAddress(pathHidden);
}

} // namespace quorvel
