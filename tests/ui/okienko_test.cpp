// The message box: answers of every entry operation for keys, clicks and the close button, the
// typed T-A-K confirmation, the sizing rules and the self-closing timer.
#include "ui/okienko.h"

#include "ModalDriver.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TMsgOkienko *Box(QWidget *w)
{
    auto *box = qobject_cast<TMsgOkienko *>(w);
    EXPECT_NE(box, nullptr);
    return box;
}

enum class How { Enter, Esc, CloseButton, ClickOk, ClickNo, ClickCancel, LetterOfOk, LetterOfOther };

void Do(TMsgOkienko *box, How how)
{
    switch (how) {
    case How::Enter:
        QTest::keyClick(box, Qt::Key_Return);
        break;
    case How::Esc:
        QTest::keyClick(box->btnOk, Qt::Key_Escape);
        break; // through the focused control
    case How::CloseButton:
        box->close();
        break;
    case How::ClickOk:
        QTest::mouseClick(box->btnOk, Qt::LeftButton);
        break;
    case How::ClickNo:
        QTest::mouseClick(box->btnNo, Qt::LeftButton);
        break;
    case How::ClickCancel:
        QTest::mouseClick(box->btnCancel, Qt::LeftButton);
        break;
    case How::LetterOfOk:
        QTest::keyClick(box, box->btnOk->text().at(1).toLower().toLatin1());
        break;
    case How::LetterOfOther:
        QTest::keyClick(box, box->btnCancel->text().at(1).toLower().toLatin1());
        break;
    }
}

struct QuestionCase {
    const char *name;
    bool (*entry)(const QString &, const QString &);
    How how;
    bool expected;
};

} // namespace

