#include "platform/base/Exception.h"
#include "print/PrintDlgSettings.h"
#include "view/UstawieniaPodgladu.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

const QRect kObszar(0, 0, 1920, 1040); // a desktop work area without a task bar at the bottom

// Every test gets its own empty per-user settings folder and a fresh set of print options.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        FreshFolder();
        PrintDlgSettings = TPrintDlgSettings();
    }

    // Points the store at a new folder. The process keeps parsed settings files in memory by
    // name, so a new name is the sure way to make the next read parse the file's text again.
    void FreshFolder()
    {
        dir_ = tmp_.path() + "/" + QString::number(++folders_);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_);
    }
    // Moves the stored file to a new folder, so that it is read back from its text.
    void Reopen()
    {
        const QString old = ConfPath();
        FreshFolder();
        QDir().mkpath(dir_ + "/Wenoglad");
        ASSERT_TRUE(QFile::copy(old, ConfPath()));
    }

    QString ConfPath() const { return dir_ + "/Wenoglad/Wenoglad.conf"; }

    // Writes the settings file as a user (or a damaged disk) might have left it.
    void WriteConf(const QByteArray &lines)
    {
        FreshFolder();
        QDir().mkpath(dir_ + "/Wenoglad");
        QFile f(ConfPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[General]\n" + lines);
    }
    // A value's text as it stands on disk (not as any cached store holds it); null when absent.
    QString Stored(const QString &name) const
    {
        QFile f(ConfPath());
        if (!f.open(QIODevice::ReadOnly))
            return QString();
        for (const QByteArray &line : f.readAll().split('\n')) {
            if (line.startsWith(name.toUtf8() + '='))
                return QString::fromUtf8(line.mid(name.size() + 1));
        }
        return QString();
    }

    TStanPodgladu Read(const QRect &obszar = kObszar)
    {
        TStanPodgladu stan = DomyslnyStanPodgladu(obszar);
        WczytajUstawienia(stan, obszar);
        return stan;
    }

    QTemporaryDir tmp_;
    QString dir_;
    int folders_ = 0;
};

const QByteArray kBounds = "FrmPodglad_Left=40\nFrmPodglad_Top=30\nFrmPodglad_Width=800\nFrmPodglad_Height=600\n";

TEST_F(SettingsTest, FirstRunKeepsEveryDefault)
{
    const QRect obszar(100, 50, 1600, 900); // a task bar on the left and at the top
    const TStanPodgladu stan = Read(obszar);
    EXPECT_EQ(stan.Okno, QRect(250, 55, 1300, 890));
    EXPECT_FALSE(stan.Zmaksymalizowane);
    EXPECT_EQ((std::array{stan.MargTop, stan.MargLeft, stan.MargRight, stan.MargBottom}), (std::array{15, 10, 10, 25}));
    EXPECT_EQ(PrintDlgSettings.NazwaDruk, "");
    EXPECT_EQ(PrintDlgSettings.Tryb, TPrintMode::Normalne);
    EXPECT_TRUE(PrintDlgSettings.Odwrotnie);
    EXPECT_EQ(PrintDlgSettings.Kopie, 1);
    EXPECT_FALSE(PrintDlgSettings.Dwustronnie || PrintDlgSettings.Kolor || PrintDlgSettings.NoAbort ||
                 PrintDlgSettings.NoEMF);
    EXPECT_FALSE(QFile::exists(ConfPath())); // reading creates nothing
}

