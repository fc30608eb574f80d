#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The text with what would let a stranger in taken out of every address in it: the user name
// and password before the host ("http://***@host/"), and the values of query parameters named
// like a user, a password, a token or a key ("?username=***&password=***"). Addresses shown to
// the viewer (an error, a list of sources) can then be copied, pasted or seen on a shared screen
// safely. A text without "scheme://" comes back as it was.
std::string RedactedAddress(std::string_view text);

} // namespace quorvel
