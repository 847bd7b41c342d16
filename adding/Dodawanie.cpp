#include "adding/Dodawanie.h"

#include "core/HeaderFormat.h"
#include "core/PrintoutFile.h"
#include "platform/base/ConvertError.h"
#include "platform/base/Defaults.h"
#include "platform/base/NativePath.h"
#include "platform/files/NowyPlik.h"
#include "platform/versioninfo/FileVerInfo.h"

#include <QCryptographicHash>
#include <QFile>
#include <QStringDecoder>

#include <optional>

#include <sys/stat.h>

namespace fs = std::filesystem;
using platform::DisplayPath;

namespace {

bool Istnieje(const fs::path &p)
{
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0;
}

// A name decoded for comparing; nothing when its bytes are not UTF-8, since two such names would
// both decode to the same replacement characters.
std::optional<QString> Tekst(const std::string &bajty)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString tekst = utf8(QByteArrayView(bajty.data(), qsizetype(bajty.size())));
    if (utf8.hasError())
        return std::nullopt;
    return tekst;
}

// Where a file named nazwa goes in katalog. The library's printouts came from a host whose file
// system ignores case, so an entry whose name differs only in case is that printout: the file goes
// in its place, under its name. The entry of exactly that name wins over the others.
fs::path Cel(const fs::path &katalog, const fs::path &nazwa)
{
    const fs::path dokladny = katalog / nazwa;
    if (Istnieje(dokladny))
        return dokladny;
    const std::optional<QString> szukany = Tekst(nazwa.native());
    if (!szukany)
        return dokladny;
    std::error_code blad;
    std::optional<fs::path> znaleziony;
    for (fs::directory_iterator it(katalog, blad), koniec; !blad && it != koniec; it.increment(blad)) {
        const fs::path wpis = it->path().filename();
        const std::optional<QString> tekst = Tekst(wpis.native());
        if (tekst && tekst->compare(*szukany, Qt::CaseInsensitive) == 0 && (!znaleziony || wpis < *znaleziony))
            znaleziony = wpis;
    }
    return znaleziony ? katalog / *znaleziony : dokladny;
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
        throw EFOpenError(DisplayPath(plik), plik);
}

// Copies an open printout into cel, whole or not at all, with the source's time and rights; false
// when cel is there and stays as it was. EStreamError or EZapisError when the copy cannot be made.
bool Kopiuj(QFile &zrodlo, const fs::path &plik, const fs::path &cel, const fs::path &katalog, bool zastap)
{
    const auto bladOdczytu = [&plik] {
        return EStreamError(QStringLiteral("Nie można odczytać pliku \"%1\"").arg(DisplayPath(plik)));
    };
    TNowyPlik nowy(katalog);
    if (!zrodlo.seek(0))
        throw bladOdczytu();
    for (;;) {
        const QByteArray kawalek = zrodlo.read(64 * 1024);
        if (kawalek.isEmpty())
            break;
        nowy.Zapisz(kawalek);
    }
    struct stat st {};
    if (zrodlo.error() != QFileDevice::NoError || ::fstat(zrodlo.handle(), &st) != 0)
        throw bladOdczytu();
    nowy.UstawPrawa(st.st_mode & 07777);
    nowy.UstawCzas(QDateTime::fromMSecsSinceEpoch(qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000));
    return nowy.Umiesc(cel, zastap);
}

} // namespace

