#include "library/Dodawanie.h"

#include "core/HeaderFormat.h"
#include "core/PrintoutFile.h"
#include "library/FileVerInfo.h"
#include "library/NowyPlik.h"
#include "platform/base/ConvertError.h"
#include "platform/base/NativePath.h"

#include <QCryptographicHash>
#include <QFile>

#include <sys/stat.h>

namespace fs = std::filesystem;
using platform::DisplayPath;

namespace {

bool Istnieje(const fs::path &p)
{
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0;
}

// The extension with its dot, in capitals; "" for a name without one.
QString Rozszerzenie(const fs::path &plik)
{
    return DisplayPath(plik.filename().extension()).toUpper();
}

QString TekstPokrycia(const fs::path &cel)
{
    return QStringLiteral("Plik \"%1\" już istnieje !\rCzy na pewno chcesz go pokryć ?").arg(DisplayPath(cel));
}

void Otworz(QFile &f, const fs::path &plik)
{
    if (!platform::OpenForReading(f, plik))
        throw EFOpenError(DisplayPath(plik));
}

// The copy of an open printout into cel, whole or not at all; false when it could not be made.
bool Kopiuj(QFile &zrodlo, const fs::path &cel, const fs::path &katalog, bool zastap)
{
    try {
        TNowyPlik nowy(katalog);
        if (!zrodlo.seek(0))
            return false;
        for (;;) {
            const QByteArray kawalek = zrodlo.read(64 * 1024);
            if (kawalek.isEmpty())
                break;
            nowy.Zapisz(kawalek);
        }
        if (zrodlo.error() != QFileDevice::NoError)
            return false;
        struct stat st {};
        if (::fstat(zrodlo.handle(), &st) == 0) {
            nowy.UstawPrawa(st.st_mode & 07777);
            nowy.UstawCzas(
                QDateTime::fromMSecsSinceEpoch(qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000));
        }
        return nowy.Umiesc(cel, zastap);
    } catch (const Exception &) {
        return false;
    }
}

} // namespace

