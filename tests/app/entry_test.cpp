// The program's entry: which run the first argument chooses, the start-up state with the copy
// question, the program folder, the version text, the formats, the message step, and the
// program's own install and uninstall runs.
#include "app/Program.h"
#include "app/Uruchomienie.h"
#include "library/Wersja.h"
#include "platform/base/KatalogProgramu.h"
#include "tests/ui/ModalDriver.h"
#include "ui/KrokKomunikatow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <optional>

namespace {

struct RunRow {
    const char *name;
    QString argument;
    TRodzajUruchomienia run;
};

TEST(Entry, OnlyTheExactWordsChooseInstallAndUninstall)
{
    using R = TRodzajUruchomienia;
    const RunRow rows[] = {
        {"install", "INST", R::Instaluj},
        {"uninstall", "UNINST", R::Odinstaluj},
        {"lower case", "inst", R::Przegladarka},
        {"mixed case", "Inst", R::Przegladarka},
        {"with a slash", "/INST", R::Przegladarka},
        {"with a dash", "-UNINST", R::Przegladarka},
        {"trailing blank", "INST ", R::Przegladarka},
        {"temporary mode", "TEMP", R::Przegladarka},
        {"no argument", "", R::Przegladarka},
    };
    for (const RunRow &row : rows)
        EXPECT_EQ(RodzajUruchomienia(row.argument), row.run) << row.name;
}

// The question as asked, and the answer to give.
struct Questions {
    bool answer = false;
    QStringList titles, texts;
    TPytanieTakNie Ask()
    {
        return [this](const QString &title, const QString &text) {
            titles.push_back(title);
            texts.push_back(text);
            return answer;
        };
    }
};

class StartState : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        library_ = tmp_.path() + "/biblioteka/";
        ASSERT_TRUE(QDir().mkpath(library_));
        ASSERT_TRUE(QDir().mkpath(tmp_.path() + "/inne"));
    }
    QString Touch(const QString &path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path;
    }
    QTemporaryDir tmp_;
    QString library_;
    Questions q_;
};

TEST_F(StartState, TempIsTheTemporaryModeAndNothingElse)
{
    const TStanStartowy stan = StanStartowy("TEMP", library_, q_.Ask());
    EXPECT_EQ(stan, (TStanStartowy{.TrybTemp = true}));
    EXPECT_TRUE(q_.titles.isEmpty());
}

TEST_F(StartState, TempWinsOverAFileOfThatName)
{
    const QString old = QDir::currentPath();
    QDir::setCurrent(tmp_.path());
    Touch(tmp_.path() + "/TEMP");
    const TStanStartowy stan = StanStartowy("TEMP", library_, q_.Ask());
    QDir::setCurrent(old);
    EXPECT_TRUE(stan.TrybTemp);
    EXPECT_TRUE(stan.PlikDoPodgladu.isEmpty());
}

TEST_F(StartState, ArgumentsThatNameNoFileAreIgnoredWithoutAQuestion)
{
    // A pipe or a device named like a printout is no file either: never offered, never read.
    ASSERT_EQ(mkfifo(QFile::encodeName(tmp_.path() + "/potok.wyd").constData(), 0600), 0);
    const QString rows[] = {"",
                            "temp",
                            "inst",
                            tmp_.path() + "/nie-ma.wyd",
                            tmp_.path() + "/inne",
                            "/dev/null",
                            tmp_.path() + "/potok.wyd"};
    for (const QString &argument : rows) {
        EXPECT_EQ(StanStartowy(argument, library_, q_.Ask()), TStanStartowy()) << argument.toStdString();
    }
    EXPECT_TRUE(q_.titles.isEmpty());
}

TEST_F(StartState, FileInsideTheLibraryOpensWithoutTheQuestion)
{
    const QString path = Touch(library_ + "Raport.wyd");
    const TStanStartowy stan = StanStartowy(path, library_, q_.Ask());
    EXPECT_EQ(stan, (TStanStartowy{.PlikDoPodgladu = path}));
    EXPECT_TRUE(q_.titles.isEmpty());
}

TEST_F(StartState, LibraryComparisonIgnoresTheCaseOfTheFolderText)
{
    // The same folder spelled in another case on a disk that would not care.
    const QString path = Touch(library_ + "Raport.wyd");
    const TStanStartowy stan = StanStartowy(path, library_.toUpper(), q_.Ask());
    EXPECT_EQ(stan.PlikDoPodgladu, path);
    EXPECT_TRUE(q_.titles.isEmpty());
}

TEST_F(StartState, FileElsewhereIsOfferedForCopyingWithTheExactQuestion)
{
    const QString path = Touch(tmp_.path() + "/inne/Raport.wyd");
    for (const bool answer : {true, false}) {
        q_ = Questions{.answer = answer};
        const TStanStartowy stan = StanStartowy(path, library_, q_.Ask());
        ASSERT_EQ(q_.titles.size(), 1);
        EXPECT_EQ(q_.titles[0], "Wenoglad - " + path);
        EXPECT_EQ(q_.texts[0], "Czy skopiować wydruk do katalogu przeglądarki\r(" + library_ + ") ?");
        // Yes leaves the file to the library's first refresh to copy in; No opens it in the preview.
        EXPECT_EQ(stan, answer ? TStanStartowy{.PlikDoSkopiowania = path} : TStanStartowy{.PlikDoPodgladu = path})
            << "answer " << answer;
    }
}

