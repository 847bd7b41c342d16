#include "platform/printer/Printer.h"
#include "print/PrintDlgSettings.h"
#include "printdialog/uWydrukiDrukuj.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/ui/ModalDriver.h"
#include "ui/HintBar.h"
#include "ui/WenBtn.h"
#include "ui/bajery.h"
#include "ui/okienko.h"
#include "view/EmfViewer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PrintDialog : public ::testing::Test {
protected:
    std::shared_ptr<TPrinterRecording> recording = std::make_shared<TPrinterRecording>();
    std::vector<std::unique_ptr<platform::PageMetafile>> pages;

    void SetUp() override
    {
        recording->Printers = {{"biuro", "Test Printer", "test:/biuro"}, {"magazyn", "Test Printer", ""}};
        recording->DefaultIndex = 0;
        PrintDlgSettings = TPrintDlgSettings();
        PrintDlgSettings.Odwrotnie = false;
        platform::SetPrinterBackend(std::make_unique<TRecordingBackend>(recording));
    }
    void TearDown() override { PrintDlgSettings = TPrintDlgSettings(); }

    QList<const platform::PageMetafile *> Pages(int count)
    {
        QList<const platform::PageMetafile *> list;
        for (int i = 0; i < count; ++i) {
            pages.push_back(std::make_unique<platform::PageMetafile>());
            list.append(pages.back().get());
        }
        return list;
    }

    // A dialog for count pages, shown and opened.
    std::unique_ptr<TWydrukiDrukuj> Open(int count)
    {
        auto dlg = std::make_unique<TWydrukiDrukuj>();
        dlg->SetJobTitle(QStringLiteral("faktury"));
        dlg->SetPages(Pages(count));
        dlg->show();
        QCoreApplication::processEvents();
        return dlg;
    }

    // The pages of every job that reached the printer, "1 2 / 3".
    QString Printed() const
    {
        QStringList jobs;
        for (const TRecordedJob &job : recording->Ended()) {
            QStringList placed;
            for (const auto &sheet : job.Sheets)
                for (const TRecordedPlacement &p : sheet)
                    for (size_t i = 0; i < pages.size(); ++i)
                        if (pages[i].get() == p.Page)
                            placed << QString::number(i + 1);
            jobs << placed.join(u' ');
        }
        return jobs.join(QStringLiteral(" / "));
    }
};

} // namespace

TEST_F(PrintDialog, OpeningListsThePrintersAndNamesThePages)
{
    const struct Row {
        int pages;
        const char *stored;
        const char *all;
        int chosen;
    } rows[] = {
        {1, "magazyn", "&Całość (1 strona)", 1},
        {3, "biuro  [test:/biuro]", "&Całość (3 strony)", 0},
        // A label that does not match exactly leaves the system's printer.
        {12, "biuro", "&Całość (12 stron)", 0},
        {23, "", "&Całość (23 strony)", 0},
    };
    for (const Row &r : rows) {
        PrintDlgSettings.NazwaDruk = QString::fromUtf8(r.stored);
        const auto dlg = Open(r.pages);
        EXPECT_EQ(dlg->rbStrony1->text(), QString::fromUtf8(r.all));
        EXPECT_EQ(dlg->cbDrukarki->currentIndex(), r.chosen) << r.stored;
        EXPECT_EQ(platform::Printer().PrinterIndex(), r.chosen);
        ASSERT_EQ(dlg->cbDrukarki->count(), 3);
        EXPECT_EQ(dlg->cbDrukarki->itemText(0), "biuro  [test:/biuro]");
        EXPECT_EQ(dlg->cbDrukarki->itemText(1), "magazyn");
        EXPECT_EQ(dlg->cbDrukarki->itemText(2), "PDF");
        // Without a viewer there is no current page.
        EXPECT_EQ(dlg->rbStrony2->text(), "&Bieżąca strona (1)");
        EXPECT_FALSE(dlg->rbStrony2->isEnabled());
        EXPECT_TRUE(dlg->edStrony->isEnabled());
        platform::SetPrinterBackend(std::make_unique<TRecordingBackend>(recording));
    }
}

