#pragma once

#include <optional>
#include <string_view>

namespace quorvel {

// An address "scheme://authority/path?query#fragment" cut into its parts, as views into it.
struct AddressParts {
    std::string_view scheme;
    std::string_view authority; // userinfo@host:port
    std::string_view path;      // from its "/", may be empty
    std::string_view query;     // without "?"
    std::string_view fragment;  // without "#"
    bool hasQuery = false;
    bool hasFragment = false;
};

// None when the address does not start with "scheme://".
std::optional<AddressParts> SplitAddress(std::string_view address);

bool IsWebScheme(std::string_view scheme); // http or https, any case

} // namespace quorvel
