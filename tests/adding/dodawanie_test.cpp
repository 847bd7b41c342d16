// Adding printouts and packages to a library folder the test makes: the questions and messages
// as the user would see them, overwrites that keep the old file, hostile packages, record times.
#include "adding/Dodawanie.h"
#include "platform/base/ConvertError.h"
#include "platform/versioninfo/FileVerInfo.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/PeWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>

using namespace petest;
namespace fs = std::filesystem;

namespace {

const QByteArray kPrintout = QByteArray("WENOR2001\x06Wydruk") + QByteArray("cialo wydruku", 13);

// Answers questions from a script and writes down everything it is told.
class Rozmowa : public TRozmowaDodawania {
public:
    std::deque<bool> odpowiedzi;
    QStringList zapis;

    bool PytanieTakNie(const QString &tytul, const QString &tekst) override
    {
        zapis << "pytanie: " + tytul + " | " + tekst;
        const bool tak = !odpowiedzi.empty() && odpowiedzi.front();
        if (!odpowiedzi.empty())
            odpowiedzi.pop_front();
        return tak;
    }
    void PokazBlad(const QString &tytul, const QString &tekst) override { zapis << "błąd: " + tytul + " | " + tekst; }
    void PokazBladAplikacji(const QString &komunikat) override { zapis << "Wenoglad: " + komunikat; }
    void Postep(const QString &sciezka) override { zapis << "postęp: " + sciezka; }
    void Odmaluj() override {}
};

class Dodawanie : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(dir_.path()).mkpath("lib/inner");
        QDir(dir_.path()).mkpath("src");
    }
    QString Lib(const QString &name = {}) const { return dir_.filePath("lib/inner/" + name); }
    QString Src(const QString &name) const { return dir_.filePath("src/" + name); }
    fs::path Katalog() const { return fs::path(Lib().toStdString()); }
    static fs::path P(const QString &path) { return fs::path(path.toStdString()); }
    static void Write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray Read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList LibFiles() const
    {
        return QDir(Lib()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }
    static QString Pokrycie(const QString &target)
    {
        return "Plik \"" + target + "\" już istnieje !\rCzy na pewno chcesz go pokryć ?";
    }

    QTemporaryDir dir_;
    Rozmowa rozmowa_;
};

// 12-05-2003 14:30:08 packed as the host writes it.
constexpr quint32 kCzas = (quint32((2003 - 1980) << 9 | 5 << 5 | 12) << 16) | (14 << 11 | 30 << 5 | 4);

} // namespace