TEST_F(PrintDialog, ModesOptionsAndPrinterChangesFollowTheRules)
{
    PrintDlgSettings.Dwustronnie = true;
    const auto dlg = Open(4);
    EXPECT_TRUE(dlg->btnNormalne->Down());
    QTest::mouseClick(dlg->btnKsiazeczka, Qt::LeftButton);
    EXPECT_TRUE(dlg->btnKsiazeczka->Down());
    EXPECT_FALSE(dlg->btnNormalne->Down());
    EXPECT_FALSE(dlg->cbDwustronnie->isEnabled());
    EXPECT_TRUE(dlg->cbDwustronnie->isChecked()) << "greyed, keeps its mark";
    EXPECT_FALSE(dlg->lblDwustronnie1->isVisible());
    EXPECT_TRUE(dlg->lblDwustronnie2->isVisible());
    QTest::mouseClick(dlg->btnZmniejszone, Qt::LeftButton);
    EXPECT_TRUE(dlg->cbDwustronnie->isEnabled());
    EXPECT_TRUE(dlg->lblDwustronnie1->isVisible());
    EXPECT_FALSE(dlg->lblDwustronnie2->isVisible());

    // Another printer: the advanced options start from their defaults, even with their panel hidden.
    dlg->cbNoAbortProc->setChecked(true);
    dlg->rbBmpMode->setChecked(true);
    dlg->cbDrukarki->setCurrentIndex(1);
    Q_EMIT dlg->cbDrukarki->activated(1);
    EXPECT_FALSE(dlg->cbNoAbortProc->isChecked());
    EXPECT_TRUE(dlg->rbEmfMode->isChecked());
    EXPECT_EQ(platform::Printer().PrinterIndex(), 1);

    // The advanced panel takes the place of the basic one and gives it back.
    QTest::mouseClick(dlg->btnOpcje2Pokaz, Qt::LeftButton);
    EXPECT_TRUE(dlg->pOpcje2->isVisible());
    EXPECT_FALSE(dlg->pOpcje1->isVisible());
    EXPECT_EQ(dlg->pOpcje2->geometry(), dlg->pOpcje1->geometry());
    QTest::mouseClick(dlg->WenBtn1, Qt::LeftButton);
    EXPECT_TRUE(dlg->pOpcje1->isVisible());

    // Focus into the page set chooses it.
    dlg->edStrony->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dlg->rbStrony4->isChecked());
}

TEST_F(PrintDialog, EscKeepsTheOptionsButNotTheMode)
{
    const auto dlg = Open(2);
    QTest::mouseClick(dlg->btnZmniejszone, Qt::LeftButton);
    dlg->edKopie->setValue(5);
    dlg->cbKolorowy->setChecked(true);
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(PrintDlgSettings.Kopie, 5);
    EXPECT_TRUE(PrintDlgSettings.Kolor);
    EXPECT_EQ(PrintDlgSettings.Tryb, TPrintMode::Normalne);
    EXPECT_EQ(PrintDlgSettings.NazwaDruk, "biuro  [test:/biuro]");
    EXPECT_TRUE(recording->Jobs.isEmpty());

    const auto next = Open(2);
    EXPECT_EQ(next->edKopie->value(), 5);
    EXPECT_TRUE(next->btnNormalne->Down());
}

TEST_F(PrintDialog, PrintingSendsTheChosenPagesAndCloses)
{
    const auto dlg = Open(5);
    dlg->rbStrony4->setChecked(true);
    dlg->edStrony->setText(QStringLiteral("4, 2-3"));
    dlg->edKopie->setValue(2);
    QTest::mouseClick(dlg->hb->AcceptButton(), Qt::LeftButton);
    EXPECT_EQ(Printed(), "2 3 4 / 2 3 4");
    EXPECT_EQ(recording->Ended()[0].Setup.Title, "faktury");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(PrintDlgSettings.Kopie, 2);
}

