// wenoglad-cli wersja and paczka on executables and packages the test writes.
#include "tests/support/PeWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace petest;

namespace {

struct CliRun {
    int code = -1;
    QByteArray out, err;
};

CliRun Cli(const QStringList &args)
{
    QProcess p;
    p.start(qEnvironmentVariable("WENOGLAD_BIN_DIR") + "/cli/wenoglad-cli", args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

class CliPaczka : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(qEnvironmentVariableIsEmpty("WENOGLAD_BIN_DIR")); }
    QString Write(const QString &name, const QByteArray &bytes)
    {
        QFile f(dir_.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    static QByteArray Read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QTemporaryDir dir_;
};

// 12-05-2003 14:30:08 packed as the host writes it.
constexpr quint32 kCzas = (quint32((2003 - 1980) << 9 | 5 << 5 | 12) << 16) | (14 << 11 | 30 << 5 | 4);

QList<QJsonObject> Lines(const QByteArray &out)
{
    QList<QJsonObject> lines;
    for (const QByteArray &line : out.split('\n'))
        if (!line.isEmpty())
            lines << QJsonDocument::fromJson(line).object();
    return lines;
}

} // namespace

TEST_F(CliPaczka, Wersja)
{
    const Node root =
        VersionInfo({Table("041504e2", {StringNode("Rozmiar", "2048"), StringNode("FileDescription", "Opis"),
                                        StringNode("Własny", "tak")})},
                    {{0x415, 0x4E2}});
    const CliRun run = Cli({"wersja", Write("a.exe", WritePe({.version = Encode(root)}))});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("{\n  \"translation\": \"041504e2\",\n  \"CompanyName\": \"\","));
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(o.size(), 11) << "the eight, the translation and the two others";
    EXPECT_EQ(o["FileDescription"].toString(), "Opis");
    EXPECT_EQ(o["Rozmiar"].toString(), "2048");
    EXPECT_EQ(o[QString::fromUtf8("Własny")].toString(), "tak");

    const QString none = Write("b.exe", WritePe({}));
    const struct {
        QStringList args;
        int code;
        QByteArray err;
    } rows[] = {
        {{"wersja", none}, 1, "Niedostępna informacja o wersji\n(plik: " + none.toUtf8() + ")\n"},
        {{"wersja", dir_.filePath("brak.exe")},
         2,
         "Nie można otworzyć pliku \"" + dir_.filePath("brak.exe").toUtf8() + "\": nie ma takiego pliku ani folderu\n"},
        {{"wersja"}, 2, {}},
    };
    for (const auto &row : rows) {
        const CliRun bad = Cli(row.args);
        EXPECT_EQ(bad.code, row.code) << row.args.join(' ').toStdString();
        EXPECT_TRUE(bad.out.isEmpty());
        if (!row.err.isEmpty()) {
            EXPECT_EQ(bad.err, row.err);
        }
    }
}

TEST_F(CliPaczka, ListsAndWritesRecords)
{
    const QString pe = Write("p.exe", Package(PackageRecord("Sprzeda\xBF", kCzas, "abc") +
                                              PackageRecord("Stary", 0, "") + PackageRecord("Trzeci", kCzas, "x")));
    const CliRun list = Cli({"paczka", pe});
    ASSERT_EQ(list.code, 0) << list.err.toStdString();
    const QList<QJsonObject> lines = Lines(list.out);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0]["name"].toString(), QString::fromUtf8("Sprzedaż"));
    EXPECT_EQ(lines[0]["time"].toString(), "2003-05-12T14:30:08");
    EXPECT_EQ(lines[0]["length"].toInt(), 3);
    EXPECT_EQ(lines[0]["sha256"].toString(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(lines[1]["time"].toString(), "") << "no date in the record";
    EXPECT_FALSE(lines[0].contains("written"));

    const QString out = dir_.filePath("out");
    QDir().mkpath(out);
    // Another case is the same printout: it is left alone and reported under its own name.
    Write("out/stary.wyd", "stary");
    const CliRun write = Cli({"paczka", pe, "-o", out});
    ASSERT_EQ(write.code, 0) << write.err.toStdString();
    const QList<QJsonObject> written = Lines(write.out);
    ASSERT_EQ(written.size(), 3);
    EXPECT_EQ(written[0]["file"].toString(), out + QString::fromUtf8("/Sprzedaż.WYD"));
    EXPECT_TRUE(written[0]["written"].toBool());
    EXPECT_FALSE(written[1]["written"].toBool());
    EXPECT_EQ(written[1]["file"].toString(), out + "/stary.wyd");
    EXPECT_EQ(write.err,
              "wenoglad-cli paczka: plik " + out.toUtf8() + "/stary.wyd już istnieje, pozostawiony bez zmian\n");
    QStringList files = QDir(out).entryList(QDir::Files);
    files.sort(Qt::CaseInsensitive);
    EXPECT_EQ(files, QStringList({"Sprzedaż.WYD", "stary.wyd", "Trzeci.WYD"})) << "no twin of stary.wyd";
    EXPECT_EQ(Read(out + "/stary.wyd"), "stary");
    EXPECT_EQ(Read(out + QString::fromUtf8("/Sprzedaż.WYD")), "abc");
    EXPECT_EQ(QFileInfo(out + "/Trzeci.WYD").lastModified(), QDateTime(QDate(2003, 5, 12), QTime(14, 30, 8)));
}

TEST_F(CliPaczka, BrokenPackages)
{
    const QByteArray two = PackageRecord("Jeden", kCzas, "1") + PackageRecord("Dwa", kCzas, "2");
    const QString cut = Write("cut.exe", Package(two + PackageRecord("Trzy", kCzas, "333").chopped(1)));
    const QString other = Write("other.exe", Package(two, "Inny program"));
    const QString past = Write("past.exe", Package(two, "Przeglądarka Wenora 2001", "99999"));
    const struct {
        const char *name;
        QString file;
        bool write;
        int records;
        QByteArray err;
    } rows[] = {
        {"cut short", cut, false, 2,
         "Plik: " + cut.toUtf8() + "\nWydruk nr 3 w paczce jest niekompletny: paczka kończy się przed jego końcem\n"},
        {"cut short into a folder", cut, true, 2,
         "Plik: " + cut.toUtf8() + "\nWydruk nr 3 w paczce jest niekompletny: paczka kończy się przed jego końcem\n"},
        {"not a package", other, false, 0, "Plik: " + other.toUtf8() + "\nTo nie jest paczka z wydrukami Wenora !\n"},
        {"records past its end", past, false, 0,
         "Plik: " + past.toUtf8() + "\nPaczka jest niepełna: jej wydruki miały się zaczynać za końcem pliku !\n"},
        {"records past its end into a folder", past, true, 0,
         "Plik: " + past.toUtf8() + "\nPaczka jest niepełna: jej wydruki miały się zaczynać za końcem pliku !\n"},
    };
    for (const auto &row : rows) {
        const QString out = dir_.filePath(QString("out-") + row.name);
        const CliRun run =
            Cli(row.write ? QStringList{"paczka", row.file, "-o", out} : QStringList{"paczka", row.file});
        EXPECT_EQ(run.code, 1) << row.name;
        EXPECT_EQ(Lines(run.out).size(), row.records) << row.name;
        EXPECT_EQ(run.err, row.err) << row.name;
        if (row.write) {
            EXPECT_EQ(QDir(out).entryList(QDir::Files),
                      row.records ? QStringList({"Dwa.WYD", "Jeden.WYD"}) : QStringList())
                << row.name;
        }
    }
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath("Trzy.WYD")));
    EXPECT_EQ(Cli({"paczka", cut, "-o"}).code, 2);
    EXPECT_EQ(Cli({"paczka", cut, cut}).code, 2);
}