bool WBibliotece(const fs::path &plik, const fs::path &katalog)
{
    struct stat a {
    }, b{};
    return ::stat(plik.c_str(), &a) == 0 && ::stat(Cel(katalog, plik.filename()).c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool DokopiujWydruk(const fs::path &plik, const fs::path &katalog, TRozmowaDodawania &rozmowa)
{
    QFile zrodlo;
    Otworz(zrodlo, plik);
    bool wydruk = false;
    try {
        wydruk = CheckHeader(zrodlo);
    } catch (const EStreamError &e) {
        throw ENieczytelnyWydruk(OpisBleduWydruku(DisplayPath(plik), zrodlo, e));
    }
    if (!wydruk) {
        rozmowa.PokazBlad(QStringLiteral("Błąd"),
                          QStringLiteral("Plik: \"%1\"\rnie jest wydrukiem Wenora !").arg(DisplayPath(plik)));
        return false;
    }
    const fs::path cel = Cel(katalog, plik.filename());
    if (WBibliotece(plik, katalog))
        return true;
    const bool byl = Istnieje(cel);
    if (byl && !rozmowa.PytanieTakNie(QStringLiteral("Potwierdź dokopiowanie pliku"), TekstPokrycia(cel)))
        return false;
    rozmowa.Odmaluj();
    try {
        if (Kopiuj(zrodlo, plik, cel, katalog, byl))
            return true;
    } catch (const Exception &) {
        // Every failed copy is told by the one message below, which names both files; the old
        // file stays as it was and no part of the new one is left.
    }
    rozmowa.PokazBlad(
        QStringLiteral("Bład !"),
        QStringLiteral("Nie udało się skopiować pliku:\r%1\rdo: %2").arg(DisplayPath(plik), DisplayPath(cel)));
    return false;
}

qint32 SprawdzPaczke(const fs::path &plik)
{
    const TFileVerInfo info(plik);
    const QString opis = info.Value(TFileVerInfo::Key::FileDescription);
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
    // Records that would begin at or past the end are none: the program part alone, or a package
    // cut short, which the chooser does not offer either.
    std::error_code blad;
    const std::uintmax_t dlugosc = fs::file_size(plik, blad);
    if (blad || std::uintmax_t(rozmiar) >= dlugosc)
        throw EPaczkaError(
            QStringLiteral("Plik: %1\rPaczka jest niepełna: jej wydruki miały się zaczynać za końcem pliku !")
                .arg(DisplayPath(plik)));
    return rozmiar;
}

void RozpakujPaczke(const fs::path &plik, qint64 offset, const fs::path &katalog, TRozmowaDodawania &rozmowa,
                    const std::function<void(const TWynikRekordu &)> &poRekordzie)
{
    QFile paczka;
    Otworz(paczka, plik);
    TCzytnikPaczki czytnik(paczka, offset, DisplayPath(plik));
    TWynikRekordu wynik;
    while (czytnik.Nastepny(wynik.Rekord)) {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        wynik.NazwaDozwolona = NazwaRekorduDozwolona(wynik.Rekord.Nazwa);
        if (!wynik.NazwaDozwolona) {
            // Only this record is lost: its data is passed over and the next one read.
            rozmowa.PokazBladAplikacji(TekstNiedozwolonejNazwy(DisplayPath(plik), wynik.Rekord));
            wynik.Plik.clear();
            wynik.Zapisany = false;
            czytnik.Dane([&hash](QByteArrayView b) { hash.addData(b); });
            wynik.Sha256 = hash.result();
            if (poRekordzie)
                poRekordzie(wynik);
            continue;
        }
        const fs::path cel = Cel(katalog, platform::NativePath(NazwaPlikuRekordu(wynik.Rekord.Nazwa)));
        wynik.Plik = cel;
        const QString tytul = QStringLiteral("Potwierdź rozpakowanie pliku");
        bool zastap = Istnieje(cel);
        wynik.Zapisany = !zastap || rozmowa.PytanieTakNie(tytul, TekstPokrycia(cel));
        rozmowa.Odmaluj();
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
        if (rozszerzenie == defaults::PrintoutExtensionUpper()) {
            QFile f;
            Otworz(f, plik);
            akceptuj = CheckHeader(f);
        } else if (rozszerzenie == QLatin1String(".EXE")) {
            SprawdzPaczke(plik);
            akceptuj = true;
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
        if (rozszerzenie == defaults::PrintoutExtensionUpper()) {
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
