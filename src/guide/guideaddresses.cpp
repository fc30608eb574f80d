#include "guide/guideaddresses.h"

#include "base/blanks.h"

#include <algorithm>

namespace quorvel {

std::vector<std::string> GuideAddresses(std::string_view attribute)
{
    std::vector<std::string> addresses;
    while (!attribute.empty()) {
        const std::size_t comma = attribute.find(',');
        const std::string_view one = TrimBlanks(attribute.substr(0, comma));
        if (!one.empty() && std::find(addresses.begin(), addresses.end(), one) == addresses.end())
            addresses.emplace_back(one);
        if (comma == std::string_view::npos)
            break;
        attribute.remove_prefix(comma + 1);
    }
    return addresses;
}

} // namespace quorvel
