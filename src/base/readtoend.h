#pragma once

#include <cstddef>
#include <functional>

namespace quorvel {

// Reads the descriptor to its end, handing each chunk to take; a read interrupted by a signal
// is taken up again. Returns 0 at the end, or when take answers false (the caller has had
// enough), and the errno of a read that failed.
int ReadToEnd(int fd, const std::function<bool(const char* data, std::size_t size)>& take);

} // namespace quorvel