class QuestionAnswers : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(QuestionAnswers, ReturnThePartsAnswer)
{
    const QuestionCase c = GetParam();
    ModalDriver driver;
    driver.Then([&](QWidget *w) { Do(Box(w), c.how); });
    EXPECT_EQ(c.entry(QStringLiteral("Pytanie"), QStringLiteral("Czy na pewno?")), c.expected);
    EXPECT_TRUE(driver.ran);
    EXPECT_FALSE(driver.closedBySafety);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, QuestionAnswers,
    ::testing::Values(QuestionCase{"TakNie_Enter", PytanieTakNie, How::Enter, true},
                      QuestionCase{"TakNie_ClickTak", PytanieTakNie, How::ClickOk, true},
                      QuestionCase{"TakNie_LetterT", PytanieTakNie, How::LetterOfOk, true},
                      QuestionCase{"TakNie_ClickNie", PytanieTakNie, How::ClickNo, false},
                      QuestionCase{"TakNie_Esc", PytanieTakNie, How::Esc, false},
                      QuestionCase{"TakNie_CloseButton", PytanieTakNie, How::CloseButton, false},
                      QuestionCase{"OkAnuluj_Enter", PytanieOkAnuluj, How::Enter, true},
                      QuestionCase{"OkAnuluj_ClickOk", PytanieOkAnuluj, How::ClickOk, true},
                      QuestionCase{"OkAnuluj_ClickAnuluj", PytanieOkAnuluj, How::ClickCancel, false},
                      QuestionCase{"OkAnuluj_LetterA", PytanieOkAnuluj, How::LetterOfOther, false},
                      QuestionCase{"OkAnuluj_Esc", PytanieOkAnuluj, How::Esc, false},
                      QuestionCase{"OkAnuluj_CloseButton", PytanieOkAnuluj, How::CloseButton, false},
                      QuestionCase{"PowtorzAnuluj_Enter", PytaniePowtorzAnuluj, How::Enter, true},
                      QuestionCase{"PowtorzAnuluj_ClickPowtorz", PytaniePowtorzAnuluj, How::ClickOk, true},
                      QuestionCase{"PowtorzAnuluj_LetterP", PytaniePowtorzAnuluj, How::LetterOfOk, true},
                      QuestionCase{"PowtorzAnuluj_ClickAnuluj", PytaniePowtorzAnuluj, How::ClickCancel, false},
                      QuestionCase{"PowtorzAnuluj_Esc", PytaniePowtorzAnuluj, How::Esc, false},
                      QuestionCase{"PowtorzAnuluj_CloseButton", PytaniePowtorzAnuluj, How::CloseButton, false}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(MessageBox, QuestionButtonsCarryTheirCaptions)
{
    const struct {
        unsigned buttons;
        QString ok;
        int okWidth;
    } rows[] = {{TMsgOkienko::bTak, QStringLiteral("&Tak"), 80},
                {TMsgOkienko::bOk, QStringLiteral("&Ok"), 80},
                {TMsgOkienko::bPowtorz, QStringLiteral("&Powtórz"), 90},
                // Several of the shared button's flags: Ok wins over Tak, Tak over Powtórz.
                {TMsgOkienko::bTak | TMsgOkienko::bOk | TMsgOkienko::bPowtorz, QStringLiteral("&Ok"), 80},
                {TMsgOkienko::bTak | TMsgOkienko::bPowtorz, QStringLiteral("&Tak"), 80}};
    for (const auto &row : rows) {
        auto box = UtworzOkienko(QStringLiteral("T"), QStringLiteral("x"), TMsgOkienko::kQuestion, row.buttons);
        EXPECT_FALSE(box->btnOk->isHidden());
        EXPECT_EQ(box->btnOk->text(), row.ok);
        EXPECT_EQ(box->btnOk->width(), row.okWidth);
    }
    auto cofnij = UtworzOkienko(QStringLiteral("T"), QStringLiteral("x"), TMsgOkienko::kQuestion, TMsgOkienko::bCofnij);
    EXPECT_EQ(cofnij->btnCancel->text(), QStringLiteral("Cofnij"));
    EXPECT_TRUE(cofnij->btnOk->isHidden());
}

TEST(MessageBox, InfoAndErrorCloseWithOkOrEsc)
{
    for (How how : {How::Enter, How::ClickOk, How::Esc, How::CloseButton}) {
        ModalDriver driver;
        int kind = 0;
        QColor textColour;
        driver.Then([&](QWidget *w) {
            TMsgOkienko *box = Box(w);
            kind = box->Kind();
            textColour = box->lbl->palette().color(QPalette::WindowText);
            EXPECT_FALSE(box->iexclam1->isHidden());
            EXPECT_TRUE(box->iqmark1->isHidden());
            EXPECT_EQ(box->btnOk->text(), QStringLiteral("&Ok"));
            Do(box, how);
        });
        PokazBlad(QStringLiteral("Błąd"), QStringLiteral("Nie można otworzyć pliku."));
        EXPECT_EQ(kind, TMsgOkienko::kError);
        EXPECT_EQ(textColour, QColor(160, 0, 0));
        EXPECT_FALSE(driver.closedBySafety);

        ModalDriver info;
        info.Then([&](QWidget *w) {
            kind = Box(w)->Kind();
            textColour = Box(w)->lbl->palette().color(QPalette::WindowText);
            Do(Box(w), how);
        });
        PokazInfo(QStringLiteral("Informacja"), QStringLiteral("Gotowe"));
        EXPECT_EQ(kind, TMsgOkienko::kInfo);
        EXPECT_EQ(textColour, QColor(0, 0, 128));
        EXPECT_FALSE(info.closedBySafety);
    }
}

TEST(MessageBox, EveryButtonGivesItsAnswer)
{
    TMsgOkienko::ExtraCaption = QStringLiteral("&Pomiń");
    const unsigned all = TMsgOkienko::bTak | TMsgOkienko::bNie | TMsgOkienko::bAnuluj | TMsgOkienko::bWszystkie |
                         TMsgOkienko::bExtra | TMsgOkienko::bExtra2;
    const struct {
        QPushButton *TMsgOkienko::*button;
        int answer;
    } rows[] = {{&TMsgOkienko::btnOk, 1},  {&TMsgOkienko::btnNo, 7},    {&TMsgOkienko::btnCancel, 2},
                {&TMsgOkienko::btnAll, 8}, {&TMsgOkienko::btnExtra, 3}, {&TMsgOkienko::BtnExtra2, 1}};
    for (const auto &row : rows) {
        ModalDriver driver;
        driver.Then([&](QWidget *w) { QTest::mouseClick(Box(w)->*row.button, Qt::LeftButton); });
        EXPECT_EQ(PokazOkienko(QStringLiteral("T"), QStringLiteral("x"), TMsgOkienko::kQuestion, all), row.answer);
        EXPECT_FALSE(driver.closedBySafety);
    }
    auto box = UtworzOkienko(QStringLiteral("T"), QStringLiteral("x"), TMsgOkienko::kQuestion, all);
    EXPECT_EQ(box->btnExtra->text(), QStringLiteral("&Pomiń"));
    EXPECT_EQ(box->BtnExtra2->text(), QStringLiteral("Extra2"));
    TMsgOkienko::ExtraCaption.clear();
}

TEST(MessageBox, QuestionWithoutButtonsIgnoresEnter)
{
    ModalDriver driver;
    bool openAfterEnter = false;
    driver.Then([&](QWidget *w) {
        QTest::keyClick(w, Qt::Key_Return);
        openAfterEnter = w->isVisible();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(PokazOkienko(QStringLiteral("T"), QStringLiteral("x"), TMsgOkienko::kQuestion, 0), 2);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_FALSE(driver.closedBySafety);
}

TEST(MessageBox, EscWithModifiersDoesNotClose)
{
    ModalDriver driver;
    bool openAfterCtrlEsc = false;
    driver.Then([&](QWidget *w) {
        QTest::keyClick(w, Qt::Key_Escape, Qt::ControlModifier);
        openAfterCtrlEsc = w->isVisible();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_FALSE(PytanieTakNie(QStringLiteral("T"), QStringLiteral("x")));
    EXPECT_TRUE(openAfterCtrlEsc);
}

TEST(MessageBox, EnterPressesTheFocusedButton)
{
    ModalDriver driver;
    driver.Then([&](QWidget *w) {
        Box(w)->btnNo->setFocus();
        QTest::keyClick(Box(w)->btnNo, Qt::Key_Return);
    });
    EXPECT_FALSE(PytanieTakNie(QStringLiteral("T"), QStringLiteral("x")));
    EXPECT_FALSE(driver.closedBySafety);
}

TEST(MessageBox, ClosesItselfWhenAsked)
{
    ModalDriver driver;
    bool timerRunning = false;
    int interval = 0;
    driver.Then([&](QWidget *w) {
        timerRunning = Box(w)->TimerClose->isActive();
        interval = Box(w)->TimerClose->interval();
        Box(w)->TimerCloseTimer(); // what the timer does when it fires
    });
    // A typed confirmation has no OK button shown; the timer still answers 1.
    EXPECT_EQ(PokazOkienko(QStringLiteral("T"), QStringLiteral("x"),
                           TMsgOkienko::kTypedConfirmation | TMsgOkienko::kAutoClose, 0),
              1);
    EXPECT_TRUE(timerRunning);
    EXPECT_EQ(interval, 3000);

    auto plain = UtworzOkienko(QStringLiteral("T"), QStringLiteral("x"), TMsgOkienko::kInfo, 0);
    EXPECT_FALSE(plain->TimerClose->isActive());
}

// ---- Typed confirmation -------------------------------------------------------------------

struct TakCase {
    const char *name;
    std::vector<Qt::Key> keys;
    bool closes;   // closed by the keys themselves
    bool expected; // the answer (when not closed by the keys: closed by Esc, so false)
};

class TypedConfirmation : public ::testing::TestWithParam<TakCase> {};

TEST_P(TypedConfirmation, FollowsTheSequence)
{
    const TakCase c = GetParam();
    ModalDriver driver;
    bool openAfterKeys = false;
    driver.Then([&](QWidget *w) {
        for (Qt::Key key : c.keys)
            if (w->isVisible())
                QTest::keyClick(w, key);
        openAfterKeys = w->isVisible();
        if (openAfterKeys) {
            auto *box = Box(w);
            EXPECT_FALSE(box->btnT->isChecked() || box->btnA->isChecked() || box->btnK->isChecked())
                << "the sequence should have been reset";
            QTest::keyClick(w, Qt::Key_Escape);
        }
    });
    EXPECT_EQ(PotwierdzTAK(QStringLiteral("Usuwanie"), QStringLiteral("Usunąć wydruk?")), c.expected);
    EXPECT_EQ(openAfterKeys, !c.closes);
    EXPECT_FALSE(driver.closedBySafety);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TypedConfirmation,
    ::testing::Values(
        TakCase{"TAK_confirms", {Qt::Key_T, Qt::Key_A, Qt::Key_K}, true, true},
        TakCase{"TK_resets", {Qt::Key_T, Qt::Key_K}, false, false},
        TakCase{"TAXK_resets_at_X", {Qt::Key_T, Qt::Key_A, Qt::Key_X, Qt::Key_K}, false, false},
        TakCase{"AK_without_T_resets", {Qt::Key_A, Qt::Key_K}, false, false},
        TakCase{"N_refuses", {Qt::Key_N}, true, false},
        TakCase{"TA_then_N_refuses", {Qt::Key_T, Qt::Key_A, Qt::Key_N}, true, false},
        TakCase{"Enter_does_nothing", {Qt::Key_Return}, false, false},
        TakCase{"TAT_restarts_then_AK_confirms", {Qt::Key_T, Qt::Key_A, Qt::Key_T, Qt::Key_A, Qt::Key_K}, true, true}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(TypedConfirmationBox, ShiftHeldLettersStillCount)
{
    ModalDriver driver;
    driver.Then([&](QWidget *w) {
        QTest::keyClick(w, Qt::Key_T, Qt::ShiftModifier);
        QTest::keyClick(w, Qt::Key_Shift);
        QTest::keyClick(w, Qt::Key_A, Qt::ShiftModifier);
        QTest::keyClick(w, Qt::Key_K, Qt::ShiftModifier);
    });
    EXPECT_TRUE(PotwierdzTAK(QStringLiteral("T"), QStringLiteral("x")));
    EXPECT_FALSE(driver.closedBySafety);
}

TEST(TypedConfirmationBox, MouseDoesWhatLettersDo)
{
    ModalDriver confirm;
    confirm.Then([&](QWidget *w) {
        QTest::mouseClick(Box(w)->btnT, Qt::LeftButton);
        QTest::mouseClick(Box(w)->btnA, Qt::LeftButton);
        QTest::mouseClick(Box(w)->btnK, Qt::LeftButton);
    });
    EXPECT_TRUE(PotwierdzTAK(QStringLiteral("T"), QStringLiteral("x")));

    ModalDriver clickElsewhere;
    bool resetByClick = false;
    clickElsewhere.Then([&](QWidget *w) {
        TMsgOkienko *box = Box(w);
        QTest::mouseClick(box->btnT, Qt::LeftButton);
        QTest::mouseClick(box->btnA, Qt::LeftButton);
        QTest::mouseClick(box->lbl, Qt::LeftButton);
        resetByClick = !box->btnT->isChecked() && !box->btnA->isChecked();
        QTest::mouseClick(box->btnK, Qt::LeftButton); // no longer completes
        QTest::mouseClick(box->btnN, Qt::LeftButton);
    });
    EXPECT_FALSE(PotwierdzTAK(QStringLiteral("T"), QStringLiteral("x")));
    EXPECT_TRUE(resetByClick);
    EXPECT_FALSE(clickElsewhere.closedBySafety);
}

// ---- Sizing ---------------------------------------------------------------------------------

TEST(MessageBoxSizing, LongSingleLineWrapsInsideTheDesignWidth)
{
    const QString text =
        QStringLiteral("Nie udało się zapisać ustawień wydruku, ponieważ katalog programu jest tylko do odczytu "
                       "i nie można w nim utworzyć pliku tymczasowego.");
    auto box = UtworzOkienko(QStringLiteral("T"), text, TMsgOkienko::kInfo, 0);
    box->Rozmiesc();
    EXPECT_EQ(box->width(), 400);
    EXPECT_EQ(box->CentreWidth(), 400 - 41 - 40);
    EXPECT_LE(box->lbl->x() + box->lbl->width(), box->CentreWidth());
    const int line = QFontMetrics(box->lbl->font()).lineSpacing();
    EXPECT_GE(box->lbl->height(), 3 * line) << "the text should wrap to several lines";
    EXPECT_EQ(box->lbl->font().pixelSize(), TMsgOkienko::TextPixels13());
    // The centre panel is 8 pixels taller than the text; the button row follows.
    EXPECT_EQ(box->height(), box->lbl->height() + 8 + 50);
}

TEST(MessageBoxSizing, MultiLineTextSetsTheWidth)
{
    const QString text = QStringLiteral("Pierwsza linia\rDruga linia tego komunikatu jest wyraźnie najdłuższa\rKoniec");
    auto box = UtworzOkienko(QStringLiteral("T"), text, TMsgOkienko::kQuestion, TMsgOkienko::bTak | TMsgOkienko::bNie);
    box->Rozmiesc();
    const QFontMetrics fm(box->lbl->font());
    const int longest = fm.boundingRect(QStringLiteral("Druga linia tego komunikatu jest wyraźnie najdłuższa")).width();
    EXPECT_GT(box->width(), 400);
    EXPECT_NEAR(box->lbl->width(), longest + 10, 2);
    EXPECT_EQ(box->width(), box->lbl->width() + 8 + 41 + 40);
    EXPECT_GE(box->lbl->height(), 3 * fm.height());
    EXPECT_LE(box->lbl->height(), 3 * fm.lineSpacing());
    EXPECT_EQ(box->lbl->font().pixelSize(), TMsgOkienko::TextPixels13());
}

TEST(MessageBoxSizing, ShortMultiLineTextKeepsTwoHundredPixels)
{
    auto box = UtworzOkienko(QStringLiteral("T"), QStringLiteral("Tak\nNie"), TMsgOkienko::kPlain, 0);
    box->Rozmiesc();
    EXPECT_EQ(box->lbl->width(), 200);
    EXPECT_EQ(box->width(), 208); // plain: no picture columns
}

// A box sized to its short text let the window manager cut its title: the box is now wide enough
// for the title and the title bar's buttons.
TEST(MessageBoxSizing, ShortTextLeavesRoomForTheTitle)
{
    const QString title = QStringLiteral("Błąd - Nie można zmienić nazwy pliku wydruku !");
    auto box = UtworzOkienko(title, QStringLiteral("Tak\nNie"), TMsgOkienko::kError, TMsgOkienko::bOk);
    box->Rozmiesc();
    const QFontMetrics titleMetrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    EXPECT_GE(box->width(), titleMetrics.horizontalAdvance(title) + 100);
    EXPECT_EQ(box->lbl->width(), 200) << "the text itself is laid out as before";
}

TEST(MessageBoxSizing, LineOverFiveHundredPixelsSwitchesToElevenPoints)
{
    const QString text = QStringLiteral("Krótko\r") + QString(60, QLatin1Char('W'));
    auto box = UtworzOkienko(QStringLiteral("T"), text, TMsgOkienko::kInfo, 0);
    box->Rozmiesc();
    EXPECT_EQ(box->lbl->font().pixelSize(), TMsgOkienko::TextPixels11());
    EXPECT_EQ(box->width(), box->lbl->width() + 8 + 41 + 40);
}

TEST(MessageBoxSizing, TallTextSwitchesToElevenPoints)
{
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("Wiersz numer %1 długiego komunikatu o błędzie. ").arg(i);
    auto box = UtworzOkienko(QStringLiteral("T"), text, TMsgOkienko::kError, 0);
    box->Rozmiesc();
    EXPECT_EQ(box->lbl->font().pixelSize(), TMsgOkienko::TextPixels11());
    EXPECT_EQ(box->width(), 400);
}

TEST(MessageBoxSizing, VerticalTabLeftAlignsAndIsRemoved)
{
    auto box = UtworzOkienko(QStringLiteral("T"), QStringLiteral("\vPlik:\rc:/wydruki/a.wyd"), TMsgOkienko::kInfo, 0);
    EXPECT_TRUE(box->LeftAligned());
    EXPECT_EQ(box->Text(), QStringLiteral("Plik:\nc:/wydruki/a.wyd"));
    EXPECT_TRUE(box->lbl->alignment() & Qt::AlignLeft);
    // Only the first vertical tab goes.
    auto two = UtworzOkienko(QStringLiteral("T"), QStringLiteral("a\vb\vc"), TMsgOkienko::kInfo, 0);
    EXPECT_EQ(two->Text(), QStringLiteral("ab\vc"));
    auto centred = UtworzOkienko(QStringLiteral("T"), QStringLiteral("abc"), TMsgOkienko::kInfo, 0);
    EXPECT_FALSE(centred->LeftAligned());
    EXPECT_TRUE(centred->lbl->alignment() & Qt::AlignHCenter);
}

TEST(MessageBoxSizing, ButtonsAreSpreadWithEqualGaps)
{
    auto box = UtworzOkienko(QStringLiteral("T"), QStringLiteral("x"), TMsgOkienko::kQuestion,
                             TMsgOkienko::bTak | TMsgOkienko::bNie | TMsgOkienko::bAnuluj);
    box->Rozmiesc();
    // (400 - 3 * 80) div 4 = 40: Tak at 40, Nie at 160, Anuluj at 280.
    EXPECT_EQ(box->btnOk->x(), 40);
    EXPECT_EQ(box->btnNo->x(), 160);
    EXPECT_EQ(box->btnCancel->x(), 280);
}

TEST(MessageBoxSizing, WideButtonsWidenTheBox)
{
    TMsgOkienko::ExtraWidth = 200;
    TMsgOkienko::Extra2Width = 150;
    auto box = UtworzOkienko(QStringLiteral("T"), QStringLiteral("x"), TMsgOkienko::kQuestion,
                             TMsgOkienko::bOk | TMsgOkienko::bExtra | TMsgOkienko::bExtra2 | TMsgOkienko::bWszystkie);
    TMsgOkienko::ExtraWidth = 0;
    TMsgOkienko::Extra2Width = 0;
    box->Rozmiesc();
    const int total = 100 + 80 + 200 + 150;
    EXPECT_EQ(box->width(), total + 30);
    const int gap = 30 / 5;
    // Order from the left: Wszystkie, Ok, Extra, Extra2.
    EXPECT_EQ(box->btnAll->x(), gap);
    EXPECT_EQ(box->btnOk->x(), gap + 100 + gap);
    EXPECT_EQ(box->btnExtra->x(), gap + 100 + gap + 80 + gap);
    EXPECT_EQ(box->BtnExtra2->x(), gap + 100 + gap + 80 + gap + 200 + gap);
}

TEST(MessageBoxSizing, TypedConfirmationPanelIsSpread)
{
    auto box = UtworzOkienko(QStringLiteral("T"), QStringLiteral("x"), TMsgOkienko::kTypedConfirmation, 0);
    box->Rozmiesc();
    EXPECT_TRUE(box->panBtns->isHidden());
    EXPECT_FALSE(box->panTAK->isHidden());
    EXPECT_EQ(box->width(), 400);
    const int gap = (400 - box->pTAK->width() - box->btnN->width()) / 3;
    EXPECT_EQ(box->pTAK->x(), gap);
    EXPECT_EQ(box->btnN->x(), 2 * gap + box->pTAK->width());
    EXPECT_EQ(box->height(), 48 + 80) << "a one-line text still leaves room for the pictures";
    EXPECT_EQ(box->lblTAK->text(), QStringLiteral("Aby potwierdzić, naciśnij kolejno trzy klawisze: T, A, K."));
}

TEST(MessageBoxSizing, PlainKindHasNoPictures)
{
    auto box = UtworzOkienko(QStringLiteral("T"), QStringLiteral("x"), TMsgOkienko::kPlain, TMsgOkienko::bOk);
    box->Rozmiesc();
    EXPECT_TRUE(box->panLewy->isHidden());
    EXPECT_TRUE(box->panPrawy->isHidden());
    EXPECT_EQ(box->CentreWidth(), 400);
    EXPECT_EQ(box->height(), box->lbl->height() + 8 + 50) << "no pictures to make room for";
}

TEST(MessageBoxSizing, PicturesAreNeverCut)
{
    auto box = UtworzOkienko(QStringLiteral("T"), QStringLiteral("Krótko"), TMsgOkienko::kInfo, 0);
    box->Rozmiesc();
    EXPECT_GE(box->panLewy->height(), box->iexclam1->height());
    EXPECT_GE(box->iexclam1->y(), 0);
    EXPECT_LE(box->iexclam1->geometry().bottom(), box->panLewy->height() - 1);
    EXPECT_NEAR(box->lbl->geometry().center().y(), box->Panel3->height() / 2, 1) << "short text centred";
}

TEST(MessageBox, StaysAboveTheActiveWindowOrOnTop)
{
    {
        QWidget owner;
        owner.show();
        owner.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
        ModalDriver driver;
        QWidget *parent = nullptr;
        driver.Then([&](QWidget *w) {
            parent = w->parentWidget();
            QTest::keyClick(w, Qt::Key_Escape);
        });
        EXPECT_FALSE(PytanieTakNie(QStringLiteral("T"), QStringLiteral("x")));
        EXPECT_EQ(parent, &owner);
    }
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    auto box = UtworzOkienko(QStringLiteral("T"), QStringLiteral("x"), TMsgOkienko::kInfo, 0);
    EXPECT_EQ(box->parentWidget(), nullptr);
    EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
}