TEST_F(PrintDialog, APrinterThatPrintsBothSidesIsOfferedItAndRemembersTheChoice)
{
    // The recording printer offers the same options for every printer; without two sides nothing
    // changes from the design's dialog.
    {
        const auto dlg = Open(4);
        EXPECT_FALSE(dlg->cbDwustronnieAuto->isVisible());
        EXPECT_TRUE(dlg->lblDwustronnie1->isVisible());
    }
    pages.clear();
    platform::TPrinterOption sides = platform::MakePrinterOption(platform::kOptionSides);
    sides.Choices = {{QStringLiteral("one-sided"), {}}, {QStringLiteral("two-sided-long-edge"), {}}};
    recording->Options = {sides};
    const auto dlg = Open(3);
    EXPECT_TRUE(dlg->cbDwustronnieAuto->isVisible());
    EXPECT_FALSE(dlg->lblDwustronnie1->isVisible());
    EXPECT_FALSE(dlg->cbDwustronnieAuto->isEnabled()) << "a choice within two-sided printing";
    dlg->cbDwustronnie->setChecked(true);
    EXPECT_TRUE(dlg->cbDwustronnieAuto->isEnabled());
    dlg->cbDwustronnieAuto->setChecked(true);
    QTest::mouseClick(dlg->hb->AcceptButton(), Qt::LeftButton);
    // One job, the printer's two sides, no turn asked for.
    EXPECT_EQ(Printed(), "1 2 3");
    ASSERT_EQ(recording->Ended().size(), 1);
    EXPECT_EQ(recording->Ended()[0].Setup.Settings.Sides, "two-sided-long-edge");
    EXPECT_EQ(PrintDlgSettings.DwustronnieAutoDrukarki, QStringList{"biuro"});

    // Remembered for that printer only.
    const auto next = Open(3);
    EXPECT_TRUE(next->cbDwustronnieAuto->isChecked());
    next->cbDrukarki->setCurrentIndex(1);
    Q_EMIT next->cbDrukarki->activated(1);
    EXPECT_FALSE(next->cbDwustronnieAuto->isChecked());
}

TEST_F(PrintDialog, APageSetErrorKeepsTheDialogOpenWithTheFocusInThePageSet)
{
    // A number the page set cannot convert goes to the general error box, not the page-set one; the
    // focus went back to the field only after the page-set errors.
    const struct Row {
        const char *typed;
        const char *title;
        const char *text;
    } rows[] = {
        {"7", "Błąd w podanym zestawie stron !", "Podany numer strony (7)\nprzekracza ilość dostepnych stron !"},
        {",5", "Wenoglad", "'' nie jest prawidłową liczbą całkowitą."},
    };
    for (const Row &r : rows) {
        const auto dlg = Open(5);
        dlg->rbStrony4->setChecked(true);
        dlg->edStrony->setText(QString::fromUtf8(r.typed));
        dlg->edKopie->setFocus();
        ModalDriver driver;
        QString title, text;
        driver.Then([&](QWidget *w) {
            title = w->windowTitle();
            if (auto *box = qobject_cast<TMsgOkienko *>(w))
                text = box->lbl->text();
            else if (auto *general = qobject_cast<QMessageBox *>(w))
                text = general->text();
            w->close();
        });
        QTest::mouseClick(dlg->hb->AcceptButton(), Qt::LeftButton);
        EXPECT_TRUE(driver.ran);
        EXPECT_EQ(title, QString::fromUtf8(r.title));
        EXPECT_EQ(text, QString::fromUtf8(r.text));
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_TRUE(dlg->pFrame->isEnabled());
        EXPECT_EQ(dlg->focusWidget(), dlg->edStrony) << r.typed;
        EXPECT_TRUE(recording->Jobs.isEmpty());
    }
}

TEST_F(PrintDialog, EveryOpeningReadsThePrintersAgain)
{
    // Queues added and removed while the program runs: the list was read once per process.
    Open(1);
    recording->Printers = {{"magazyn", "Test Printer", ""}, {"nowa", "Test Printer", "ipp://nowa"}};
    const auto dlg = Open(1);
    ASSERT_EQ(dlg->cbDrukarki->count(), 3);
    EXPECT_EQ(dlg->cbDrukarki->itemText(0), "magazyn");
    EXPECT_EQ(dlg->cbDrukarki->itemText(1), "nowa  [ipp://nowa]");
}

