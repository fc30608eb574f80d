#pragma once

#include <string>

namespace quorvel {

// What a channel's server demands to see in every request of its stream, as its playlist names
// it: empty fields are not sent. Kept with the channel, never part of its address.
struct RequestOptions {
    std::string userAgent;
    std::string referrer;
    std::string origin;

    bool Empty() const { return userAgent.empty() && referrer.empty() && origin.empty(); }
    bool operator==(const RequestOptions&) const = default;
};

} // namespace quorvel
