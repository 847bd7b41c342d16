#include "adding/RekordyPaczki.h"

#include "core/HeaderFormat.h"
#include "platform/base/Defaults.h"
#include "platform/base/Exception.h"
#include "platform/base/NativePath.h"
#include "platform/text/CodePage.h"

#include <QFileDevice>

namespace {

constexpr qint64 kNajdluzszaNazwa = 255;

} // namespace

QDateTime CzasDos(quint32 czas)
{
    const quint32 data = czas >> 16, godzina = czas & 0xFFFF;
    const QDate d(int(data >> 9) + 1980, int((data >> 5) & 15), int(data & 31));
    const QTime t(int(godzina >> 11), int((godzina >> 5) & 63), int(godzina & 31) * 2);
    if (!d.isValid() || !t.isValid())
        return {};
    return QDateTime(d, t);
}

TCzytnikPaczki::TCzytnikPaczki(QIODevice &plik, qint64 offset, const QString &nazwa)
    : plik_(plik), nazwa_(nazwa), pozycja_(offset)
{
}

void TCzytnikPaczki::BladOdczytu() const
{
    const auto *plik = qobject_cast<const QFileDevice *>(&plik_);
    const QString przyczyna = plik && plik->error() == QFileDevice::ReadError
                                  ? QStringLiteral("błąd odczytu pliku z dysku")
                                  : QStringLiteral("paczka kończy się przed jego końcem");
    throw EStreamError(
        QStringLiteral("Plik: %1\rWydruk nr %2 w paczce jest niekompletny: %3").arg(nazwa_).arg(numer_).arg(przyczyna));
}

bool TCzytnikPaczki::Nastepny(TRekordPaczki &rekord)
{
    if (pozycja_ >= plik_.size())
        return false;
    rekord.Numer = ++numer_;
    if (!plik_.seek(pozycja_))
        BladOdczytu();
    try {
        LeadingFields(rekord);
    } catch (const EStreamError &) {
        BladOdczytu();
    }
    if (rekord.Dlugosc < 0)
        throw EStreamError(QStringLiteral("Plik: %1\rWydruk nr %2 w paczce ma nieprawidłową długość: %3")
                               .arg(nazwa_)
                               .arg(numer_)
                               .arg(rekord.Dlugosc));
    if (rekord.Dlugosc > plik_.size() - plik_.pos())
        BladOdczytu();
    zostalo_ = rekord.Dlugosc;
    pozycja_ = plik_.pos() + rekord.Dlugosc;
    return true;
}

void TCzytnikPaczki::LeadingFields(TRekordPaczki &rekord)
{
    header::ReadDword(plik_);
    // The name's length comes first, so a length of gigabytes is refused before anything is read.
    const quint8 pierwszy = header::ReadByte(plik_);
    qint64 dlugoscNazwy = pierwszy;
    if (pierwszy == 254)
        dlugoscNazwy = header::ReadWord(plik_);
    else if (pierwszy == 255)
        dlugoscNazwy = header::ReadDword(plik_);
    dlugoscNazwy = std::max<qint64>(dlugoscNazwy, 0);
    const qint64 czytaj = std::min(dlugoscNazwy, kNajdluzszaNazwa + 1);
    rekord.Nazwa = plik_.read(czytaj);
    if (rekord.Nazwa.size() != czytaj)
        BladOdczytu();
    if (dlugoscNazwy > czytaj) {
        // Too long for a file name: the rest is skipped, and the name refused by its check.
        if (!plik_.seek(plik_.pos() + (dlugoscNazwy - czytaj)) || plik_.pos() > plik_.size())
            BladOdczytu();
    }
    rekord.Czas = static_cast<quint32>(header::ReadDword(plik_));
    rekord.Dlugosc = header::ReadDword(plik_);
}

void TCzytnikPaczki::Dane(const std::function<void(QByteArrayView)> &kawalek)
{
    constexpr qint64 kKawalek = 64 * 1024;
    QByteArray bufor;
    while (zostalo_ > 0) {
        bufor = plik_.read(std::min(zostalo_, kKawalek));
        if (bufor.isEmpty())
            BladOdczytu();
        zostalo_ -= bufor.size();
        kawalek(bufor);
    }
}

QString NazwaPlikuRekordu(const QByteArray &nazwa)
{
    return platform::DecodeAnsi(nazwa) + defaults::PrintoutExtensionUpper();
}

bool NazwaRekorduDozwolona(const QByteArray &nazwa)
{
    if (nazwa.isEmpty() || nazwa.size() > kNajdluzszaNazwa || nazwa.startsWith('.') || nazwa.contains("..") ||
        nazwa.contains('/') || nazwa.contains('\\') || nazwa.contains('\0'))
        return false;
    return platform::NativePath(NazwaPlikuRekordu(nazwa)).native().size() <= size_t(kNajdluzszaNazwa);
}

QString TekstNiedozwolonejNazwy(const QString &paczka, const TRekordPaczki &rekord)
{
    QString nazwa = platform::DecodeAnsi(rekord.Nazwa.left(64));
    nazwa.replace(QChar(0), QStringLiteral("\\0"));
    if (rekord.Nazwa.size() > 64)
        nazwa += QStringLiteral("...");
    return QStringLiteral("Plik: %1\rWydruk nr %2 w paczce ma niedozwoloną nazwę: \"%3\"")
        .arg(paczka)
        .arg(rekord.Numer)
        .arg(nazwa);
}