TEST_F(SettingsTest, WhatIsWrittenIsReadBack)
{
    TStanPodgladu stan;
    stan.Okno = QRect(40, 30, 800, 600);
    stan.MargTop = 0;
    stan.MargLeft = 99;
    stan.MargRight = 7;
    stan.MargBottom = 12;
    PrintDlgSettings = {
        "HP LaserJet, biuro  [ipp://drukarka/q]", TPrintMode::Ksiazeczka, false, true, true, 4, true, true};
    // The printers that print both sides themselves, names with commas and slashes among them.
    PrintDlgSettings.DwustronnieAutoDrukarki = {"HP LaserJet, biuro  [ipp://drukarka/q]", "magazyn/kopie"};
    const TPrintDlgSettings written = PrintDlgSettings;
    ZapiszUstawienia(stan);

    EXPECT_EQ(Stored("FrmPodglad_Width"), "800");
    EXPECT_EQ(Stored("FrmPodglad_Max"), "false");
    EXPECT_EQ(Stored("PrintDlg_NazwaDruk"), "\"" + written.NazwaDruk + "\"");
    EXPECT_EQ(Stored("PrintDlg_Tryb"), "3"); // the booklet's stored number

    PrintDlgSettings = TPrintDlgSettings();
    Reopen();
    const TStanPodgladu back = Read();
    EXPECT_EQ(back.Okno, stan.Okno);
    EXPECT_FALSE(back.Zmaksymalizowane);
    EXPECT_EQ((std::array{back.MargTop, back.MargLeft, back.MargRight, back.MargBottom}), (std::array{0, 99, 7, 12}));
    EXPECT_EQ(PrintDlgSettings, written);
}

TEST_F(SettingsTest, MaximisedCloseStoresOnlyTheMaximisedFlag)
{
    TStanPodgladu stan;
    stan.Okno = QRect(40, 30, 800, 600);
    ZapiszUstawienia(stan);
    stan.Okno = QRect(0, 0, 1920, 1040);
    stan.Zmaksymalizowane = true;
    ZapiszUstawienia(stan);

    EXPECT_EQ(Stored("FrmPodglad_Max"), "true");
    EXPECT_EQ(Stored("FrmPodglad_Width"), "800");
    // The next preview opens maximised and returns to the last normal bounds when restored.
    Reopen();
    const TStanPodgladu back = Read();
    EXPECT_TRUE(back.Zmaksymalizowane);
    EXPECT_EQ(back.Okno, QRect(40, 30, 800, 600));
}

TEST_F(SettingsTest, StoredBoundsAreCutToTheWorkArea)
{
    struct Row {
        const char *name;
        QRect stored, obszar, expected;
    } rows[] = {
        {"Inside", {40, 30, 800, 600}, kObszar, {40, 30, 800, 600}},
        // The work area's right edge is 1920, one past its last pixel: exactly filling it is fine.
        {"RightEdgeExactly", {1120, 30, 800, 600}, kObszar, {1120, 30, 800, 600}},
        {"Wider", {100, 30, 2500, 600}, kObszar, {100, 30, 1820, 600}},
        {"Taller", {40, 200, 800, 1000}, kObszar, {40, 200, 800, 840}},
        {"BothOnAnOffsetArea", {300, 100, 2000, 2000}, {200, 40, 1280, 984}, {300, 100, 1180, 924}},
        // Left and top are never moved, even off the desktop.
        {"LeftTopKept", {-50, -20, 800, 600}, kObszar, {-50, -20, 800, 600}},
    };
    for (const Row &row : rows) {
        TStanPodgladu stan;
        stan.Okno = row.stored;
        ZapiszUstawienia(stan);
        Reopen();
        EXPECT_EQ(Read(row.obszar).Okno, row.expected) << row.name;
    }
}

