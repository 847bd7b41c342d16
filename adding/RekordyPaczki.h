#pragma once
// The printout records a package carries behind its program part: four ignored bytes, the
// name as a counted string, the packed DOS time, a signed length and that many bytes of printout.
#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QIODevice>
#include <QString>

#include <filesystem>
#include <functional>

struct TRekordPaczki {
    int Numer = 0;    // 1 for the first record
    QByteArray Nazwa; // as the package holds it, in the host's Windows code page
    quint32 Czas = 0; // date in the high 16 bits, time of day in the low, local time
    qint32 Dlugosc = 0;
};

// Local time of a packed DOS date and time; invalid when the fields are no date.
QDateTime CzasDos(quint32 czas);

class TCzytnikPaczki {
public:
    // Reads plik, open for reading and able to seek (a file, or a buffer in memory), from offset on;
    // nazwa is the package's path as shown.
    TCzytnikPaczki(QIODevice &plik, qint64 offset, const QString &nazwa);
    // The next record's fields, or false at the end of the file. A record cut short, or with a
    // negative length, raises EStreamError naming the package and the record, and why, before any
    // of its data is read.
    bool Nastepny(TRekordPaczki &rekord);
    // Hands the data of the record just read over in pieces.
    void Dane(const std::function<void(QByteArrayView)> &kawalek);

private:
    [[noreturn]] void BladOdczytu() const;
    // The fields before the data; EStreamError when the file ends among them.
    void LeadingFields(TRekordPaczki &rekord);

    QIODevice &plik_;
    QString nazwa_;
    qint64 pozycja_;
    qint64 zostalo_ = 0;
    int numer_ = 0;
};

// The file name a record arrives under: the name decoded from Windows-1250 and ".WYD".
QString NazwaPlikuRekordu(const QByteArray &nazwa);

// Whether the record's name may become a file of the library folder: no "/", "\", "..", NUL or
// leading ".", not empty, and its file name within the 255 bytes a name may have.
bool NazwaRekorduDozwolona(const QByteArray &nazwa);
// The refusal of a record's name, naming the package and the record.
QString TekstNiedozwolonejNazwy(const QString &paczka, const TRekordPaczki &rekord);
