#include "library/NowyPlik.h"

#include "platform/base/Exception.h"
#include "platform/base/NativePath.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TNowyPlik::TNowyPlik(const std::filesystem::path &katalog)
{
    std::string wzor = (katalog / "wenoglad-XXXXXX.tmp").native();
    fd_ = ::mkostemps(wzor.data(), 4, O_CLOEXEC);
    if (fd_ < 0)
        throw EZapisError(QStringLiteral("Cannot create file ") + platform::DisplayPath(katalog));
    sciezka_ = wzor;
    // As a file newly created by the program would be.
    const mode_t maska = ::umask(0);
    ::umask(maska);
    ::fchmod(fd_, 0666 & ~maska);
}

TNowyPlik::~TNowyPlik()
{
    ::close(fd_);
    if (!umieszczony_)
        ::unlink(sciezka_.c_str());
}

void TNowyPlik::Zapisz(QByteArrayView bajty)
{
    const char *p = bajty.data();
    qsizetype zostalo = bajty.size();
    while (zostalo > 0) {
        const ssize_t n = ::write(fd_, p, static_cast<size_t>(zostalo));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw EZapisError(QStringLiteral("Stream write error"));
        p += n;
        zostalo -= n;
    }
}

void TNowyPlik::UstawCzas(const QDateTime &czas)
{
    const qint64 ms = czas.toMSecsSinceEpoch();
    const timespec t[2] = {{ms / 1000, (ms % 1000) * 1000000}, {ms / 1000, (ms % 1000) * 1000000}};
    ::futimens(fd_, t);
}

void TNowyPlik::UstawPrawa(mode_t prawa)
{
    ::fchmod(fd_, prawa);
}

bool TNowyPlik::Umiesc(const std::filesystem::path &cel, bool zastap)
{
    // The data reach the disk before the name does, so a crash leaves the old file or the new one.
    if (::fdatasync(fd_) != 0 && errno != EINVAL)
        return false;
    const bool ok = zastap ? ::rename(sciezka_.c_str(), cel.c_str()) == 0 : platform::RenameNoReplace(sciezka_, cel);
    umieszczony_ = ok;
    return ok;
}