TEST_F(Dodawanie, CopyingOnePrintout)
{
    Write(Src("Raport.WYD"), kPrintout + "nowy");
    Write(Src("raport.wyd"), kPrintout + "mały");
    Write(Src("tekst.wyd"), "to nie wydruk, tylko tekst");
    Write(Lib("Raport.WYD"), kPrintout + "stary");
    Write(Lib("wlasny.wyd"), kPrintout + "w bibliotece");
    const struct {
        const char *name;
        QString path;
        std::deque<bool> answers;
        bool result;
        QStringList said;
        QString target;
        QByteArray content;
    } rows[] = {
        {"not a printout",
         Src("tekst.wyd"),
         {},
         false,
         {"błąd: Błąd | Plik: \"" + Src("tekst.wyd") + "\"\rnie jest wydrukiem Wenora !"},
         Lib("tekst.wyd"),
         "<missing>"},
        {"already in the library: silent, nothing copied",
         Lib("wlasny.wyd"),
         {},
         true,
         {},
         Lib("wlasny.wyd"),
         kPrintout + "w bibliotece"},
        {"overwrite refused keeps the old file",
         Src("Raport.WYD"),
         {false},
         false,
         {"pytanie: Potwierdź dokopiowanie pliku | " + Pokrycie(Lib("Raport.WYD"))},
         Lib("Raport.WYD"),
         kPrintout + "stary"},
        {"overwrite accepted",
         Src("Raport.WYD"),
         {true},
         true,
         {"pytanie: Potwierdź dokopiowanie pliku | " + Pokrycie(Lib("Raport.WYD"))},
         Lib("Raport.WYD"),
         kPrintout + "nowy"},
        // The library's printouts came from a host that ignores case: "raport.wyd" is "Raport.WYD".
        {"another case is the same printout: No keeps it",
         Src("raport.wyd"),
         {false},
         false,
         {"pytanie: Potwierdź dokopiowanie pliku | " + Pokrycie(Lib("Raport.WYD"))},
         Lib("Raport.WYD"),
         kPrintout + "nowy"},
        {"another case: Yes replaces it under its own name",
         Src("raport.wyd"),
         {true},
         true,
         {"pytanie: Potwierdź dokopiowanie pliku | " + Pokrycie(Lib("Raport.WYD"))},
         Lib("Raport.WYD"),
         kPrintout + "mały"},
    };
    for (const auto &row : rows) {
        rozmowa_.zapis.clear();
        rozmowa_.odpowiedzi = row.answers;
        EXPECT_EQ(DokopiujWydruk(P(row.path), Katalog(), rozmowa_), row.result) << row.name;
        EXPECT_EQ(rozmowa_.zapis, row.said) << row.name;
        EXPECT_EQ(Read(row.target), row.content) << row.name;
    }
    EXPECT_EQ(LibFiles(), QStringList({"Raport.WYD", "wlasny.wyd"})) << "no twin, no temporary file left";
}

TEST_F(Dodawanie, ACopyKeepsTheSourcesTimeAndPermissions)
{
    Write(Src("Stary.WYD"), kPrintout);
    const QDateTime made(QDate(2001, 2, 3), QTime(4, 5, 6));
    QFile src(Src("Stary.WYD"));
    ASSERT_TRUE(src.open(QIODevice::ReadWrite));
    ASSERT_TRUE(src.setFileTime(made, QFileDevice::FileModificationTime));
    src.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    src.close();
    ASSERT_TRUE(DokopiujWydruk(P(Src("Stary.WYD")), Katalog(), rozmowa_));
    const QFileInfo copy(Lib("Stary.WYD"));
    EXPECT_EQ(copy.lastModified(), made);
    EXPECT_EQ(copy.permissions() & 0x0FFF, QFileInfo(Src("Stary.WYD")).permissions() & 0x0FFF);
}

TEST_F(Dodawanie, AFailedCopyIsToldAndKeepsTheOldFile)
{
    Write(Src("Zajety.wyd"), kPrintout);
    Write(Src("Brak.wyd"), kPrintout);
    // A folder under the printout's name cannot be replaced by the copy.
    QDir(Lib()).mkpath("Zajety.wyd/w");
    rozmowa_.odpowiedzi = {true};
    EXPECT_FALSE(DokopiujWydruk(P(Src("Zajety.wyd")), Katalog(), rozmowa_));
    EXPECT_EQ(rozmowa_.zapis.back(),
              "błąd: Bład ! | Nie udało się skopiować pliku:\r" + Src("Zajety.wyd") + "\rdo: " + Lib("Zajety.wyd"));
    EXPECT_TRUE(QFileInfo(Lib("Zajety.wyd/w")).isDir());
    EXPECT_EQ(LibFiles(), QStringList({"Zajety.wyd"})) << "the temporary file is gone";

    EXPECT_FALSE(DokopiujWydruk(P(Src("Brak.wyd")), P(dir_.filePath("nie ma")), rozmowa_));
    EXPECT_TRUE(rozmowa_.zapis.back().startsWith("błąd: Bład ! | Nie udało się skopiować pliku:"));

    // Named, with the cause, where the add said "Stream read error." and "Cannot open file".
    Write(Src("krotki.wyd"), "WENOR");
    Write(Src("pusty.wyd"), "");
    const struct {
        const char *file;
        QString message;
    } errors[] = {
        {"krotki.wyd", "Nie można odczytać wydruku \"%1\":\rplik jest za krótki, aby był wydrukiem Wenora"},
        {"pusty.wyd", "Nie można odczytać wydruku \"%1\":\rplik jest pusty"},
        {"nie ma.wyd", "Nie można otworzyć pliku \"%1\": nie ma takiego pliku ani folderu"},
    };
    for (const auto &row : errors) {
        try {
            DokopiujWydruk(P(Src(row.file)), Katalog(), rozmowa_);
            ADD_FAILURE() << row.file << ": no error";
        } catch (const EStreamError &e) {
            EXPECT_EQ(e.Message(), row.message.arg(Src(row.file))) << row.file;
        }
    }
}

