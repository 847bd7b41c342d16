#include "ui/Pomoc.h"

#include "platform/KatalogProgramu.h"

#include <QDesktopServices>

QUrl AdresPomocy()
{
    return QUrl::fromLocalFile(KatalogProgramu() + QStringLiteral("pomoc.html"));
}

QString PodpowiedzPomocy()
{
    return QStringLiteral("F1 - ") + AdresPomocy().toString();
}

bool OtworzPomoc()
{
    return QDesktopServices::openUrl(AdresPomocy());
}
