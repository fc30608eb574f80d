#include "archive/addressparts.h"

#include "base/foldednames.h"

namespace quorvel {

namespace {

bool IsSchemeChar(char c, bool first)
{
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return letter || (!first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
}

} // namespace

std::optional<AddressParts> SplitAddress(std::string_view address)
{
    const std::size_t sep = address.find("://");
    if (sep == std::string_view::npos || sep == 0)
        return std::nullopt;
    for (std::size_t i = 0; i < sep; ++i)
        if (!IsSchemeChar(address[i], i == 0))
            return std::nullopt;
    AddressParts parts;
    parts.scheme = address.substr(0, sep);
    std::string_view rest = address.substr(sep + 3);
    if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
        parts.fragment = rest.substr(hash + 1);
        parts.hasFragment = true;
        rest = rest.substr(0, hash);
    }
    if (const std::size_t question = rest.find('?'); question != std::string_view::npos) {
        parts.query = rest.substr(question + 1);
        parts.hasQuery = true;
        rest = rest.substr(0, question);
    }
    const std::size_t slash = rest.find('/');
    parts.authority = rest.substr(0, slash);
    if (slash != std::string_view::npos)
        parts.path = rest.substr(slash);
    return parts;
}

bool IsWebScheme(std::string_view scheme) { return NamesEqual(scheme, "http") || NamesEqual(scheme, "https"); }

} // namespace quorvel