// Every step of writing a new library file tells a failure one way: EZapisError naming the folder
// or the file and the cause. False from Umiesc is no failure: the file already there stays.
TEST_F(Dodawanie, WritingANewFileTellsEveryFailure)
{
    Write(Lib("Stary.WYD"), "stary");
    QDir(Lib()).mkpath("Katalog.WYD/w");
    const QString brak = dir_.filePath("nie ma");
    const QDateTime before1970 = QDateTime::fromMSecsSinceEpoch(-1500);
    const struct {
        const char *name;
        QString folder; // where the file is made
        int size;       // bytes written under a limit of 4096 on a file's size
        QDateTime time;
        QString target;
        bool replace;
        bool placed;
        QString error; // empty: none
    } rows[] = {
        {"placed", Lib(), 10, {}, Lib("Nowy.WYD"), false, true, {}},
        {"time before 1970", Lib(), 10, before1970, Lib("Dawny.WYD"), false, true, {}},
        {"an existing file stays", Lib(), 10, {}, Lib("Stary.WYD"), false, false, {}},
        {"a folder is not replaced", Lib(), 10, {}, Lib("Katalog.WYD"), true, false, {}},
        {"no folder",
         brak,
         10,
         {},
         {},
         false,
         false,
         "Nie można utworzyć pliku w katalogu " + brak + ": nie ma takiego pliku ani folderu"},
        {"disk full",
         Lib(),
         8192,
         {},
         Lib("Duzy.WYD"),
         false,
         false,
         "Nie można zapisać pliku w katalogu " + Lib() + ": plik jest zbyt duży"},
        {"target's folder missing",
         Lib(),
         10,
         {},
         Lib("brak/Nowy.WYD"),
         true,
         false,
         "Nie można utworzyć pliku \"" + Lib("brak/Nowy.WYD") + "\": nie ma takiego pliku ani folderu"},
    };
    for (const auto &row : rows) {
        bool placed = false;
        QString error;
        try {
            const FileSizeLimit limit(4096);
            TNowyPlik nowy(P(row.folder));
            nowy.Zapisz(QByteArray(row.size, 'x'));
            if (row.time.isValid())
                nowy.UstawCzas(row.time);
            placed = nowy.Umiesc(P(row.target), row.replace);
        } catch (const EZapisError &e) {
            error = e.Message();
        }
        EXPECT_EQ(placed, row.placed) << row.name;
        EXPECT_EQ(error, row.error) << row.name;
        if (row.placed) {
            EXPECT_EQ(Read(row.target), QByteArray(row.size, 'x')) << row.name;
        }
        if (row.placed && row.time.isValid()) {
            EXPECT_EQ(QFileInfo(row.target).lastModified(), row.time) << row.name;
        }
        EXPECT_TRUE(LibFiles().filter(".tmp").isEmpty()) << row.name << ": a temporary file is left";
    }
    EXPECT_EQ(Read(Lib("Stary.WYD")), "stary");

    // The copy into the library tells a full disk by its own message and keeps nothing of it.
    Write(Src("Duzy.wyd"), kPrintout + QByteArray(8192, 'x'));
    {
        const FileSizeLimit limit(4096);
        EXPECT_FALSE(DokopiujWydruk(P(Src("Duzy.wyd")), Katalog(), rozmowa_));
    }
    EXPECT_EQ(rozmowa_.zapis.back(),
              "błąd: Bład ! | Nie udało się skopiować pliku:\r" + Src("Duzy.wyd") + "\rdo: " + Lib("Duzy.wyd"));
    EXPECT_FALSE(QFileInfo::exists(Lib("Duzy.wyd")));
}

