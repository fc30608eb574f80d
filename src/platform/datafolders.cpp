#include "platform/datafolders.h"

#include "base/exception.h"
#include "base/readtoend.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {
namespace {

std::string WithSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

bool IsFile(const std::string& name)
{
    struct stat st;
    return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Anything of that name, a dangling link included: a name the user has taken is never written over.
bool Taken(const std::string& name)
{
    struct stat st;
    return ::lstat(name.c_str(), &st) == 0;
}

std::string Reason(int error) { return std::strerror(error); }

// Makes the folder and any missing parents, private to the user as the desktop's data folders
// are; folders that exist stay as they are.
void MakeFolder(const std::string& dir)
{
    std::string path;
    for (std::size_t at = 0; at < dir.size();) {
        const std::size_t slash = dir.find('/', at + 1);
        path = dir.substr(0, slash == std::string::npos ? dir.size() : slash);
        at = slash == std::string::npos ? dir.size() : slash;
        if (path.empty() || path == "/")
            continue;
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
            throw Exception("Cannot make the folder " + path + " for your channels: " + Reason(errno));
    }
    struct stat st;
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw Exception("Cannot keep your channels in " + dir + ": it is not a folder");
}

std::string ReadWhole(const std::string& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw Exception("Cannot read " + file + ": " + Reason(errno));
    std::string bytes;
    const int error = ReadToEnd(fd, [&bytes](const char* data, std::size_t size) {
        bytes.append(data, size);
        return true;
    });
    ::close(fd);
    if (error != 0)
        throw Exception("Cannot read " + file + ": " + Reason(error));
    return bytes;
}

// Writes the bytes as a new file of that name, whole or not at all: they go to a scratch file
// first, which is then linked under the name. A file that appeared meanwhile (the program and
// quorvel-import seeding at once) is kept.
void WriteNew(const std::string& file, const std::string& bytes)
{
    const std::string scratch = file + ".seed-" + std::to_string(::getpid());
    const int fd = ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0)
        throw Exception("Cannot write " + file + ": " + Reason(errno));
    int error = 0;
    for (std::size_t done = 0; done < bytes.size() && error == 0;) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR)
            error = errno;
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::link(scratch.c_str(), file.c_str()) != 0 && errno != EEXIST)
        error = errno;
    ::unlink(scratch.c_str());
    if (error != 0)
        throw Exception("Cannot write " + file + ": " + Reason(error));
}

} // namespace

DataFolders DataFolders::Beside(const std::string& programDir)
{
    const std::string dir = WithSlash(programDir);
    return DataFolders{dir, dir, dir};
}

DataFolders DataFolders::Choose(const std::string& programDir, const std::string& userDataHome, bool programDirWritable)
{
    DataFolders folders = Beside(programDir);
    // <prefix>/bin/ → <prefix>/share/quorvel/
    std::filesystem::path program(folders.programDir.substr(0, folders.programDir.size() - 1));
    const std::string installedPages = WithSlash((program.parent_path() / PagesFolder).lexically_normal().string());
    const bool ownPages = IsFile(folders.programDir + StartPage);
    if (!ownPages && program.is_absolute() && IsFile(installedPages + StartPage))
        folders.pagesDir = installedPages;
    else if (programDirWritable)
        return folders;
    if (userDataHome.empty())
        throw Exception("Cannot keep your channels: there is no home folder (set HOME or XDG_DATA_HOME)");
    folders.dataDir = WithSlash(userDataHome) + "quorvel/";
    return folders;
}

DataFolders DataFolders::For(const std::string& programDir)
{
    return Choose(programDir, UserDataHome(), ::access(programDir.c_str(), W_OK) == 0);
}

std::string DataFolders::Seeded(const std::string& fileName) const
{
    const std::string file = dataDir + fileName;
    if (!Installed() || Taken(file))
        return file;
    MakeFolder(dataDir);
    if (IsFile(pagesDir + fileName))
        WriteNew(file, ReadWhole(pagesDir + fileName));
    return file;
}

std::string UserDataHome()
{
    // The desktop's rule: a relative XDG_DATA_HOME is to be ignored.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/')
        return WithSlash(data);
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/')
        home = h;
    else if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        home = pw->pw_dir;
    return home.empty() ? std::string() : WithSlash(home) + ".local/share/";
}

} // namespace quorvel
