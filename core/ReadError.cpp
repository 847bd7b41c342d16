#include "core/ReadError.h"

EReadFileError EReadFileError::Marker(int expected)
{
    return EReadFileError(QStringLiteral("Błąd czytania z pliku [%1]").arg(expected));
}

EReadFileError EReadFileError::UnknownVersion(int version)
{
    return EReadFileError(QStringLiteral("Błąd odczytu - nieznana wersja pliku [%1]").arg(version));
}

EReadFileError EReadFileError::BadResolution(qint32 resolution)
{
    return EReadFileError(QStringLiteral("Błąd odczytu - nieprawidłowa rozdzielczość pliku [%1]").arg(resolution));
}
