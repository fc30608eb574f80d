#include "archive/redactedaddress.h"

#include "archive/addressparts.h"
#include "base/foldednames.h"

#include <array>
#include <vector>

namespace quorvel {

namespace {

constexpr std::string_view kHidden = "***";

bool IsSecretKey(std::string_view key)
{
    static constexpr std::array<std::string_view, 6> kKeys = {"username", "password", "user", "pass", "passwd", "pwd"};
    for (const std::string_view k : kKeys)
        if (NamesEqual(key, k))
            return true;
    return false;
}

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

std::string RedactedQuery(std::string_view query)
{
    std::string out;
    while (true) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos && IsSecretKey(pair.substr(0, equals))) {
            out += pair.substr(0, equals + 1);
            out += kHidden;
        } else {
            out += pair;
        }
        if (amp == std::string_view::npos)
            break;
        out += '&';
        query.remove_prefix(amp + 1);
    }
    return out;
}

} // namespace

std::string RedactedArchiveAddress(std::string_view address)
{
    const std::optional<AddressParts> parts = SplitAddress(address);
    if (!parts) {
        // A tail to append ("?username=...&password=...") is redacted as a query.
        const std::size_t question = address.find('?');
        if (question == std::string_view::npos)
            return std::string(address);
        return std::string(address.substr(0, question + 1)) + RedactedQuery(address.substr(question + 1));
    }
    std::string out(parts->scheme);
    out += "://";
    const std::size_t at = parts->authority.rfind('@');
    if (at != std::string_view::npos) {
        out += kHidden;
        out += parts->authority.substr(at);
    } else {
        out += parts->authority;
    }
    out += RedactedPath(parts->path);
    if (parts->hasQuery)
        out += "?" + RedactedQuery(parts->query);
    if (parts->hasFragment)
        out += "#" + std::string(parts->fragment);
    return out;
}

} // namespace quorvel
