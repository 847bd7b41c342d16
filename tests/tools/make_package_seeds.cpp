// Writes the seeds of the package-record reader's fuzz target with the test-side package writer:
//   make_package_seeds fuzz/seeds/package_fuzz
// Each seed begins with where its records begin, as four little-endian bytes.
#include "tests/support/PeWriter.h"

#include <QDir>
#include <QFile>

using namespace petest;

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    dir.mkpath(".");
    const auto write = [&dir](const char *name, quint32 offset, const QByteArray &records) {
        QByteArray bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = char(offset >> (8 * i));
        bytes += records;
        QFile f(dir.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    constexpr quint32 kCzas = (46u << 25 | 3u << 21 | 14u << 16) | (9u << 11 | 30u << 5);
    const QByteArray wydruk("WENOR2001\x06Wydruk");
    const QByteArray dwa = PackageRecord("Jeden", kCzas, wydruk) + PackageRecord("Dwa", 0, "");
    bool ok = write("sound", 4, dwa);
    ok = write("refused-name", 4, PackageRecord("../x", kCzas, wydruk) + PackageRecord("Po", kCzas, wydruk)) && ok;
    ok = write("records-past-end", 64, dwa) && ok;
    ok = write("record-cut-short", 4, dwa + PackageRecord("Trzy", kCzas, wydruk).chopped(3)) && ok;
    return ok ? 0 : 1;
}
