#include "platform/base/SystemError.h"

#include <cerrno>

namespace platform {

QString SystemErrorText(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("brak miejsca na dysku");
    case EDQUOT:
        return QStringLiteral("przekroczony przydział miejsca na dysku");
    case EFBIG:
        return QStringLiteral("plik jest zbyt duży");
    case EACCES:
    case EPERM:
        return QStringLiteral("brak uprawnień");
    case EROFS:
        return QStringLiteral("dysk jest tylko do odczytu");
    case ENOENT:
        return QStringLiteral("nie ma takiego pliku ani katalogu");
    case ENOTDIR:
        return QStringLiteral("część ścieżki nie jest katalogiem");
    case EISDIR:
        return QStringLiteral("to jest katalog");
    case EEXIST:
        return QStringLiteral("plik już istnieje");
    case ENAMETOOLONG:
        return QStringLiteral("nazwa jest zbyt długa");
    case ELOOP:
        return QStringLiteral("ścieżka prowadzi przez dowiązanie");
    case EIO:
        return QStringLiteral("błąd odczytu lub zapisu urządzenia");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("zbyt wiele otwartych plików");
    case ENOMEM:
        return QStringLiteral("brak pamięci");
    case EXDEV:
        return QStringLiteral("plik tymczasowy leży na innym dysku");
    default:
        return QStringLiteral("błąd systemu nr %1").arg(error);
    }
}

} // namespace platform
