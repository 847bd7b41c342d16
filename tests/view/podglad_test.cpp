// The preview window driven as the user drives it: loading, the page panel and its repeat
// buttons, the margins panel, keys during and after the build, errors, and the settings it keeps.
#include "tests/support/LayoutHelpers.h"
#include "tests/support/PaintCounter.h"
#include "tests/ui/ModalDriver.h"

#include "platform/base/KatalogProgramu.h"
#include "platform/metafile/PageMetafile.h"
#include "print/PrintDlgSettings.h"
#include "ui/BusyCursor.h"
#include "ui/HintBar.h"
#include "ui/WenBtn.h"
#include "ui/bajery.h"
#include "view/EmfViewer.h"
#include "view/uFrmPodglad.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace wydtest;

namespace {

// n one-line items, 83 to a page.
Document Items(int n)
{
    Document doc = DeviceDocument();
    for (int i = 1; i <= n; ++i) {
        Record item;
        item.Title = BlockOf({TextLine("l" + QByteArray::number(i))});
        doc.Root.Items.push_back(item);
    }
    return doc;
}

// Receives the URLs the preview asks the desktop to open.
class UrlSink : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened.push_back(url); }
};

class Podglad : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        // A folder of its own for every test: the process caches settings files by name.
        const QString conf = tmp_.path() + "/conf";
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, conf);
        confPath_ = conf + "/Wenoglad/Wenoglad.conf";
        PrintDlgSettings = TPrintDlgSettings();
    }
    // Records the print requests of frm.
    void WatchPrinting(TFrmPodglad &frm)
    {
        QObject::connect(&frm, &TFrmPodglad::Drukuj, [this](const QString &title, TEmfViewer *viewer) {
            printTitles_.push_back(title);
            printPages_ = viewer->PageCount();
        });
    }

    QString Write(const QString &name, const Document &doc)
    {
        const QString path = tmp_.path() + "/" + name;
        WriteWyd(path, doc);
        return path;
    }
    void WriteConf(const QByteArray &lines)
    {
        QDir().mkpath(QFileInfo(confPath_).path());
        QFile f(confPath_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[General]\n" + lines);
    }
    // A stored value as the file on disk has it.
    QString Stored(const QString &name)
    {
        QSettings s(confPath_, QSettings::IniFormat);
        return s.value(name).toString();
    }
    // Shows the window and lets the posted load run to its end.
    static void ShowAndLoad(TFrmPodglad &frm)
    {
        frm.show();
        QCoreApplication::processEvents();
    }
    static void PostKey(QWidget *target, int key)
    {
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    }

    QTemporaryDir tmp_;
    QString confPath_;
    QStringList printTitles_;
    int printPages_ = -1;
};

TEST_F(Podglad, OnePagePrintoutShowsOneOfOneWithBothPageButtonsDisabled)
{
    TFrmPodglad frm;
    frm.UstawPlik(Write("jedna.wyd", Items(5)));
    EXPECT_FALSE(frm.lblStrona->isVisible()) << "no pages yet";
    ShowAndLoad(frm);
    EXPECT_EQ(frm.viewer->PageCount(), 1);
    EXPECT_TRUE(frm.lblStrona->isVisible());
    EXPECT_EQ(frm.lblStrona->text(), "1/1");
    EXPECT_FALSE(frm.btnStronaUp->isEnabled());
    EXPECT_FALSE(frm.btnStronaDn->isEnabled());
    EXPECT_EQ(frm.hb->TextAccept(), "Drukuj");
    EXPECT_EQ(frm.hb->TextLeft(), "");
    EXPECT_EQ(BusyCursorCount(), 0);
}

// The bar was repainted after every line, even with the percentage unchanged: the build took
// eight times as long in the window as in the loader alone.
TEST_F(Podglad, BuildRepaintsTheHintBarOnlyWhenItsTextChanges)
{
    TFrmPodglad frm;
    frm.UstawPlik(Write("dlugi.wyd", Items(1000)));
    PaintCounter paints(frm.hb);
    ShowAndLoad(frm);
    ASSERT_EQ(frm.viewer->PageCount(), 13);
    EXPECT_EQ(frm.hb->TextAccept(), "Drukuj");
    // 1,000 lines, 101 percentages, the three texts around them and the first show.
    EXPECT_LE(paints.count, 110);
}

