#include "library/Biblioteka.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kRozszerzenie = QStringLiteral(".wyd");

} // namespace

QString LiniaListy(const QString &nazwa, const QDateTime &czas)
{
    return nazwa + QLatin1Char('\t') + czas.toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

QString NazwaZLinii(const QString &linia)
{
    const qsizetype tab = linia.indexOf(QLatin1Char('\t'));
    return tab < 0 ? linia : linia.left(tab);
}

int TabStopDaty(int szerokoscListy, int sredniaSzerokoscZnaku)
{
    if (sredniaSzerokoscZnaku <= 0)
        return 0;
    return ((szerokoscListy - 180) * 4) / (2 * sredniaSzerokoscZnaku);
}

bool NazwaDozwolona(const QString &nazwa)
{
    if (nazwa.trimmed().isEmpty())
        return false;
    for (const QChar c : nazwa)
        if (kZnakiZakazane.contains(c))
            return false;
    return true;
}

QString PlikWydruku(const QString &katalog, const QString &nazwa)
{
    const QString dokladnie = katalog + nazwa + kRozszerzenie;
    if (QFileInfo::exists(dokladnie))
        return dokladnie;
    const QDir dir(katalog);
    const QStringList wpisy = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &wpis : wpisy) {
        if (wpis.size() == nazwa.size() + kRozszerzenie.size() && wpis.startsWith(nazwa)
            && wpis.endsWith(kRozszerzenie, Qt::CaseInsensitive))
            return katalog + wpis;
    }
    return dokladnie;
}

bool NazwaZajeta(const QString &katalog, const QString &nazwa, const QString &stary)
{
    const QString cel = nazwa + kRozszerzenie;
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
