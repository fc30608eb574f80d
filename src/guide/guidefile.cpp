#include "guide/guidefile.h"

#include "base/readtoend.h"
#include "guide/guidereader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

GuideOutcome ReadGuideFile(const std::string& path, GuideReader& reader, const std::atomic<bool>* cancel)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        GuideOutcome outcome;
        outcome.problem = "cannot read " + path + ": " + std::strerror(errno);
        return outcome;
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        GuideOutcome outcome;
        outcome.problem = "cannot read " + path + ": it is a folder";
        return outcome;
    }
    bool cancelled = false;
    const int err = ReadToEnd(fd, [&](const char* data, std::size_t size) {
        cancelled = cancel && cancel->load(std::memory_order_relaxed);
        return !cancelled && reader.Feed(data, size);
    });
    ::close(fd);
    GuideOutcome outcome = reader.Finish();
    if (cancelled) {
        outcome.complete = false;
        outcome.problem = "reading " + path + " was cancelled";
    } else if (err != 0) {
        outcome.complete = false;
        outcome.problem = "cannot read " + path + " to its end: " + std::strerror(err) +
                          (outcome.programmes > 0 ? "; the programmes read before that are kept" : "");
    }
    return outcome;
}

} // namespace quorvel
