// Writes the seeds of the version reader's fuzz target with the test-side PE writer:
//   make_pe_seeds fuzz/seeds/pe_fuzz
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
    const auto write = [&dir](const char *name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    const Node package =
        VersionInfo({Table("041504e2", {StringNode("FileDescription", "Przeglądarka Wenora 2001"),
                                        StringNode("FileVersion", "2.2.0.0"), StringNode("Rozmiar", "1536")})},
                    {{0x415, 0x4E2}});
    const Node two = VersionInfo({Table("040904b0", {StringNode("CompanyName", "C"), StringNode("Comments", "")}),
                                  Table("041504E2", {StringNode("A", "odd"), StringNode("Bb", "x")})},
                                 {{0x415, 0x4E2}, {0x409, 0x4B0}});
    bool ok = write("package-pe32", WritePe({.version = Encode(package), .appended = "printouts"}));
    ok = write("package-pe64-skew3", WritePe({.version = Encode(package), .pe64 = true, .skew = 3})) && ok;
    ok = write("two-tables", WritePe({.version = Encode(two), .skew = 1})) && ok;
    ok = write("no-translation", WritePe({.version = Encode(VersionInfo({}, {}))})) && ok;
    ok = write("no-version", WritePe({})) && ok;
    return ok ? 0 : 1;
}