// A refused name loses that record only; the package was sound, so the command succeeds.
TEST_F(CliPaczka, ARefusedNameSkipsOnlyItsRecord)
{
    const QString pe =
        Write("hostile.exe", Package(PackageRecord("Jeden", kCzas, "1") + PackageRecord("../Trzy", kCzas, "3") +
                                     PackageRecord("Dwa", kCzas, "2")));
    const CliRun list = Cli({"paczka", pe});
    EXPECT_EQ(list.code, 0) << list.err.toStdString();
    ASSERT_EQ(Lines(list.out).size(), 3) << "the listing shows every record";
    EXPECT_EQ(Lines(list.out)[1]["name"].toString(), "../Trzy");

    const QString out = dir_.filePath("out");
    const CliRun write = Cli({"paczka", pe, "-o", out});
    EXPECT_EQ(write.code, 0);
    EXPECT_EQ(write.err, "Plik: " + pe.toUtf8() + "\nWydruk nr 2 w paczce ma niedozwoloną nazwę: \"../Trzy\"\n");
    const QList<QJsonObject> lines = Lines(write.out);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_FALSE(lines[1].contains("file"));
    EXPECT_FALSE(lines[1]["written"].toBool());
    EXPECT_TRUE(lines[2]["written"].toBool());
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList({"Dwa.WYD", "Jeden.WYD"}));
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath("Trzy.WYD")));
}