// Values are read in groups; one that is missing or does not read as its type ends its own group.
TEST_F(SettingsTest, ValuesAreReadGroupByGroup)
{
    const TStanPodgladu defaults = DomyslnyStanPodgladu(kObszar);
    struct Row {
        const char *name;
        QByteArray conf;
        std::function<void(const TStanPodgladu &)> check;
    } rows[] = {
        {"MarginsBroughtIntoRange", "Margin_Top=150\nMargin_Left=-5\nMargin_Right=99\nMargin_Bottom=0\n",
         [&](const TStanPodgladu &s) {
             EXPECT_EQ((std::array{s.MargTop, s.MargLeft, s.MargRight, s.MargBottom}), (std::array{99, 0, 99, 0}));
         }},
        // The print dialog copes with a mode outside 1..3 itself.
        {"PrintOptionsWithoutRangeChecks", "PrintDlg_Tryb=7\nPrintDlg_Kopie=-3\n",
         [&](const TStanPodgladu &) {
             EXPECT_EQ(PrintDlgSettings.Tryb, PrintModeOf(7));
             EXPECT_EQ(PrintDlgSettings.Kopie, -3);
         }},
        {"MissingLeftIgnoresAllBounds",
         "FrmPodglad_Top=30\nFrmPodglad_Width=800\nFrmPodglad_Height=600\n"
         "FrmPodglad_Max=true\nMargin_Top=20\n",
         [&](const TStanPodgladu &s) {
             EXPECT_EQ(s.Okno, defaults.Okno);
             EXPECT_TRUE(s.Zmaksymalizowane); // the next groups are still read
             EXPECT_EQ(s.MargTop, 20);
         }},
        {"FractionalWidthIgnoresAllBounds", kBounds + "FrmPodglad_Width=800.5\n",
         [&](const TStanPodgladu &s) { EXPECT_EQ(s.Okno, defaults.Okno); }},
        {"WordForMaximised", kBounds + "FrmPodglad_Max=tak\n",
         [&](const TStanPodgladu &s) {
             EXPECT_FALSE(s.Zmaksymalizowane);
             EXPECT_EQ(s.Okno, QRect(40, 30, 800, 600));
         }},
        {"NumberForMaximised", "FrmPodglad_Max=1\n", [&](const TStanPodgladu &s) { EXPECT_TRUE(s.Zmaksymalizowane); }},
        // The margins read before the bad one stay, those after it keep their defaults.
        {"BadMarginEndsTheMargins", "Margin_Top=20\nMargin_Left=abc\nMargin_Right=30\nMargin_Bottom=40\n",
         [&](const TStanPodgladu &s) {
             EXPECT_EQ((std::array{s.MargTop, s.MargLeft, s.MargRight, s.MargBottom}), (std::array{20, 10, 10, 25}));
         }},
        {"ListForMargin", "Margin_Top=1, 2\n", [&](const TStanPodgladu &s) { EXPECT_EQ(s.MargTop, 15); }},
        {"BadPrintOptionSkipsOnlyItself",
         "PrintDlg_Tryb=dwa\nPrintDlg_Odwrotnie=0\nPrintDlg_Kolor=maybe\n"
         "PrintDlg_Kopie=2\nPrintDlg_NoEMF=true\n",
         [&](const TStanPodgladu &) {
             EXPECT_EQ(PrintDlgSettings.Tryb, TPrintMode::Normalne);
             EXPECT_FALSE(PrintDlgSettings.Odwrotnie);
             EXPECT_FALSE(PrintDlgSettings.Kolor);
             EXPECT_EQ(PrintDlgSettings.Kopie, 2);
             EXPECT_TRUE(PrintDlgSettings.NoEMF);
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        WriteConf(row.conf);
        PrintDlgSettings = TPrintDlgSettings();
        row.check(Read());
    }
}

TEST_F(SettingsTest, StoreThatCannotBeCreatedIsSkippedSilently)
{
    // The settings folder's place is taken by a file, so the store cannot be made.
    QFile blocker(tmp_.path() + "/plik");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker.fileName());
    EXPECT_NO_THROW(ZapiszUstawienia(TStanPodgladu()));
}

// Holds every file this process writes at zero bytes, as a full disk would, until destroyed.
class NoRoomToWrite {
public:
    NoRoomToWrite()
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit none = old_;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &none);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    }
    ~NoRoomToWrite()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    sighandler_t oldHandler_{};
};

TEST_F(SettingsTest, FailedWriteRaisesAndKeepsTheStoredValues)
{
    TStanPodgladu stan;
    stan.Okno = QRect(40, 30, 800, 600);
    ZapiszUstawienia(stan);
    stan.Okno = QRect(50, 50, 900, 700);
    stan.MargTop = 33;
    try {
        NoRoomToWrite full;
        ZapiszUstawienia(stan);
        ADD_FAILURE() << "no error";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), "Nie można zapisać ustawień w pliku \"" + ConfPath() + "\".");
    }
    // The file on disk is whole and unchanged.
    EXPECT_EQ(Stored("FrmPodglad_Left"), "40");
    EXPECT_EQ(Stored("Margin_Top"), "15");
}

} // namespace
