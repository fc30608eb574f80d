#include "platform/profilestore.h"

#include "base/readtoend.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <mutex>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace quorvel {
namespace {

struct Identity {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};
    bool operator==(const Identity& o) const
    {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec && ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

Identity IdentityOf(const struct stat& st)
{
    return Identity{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

struct CacheEntry {
    Identity id;
    std::shared_ptr<const ProfileText> text;
};

// Readers on several threads (the window and a playlist import beside it) share the cache.
std::mutex& CacheLock()
{
    static std::mutex lock;
    return lock;
}

std::unordered_map<std::string, CacheEntry>& Cache()
{
    static std::unordered_map<std::string, CacheEntry> cache;
    return cache;
}

const std::shared_ptr<const ProfileText>& EmptyText()
{
    static const auto empty = std::make_shared<const ProfileText>(std::string());
    return empty;
}

bool ReadAll(int fd, std::string& out, off_t sizeHint)
{
    out.clear();
    if (sizeHint > 0)
        out.reserve(static_cast<std::size_t>(sizeHint));
    return ReadToEnd(fd, [&out](const char* data, std::size_t size) {
               out.append(data, size);
               return true;
           }) == 0;
}

// Reads the regular file's bytes. Missing -> true with empty content and exists=false;
// present but unreadable or not a regular file -> false.
bool LoadFile(const std::string& name, std::string& bytes, Identity& id, bool& exists)
{
    exists = false;
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        struct stat st;
        return ::stat(name.c_str(), &st) != 0 && errno == ENOENT;
    }
    exists = true;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadAll(fd, bytes, st.st_size);
    if (ok)
        id = IdentityOf(st);
    ::close(fd);
    return ok;
}

bool WriteAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t NewFileMode()
{
    // The umask without changing it: other threads may be creating files right now.
    mode_t mask = 022;
    if (FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, "Umask:", 6) == 0)
                mask = static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8));
        std::fclose(f);
    }
    return 0666 & ~mask;
}

// Checked for every key and value of an import, a hundred thousand at once: two memchr scans,
// not find_first_of, which tests each byte against the set in a call of its own.
bool HasLineBreak(const std::string& s)
{
    return std::memchr(s.data(), '\n', s.size()) != nullptr || std::memchr(s.data(), '\r', s.size()) != nullptr;
}

bool SafeToWrite(const std::string& section, const std::string& key, const std::string& value)
{
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
        return false;
    if (section.find(']') != std::string::npos || key.find('=') != std::string::npos)
        return false;
    const auto first = key.find_first_not_of(" \t");
    if (first == std::string::npos || key[first] == '[' || key[first] == ';')
        return false;
    return true;
}

// The file a write replaces: through a symbolic link to the file it names, also when that
// file does not exist yet, so the link itself is never replaced by a plain file.
std::string WriteTarget(const std::string& name)
{
    struct stat st;
    if (::lstat(name.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return name;
    char resolved[PATH_MAX];
    if (::realpath(name.c_str(), resolved))
        return resolved;
    char link[PATH_MAX];
    const ssize_t n = ::readlink(name.c_str(), link, sizeof link - 1);
    if (n <= 0)
        return name;
    link[n] = '\0';
    if (link[0] == '/')
        return link;
    const auto slash = name.rfind('/');
    return slash == std::string::npos ? std::string(link) : name.substr(0, slash + 1) + link;
}

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool ReplaceAtomically(const std::string& target, const std::string& bytes, mode_t mode)
{
    const std::string dir = DirectoryOf(target);
    const auto slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string tmp = dir + "/." + base + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

} // namespace

std::shared_ptr<const ProfileText> ProfileStore::Read(const std::string& fileName)
{
    const std::lock_guard<std::mutex> hold(CacheLock());
    auto& cache = Cache();
    struct stat st;
    if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        cache.erase(fileName);
        return EmptyText();
    }
    const auto hit = cache.find(fileName);
    if (hit != cache.end() && hit->second.id == IdentityOf(st))
        return hit->second.text;
    std::string bytes;
    Identity id;
    bool exists = false;
    if (!LoadFile(fileName, bytes, id, exists) || !exists) {
        cache.erase(fileName);
        return EmptyText();
    }
    auto text = std::make_shared<const ProfileText>(std::move(bytes));
    cache[fileName] = CacheEntry{id, text};
    return text;
}

bool ProfileStore::Write(const std::string& fileName, const std::string& section, const std::string& key,
                         const std::string& value)
{
    return Write(fileName, section, {{key, value}});
}

bool ProfileStore::Write(const std::string& fileName, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& entries)
{
    return Write(fileName, {SectionValues{section, entries}});
}

bool ProfileStore::Write(const std::string& fileName, const std::vector<SectionValues>& edits)
{
    return Write(fileName, {}, edits);
}

bool ProfileStore::Write(const std::string& fileName, const std::vector<SectionKeys>& removals,
                         const std::vector<SectionValues>& edits)
{
    if (fileName.empty())
        return false;
    for (const auto& edit : edits)
        for (const auto& [key, value] : edit.entries)
            if (!SafeToWrite(edit.section, key, value))
                return false;
    const std::string target = WriteTarget(fileName);
    std::string bytes;
    Identity id;
    bool exists = false;
    // A file that exists but cannot be read must not be replaced by one holding only these keys.
    if (!LoadFile(target, bytes, id, exists))
        return false;
    mode_t mode = NewFileMode();
    if (exists) {
        struct stat st;
        if (::stat(target.c_str(), &st) != 0)
            return false;
        mode = st.st_mode & 07777;
    }
    // Each key goes in as a write of its own would put it; the file changes once.
    if (!removals.empty())
        bytes = ProfileText(std::move(bytes)).WithoutKeys(removals);
    bytes = ProfileText(std::move(bytes)).WithValues(edits);
    if (!ReplaceAtomically(target, bytes, mode))
        return false;
    const std::lock_guard<std::mutex> hold(CacheLock());
    Cache().erase(fileName);
    Cache().erase(target);
    return true;
}

void ProfileStore::Forget()
{
    const std::lock_guard<std::mutex> hold(CacheLock());
    Cache().clear();
}

} // namespace quorvel
