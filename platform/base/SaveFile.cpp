#include "platform/base/SaveFile.h"

#include "platform/base/NativePath.h"
#include "platform/base/SystemError.h"

#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

SaveFile::SaveFile(const QString &target) : target_(target) {}

SaveFile::~SaveFile()
{
    Drop();
}

bool SaveFile::open(OpenMode mode)
{
    if (isOpen() || (mode & ReadOnly) || !(mode & WriteOnly)) {
        Fail(EINVAL);
        return false;
    }
    failed_ = false;
    cause_.clear();
    std::filesystem::path target = NativePath(QFileInfo(target_).absoluteFilePath());
    // A link the user keeps in place of the file stays a link: the file it names is replaced.
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
        if (!error)
            target = std::move(resolved);
    }
    final_ = target;
    const int fd = CreateUniqueFile(target.parent_path(), "wenoglad-", ".tmp", temp_);
    if (fd < 0) {
        Fail(errno);
        return false;
    }
    // As the file would be if written in place: an existing one keeps its rights, a new one gets
    // what the user's mask allows.
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    // Unbuffered: every write reaches writeData, whose result is the system's.
    if (!QFile::open(fd, WriteOnly | Unbuffered, AutoCloseHandle)) {
        ::close(fd);
        Fail(EIO);
        Drop();
        return false;
    }
    return true;
}

qint64 SaveFile::writeData(const char *data, qint64 len)
{
    if (failed_)
        return -1;
    if (!WriteAll(handle(), data, size_t(len))) {
        Fail(errno);
        return -1;
    }
    return len;
}

bool SaveFile::commit()
{
    if (!isOpen() || temp_.empty()) {
        if (!failed_)
            Fail(EINVAL);
        Drop();
        return false;
    }
    // The data reach the disk before the name does, and a disk that fails to take them (a full
    // one whose blocks are given out only now) fails the save.
    if (!failed_ && ::fsync(handle()) != 0)
        Fail(errno);
    // The close's own answer, which a network file system may give late, taken from a copy of the
    // handle closed first.
    const int duplicate = ::dup(int(handle()));
    if (duplicate >= 0 && ::close(duplicate) != 0 && !failed_)
        Fail(errno);
    QFile::close();
    if (!failed_ && ::rename(temp_.c_str(), final_.c_str()) != 0)
        Fail(errno);
    if (failed_) {
        Drop();
        return false;
    }
    temp_.clear();
    return true;
}

QString SaveFile::ErrorText() const
{
    return QStringLiteral("Nie można zapisać pliku %1: %2")
        .arg(target_, cause_.isEmpty() ? QStringLiteral("nieznany błąd") : cause_);
}

void SaveFile::Fail(int error)
{
    if (!failed_) {
        failed_ = true;
        cause_ = SystemErrorText(error);
        setErrorString(cause_);
    }
}

void SaveFile::Drop()
{
    if (isOpen())
        QFile::close();
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

} // namespace platform
