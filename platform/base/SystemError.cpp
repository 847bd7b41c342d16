#include "platform/base/SystemError.h"

#include <cerrno>

namespace platform {

QString SystemErrorText(int errnum)
{
    switch (errnum) {
    case ENOENT:
        return QStringLiteral("nie ma takiego pliku ani folderu");
    case EACCES:
    case EPERM:
        return QStringLiteral("brak uprawnień");
    case EISDIR:
        return QStringLiteral("to jest folder, nie plik");
    case ENOTDIR:
        return QStringLiteral("część ścieżki nie jest folderem");
    case ENOSPC:
        return QStringLiteral("brak miejsca na dysku");
    case EDQUOT:
        return QStringLiteral("przekroczony przydział miejsca na dysku");
    case EROFS:
        return QStringLiteral("dysk jest tylko do odczytu");
    case EIO:
        return QStringLiteral("błąd wejścia-wyjścia dysku");
    case ENAMETOOLONG:
        return QStringLiteral("nazwa jest za długa");
    case ELOOP:
        return QStringLiteral("zbyt wiele dowiązań symbolicznych w ścieżce");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("otwartych jest zbyt wiele plików");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("plik jest zajęty");
    case EEXIST:
        return QStringLiteral("plik już istnieje");
    case EFBIG:
        return QStringLiteral("plik jest zbyt duży");
    case ENOMEM:
        return QStringLiteral("za mało pamięci");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("urządzenie jest niedostępne");
    case EXDEV:
        return QStringLiteral("plik tymczasowy leży na innym dysku");
    default:
        return QStringLiteral("błąd systemu nr %1").arg(errnum);
    }
}

} // namespace platform
