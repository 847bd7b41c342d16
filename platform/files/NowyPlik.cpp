#include "platform/files/NowyPlik.h"

#include "platform/base/Exception.h"
#include "platform/base/NativePath.h"
#include "platform/base/SystemError.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TNowyPlik::TNowyPlik(const std::filesystem::path &katalog) : katalog_(katalog)
{
    fd_ = platform::CreateUniqueFile(katalog, "wenoglad-", ".tmp", sciezka_);
    if (fd_ < 0)
        throw EZapisError(QStringLiteral("Nie można utworzyć pliku w katalogu %1: %2")
                              .arg(platform::DisplayPath(katalog), platform::SystemErrorText(errno)));
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
    if (!platform::WriteAll(fd_, bajty.data(), size_t(bajty.size())))
        throw EZapisError(QStringLiteral("Nie można zapisać pliku w katalogu %1: %2")
                              .arg(platform::DisplayPath(katalog_), platform::SystemErrorText(errno)));
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
        throw EZapisError(QStringLiteral("Nie można zapisać pliku %1: %2")
                              .arg(platform::DisplayPath(cel), platform::SystemErrorText(errno)));
    const bool ok = zastap ? ::rename(sciezka_.c_str(), cel.c_str()) == 0 : platform::RenameNoReplace(sciezka_, cel);
    umieszczony_ = ok;
    return ok;
}
