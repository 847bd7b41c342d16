// Fuzzes the package-record reader from memory. The first four bytes (little-endian) say where the
// records begin, counted from the start of the input, as a package's "Rozmiar" does; every record
// found is read through, its name checked and its time decoded.
#include "adding/RekordyPaczki.h"

#include "platform/base/Exception.h"

#include <QBuffer>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const quint32 offset = quint32(data[0]) | quint32(data[1]) << 8 | quint32(data[2]) << 16 | quint32(data[3]) << 24;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QBuffer paczka(&bytes);
    paczka.open(QIODevice::ReadOnly);
    size_t sum = 0;
    try {
        TCzytnikPaczki czytnik(paczka, offset, QStringLiteral("fuzz.exe"));
        TRekordPaczki rekord;
        while (czytnik.Nastepny(rekord)) {
            if (NazwaRekorduDozwolona(rekord.Nazwa))
                sum += static_cast<size_t>(NazwaPlikuRekordu(rekord.Nazwa).size());
            else
                sum += static_cast<size_t>(TekstNiedozwolonejNazwy(QStringLiteral("fuzz.exe"), rekord).size());
            sum += CzasDos(rekord.Czas).isValid() ? 1 : 0;
            czytnik.Dane([&sum](QByteArrayView b) { sum += static_cast<size_t>(b.size()); });
        }
    } catch (const EStreamError &) {
        // A record cut short or with a negative length: the expected answer to most inputs.
    }
    volatile size_t sink = sum;
    (void)sink;
    return 0;
}