TEST_F(PrintDialog, ClosingWhilePrintingAbandonsTheJob)
{
    for (const bool byEsc : {false, true}) {
        recording->Jobs.clear();
        const auto dlg = Open(3);
        // The close request arrives as a window event while the first page is written.
        QMetaObject::invokeMethod(
            dlg.get(),
            [&] {
                if (byEsc)
                    QTest::keyClick(dlg.get(), Qt::Key_Escape);
                else
                    dlg->close();
            },
            Qt::QueuedConnection);
        QTest::mouseClick(dlg->hb->AcceptButton(), Qt::LeftButton);
        EXPECT_TRUE(dlg->CancelRequested()) << byEsc;
        ASSERT_EQ(recording->Jobs.size(), 1);
        EXPECT_EQ(recording->Jobs[0].State, TRecordedJob::TState::Abandoned);
        EXPECT_EQ(recording->Jobs[0].Sheets[0].size(), 1);
        EXPECT_EQ(dlg->result(), QDialog::Accepted) << "once the copies ran, the dialog closes as printed";
        platform::SetPrinterBackend(std::make_unique<TRecordingBackend>(recording));
    }
}

TEST_F(PrintDialog, OpeningFailuresAreShownAndCloseTheDialog)
{
    const struct Row {
        bool printers;
        int pages;
        const char *message;
    } rows[] = {
        {false, 3, "Brak zainstalowanej drukarki !"},
        {true, 0, "Liczba stron jest równa zeru !"},
        {true, -1, "Nie ustawiono listy stron !"},
    };
    for (const Row &r : rows) {
        if (!r.printers) {
            recording->Printers.clear();
            recording->PdfPrinter = false;
        }
        platform::SetPrinterBackend(std::make_unique<TRecordingBackend>(recording));
        TWydrukiDrukuj dlg;
        if (r.pages >= 0)
            dlg.SetPages(Pages(r.pages));
        dlg.show();
        // After the opening, which the show posted: the error box is up by then.
        ModalDriver driver;
        QString text;
        driver.Then([&](QWidget *w) {
            if (auto *box = qobject_cast<QMessageBox *>(w))
                text = box->text();
            w->close();
        });
        QCoreApplication::processEvents();
        EXPECT_TRUE(driver.ran) << r.message;
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(r.message))) << text.toStdString();
        EXPECT_FALSE(dlg.isVisible()) << r.message;
        recording->Printers = {{"biuro", "Test Printer", "test:/biuro"}};
        recording->PdfPrinter = true;
    }
}

TEST_F(PrintDialog, CancelledPropertiesChangeNothing)
{
    const auto dlg = Open(2);
    dlg->cbKolorowy->setChecked(true);
    const std::optional<platform::TDevMode> before = platform::Printer().Settings();
    ModalDriver driver;
    QString title;
    driver.Then([&](QWidget *w) {
        title = w->windowTitle();
        QTest::mouseClick(w->findChild<QAbstractButton *>(QStringLiteral("btnAnuluj")), Qt::LeftButton);
    });
    QTest::mouseClick(dlg->btnWlasciwosci, Qt::LeftButton);
    EXPECT_TRUE(driver.ran);
    EXPECT_FALSE(driver.closedBySafety);
    EXPECT_EQ(title, "Właściwości drukarki");
    EXPECT_TRUE(dlg->cbKolorowy->isChecked());
    EXPECT_EQ(platform::Printer().Settings(), before);
}

TEST_F(PrintDialog, PanelCaptionsStayInsideTheirPanel)
{
    // "HP1000" and "...dla programu." were cut at the edge of the advanced panel and the note under
    // "Odwrotna kolejność" ran into the basic panel's border: each caption keeps clear of the bevels.
    const auto dlg = Open(1);
    for (TPanelEx *panel : {dlg->pOpcje1, dlg->pOpcje2}) {
        for (QWidget *w : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!qobject_cast<QLabel *>(w) && !qobject_cast<QCheckBox *>(w) && !qobject_cast<QRadioButton *>(w))
                continue;
            const QString name = w->objectName() + QLatin1Char(' ') + w->property("text").toString();
            EXPECT_LE(w->x() + w->sizeHint().width(), panel->width() - 6) << name.toStdString();
            EXPECT_GE(w->width(), w->sizeHint().width()) << name.toStdString();
        }
    }
}