TEST_F(Dodawanie, CheckingAPackage)
{
    const QString pe = Src("p.exe");
    const struct {
        const char *name;
        QByteArray bytes;
        QString error; // empty: a package
    } rows[] = {
        {"package", Package("records"), {}},
        {"another program", Package("", "Przeglądarka Wenora 2002"),
         "Plik: " + pe + "\rTo nie jest paczka z wydrukami Wenora !"},
        {"description in another case", Package("", "przeglądarka wenora 2001"),
         "Plik: " + pe + "\rTo nie jest paczka z wydrukami Wenora !"},
        {"no size", Package("", kOpisPaczki, ""), "Plik: " + pe + "\rBrak informacji o rozmiarze paczki !"},
        {"size 0", Package("", kOpisPaczki, "0"), "Plik: " + pe + "\rBrak informacji o rozmiarze paczki !"},
        {"size not a number", Package("", kOpisPaczki, "12a"), "'12a' nie jest prawidłową liczbą całkowitą"},
        {"negative size", Package("", kOpisPaczki, "-5"), "'-5' nie jest prawidłową liczbą całkowitą"},
        {"size past 32 bits", Package("", kOpisPaczki, "4294967296"),
         "'4294967296' nie jest prawidłową liczbą całkowitą"},
        {"no version", WritePe({}), kBrakWersji + "\r(plik: " + pe + ")"},
        {"records would begin at its end", Package(""),
         "Plik: " + pe + "\rPaczka jest niepełna: jej wydruki miały się zaczynać za końcem pliku !"},
        {"records would begin past its end", Package("", kOpisPaczki, "99999"),
         "Plik: " + pe + "\rPaczka jest niepełna: jej wydruki miały się zaczynać za końcem pliku !"},
    };
    for (const auto &row : rows) {
        Write(pe, row.bytes);
        try {
            EXPECT_EQ(SprawdzPaczke(P(pe)), 2048) << row.name;
            EXPECT_TRUE(row.error.isEmpty()) << row.name;
        } catch (const Exception &e) {
            EXPECT_EQ(e.Message(), row.error) << row.name;
        }
    }
}

