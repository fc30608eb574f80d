#pragma once

#include "base/requestoptions.h"

#include <string>
#include <utility>
#include <vector>

namespace quorvel {

// A channel's request options as mpv's per-file options for its loadfile: the user agent, the
// referrer and an Origin header field. Values are cleaned so that none can add a header line
// or a further header field of its own; empty ones are left out.
std::vector<std::pair<std::string, std::string>> LoadOptions(const RequestOptions& options);

} // namespace quorvel
