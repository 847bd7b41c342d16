#include "ui/Pomoc.h"

#include "platform/base/KatalogProgramu.h"
#include "ui/ErrorBox.h"

#include <QDesktopServices>
#include <QFileInfo>

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
    // The desktop's opener starts a browser even for a missing file and shows nothing then.
    const QUrl adres = AdresPomocy();
    return QFileInfo(adres.toLocalFile()).isFile() && QDesktopServices::openUrl(adres);
}

void PokazPomoc()
{
    if (!OtworzPomoc())
        ShowErrorBox(QStringLiteral("Nie można otworzyć pomocy: ") + AdresPomocy().toLocalFile());
}