TEST_F(Dodawanie, UnpackingAPackage)
{
    Write(Lib("Stary.WYD"), "stary");
    Write(Lib("Drugi.WYD"), "drugi stary");
    const QByteArray records = PackageRecord("Sprzeda\xBF", kCzas, kPrintout + "1") + // "Sprzedaż" in Windows-1250
                               PackageRecord("Stary", kCzas, kPrintout + "2") + PackageRecord("Pusty", kCzas, "") +
                               PackageRecord("Drugi", kCzas, kPrintout + "3") +
                               PackageRecord(QByteArray(300, 'n').left(250), 0, "x");
    Write(Src("p.exe"), Package(records));
    rozmowa_.odpowiedzi = {false, true};
    std::vector<TWynikRekordu> wyniki;
    RozpakujPaczke(P(Src("p.exe")), SprawdzPaczke(P(Src("p.exe"))), Katalog(), rozmowa_,
                   [&wyniki](const TWynikRekordu &w) { wyniki.push_back(w); });
    EXPECT_EQ(rozmowa_.zapis, QStringList({"pytanie: Potwierdź rozpakowanie pliku | " + Pokrycie(Lib("Stary.WYD")),
                                           "pytanie: Potwierdź rozpakowanie pliku | " + Pokrycie(Lib("Drugi.WYD"))}));
    EXPECT_EQ(Read(Lib("Sprzedaż.WYD")), kPrintout + "1");
    EXPECT_EQ(Read(Lib("Stary.WYD")), "stary") << "No skips exactly that record";
    EXPECT_EQ(Read(Lib("Pusty.WYD")), "") << "a record of length 0 gives an empty file";
    EXPECT_EQ(Read(Lib("Drugi.WYD")), kPrintout + "3") << "the record after a skipped one is read correctly";
    EXPECT_EQ(Read(Lib(QString(250, 'n') + ".WYD")), "x") << "the longest name that fits";
    // Sorting by time shows when the printout was made, not when it was added.
    EXPECT_EQ(QFileInfo(Lib("Sprzedaż.WYD")).lastModified(), QDateTime(QDate(2003, 5, 12), QTime(14, 30, 8)));
    EXPECT_EQ(QFileInfo(Lib("Pusty.WYD")).lastModified(), QDateTime(QDate(2003, 5, 12), QTime(14, 30, 8)));
    ASSERT_EQ(wyniki.size(), 5u);
    EXPECT_FALSE(wyniki[1].Zapisany);
    EXPECT_TRUE(wyniki[3].Zapisany);
    EXPECT_EQ(wyniki[2].Sha256.toHex(), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(LibFiles().size(), 5);
}

// A package broken in its third record adds the first two and nothing else, whatever broke it.
TEST_F(Dodawanie, ABrokenRecordStopsThePackage)
{
    const QByteArray two =
        PackageRecord("Jeden", kCzas, kPrintout + "1") + PackageRecord("Dwa", kCzas, kPrintout + "2");
    const QByteArray third = PackageRecord("Trzy", kCzas, kPrintout + "3");
    const QString cut = "jest niekompletny: paczka kończy się przed jego końcem";
    const struct {
        const char *name;
        QByteArray records;
        QString why;
    } rows[] = {
        {"data cut short", two + third.chopped(3), cut},
        {"length cut short", two + third.left(4 + 5 + 4 + 2), cut},
        {"negative length", two + PackageRecord("Trzy", kCzas, kPrintout, -1), "ma nieprawidłową długość: -1"},
        {"length past the end", two + PackageRecord("Trzy", kCzas, kPrintout, 0x7FFFFFFF), cut},
        {"name longer than the file", two + QByteArray("xxxx\xFF\xFF\xFF\xFF\x7F"), cut},
    };
    for (const auto &row : rows) {
        QDir(Lib()).removeRecursively();
        QDir(dir_.path()).mkpath("lib/inner");
        Write(Lib("Trzy.WYD"), "stary trzeci");
        rozmowa_.odpowiedzi = {true};
        Write(Src("p.exe"), Package(row.records));
        try {
            RozpakujPaczke(P(Src("p.exe")), 2048, Katalog(), rozmowa_);
            ADD_FAILURE() << row.name << ": not refused";
        } catch (const EStreamError &e) {
            // The package and the record are named, and why, instead of "Stream read error".
            EXPECT_EQ(e.Message(), "Plik: " + Src("p.exe") + "\rWydruk nr 3 w paczce " + row.why) << row.name;
        }
        EXPECT_EQ(LibFiles(), QStringList({"Dwa.WYD", "Jeden.WYD", "Trzy.WYD"})) << row.name;
        EXPECT_EQ(Read(Lib("Trzy.WYD")), "stary trzeci") << row.name;
    }
}

// A refused name loses that record only: the records after it are added.
TEST_F(Dodawanie, HostileRecordNamesAreRefused)
{
    const QByteArray names[] = {"../../uciekinier", "a/b", "..", "a\\b", ".ukryty", "a..b", QByteArray("nul\0x", 5),
                                QByteArray(256, 'n'), QByteArray(70000, 'n'), "",
                                // 200 letters of two UTF-8 bytes each: 400 bytes of file name.
                                QByteArray(200, '\xB3')};
    for (const QByteArray &name : names) {
        QDir(Lib()).removeRecursively();
        QDir(dir_.path()).mkpath("lib/inner");
        rozmowa_.zapis.clear();
        const QByteArray records = PackageRecord("Dobry", kCzas, kPrintout) + PackageRecord(name, kCzas, kPrintout) +
                                   PackageRecord("Potem", kCzas, kPrintout + "3");
        Write(Src("p.exe"), Package(records));
        std::vector<TWynikRekordu> wyniki;
        RozpakujPaczke(P(Src("p.exe")), 2048, Katalog(), rozmowa_,
                       [&wyniki](const TWynikRekordu &w) { wyniki.push_back(w); });
        ASSERT_EQ(rozmowa_.zapis.size(), 1) << name.left(20).toStdString();
        EXPECT_TRUE(rozmowa_.zapis[0].startsWith("Wenoglad: Plik: " + Src("p.exe") +
                                                 "\rWydruk nr 2 w paczce ma niedozwoloną nazwę: \""))
            << rozmowa_.zapis[0].toStdString();
        EXPECT_EQ(LibFiles(), QStringList({"Dobry.WYD", "Potem.WYD"})) << name.left(20).toStdString();
        EXPECT_EQ(Read(Lib("Potem.WYD")), kPrintout + "3") << "the record after a refused one is read correctly";
        ASSERT_EQ(wyniki.size(), 3u);
        EXPECT_FALSE(wyniki[1].NazwaDozwolona || wyniki[1].Zapisany);
        EXPECT_TRUE(wyniki[1].Plik.empty());
        EXPECT_EQ(QDir(dir_.filePath("lib")).entryList(QDir::Files).size(), 0) << "nothing above the library";
        EXPECT_FALSE(QFileInfo::exists(dir_.filePath("uciekinier.WYD")));
    }
}

// A record whose name matches a printout of the library ignoring case is that printout.
TEST_F(Dodawanie, ARecordInAnotherCaseIsTheSamePrintout)
{
    const struct {
        const char *name;
        bool answer;
        QByteArray content;
    } rows[] = {
        {"No keeps the old file", false, "stary"},
        {"Yes replaces it under its own name", true, kPrintout + "nowy"},
    };
    Write(Src("p.exe"), Package(PackageRecord("FAKTURA-vat", kCzas, kPrintout + "nowy")));
    for (const auto &row : rows) {
        Write(Lib("faktura-vat.wyd"), "stary");
        rozmowa_.zapis.clear();
        rozmowa_.odpowiedzi = {row.answer};
        std::vector<TWynikRekordu> wyniki;
        RozpakujPaczke(P(Src("p.exe")), 2048, Katalog(), rozmowa_,
                       [&wyniki](const TWynikRekordu &w) { wyniki.push_back(w); });
        EXPECT_EQ(rozmowa_.zapis,
                  QStringList({"pytanie: Potwierdź rozpakowanie pliku | " + Pokrycie(Lib("faktura-vat.wyd"))}))
            << row.name;
        EXPECT_EQ(LibFiles(), QStringList({"faktura-vat.wyd"})) << row.name;
        EXPECT_EQ(Read(Lib("faktura-vat.wyd")), row.content) << row.name;
        ASSERT_EQ(wyniki.size(), 1u);
        EXPECT_EQ(wyniki[0].Plik, P(Lib("faktura-vat.wyd"))) << row.name;
    }
}

TEST_F(Dodawanie, WhatTheChooserOffers)
{
    Write(Src("a.wyd"), kPrintout);
    Write(Src("b.WYD"), "WENOR2001\x06Wydru");
    Write(Src("c.Exe"), Package(PackageRecord("x", 0, "y")));
    Write(Src("d.exe"), Package("")); // its records would begin at its end
    Write(Src("e.exe"), WritePe({}));
    Write(Src("f.txt"), kPrintout);
    Write(Src("g.wyd"), "WENOR2002\x06Wydruk");
    Write(Src("exe"), Package(PackageRecord("x", 0, "y"))); // no extension, though its name is one
    const struct {
        const char *file;
        bool offered;
    } rows[] = {{"a.wyd", true},  {"b.WYD", false}, {"c.Exe", true},     {"d.exe", false}, {"e.exe", false},
                {"f.txt", false}, {"g.wyd", false}, {"brak.wyd", false}, {"exe", false}};
    for (const auto &row : rows) {
        QString opis = "x";
        bool akceptuj = !row.offered;
        ExplorerDodajPlik(P(Src(row.file)), opis, akceptuj);
        EXPECT_EQ(akceptuj, row.offered) << row.file;
        EXPECT_EQ(opis, "") << row.file;
    }
}

TEST_F(Dodawanie, AddingChosenFiles)
{
    Write(Src("a.wyd"), kPrintout);
    Write(Src("b.EXE"), Package(PackageRecord("z paczki", kCzas, kPrintout)));
    Write(Src("c.exe"), WritePe({}));
    Write(Src("d.txt"), kPrintout);
    Write(Src("e.WyD"), kPrintout);
    DodajPliki({P(Src("a.wyd")), P(Src("c.exe")), P(Src("b.EXE")), P(Src("d.txt")), P(Src("e.WyD"))}, Katalog(),
               rozmowa_);
    EXPECT_EQ(rozmowa_.zapis,
              QStringList({"postęp: " + Src("a.wyd"), "postęp: " + Src("c.exe"),
                           "Wenoglad: " + kBrakWersji + "\r(plik: " + Src("c.exe") + ")", "postęp: " + Src("b.EXE"),
                           "postęp: " + Src("d.txt"), "postęp: " + Src("e.WyD")}));
    EXPECT_EQ(LibFiles(), QStringList({"a.wyd", "e.WyD", "z paczki.WYD"}));

    // A printout that cannot be opened ends the add; the files after it are not looked at.
    rozmowa_.zapis.clear();
    EXPECT_THROW(DodajPliki({P(Src("brak.wyd")), P(Src("a.wyd"))}, Katalog(), rozmowa_), EStreamError);
    EXPECT_EQ(rozmowa_.zapis, QStringList({"postęp: " + Src("brak.wyd")}));
}

// The reader takes any seekable device: records read from memory, from an offset, with the same
// refusal of a record cut short as from a file.
TEST(CzytnikPaczki, ReadsFromMemory)
{
    const QByteArray rekordy = PackageRecord("Jeden", 0x5C6E4BC0, kPrintout) + PackageRecord("Dwa", 0, "");
    const struct {
        const char *name;
        QByteArray bytes;
        QStringList read; // "name:length" of each record, its data's size after it
        QString error;
    } rows[] = {
        {"sound", "prog" + rekordy, {"Jeden:29:29", "Dwa:0:0"}, {}},
        {"records past the end", "prog", {}, {}},
        {"cut short",
         "prog" + rekordy.chopped(1),
         {"Jeden:29:29"},
         "Plik: mem\rWydruk nr 2 w paczce jest niekompletny: paczka kończy się przed jego końcem"},
    };
    for (const auto &row : rows) {
        QByteArray bytes = row.bytes;
        QBuffer bufor(&bytes);
        ASSERT_TRUE(bufor.open(QIODevice::ReadOnly));
        TCzytnikPaczki czytnik(bufor, 4, QStringLiteral("mem"));
        TRekordPaczki rekord;
        QStringList read;
        QString error;
        try {
            while (czytnik.Nastepny(rekord)) {
                qsizetype dane = 0;
                czytnik.Dane([&dane](QByteArrayView b) { dane += b.size(); });
                read << QStringLiteral("%1:%2:%3").arg(QString::fromLatin1(rekord.Nazwa)).arg(rekord.Dlugosc).arg(dane);
            }
        } catch (const EStreamError &e) {
            error = e.Message();
        }
        EXPECT_EQ(read, row.read) << row.name;
        EXPECT_EQ(error, row.error) << row.name;
    }
}
