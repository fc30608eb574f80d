#include "platform/tempdir.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {
namespace {

// A real directory (not a link), owned by us, that nobody else may enter or write.
bool IsPrivate(const std::string& dir)
{
    struct stat st;
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

std::string WithSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

} // namespace

std::string UserTempDir()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
        const std::string dir = WithSlash(runtime);
        if (IsPrivate(dir))
            return dir;
    }
    std::string base = "/tmp";
    if (const char* tmp = std::getenv("TMPDIR"); tmp && tmp[0] == '/')
        base = tmp;
    const std::string dir = WithSlash(base) + "quorvel-" + std::to_string(::geteuid());
    ::mkdir(dir.c_str(), 0700);
    if (IsPrivate(dir))
        return dir + "/";
    return {};
}

} // namespace quorvel
