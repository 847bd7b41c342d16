// The wait window: progress arithmetic with the step counting, its rows, its labels, and that it
// never takes the focus from the window that shows it.
#include "ui/SearchAnimation.h"
#include "ui/okienko.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <gtest/gtest.h>

TEST(WorkingDlg, KrokWithFiftyUnitsAdvancesTwoPercent)
{
    TWorkingDlg dlg;
    dlg.SetProgressMax(50);
    dlg.JestPostepBar = true;
    dlg.Pokaz();
    EXPECT_EQ(dlg.Pozycja(), 0);
    dlg.Krok();
    EXPECT_EQ(dlg.Pozycja(), 2);
    dlg.Krok();
    EXPECT_EQ(dlg.Pozycja(), 4);
    dlg.UstawPozycje(25);
    EXPECT_EQ(dlg.Pozycja(), 50);
    dlg.Krok();
    EXPECT_EQ(dlg.Pozycja(), 52) << "steps continue from the position set";
}

TEST(WorkingDlg, KrokWithThousandUnitsStillMovesTheBar)
{
    TWorkingDlg dlg;
    dlg.SetProgressMax(1000);
    dlg.JestPostepBar = true;
    dlg.Pokaz();
    for (int i = 0; i < 9; ++i)
        dlg.Krok();
    EXPECT_EQ(dlg.Pozycja(), 0);
    dlg.Krok();
    EXPECT_EQ(dlg.Pozycja(), 1) << "every ten steps make one percent";
    for (int i = 0; i < 10; ++i)
        dlg.Krok();
    EXPECT_EQ(dlg.Pozycja(), 2);
    for (int i = 0; i < 2000; ++i)
        dlg.Krok();
    EXPECT_EQ(dlg.Pozycja(), 100) << "more steps than units stop at the end";
}

TEST(WorkingDlg, NothingHappensWithoutAWindowOrWithZeroMax)
{
    TWorkingDlg dlg;
    dlg.Krok();
    dlg.UstawPozycje(10);
    dlg.UstawOpis(QStringLiteral("x"));
    EXPECT_EQ(dlg.Pozycja(), -1);
    dlg.SetProgressMax(0);
    dlg.Pokaz();
    dlg.Krok();
    dlg.UstawPozycje(10);
    EXPECT_EQ(dlg.Pozycja(), 0);
}

TEST(WorkingDlg, PokazTekstShowsTheLabelRowAndTheDescription)
{
    TWorkingDlg dlg;
    dlg.PokazTekst(QStringLiteral("Dodawanie wydruków"), true, false);
    TMsgOkienko *okno = dlg.Okno();
    ASSERT_NE(okno, nullptr);
    EXPECT_TRUE(okno->isVisible());
    EXPECT_EQ(okno->windowTitle(), QStringLiteral(" Zaczekaj chwilę..."));
    EXPECT_EQ(okno->Text(), QStringLiteral("Dodawanie wydruków"));
    EXPECT_FALSE(okno->panPostep->isHidden());
    EXPECT_FALSE(okno->lblPostep->isHidden());
    EXPECT_TRUE(okno->pbar->isHidden());
    EXPECT_TRUE(okno->panPostep2->isHidden());
    EXPECT_TRUE(okno->panBtns->isHidden());
    EXPECT_TRUE(okno->panLewy->isHidden());
    EXPECT_FALSE(okno->ani->isHidden());
    EXPECT_TRUE(okno->ani->Active());
    EXPECT_EQ(okno->lblPostep->width(), okno->width() - 8) << "a label without a bar fills the row";
    dlg.UstawOpis(QStringLiteral("raport.wyd"));
    EXPECT_EQ(okno->lblPostep->text(), QStringLiteral(" raport.wyd  "));
    EXPECT_EQ(okno->height(), 48 + 21) << "one line of text, room for the animation";
    dlg.Ukryj();
    EXPECT_EQ(dlg.Okno(), nullptr);
}

TEST(WorkingDlg, ShowingAgainReplacesTheWindow)
{
    TWorkingDlg dlg;
    dlg.Pokaz();
    QPointer<TMsgOkienko> first = dlg.Okno();
    dlg.Pokaz();
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(dlg.Okno(), nullptr);
}

TEST(WorkingDlg, DestroyedWithItsOwner)
{
    QPointer<TMsgOkienko> okno;
    {
        QWidget owner;
        auto *dlg = new TWorkingDlg(&owner);
        dlg->Pokaz();
        okno = dlg->Okno();
        ASSERT_FALSE(okno.isNull());
    }
    EXPECT_TRUE(okno.isNull());
}

TEST(WorkingDlg, NeverTakesTheFocusAndCentresOverItsOwner)
{
    QWidget owner;
    owner.setGeometry(100, 100, 600, 400);
    auto *edit = new QWidget(&owner);
    edit->setFocusPolicy(Qt::StrongFocus);
    owner.show();
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    edit->setFocus();
    TWorkingDlg dlg(&owner);
    dlg.JestPostepBar = true;
    dlg.Pokaz();
    EXPECT_EQ(QApplication::activeWindow(), &owner);
    EXPECT_TRUE(edit->hasFocus());
    const QRect ownerArea(owner.mapToGlobal(QPoint(0, 0)), owner.size());
    EXPECT_NEAR(dlg.Okno()->frameGeometry().center().x(), ownerArea.center().x(), 2);
    EXPECT_NEAR(dlg.Okno()->frameGeometry().center().y(), ownerArea.center().y(), 2);
}

TEST(WorkingDlg, ProgressMaxWriteKeepsThePercentRange)
{
    TWorkingDlg dlg;
    dlg.ZipAllSize32k = 500;
    dlg.JestPostepBar = true;
    dlg.JestPostepLbl = true;
    dlg.Pokaz();
    EXPECT_EQ(dlg.Okno()->pbar->maximum(), 500);
    const QFontMetrics fm(dlg.Okno()->lblPostep->font());
    EXPECT_EQ(dlg.Okno()->lblPostep->width(), fm.horizontalAdvance(QStringLiteral("WWWWWWWWWWW")));
    dlg.SetProgressMax(40);
    EXPECT_EQ(dlg.Okno()->pbar->maximum(), 100);
}

TEST(SearchAnimation, LoopsOverEightFrames)
{
    TSearchAnimation ani;
    for (int i = 0; i < TSearchAnimation::kFrames - 1; ++i)
        ani.NextFrame();
    EXPECT_EQ(ani.Frame(), 7);
    ani.NextFrame();
    EXPECT_EQ(ani.Frame(), 0);
    EXPECT_NE(TSearchAnimation::RenderFrame(0, QSize(41, 60)), TSearchAnimation::RenderFrame(3, QSize(41, 60)))
        << "the frames differ";
}