// The counter was a fixed 60 pixels: page 370 of 380 read "Strona70/380" over the colon.
TEST_F(Podglad, PageCounterIsWholeBesideItsCaptionAndButtons)
{
    struct Row {
        int pages, at;
        const char *shown;
    } rows[] = {{3, 2, "2/3"}, {380, 370, "370/380"}, {1000, 1000, "1000/1000"}};
    const QString jedna = Write("jedna.wyd", Items(1));
    for (const Row &row : rows) {
        TFrmPodglad frm;
        frm.UstawPlik(jedna);
        frm.resize(800, 600);
        ShowAndLoad(frm);
        for (int i = 1; i < row.pages; ++i)
            frm.viewer->AddPage(new platform::PageMetafile); // freed by the window
        frm.viewer->SetPageNr(row.at);
        QCoreApplication::processEvents(); // the row of panels lays itself out again
        ASSERT_EQ(frm.lblStrona->text(), row.shown);
        const QRect counter = frm.lblStrona->geometry();
        const int textLeft = counter.right() + 1 - frm.lblStrona->fontMetrics().horizontalAdvance(row.shown);
        const int captionRight =
            frm.lblStrona1->x() + frm.lblStrona1->fontMetrics().horizontalAdvance(frm.lblStrona1->text());
        EXPECT_GE(textLeft, counter.left()) << row.shown;
        EXPECT_GT(textLeft, captionRight) << row.shown;
        EXPECT_LT(counter.right(), frm.btnStronaUp->x()) << row.shown;
        EXPECT_TRUE(frm.pStrony->rect().contains(frm.btnStronaUp->geometry())) << row.shown;
        EXPECT_LE(frm.pStrony->geometry().right(), frm.pGora->width()) << row.shown;
    }
}

TEST_F(Podglad, HoldingTheDownButtonStepsAtOnceThenOnEveryTick)
{
    TFrmPodglad frm;
    frm.UstawPlik(Write("trzy.wyd", Items(170)));
    ShowAndLoad(frm);
    ASSERT_EQ(frm.viewer->PageCount(), 3);
    EXPECT_EQ(frm.lblStrona->text(), "1/3");
    EXPECT_FALSE(frm.btnStronaUp->isEnabled());

    QTest::mousePress(frm.btnStronaDn, Qt::LeftButton);
    EXPECT_EQ(frm.lblStrona->text(), "2/3") << "the first step comes with the press";
    EXPECT_TRUE(frm.timerStrona->isActive());
    EXPECT_EQ(frm.timerStrona->interval(), 100);
    EXPECT_TRUE(frm.btnStronaUp->isEnabled());

    QMetaObject::invokeMethod(frm.timerStrona, "timeout");
    EXPECT_EQ(frm.lblStrona->text(), "3/3");
    EXPECT_FALSE(frm.btnStronaDn->isEnabled());
    // The disabled button gets no release; the repeat must end by itself rather than run on.
    EXPECT_FALSE(frm.timerStrona->isActive());
    QMetaObject::invokeMethod(frm.timerStrona, "timeout");
    EXPECT_EQ(frm.lblStrona->text(), "3/3") << "at the last page further ticks change nothing";

    QTest::mousePress(frm.btnStronaUp, Qt::LeftButton);
    EXPECT_EQ(frm.lblStrona->text(), "2/3");
    QTest::mouseRelease(frm.btnStronaUp, Qt::LeftButton);
    EXPECT_FALSE(frm.timerStrona->isActive());
}

TEST_F(Podglad, EscWhileBuildingStopsTheBuildClosesAndStoresTheSettings)
{
    TFrmPodglad frm;
    frm.UstawPlik(Write("trzy.wyd", Items(170)));
    frm.margT->setValue(33);
    frm.show();
    // Queued behind the load: the first message step of the build delivers it.
    PostKey(frm.viewer, Qt::Key_Escape);
    QCoreApplication::processEvents();

    EXPECT_FALSE(frm.isVisible());
    EXPECT_TRUE(frm.Przerwij());
    EXPECT_LT(frm.viewer->PageCount(), 3) << "the build stopped early";
    EXPECT_EQ(frm.hb->TextAccept(), "") << "a stopped build offers no printing";
    EXPECT_EQ(frm.hb->TextLeft(), "");
    EXPECT_EQ(BusyCursorCount(), 0);
    EXPECT_EQ(Stored("Margin_Top"), "33");
    EXPECT_EQ(Stored("FrmPodglad_Max"), "false");
}

