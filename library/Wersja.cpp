#include "library/Wersja.h"

QString WersjaZTekstu(const QString &fileVersion)
{
    return fileVersion.left(5);
}

QString WersjaProgramu()
{
    return WersjaZTekstu(QStringLiteral(WENOGLAD_VERSION));
}