TEST_F(StartState, LibraryFileNamedThroughAnotherPathFormIsTakenAsForeign)
{
    // The comparison is textual: a relative name of a library file gets the question.
    Touch(library_ + "Raport.wyd");
    const QString old = QDir::currentPath();
    QDir::setCurrent(library_);
    q_ = Questions{.answer = false};
    const TStanStartowy stan = StanStartowy("Raport.wyd", library_, q_.Ask());
    QDir::setCurrent(old);
    EXPECT_EQ(q_.titles.size(), 1);
    EXPECT_EQ(stan.PlikDoPodgladu, "Raport.wyd");
}

TEST(Entry, ProgramFolderEndsWithASlash)
{
    EXPECT_TRUE(FolderPlikuProgramu().endsWith('/'));
    EXPECT_EQ(FolderPlikuProgramu(), QCoreApplication::applicationDirPath() + "/");
    const QString before = KatalogProgramu();
    UstawKatalogProgramu("/opt/wenoglad");
    EXPECT_EQ(KatalogProgramu(), "/opt/wenoglad/");
    UstawKatalogProgramu("/opt/wenoglad/");
    EXPECT_EQ(KatalogProgramu(), "/opt/wenoglad/");
    UstawKatalogProgramu(before);
}

TEST(Entry, VersionTextIsTheFirstFiveCharacters)
{
    EXPECT_EQ(WersjaZTekstu("2.2.0.0"), "2.2.0");
    EXPECT_EQ(WersjaZTekstu("10.1.3.7"), "10.1.") << "a longer first number leaves a trailing point";
    EXPECT_EQ(WersjaZTekstu(""), "");
    EXPECT_EQ(WersjaProgramu(), "2.2.0");
}

TEST(Entry, ProcessWideFormats)
{
    EXPECT_EQ(FormatujLiczbe(1234567.891, 2), "1 234 567,89");
    EXPECT_EQ(FormatujLiczbe(999, 0), "999");
    EXPECT_EQ(FormatujLiczbe(-1000.5, 1), "-1 000,5");
    EXPECT_EQ(FormatujLiczbe(-0.001, 2), "0,00") << "no minus before a rounded zero";
    EXPECT_EQ(FormatujDateKrotko(QDate(2024, 3, 5)), "05-03-2024");
    EXPECT_EQ(FormatujDateDlugo(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9))), "05-03-2024 07:08:09");
}

TEST(Entry, MessageStepHandlesPendingEventsWithTheIdleFlagOff)
{
    EXPECT_TRUE(CzekajNaKomunikaty());
    std::optional<bool> seen;
    QTimer::singleShot(0, [&] { seen = CzekajNaKomunikaty(); });
    KrokKomunikatow();
    ASSERT_TRUE(seen.has_value()) << "the pending event was handled";
    EXPECT_FALSE(*seen);
    EXPECT_TRUE(CzekajNaKomunikaty());
    KrokKomunikatow(); // an empty queue returns at once
    EXPECT_TRUE(CzekajNaKomunikaty());
}

// The runs act on the places they are given; a test never lets them near the machine's own.
TEST(Entry, InstallAndUninstallRunOnTheirArgumentOnly)
{
    QTemporaryDir tmp;
    auto paths = [&] {
        TInstallPaths p;
        p.Library = tmp.path() + "/lib/";
        QDir().mkpath(p.Library);
        p.Program = p.Library + "wenoglad";
        p.Cli = p.Library + "wenoglad-cli";
        p.DataHome = tmp.path() + "/data";
        p.UserConfig = tmp.path() + "/config/Wenoglad";
        p.ConfigFile = p.UserConfig + "/Wenoglad.conf";
        p.TempDir = tmp.path();
        p.RunTools = false;
        return p;
    };
    int asked = 0;
    auto never = [&]() -> TInstallPaths {
        ++asked;
        return paths();
    };
    EXPECT_EQ(UruchomInstalacje("inst", never), -1);
    EXPECT_EQ(UruchomInstalacje(QString(), never), -1);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(UruchomInstalacje("INST", paths), 0);
    EXPECT_TRUE(QFile::exists(tmp.path() + "/data/applications/wenoglad.desktop"));
    // The typed confirmation refused: the uninstall stops and leaves everything.
    ModalDriver driver;
    driver.Then([](QWidget *w) { w->close(); });
    EXPECT_EQ(UruchomInstalacje("UNINST", paths), 0);
    EXPECT_TRUE(driver.ran);
    EXPECT_TRUE(QFile::exists(tmp.path() + "/data/applications/wenoglad.desktop"));
}

} // namespace