// The build asked whether the application was being destroyed, which it never is while a window
// runs a build: a window taken off the screen built on to the end.
TEST_F(Podglad, WindowTakenOffTheScreenStopsTheBuild)
{
    TFrmPodglad frm;
    frm.UstawPlik(Write("trzy.wyd", Items(170)));
    frm.show();
    QMetaObject::invokeMethod(&frm, &QWidget::hide, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frm.Przerwij());
    EXPECT_LT(frm.viewer->PageCount(), 3);
    EXPECT_EQ(frm.hb->TextAccept(), "");
}

TEST_F(Podglad, EnterBeforeTheBuildEndsDoesNothingAndAfterItPrints)
{
    TFrmPodglad frm;
    WatchPrinting(frm);
    frm.UstawPlik(Write("Raport.wyd", Items(170)));
    frm.show();
    PostKey(frm.viewer, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(printTitles_.isEmpty());
    EXPECT_TRUE(frm.isVisible());
    EXPECT_EQ(frm.viewer->PageCount(), 3) << "Enter does not stop the build";

    QTest::keyClick(frm.viewer, Qt::Key_Return);
    EXPECT_EQ(printTitles_, QStringList{"Raport"});
    EXPECT_EQ(printPages_, 3);
    QTest::keyClick(frm.viewer, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(printTitles_.size(), 1) << "a held Ctrl makes Enter no window key";
}

TEST_F(Podglad, CaptionNamesThePrintoutInQuotationMarks)
{
    TFrmPodglad frm;
    frm.UstawPlik(Write("Raport.wyd", Items(1)));
    EXPECT_EQ(frm.windowTitle(), "Wenoglad - Podgląd wydruku");
    ShowAndLoad(frm);
    EXPECT_EQ(frm.windowTitle(), "Wenoglad - Podgląd wydruku \"Raport\"");
}

TEST_F(Podglad, FileAndLibraryNamesGivePathAndPrintoutName)
{
    TFrmPodglad frm;
    frm.UstawPlik("/dane/wydruki/Raport.roczny.wyd");
    EXPECT_EQ(frm.SciezkaPliku(), "/dane/wydruki/Raport.roczny.wyd");
    EXPECT_EQ(frm.NazwaWydruku(), "Raport.roczny") << "only the last extension goes";
    frm.UstawWydruk("Faktura");
    EXPECT_EQ(frm.SciezkaPliku(), KatalogProgramu() + "Faktura.WYD");
    EXPECT_EQ(frm.NazwaWydruku(), "Faktura");
}

TEST_F(Podglad, MalformedFileShowsItsMessageAndTheWindowStaysWithoutPrinting)
{
    const QString path = tmp_.path() + "/zly.wyd";
    WriteBytes(path, QByteArray("To nie jest wydruk, tylko zwykly tekst."));
    TFrmPodglad frm;
    WatchPrinting(frm);
    frm.UstawPlik(path);
    frm.show();
    // Queued behind the load, so it finds the error box up.
    ModalDriver driver;
    QString title, text;
    driver.Then([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    QCoreApplication::processEvents();
    EXPECT_TRUE(driver.ran);
    EXPECT_EQ(title, "Wenoglad");
    EXPECT_EQ(text, "Nie można odczytać wydruku \"" + path + "\":\rPlik nie zawiera prawidłowego wydruku Wenora.");
    EXPECT_TRUE(frm.isVisible());
    EXPECT_EQ(frm.hb->TextAccept(), "");
    EXPECT_EQ(frm.hb->TextLeft(), "");
    EXPECT_EQ(BusyCursorCount(), 0);

    QTest::keyClick(frm.viewer, Qt::Key_Return);
    EXPECT_TRUE(printTitles_.isEmpty());
    QTest::keyClick(frm.viewer, Qt::Key_Escape);
    EXPECT_FALSE(frm.isVisible());
}

TEST_F(Podglad, WithoutStoringTheSettingsTheStoredMarginsStay)
{
    WriteConf("Margin_Top=20\nMargin_Left=11\nMargin_Right=12\nMargin_Bottom=13\n");
    const QString path = Write("jedna.wyd", Items(1));
    {
        TFrmPodglad frm;
        frm.UstawPlik(path);
        frm.BezZapisuUstawien();
        EXPECT_EQ(frm.margT->value(), 20);
        ShowAndLoad(frm);
        frm.margT->setValue(40);
        EXPECT_EQ(frm.viewer->MargTop(), 40);
        QTest::keyClick(frm.viewer, Qt::Key_Escape);
        EXPECT_FALSE(frm.isVisible());
    }
    EXPECT_EQ(Stored("Margin_Top"), "20");
    {
        // The same without the request stores the change: the check above is not vacuous.
        TFrmPodglad frm;
        frm.UstawPlik(path);
        ShowAndLoad(frm);
        frm.margT->setValue(40);
        frm.close();
    }
    EXPECT_EQ(Stored("Margin_Top"), "40");
}

TEST_F(Podglad, StoredMarginsReachFieldsAndViewerWithinRange)
{
    WriteConf("Margin_Top=150\nMargin_Left=7\nMargin_Right=8\nMargin_Bottom=9\n");
    TFrmPodglad frm;
    EXPECT_EQ(frm.margT->value(), 99);
    EXPECT_EQ(frm.viewer->MargTop(), 99);
    EXPECT_EQ(frm.viewer->MargLeft(), 7);
    EXPECT_EQ(frm.viewer->MargRight(), 8);
    EXPECT_EQ(frm.viewer->MargBottom(), 9);
}

TEST_F(Podglad, FirstRunUsesTheInitialMarginsAndPrintOptions)
{
    TFrmPodglad frm;
    EXPECT_EQ(frm.viewer->MargTop(), 15);
    EXPECT_EQ(frm.viewer->MargLeft(), 10);
    EXPECT_EQ(frm.viewer->MargRight(), 10);
    EXPECT_EQ(frm.viewer->MargBottom(), 25);
    EXPECT_EQ(PrintDlgSettings, TPrintDlgSettings());
    EXPECT_EQ(frm.viewer->ZoomLevel(), zoomPageH);
}

TEST_F(Podglad, EditedMarginFieldGoesToTheViewerAndTextThatIsNoNumberCountsAsZero)
{
    TFrmPodglad frm;
    frm.resize(800, 600);
    frm.margL->setValue(42);
    EXPECT_EQ(frm.viewer->MargLeft(), 42);
    frm.margB->findChild<QLineEdit *>()->clear();
    EXPECT_EQ(frm.viewer->MargBottom(), 0);
}

TEST_F(Podglad, NarrowWindowShowsOnlyTheLabelAndAClickWidensIt)
{
    TFrmPodglad frm;
    frm.resize(500, 600);
    frm.show();
    EXPECT_EQ(frm.pMarginesy->width(), 75);
    EXPECT_GE(frm.lblMargT->x(), 75) << "the first field's label lies beyond the narrow panel";
    EXPECT_FALSE(frm.margT->isEnabled());
    EXPECT_EQ(frm.lblMarg->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(frm.lblMarg, Qt::LeftButton);
    EXPECT_EQ(frm.width(), 600);
    EXPECT_EQ(frm.pMarginesy->width(), 440);
    EXPECT_TRUE(frm.margT->isEnabled());
    EXPECT_EQ(frm.lblMarg->cursor().shape(), Qt::ArrowCursor);

    QTest::mouseClick(frm.lblMarg, Qt::LeftButton);
    EXPECT_EQ(frm.width(), 600) << "a wide window stays as it is";
    frm.resize(599, 600);
    EXPECT_EQ(frm.pMarginesy->width(), 75);
}

TEST_F(Podglad, F1OpensTheHelpPageOrSaysWhyNot)
{
    const QString program = KatalogProgramu();
    UstawKatalogProgramu(tmp_.path());
    const QString pomoc = KatalogProgramu() + "pomoc.html";
    UrlSink sink;
    QDesktopServices::setUrlHandler("file", &sink, "open");
    TFrmPodglad frm;
    frm.UstawPlik(Write("jedna.wyd", Items(1)));
    ShowAndLoad(frm);
    // Without the page F1 did nothing at all.
    QString tekst;
    ModalDriver box;
    box.Then([&](QWidget *w) {
        if (auto *m = qobject_cast<QMessageBox *>(w))
            tekst = m->text();
        w->close();
    });
    QTest::keyClick(frm.viewer, Qt::Key_F1);
    EXPECT_TRUE(tekst.startsWith("Nie można otworzyć pomocy: " + pomoc)) << tekst.toStdString();
    EXPECT_TRUE(sink.opened.isEmpty());

    QFile(pomoc).open(QIODevice::WriteOnly);
    QTest::keyClick(frm.viewer, Qt::Key_F1);
    QDesktopServices::unsetUrlHandler("file");
    UstawKatalogProgramu(program);
    ASSERT_EQ(sink.opened.size(), 1);
    EXPECT_EQ(sink.opened[0], QUrl::fromLocalFile(pomoc));
}

TEST_F(Podglad, WindowKeysReachTheWindowFromAMarginField)
{
    TFrmPodglad frm;
    WatchPrinting(frm);
    frm.UstawPlik(Write("jedna.wyd", Items(1)));
    frm.resize(800, 600);
    ShowAndLoad(frm);
    QTest::keyClick(frm.margT, Qt::Key_Return);
    EXPECT_EQ(printTitles_.size(), 1);
    QTest::keyClick(frm.margT, Qt::Key_Escape);
    EXPECT_FALSE(frm.isVisible());
}

// The bounds were applied and stored as the inside of the window: under a window manager the
// first-run preview ran past the bottom of the screen, hiding "Drukuj" and "Zamknij". The offscreen
// screen is 800 x 800 and gives windows a frame of 2 pixels all round.
TEST_F(Podglad, BoundsArePlacedFittedAndStoredWithTheFrame)
{
    struct Row {
        const char *name;
        QByteArray conf;
        QRect outer;
    } rows[] = {
        {"first run: the work area less 150/5 offsets", "", QRect(150, 5, 500, 790)},
        {"stored", "FrmPodglad_Left=10\nFrmPodglad_Top=20\nFrmPodglad_Width=500\nFrmPodglad_Height=520\n",
         QRect(10, 20, 500, 520)},
        {"cut back to the work area",
         "FrmPodglad_Left=300\nFrmPodglad_Top=100\nFrmPodglad_Width=900\nFrmPodglad_Height=900\n",
         QRect(300, 100, 500, 700)},
    };
    for (const Row &row : rows) {
        WriteConf(row.conf);
        TFrmPodglad frm;
        frm.UstawPlik(Write("jedna.wyd", Items(1)));
        ShowAndLoad(frm);
        ASSERT_NE(frm.frameGeometry(), frm.geometry()) << "the offscreen windows have a frame";
        EXPECT_EQ(frm.frameGeometry(), row.outer) << row.name;
        frm.resize(frm.width() - 50, frm.height() - 10);
        frm.close();
        EXPECT_EQ(Stored("FrmPodglad_Width"), QString::number(row.outer.width() - 50)) << row.name;
        EXPECT_EQ(Stored("FrmPodglad_Height"), QString::number(row.outer.height() - 10)) << row.name;
        EXPECT_EQ(Stored("FrmPodglad_Left"), QString::number(row.outer.left())) << row.name;
    }
    // The smallest window is 350 x 500 with its frame.
    TFrmPodglad frm;
    frm.UstawPlik(Write("jedna.wyd", Items(1)));
    ShowAndLoad(frm);
    frm.resize(10, 10);
    EXPECT_EQ(frm.frameGeometry().size(), QSize(350, 500));
}

// Restoring only the library window left the modal preview minimised, and the program took no
// more input.
TEST_F(Podglad, MinimisingAndRestoringEitherWindowTakesTheOtherAlong)
{
    QWidget lista;
    lista.show();
    TFrmPodglad frm;
    frm.UstawPlik(Write("jedna.wyd", Items(1)));
    ShowAndLoad(frm);
    struct Step {
        const char *what;
        QWidget *window;
        bool minimise;
    } steps[] = {{"minimise the preview", &frm, true},
                 {"restore the library", &lista, false},
                 {"minimise the library", &lista, true},
                 {"restore the preview", &frm, false}};
    for (const Step &step : steps) {
        if (step.minimise)
            step.window->showMinimized();
        else
            step.window->setWindowState(step.window->windowState() & ~Qt::WindowMinimized);
        EXPECT_EQ(frm.isMinimized(), step.minimise) << step.what;
        EXPECT_EQ(lista.isMinimized(), step.minimise) << step.what;
    }
}

TEST_F(Podglad, MaximisedCloseStoresOnlyTheFlag)
{
    WriteConf("FrmPodglad_Left=10\nFrmPodglad_Top=20\nFrmPodglad_Width=500\nFrmPodglad_Height=520\n");
    {
        TFrmPodglad frm;
        EXPECT_EQ(frm.pos(), QPoint(10, 20));
        EXPECT_EQ(frm.size(), QSize(500, 520));
        frm.showMaximized();
        frm.close();
    }
    EXPECT_EQ(Stored("FrmPodglad_Max"), "true");
    EXPECT_EQ(Stored("FrmPodglad_Width"), "500");
    TFrmPodglad again;
    EXPECT_TRUE(again.windowState() & Qt::WindowMaximized);
}

} // namespace

#include "podglad_test.moc"
