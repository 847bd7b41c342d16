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
    // Whole seconds rounded down, so a time before 1970 keeps its milliseconds positive.
    const qint64 ms = czas.toMSecsSinceEpoch();
    const qint64 s = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    const timespec t[2] = {{s, (ms - s * 1000) * 1000000}, {s, (ms - s * 1000) * 1000000}};
    if (::futimens(fd_, t) != 0)
        throw EZapisError(QStringLiteral("Nie można ustawić czasu pliku w katalogu %1: %2")
                              .arg(platform::DisplayPath(katalog_), platform::SystemErrorText(errno)));
}

void TNowyPlik::UstawPrawa(mode_t prawa)
{
    if (::fchmod(fd_, prawa) != 0)
        throw EZapisError(QStringLiteral("Nie można ustawić praw pliku w katalogu %1: %2")
                              .arg(platform::DisplayPath(katalog_), platform::SystemErrorText(errno)));
}

bool TNowyPlik::Umiesc(const std::filesystem::path &cel, bool zastap)
{
    // The data reach the disk before the name does, so a crash leaves the old file or the new one.
    if (::fdatasync(fd_) != 0 && errno != EINVAL)
        throw EZapisError(QStringLiteral("Nie można zapisać pliku %1: %2")
                              .arg(platform::DisplayPath(cel), platform::SystemErrorText(errno)));
    umieszczony_ = zastap ? ::rename(sciezka_.c_str(), cel.c_str()) == 0 : platform::RenameNoReplace(sciezka_, cel);
    if (umieszczony_)
        return true;
    const int blad = errno;
    struct stat st {};
    if (::lstat(cel.c_str(), &st) == 0)
        return false;
    throw EZapisError(QStringLiteral("Nie można utworzyć pliku \"%1\": %2")
                          .arg(platform::DisplayPath(cel), platform::SystemErrorText(blad)));
}
