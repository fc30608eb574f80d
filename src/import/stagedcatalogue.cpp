#include "import/stagedcatalogue.h"

#include "base/exception.h"
#include "base/readtoend.h"
#include "import/faultpoint.h"

#include <QCryptographicHash>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {
namespace {

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void Unwritable(const std::string& catalogue, int error)
{
    throw EIniFileException("Unable to write to " + catalogue + ": " + std::strerror(error));
}

// The rename is durable only once the folder that holds it is synced.
int SyncFolder(const std::string& file)
{
    const int fd = ::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // A file system that cannot sync a folder (EINVAL) has made the rename as durable as it can.
    return error == EINVAL ? 0 : error;
}

void Rename(const std::string& staged, const std::string& target, const std::string& catalogue)
{
    if (::rename(staged.c_str(), target.c_str()) != 0)
        Unwritable(catalogue, errno);
    FaultPoint();
    if (const int error = SyncFolder(target))
        Unwritable(catalogue, error);
    FaultPoint();
}

} // namespace

std::string StagedCatalogue::TargetOf(const std::string& catalogueFile)
{
    const QFileInfo info(QString::fromStdString(catalogueFile));
    if (!info.isSymLink())
        return info.absoluteFilePath().toStdString();
    // A link to a file not there yet still names where the catalogue goes.
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? info.symLinkTarget() : canonical).toStdString();
}

std::string StagedCatalogue::StagedFileOf(const std::string& catalogueFile)
{
    const std::string target = TargetOf(catalogueFile);
    const auto slash = target.rfind('/');
    return target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".staged";
}

std::string StagedCatalogue::ChecksumOf(const std::string& bytes)
{
    return QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

std::string StagedCatalogue::ChecksumOfFile(const std::string& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const int error = ReadToEnd(fd, [&hash](const char* data, std::size_t size) {
        hash.addData(QByteArrayView(data, static_cast<qsizetype>(size)));
        return true;
    });
    ::close(fd);
    return error == 0 ? hash.result().toHex().toStdString() : std::string();
}

StagedCatalogue::StagedCatalogue(const std::string& catalogueFile)
    : catalogue_(catalogueFile), target_(TargetOf(catalogueFile)), staged_(StagedFileOf(catalogueFile))
{
}

StagedCatalogue::~StagedCatalogue()
{
    if (written_ && !committed_ && !installed_)
        ::unlink(staged_.c_str());
}

void StagedCatalogue::Write(const std::string& bytes)
{
    // The catalogue keeps its permissions; a new one gets the usual ones for the user's files.
    struct stat st;
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    ::unlink(staged_.c_str());
    const int fd = ::open(staged_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        Unwritable(catalogue_, errno);
    written_ = true;
    // The fault tests cut the write between pieces; otherwise a piece is as large as a write
    // can usefully be.
    const std::size_t piece = FaultsCounted() ? 1024 : (std::size_t(1) << 24);
    int error = 0;
    std::size_t done = 0;
    while (error == 0 && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, std::min(piece, bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            error = n < 0 ? errno : EIO;
        else
            done += static_cast<std::size_t>(n);
        FaultPoint();
    }
    if (error == 0 && exists && ::fchmod(fd, st.st_mode & 07777) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    // Its name too must survive a power cut before the database may name it.
    if (error == 0)
        error = SyncFolder(staged_);
    if (error != 0) {
        ::unlink(staged_.c_str());
        written_ = false;
        Unwritable(catalogue_, error);
    }
    FaultPoint();
    checksum_ = ChecksumOf(bytes);
}

void StagedCatalogue::Install()
{
    Rename(staged_, target_, catalogue_);
    installed_ = true;
}

void StagedCatalogue::InstallFile(const std::string& catalogueFile)
{
    Rename(StagedFileOf(catalogueFile), TargetOf(catalogueFile), catalogueFile);
}

} // namespace quorvel
