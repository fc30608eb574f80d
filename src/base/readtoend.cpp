#include "base/readtoend.h"

#include <cerrno>
#include <unistd.h>

namespace quorvel {

int ReadToEnd(int fd, const std::function<bool(const char* data, std::size_t size)>& take)
{
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0 || !take(buf, static_cast<std::size_t>(n)))
            return 0;
    }
}

} // namespace quorvel