bool WBibliotece(const fs::path &plik, const fs::path &katalog)
{
    struct stat a {
    }, b{};
    return ::stat(plik.c_str(), &a) == 0 && ::stat((katalog / plik.filename()).c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool DokopiujWydruk(const fs::path &plik, const fs::path &katalog, TRozmowaDodawania &rozmowa)
{
    QFile zrodlo;
    Otworz(zrodlo, plik);
    if (!CheckHeader(zrodlo)) {
        rozmowa.PokazBlad(QStringLiteral("Błąd"),
                          QStringLiteral("Plik: \"%1\"\rnie jest wydrukiem Wenora !").arg(DisplayPath(plik)));
        return false;
    }
    const fs::path cel = katalog / plik.filename();
    if (WBibliotece(plik, katalog))
        return true;
    const bool byl = Istnieje(cel);
    if (byl && !rozmowa.PytanieTakNie(QStringLiteral("Potwierdź dokopiowanie pliku"), TekstPokrycia(cel)))
        return false;
    rozmowa.Odmaluj();
    if (Kopiuj(zrodlo, cel, katalog, byl))
        return true;
    rozmowa.PokazBlad(
        QStringLiteral("Bład !"),
        QStringLiteral("Nie udało się skopiować pliku:\r%1\rdo: %2").arg(DisplayPath(plik), DisplayPath(cel)));
    return false;
}

qint32 SprawdzPaczke(const fs::path &plik)
{
    const TFileVerInfo info(plik);
    const QString opis = info.Value(2);
    const QString tekst = info.ValueByName(QStringLiteral("Rozmiar"));
    qint32 rozmiar = 0;
    if (!tekst.isEmpty()) {
        bool ok = true;
        for (const QChar c : tekst)
            ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        rozmiar = ok ? tekst.toInt(&ok) : 0;
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' nie jest prawidłową liczbą całkowitą").arg(tekst));
    }
    if (opis != kOpisPaczki)
        throw EPaczkaError(QStringLiteral("Plik: %1\rTo nie jest paczka z wydrukami Wenora !").arg(DisplayPath(plik)));
    if (rozmiar == 0)
        throw EPaczkaError(QStringLiteral("Plik: %1\rBrak informacji o rozmiarze paczki !").arg(DisplayPath(plik)));
    return rozmiar;
}

void RozpakujPaczke(const fs::path &plik, qint64 offset, const fs::path &katalog, TRozmowaDodawania &rozmowa,
                    const std::function<void(const TWynikRekordu &)> &poRekordzie)
{
    QFile paczka;
    Otworz(paczka, plik);
    TCzytnikPaczki czytnik(paczka, offset);
    TWynikRekordu wynik;
    while (czytnik.Nastepny(wynik.Rekord)) {
        if (!NazwaRekorduDozwolona(wynik.Rekord.Nazwa))
            throw Exception(TekstNiedozwolonejNazwy(DisplayPath(plik), wynik.Rekord));
        const fs::path cel = katalog / platform::NativePath(NazwaPlikuRekordu(wynik.Rekord.Nazwa));
        const QString tytul = QStringLiteral("Potwierdź rozpakowanie pliku");
        bool zastap = Istnieje(cel);
        wynik.Zapisany = !zastap || rozmowa.PytanieTakNie(tytul, TekstPokrycia(cel));
        rozmowa.Odmaluj();
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (!wynik.Zapisany) {
            czytnik.Dane([&hash](QByteArrayView b) { hash.addData(b); });
        } else {
            // The record is complete in a file of its own before it takes the place of the old one.
            TNowyPlik nowy(katalog);
            czytnik.Dane([&](QByteArrayView b) {
                hash.addData(b);
                nowy.Zapisz(b);
            });
            if (const QDateTime czas = CzasDos(wynik.Rekord.Czas); czas.isValid())
                nowy.UstawCzas(czas);
            // The question comes back while the old file cannot be replaced.
            while (!nowy.Umiesc(cel, zastap)) {
                if (!Istnieje(cel))
                    throw EZapisError(QStringLiteral("Cannot create file ") + DisplayPath(cel));
                zastap = true;
                if (!rozmowa.PytanieTakNie(tytul, TekstPokrycia(cel))) {
                    wynik.Zapisany = false;
                    break;
                }
            }
        }
        wynik.Sha256 = hash.result();
        if (poRekordzie)
            poRekordzie(wynik);
    }
}

void ExplorerDodajPlik(const fs::path &plik, QString &opis, bool &akceptuj)
{
    opis.clear();
    akceptuj = false;
    const QString rozszerzenie = Rozszerzenie(plik);
    try {
        if (rozszerzenie == QLatin1String(".WYD")) {
            QFile f;
            Otworz(f, plik);
            akceptuj = CheckHeader(f);
        } else if (rozszerzenie == QLatin1String(".EXE")) {
            const qint32 offset = SprawdzPaczke(plik);
            std::error_code blad;
            const auto rozmiar = fs::file_size(plik, blad);
            akceptuj = !blad && std::uintmax_t(offset) < rozmiar;
        }
    } catch (const Exception &) {
        akceptuj = false;
    }
}

void DodajPliki(const std::vector<fs::path> &pliki, const fs::path &katalog, TRozmowaDodawania &rozmowa)
{
    for (const fs::path &plik : pliki) {
        rozmowa.Postep(DisplayPath(plik));
        const QString rozszerzenie = Rozszerzenie(plik);
        if (rozszerzenie == QLatin1String(".WYD")) {
            DokopiujWydruk(plik, katalog, rozmowa);
        } else if (rozszerzenie == QLatin1String(".EXE")) {
            try {
                RozpakujPaczke(plik, SprawdzPaczke(plik), katalog, rozmowa);
            } catch (const Exception &e) {
                rozmowa.PokazBladAplikacji(e.Message());
            }
        }
    }
}
