#include "platform/base/NativePath.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::filesystem::path NativePath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString DisplayPath(const std::filesystem::path &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

namespace {

QString KindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QStringLiteral("potok nazwany");
    if (S_ISSOCK(mode))
        return QStringLiteral("gniazdo");
    if (S_ISCHR(mode))
        return QStringLiteral("urządzenie znakowe");
    if (S_ISBLK(mode))
        return QStringLiteral("urządzenie blokowe");
    return QStringLiteral("plik specjalny");
}

} // namespace

bool OpenForReading(QFile &file, const std::filesystem::path &path)
{
    // Without O_NONBLOCK the open itself waits for a writer on a pipe; the kind is then told by
    // the descriptor that is read, so the file cannot be swapped between the look and the read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw ENotARegularFile(QStringLiteral("Nie można odczytać pliku \"%1\": to nie jest zwykły plik, lecz %2.")
                                   .arg(DisplayPath(path), KindOf(st.st_mode)));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

int CreateUniqueFile(const std::filesystem::path &folder, const std::string &prefix, const std::string &suffix,
                     std::filesystem::path &createdPath)
{
    std::string pattern = (folder / (prefix + "XXXXXX" + suffix)).native();
    // mkostemps creates with O_CREAT | O_EXCL and mode 0600: an existing name, a link included,
    // is never opened.
    const int fd = ::mkostemps(pattern.data(), int(suffix.size()), O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0)
        createdPath = pattern;
    return fd;
}

bool WriteAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

bool RenameNoReplace(const std::filesystem::path &from, const std::filesystem::path &to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
    // A file system without the no-replace flag: look first, then rename.
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0 || errno != ENOENT)
        return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::filesystem::path &path)
{
    return ::unlink(path.c_str()) == 0;
}

} // namespace platform
