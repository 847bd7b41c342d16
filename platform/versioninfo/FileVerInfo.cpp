#include "platform/versioninfo/FileVerInfo.h"

#include "platform/base/NativePath.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <functional>
#include <optional>

const char *const TFileVerInfo::kNazwy[kKeyCount] = {"CompanyName",     "Comments",        "FileDescription",
                                                     "FileVersion",     "InternalName",    "LegalCopyright",
                                                     "LegalTrademarks", "OriginalFilename"};

namespace {

// The bytes of the file by offset: a short answer means the range is not in the file.
struct TZrodlo {
    qint64 rozmiar = 0;
    std::function<QByteArray(qint64, qint64)> czytaj;

    std::optional<QByteArray> Zakres(qint64 od, qint64 ile) const
    {
        if (od < 0 || ile < 0 || od > rozmiar || ile > rozmiar - od)
            return std::nullopt;
        QByteArray b = czytaj(od, ile);
        if (b.size() != ile)
            return std::nullopt;
        return b;
    }
};

quint16 U16(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 U32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

// The file offset of the resource section, found from the PE headers; nullopt when the file is no
// executable with resources.
struct TZasoby {
    qint64 poczatek = 0; // file offset of the resource directory
    quint32 rva = 0;     // its address in memory, which data entries count from
    qint64 rozmiar = 0;  // bytes of the section from the directory on, as far as the file holds them
    struct Sekcja {
        quint32 va, wielkosc, surowe, wskaznik;
    };
    std::vector<Sekcja> sekcje;

    // The file offset of an address in memory, with how many bytes of its section follow it.
    std::optional<std::pair<qint64, qint64>> Offset(quint32 adres) const
    {
        for (const Sekcja &s : sekcje) {
            const quint64 koniec = quint64{s.va} + std::max(s.wielkosc, s.surowe);
            if (adres >= s.va && adres < koniec && adres - s.va < s.surowe)
                return std::pair<qint64, qint64>{qint64{s.wskaznik} + (adres - s.va),
                                                 qint64{s.surowe} - (adres - s.va)};
        }
        return std::nullopt;
    }
};

std::optional<TZasoby> ZnajdzZasoby(const TZrodlo &plik)
{
    const auto dos = plik.Zakres(0, 64);
    if (!dos || U16(*dos, 0) != 0x5A4D) // "MZ"
        return std::nullopt;
    const qint64 pe = U32(*dos, 0x3C);
    const auto naglowek = plik.Zakres(pe, 24);
    if (!naglowek || U32(*naglowek, 0) != 0x00004550) // "PE\0\0"
        return std::nullopt;
    const int ileSekcji = U16(*naglowek, 6);
    const int opcjonalny = U16(*naglowek, 20);
    const auto opc = plik.Zakres(pe + 24, opcjonalny);
    if (!opc || opcjonalny < 2)
        return std::nullopt;
    // The data directories follow the fields that differ between 32 and 64 bits.
    const quint16 magic = U16(*opc, 0);
    const int katalogi = magic == 0x20B ? 112 : magic == 0x10B ? 96 : -1;
    if (katalogi < 0 || opcjonalny < katalogi || U32(*opc, katalogi - 4) < 3 || opcjonalny < katalogi + 3 * 8)
        return std::nullopt;
    TZasoby z;
    z.rva = U32(*opc, katalogi + 2 * 8);
    if (z.rva == 0 || U32(*opc, katalogi + 2 * 8 + 4) == 0)
        return std::nullopt;
    const auto tabela = plik.Zakres(pe + 24 + opcjonalny, qint64{ileSekcji} * 40);
    if (!tabela)
        return std::nullopt;
    for (int i = 0; i < ileSekcji; ++i)
        z.sekcje.push_back({U32(*tabela, i * 40 + 12), U32(*tabela, i * 40 + 8), U32(*tabela, i * 40 + 16),
                            U32(*tabela, i * 40 + 20)});
    const auto gdzie = z.Offset(z.rva);
    if (!gdzie)
        return std::nullopt;
    z.poczatek = gdzie->first;
    z.rozmiar = std::min(gdzie->second, plik.rozmiar - std::min(plik.rozmiar, z.poczatek));
    return z;
}

// One level of the resource tree: the entry with the wanted id, or the first entry when id is
// negative. Answers its offset field (a subdirectory when the high bit is set).
std::optional<quint32> Wpis(const TZrodlo &plik, const TZasoby &z, quint32 katalog, int id)
{
    if (katalog > z.rozmiar - 16 || z.rozmiar < 16)
        return std::nullopt;
    const auto glowa = plik.Zakres(z.poczatek + katalog, 16);
    if (!glowa)
        return std::nullopt;
    const qint64 nazwane = U16(*glowa, 12), liczbowe = U16(*glowa, 14);
    const qint64 ile = nazwane + liczbowe;
    if (ile == 0 || (katalog + 16 + ile * 8) > z.rozmiar)
        return std::nullopt;
    const auto wpisy = plik.Zakres(z.poczatek + katalog + 16, ile * 8);
    if (!wpisy)
        return std::nullopt;
    if (id < 0)
        return U32(*wpisy, 4);
    // Named entries come first; ids follow.
    for (qint64 i = nazwane; i < ile; ++i)
        if (U32(*wpisy, i * 8) == quint32(id))
            return U32(*wpisy, i * 8 + 4);
    return std::nullopt;
}

// The bytes of the version resource: nullopt when there is none, an empty array when it is there
// but its data lie outside the file.
std::optional<QByteArray> DaneWersji(const TZrodlo &plik)
{
    const auto z = ZnajdzZasoby(plik);
    if (!z)
        return std::nullopt;
    constexpr quint32 kKatalog = 0x80000000u;
    // Type 16 (version), then the first name and the first language: each a subdirectory.
    auto wpis = Wpis(plik, *z, 0, 16);
    for (int poziom = 0; poziom < 2 && wpis; ++poziom)
        wpis = (*wpis & kKatalog) ? Wpis(plik, *z, *wpis & ~kKatalog, -1) : std::nullopt;
    if (!wpis || (*wpis & kKatalog) || *wpis > z->rozmiar - 16 || z->rozmiar < 16)
        return std::nullopt;
    const auto dane = plik.Zakres(z->poczatek + *wpis, 16);
    if (!dane)
        return std::nullopt;
    const quint32 rva = U32(*dane, 0), rozmiar = U32(*dane, 4);
    if (rozmiar == 0)
        return std::nullopt;
    const auto gdzie = z->Offset(rva);
    // A version block holds at most 64 KB (its length is 16 bits); more is never looked at.
    const qint64 ile = std::min<qint64>(rozmiar, 65536);
    if (!gdzie || gdzie->second < ile)
        return QByteArray();
    return plik.Zakres(gdzie->first, ile).value_or(QByteArray());
}

// One node of the version tree: its key, where its value starts and where the node ends, all as
// offsets into the resource. Children follow the value, each aligned to 4 bytes.
struct TWezel {
    QString klucz;
    qsizetype wartosc = 0;
    qsizetype koniec = 0;
    quint16 dlugoscWartosci = 0;
};

qsizetype Wyrownaj(qsizetype at)
{
    return (at + 3) & ~qsizetype{3};
}

// The node at `at` within a parent ending at `granica`; nullopt ends the parent's list (a length
// of 0, a node too short for its header, or one that would run past its parent).
std::optional<TWezel> Wezel(const QByteArray &b, qsizetype at, qsizetype granica)
{
    if (at + 6 > granica)
        return std::nullopt;
    const quint16 dlugosc = U16(b, at);
    if (dlugosc < 6 || at + dlugosc > granica)
        return std::nullopt;
    TWezel w;
    w.koniec = at + dlugosc;
    w.dlugoscWartosci = U16(b, at + 2);
    qsizetype p = at + 6;
    while (p + 2 <= w.koniec && U16(b, p) != 0) {
        w.klucz += QChar(U16(b, p));
        p += 2;
    }
    w.wartosc = std::min(Wyrownaj(p + 2), w.koniec);
    return w;
}

// Text from `od` to `do_`, stopping at the first NUL; the declared value length is not trusted.
QString Tekst(const QByteArray &b, qsizetype od, qsizetype do_)
{
    QString t;
    for (qsizetype p = od; p + 2 <= do_ && U16(b, p) != 0; p += 2)
        t += QChar(U16(b, p));
    return t;
}

template <typename F> void Dzieci(const QByteArray &b, qsizetype od, qsizetype granica, F &&f)
{
    qsizetype at = Wyrownaj(od);
    while (const std::optional<TWezel> w = Wezel(b, at, granica)) {
        f(*w);
        at = Wyrownaj(w->koniec);
    }
}

TZrodlo ZBajtow(QByteArrayView bytes)
{
    return {bytes.size(), [bytes](qint64 od, qint64 ile) { return bytes.sliced(od, ile).toByteArray(); }};
}

} // namespace

TFileVerInfo::TFileVerInfo(const QString &fileName) : TFileVerInfo(platform::NativePath(fileName)) {}

TFileVerInfo::TFileVerInfo(const std::filesystem::path &file)
{
    const QString fileName = platform::DisplayPath(file);
    QFile plik;
    if (!platform::OpenForReading(plik, file))
        throw EFileVerInfoError(kBrakWersji + QStringLiteral("\r(plik: %1)").arg(fileName));
    const TZrodlo zrodlo{plik.size(), [&plik](qint64 od, qint64 ile) {
                             QByteArray b;
                             if (plik.seek(od))
                                 b = plik.read(ile);
                             return b;
                         }};
    const auto dane = DaneWersji(zrodlo);
    if (!dane)
        throw EFileVerInfoError(kBrakWersji + QStringLiteral("\r(plik: %1)").arg(fileName));
    Czytaj(*dane, fileName);
}

TFileVerInfo::TFileVerInfo(QByteArrayView bytes, const QString &fileName)
{
    const auto dane = DaneWersji(ZBajtow(bytes));
    if (!dane)
        throw EFileVerInfoError(kBrakWersji + QStringLiteral("\r(plik: %1)").arg(fileName));
    Czytaj(*dane, fileName);
}

void TFileVerInfo::Czytaj(QByteArrayView bytes, const QString &fileName)
{
    const QByteArray b = bytes.toByteArray();
    const auto korzen = Wezel(b, 0, b.size());
    if (!korzen || korzen->klucz != QLatin1String("VS_VERSION_INFO"))
        throw EFileVerInfoError(kBladOdczytuWersji + QStringLiteral("\r(plik: %1)").arg(fileName));
    // The fixed part is recognised by its signature; its declared length only when that is absent.
    qsizetype dzieci = korzen->wartosc;
    if (dzieci + 4 <= korzen->koniec && U32(b, dzieci) == 0xFEEF04BDu)
        dzieci += 52;
    else
        dzieci += korzen->dlugoscWartosci;
    bool jestTlumaczenie = false;
    Dzieci(b, dzieci, korzen->koniec, [&](const TWezel &blok) {
        if (blok.klucz == QLatin1String("StringFileInfo")) {
            Dzieci(b, blok.wartosc, blok.koniec, [&](const TWezel &tablica) {
                TTablicaNapisow t{tablica.klucz, {}};
                Dzieci(b, tablica.wartosc, tablica.koniec, [&](const TWezel &napis) {
                    t.Napisy.emplace_back(napis.klucz, Tekst(b, napis.wartosc, napis.koniec));
                });
                tablice_.push_back(std::move(t));
            });
        } else if (blok.klucz == QLatin1String("VarFileInfo")) {
            Dzieci(b, blok.wartosc, blok.koniec, [&](const TWezel &var) {
                if (jestTlumaczenie || var.klucz != QLatin1String("Translation") || var.koniec - var.wartosc < 4)
                    return;
                jezyk_ = U16(b, var.wartosc);
                stronaKodowa_ = U16(b, var.wartosc + 2);
                jestTlumaczenie = true;
            });
        }
    });
    if (!jestTlumaczenie)
        throw EFileVerInfoError(kBrakWersjiJezykowej + QStringLiteral("\r(plik: %1)").arg(fileName));
}

QString TFileVerInfo::Tlumaczenie() const
{
    return QStringLiteral("%1%2").arg(jezyk_, 4, 16, QLatin1Char('0')).arg(stronaKodowa_, 4, 16, QLatin1Char('0'));
}

QString TFileVerInfo::Value(Key key) const
{
    const int index = int(key);
    if (index < 0 || index >= kKeyCount)
        return {};
    return ValueByName(QLatin1String(kNazwy[index]));
}

const TTablicaNapisow *TFileVerInfo::Tablica() const
{
    // Keys are looked up as the system's query does: without regard to case.
    const QString klucz = Tlumaczenie();
    for (const TTablicaNapisow &t : tablice_)
        if (t.Klucz.compare(klucz, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString TFileVerInfo::ValueByName(const QString &name) const
{
    if (const TTablicaNapisow *t = Tablica())
        for (const auto &[nazwa, wartosc] : t->Napisy)
            if (nazwa.compare(name, Qt::CaseInsensitive) == 0)
                return wartosc;
    return {};
}
