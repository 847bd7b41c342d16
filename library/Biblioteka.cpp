#include "library/Biblioteka.h"

#include "platform/base/Defaults.h"
#include <QDir>
#include <QFileInfo>

QString LiniaListy(const QString &nazwa, const QDateTime &czas)
{
    return nazwa + QLatin1Char('\t') + czas.toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

int TabStopDaty(int szerokoscListy, int sredniaSzerokoscZnaku)
{
    if (sredniaSzerokoscZnaku <= 0)
        return 0;
    return ((szerokoscListy - 180) * 4) / (2 * sredniaSzerokoscZnaku);
}

QString BladNazwy(const QString &nazwa)
{
    if (nazwa.trimmed().isEmpty())
        return kTekstPustejNazwy;
    for (const QChar c : nazwa)
        if (kZnakiZakazane.contains(c))
            return kTekstBlednejNazwy;
    if (nazwa.startsWith(QLatin1Char('.')))
        return kTekstNazwyZKropka;
    return QString();
}

bool NazwaZajeta(const QString &katalog, const QString &nazwa, const QString &stary)
{
    const QString cel = nazwa + defaults::PrintoutExtension();
    const QString staryPlik = QFileInfo(stary).fileName();
    const QDir dir(katalog);
    const QStringList wpisy = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &wpis : wpisy) {
        // Only the file being renamed may match, so that a change of case alone stays possible.
        if (wpis.compare(cel, Qt::CaseInsensitive) == 0 && wpis != staryPlik)
            return true;
    }
    return false;
}

QString TekstBleduZmianyNazwy(const QString &staraSciezka, const QString &nowaSciezka)
{
    return QStringLiteral("Wystąpił błąd zmiany nazwy pliku\rz \"%1\"\rna \"%2\".").arg(staraSciezka, nowaSciezka);
}

QString TekstUsuniecia(const QString &sciezka)
{
    return QStringLiteral("Czy na pewno chcesz usunąć plik\r") + sciezka + QStringLiteral(" ?");
}
