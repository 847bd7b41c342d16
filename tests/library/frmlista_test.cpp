#include "library/Biblioteka.h"
#include "library/Wersja.h"
#include "library/uFrmLista.h"
#include "platform/base/KatalogProgramu.h"
#include "platform/base/NativePath.h"
#include "tests/support/LayoutHelpers.h"
#include "ui/HintBar.h"
#include "ui/WenBtn.h"
#include "ui/bajery.h"
#include "ui/okienko.h"
#include "view/EmfViewer.h"
#include "view/uFrmPodglad.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <vector>

namespace {

using Krok = std::function<void(QWidget *)>;

// Answers the modal windows that open one after another, each by its own step, and records what
// each was; a window left open by a step (or one more than expected) is closed so no test hangs.
class Okna {
public:
    explicit Okna(std::vector<Krok> kroki) : kroki_(std::move(kroki)) { Czekaj(); }
    int Wykonane() const { return wykonane_; }
    bool Nadmiar() const { return nadmiar_; }

private:
    void Czekaj()
    {
        // Timers bound to kontekst_ die with this object, so a finished test leaves none behind.
        QTimer::singleShot(0, &kontekst_, [this] {
            QWidget *w = QApplication::activeModalWidget();
            if (!w) {
                if (++puste_ < 200)
                    Czekaj();
                return;
            }
            puste_ = 0;
            if (w == ostatni_) { // the step did not close it
                w->close();
                Czekaj();
                return;
            }
            ostatni_ = w;
            if (wykonane_ < int(kroki_.size()))
                kroki_[size_t(wykonane_++)](w);
            else {
                nadmiar_ = true;
                w->close();
            }
            Czekaj();
        });
    }

    QObject kontekst_;
    std::vector<Krok> kroki_;
    int wykonane_ = 0;
    int puste_ = 0;
    bool nadmiar_ = false;
    QPointer<QWidget> ostatni_;
};

namespace fs = std::filesystem;

// A small printout under a file name given as bytes (a QString path cannot spell every name),
// written last at czas.
void WydrukPod(const QString &katalog, const std::string &nazwa, const QDateTime &czas)
{
    const QString zapis = katalog + "/zapis.tmp";
    wydtest::Document doc = wydtest::DeviceDocument();
    doc.Root.Title = wydtest::BlockOf({wydtest::TextLine("Sprzedaz")});
    wydtest::WriteWyd(zapis, doc);
    {
        QFile f(zapis);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(czas, QFileDevice::FileModificationTime));
    }
    fs::rename(platform::NativePath(zapis), platform::NativePath(katalog) / nazwa);
}

std::set<std::string> PlikiW(const QString &katalog)
{
    std::set<std::string> pliki;
    for (const fs::directory_entry &e : fs::directory_iterator(platform::NativePath(katalog)))
        pliki.insert(e.path().filename().native());
    return pliki;
}

// The box shows a line break for each "\r" of the program's texts.
QString Wyswietlony(QString tekst)
{
    return tekst.replace(u'\r', u'\n');
}

TMsgOkienko *Komunikat(QWidget *w)
{
    auto *box = qobject_cast<TMsgOkienko *>(w);
    EXPECT_NE(box, nullptr) << (w ? w->metaObject()->className() : "none");
    return box;
}

QInputDialog *Pytanie(QWidget *w)
{
    auto *dialog = qobject_cast<QInputDialog *>(w);
    EXPECT_NE(dialog, nullptr) << (w ? w->metaObject()->className() : "none");
    return dialog;
}

class FrmListaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lib_.isValid());
        ASSERT_TRUE(ustawienia_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ustawienia_.path());
        UstawKatalogProgramu(lib_.path());
    }

    // A small valid printout written last at the given time.
    void Wydruk(const QString &plik, const QDateTime &czas = QDateTime(QDate(2024, 3, 5), QTime(14, 7)))
    {
        wydtest::Document doc = wydtest::DeviceDocument();
        doc.Root.Title = wydtest::BlockOf({wydtest::TextLine("Sprzedaz")});
        wydtest::WriteWyd(lib_.path() + u'/' + plik, doc);
        QFile f(lib_.path() + u'/' + plik);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(czas, QFileDevice::FileModificationTime));
    }
    bool Istnieje(const QString &plik) const
    {
        return QDir(lib_.path()).entryList(QDir::Files | QDir::Hidden).contains(plik);
    }
    QStringList Pliki() const { return QDir(lib_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    // The window, shown and refreshed the way its first activation does it.
    std::unique_ptr<TFrmLista> Okno(TStanStartowy stan = {})
    {
        auto frm = std::make_unique<TFrmLista>(stan);
        frm->show();
        frm->FormActivate();
        return frm;
    }
    static QStringList Nazwy(const TFrmLista &frm)
    {
        QStringList nazwy;
        for (int i = 0; i < frm.lista->count(); ++i) {
            const QString linia = frm.lista->item(i)->text();
            nazwy << linia.left(linia.lastIndexOf(u'\t'));
        }
        return nazwy;
    }
    static void Wybierz(TFrmLista &frm, const QString &nazwa)
    {
        const auto items = frm.lista->findItems(nazwa + u'\t', Qt::MatchStartsWith);
        ASSERT_EQ(items.size(), 1);
        frm.lista->setCurrentItem(items.first());
    }

    QTemporaryDir lib_;
    QTemporaryDir ustawienia_;
};

// ---- pure rules of the library ---------------------------------------------------------------

TEST(BibliotekaTest, NamesThatMayBecomeFiles)
{
    const QString znaki = "Nazwa pliku nie może zawierać znaków:\r\\  /  :  *  ?  \"  <  >  |";
    const QString pusta = "Nazwa nie może być pusta !";
    const QString kropka = "Nazwa pliku nie może zaczynać się od znaku:\r.";
    struct Row {
        const char *label;
        QString nazwa;
        QString blad;
    };
    const Row rows[] = {
        {"plain", "Raport", ""},
        {"inner blanks and Polish letters", "Zestawienie łódź 2", ""},
        {"leading blank with text", " x", ""},
        {"a point inside", "raport.2024", ""},
        {"a blank before the point: not hidden", " .x", ""},
        {"empty would leave a file called .wyd", "", pusta},
        {"blanks only", "   ", pusta},
        {"hidden file, never listed again", ".ukryty", kropka},
        {"point alone", ".", kropka},
        {"two points", "..", kropka},
        {"backslash", "a\\b", znaki},
        {"slash", "a/b", znaki},
        {"colon", "a:b", znaki},
        {"asterisk", "a*b", znaki},
        {"question mark", "a?b", znaki},
        {"double quote", "a\"b", znaki},
        {"less-than", "a<b", znaki},
        {"greater-than", "a>b", znaki},
        {"vertical bar", "a|b", znaki},
    };
    for (const Row &row : rows)
        EXPECT_EQ(BladNazwy(row.nazwa), row.blad) << row.label;
}

TEST(BibliotekaTest, LineKeyAndDateColumn)
{
    const QString linia = LiniaListy("Raport\tdziwny", QDateTime(QDate(2024, 3, 5), QTime(9, 7, 59)));
    EXPECT_EQ(linia, "Raport\tdziwny\t2024-03-05 09:07");
    // ((width - 180) * 4) div (2 * average width), integer division.
    EXPECT_EQ(TabStopDaty(410, 6), 76);
    EXPECT_EQ(TabStopDaty(411, 7), 66);
    EXPECT_EQ(TabStopDaty(180, 6), 0);
    EXPECT_EQ(TabStopDaty(400, 0), 0);
}

TEST(BibliotekaTest, RenameMessagesAreTheProgramsOwn)
{
    EXPECT_EQ(TekstBleduZmianyNazwy("/l/a.wyd", "/l/%1.wyd"),
              "Wystąpił błąd zmiany nazwy pliku\rz \"/l/a.wyd\"\rna \"/l/%1.wyd\".");
    EXPECT_EQ(TekstUsuniecia("/l/a.wyd"), "Czy na pewno chcesz usunąć plik\r/l/a.wyd ?");
    EXPECT_EQ(kTekstBlednejNazwy, "Nazwa pliku nie może zawierać znaków:\r\\  /  :  *  ?  \"  <  >  |");
}

TEST_F(FrmListaTest, NamesTakenWhateverTheCaseOfTheirExtension)
{
    Wydruk("Maly.wyd");
    Wydruk("DUZY.WYD");
    Wydruk("dUzY.wyd");
    const QString k = KatalogProgramu();
    EXPECT_TRUE(NazwaZajeta(k, "maly", k + "DUZY.WYD")) << "another printout, other case";
    EXPECT_TRUE(NazwaZajeta(k, "duzy", k + "Maly.wyd")) << "two printouts of that name";
    EXPECT_FALSE(NazwaZajeta(k, "MALY", k + "Maly.wyd")) << "only the renamed file itself";
    EXPECT_FALSE(NazwaZajeta(k, "Nowy", k + "Maly.wyd"));
    QDir(k).mkdir("Folder.wyd");
    EXPECT_TRUE(NazwaZajeta(k, "folder", k + "Maly.wyd")) << "a folder is in the way too";
}

// ---- the window ------------------------------------------------------------------------------

TEST_F(FrmListaTest, CaptionSizeAndToolbar)
{
    auto frm = Okno();
    EXPECT_EQ(frm->windowTitle(), "Wenoglad - Przeglądarka wydruków Wenora  [" + WersjaProgramu() + "]");
    EXPECT_EQ(frm->minimumSize(), QSize(370, 300));
    EXPECT_TRUE(frm->pIkonki->isVisible());
    EXPECT_EQ(frm->btnPopraw->Hint(), "F2 - Zmiana nazwy wybranego na liście wydruku");
    EXPECT_EQ(frm->hb->TextCancel(), "Zamknij");
    EXPECT_EQ(frm->hb->AcceptHint(), "Enter - Otwarcie wybranego wydruku");
    EXPECT_TRUE(frm->rbWgNazw->isChecked());
    // Taken out of the tab order by the refresh.
    EXPECT_FALSE(frm->rbWgNazw->focusPolicy() & Qt::TabFocus);
    // Every caption fits its button ("Dodaj wydruk" lost its first and last letters at the designed
    // 70 pixels), and the buttons, the bevel and the sort choice follow one another.
    int right = 0;
    for (const TWenBtn *b : {frm->btnPopraw, frm->btnDodaj, frm->btnUsun}) {
        EXPECT_LE(QFontMetrics(b->font()).horizontalAdvance(b->Opis()) + 4, b->width()) << b->Opis().toStdString();
        EXPECT_GT(b->x(), right);
        right = b->geometry().right();
    }
    EXPECT_GT(frm->rbWgNazw->x(), right);
}

TEST_F(FrmListaTest, ListedOnceShownEvenWithoutActivation)
{
    // Window managers may refuse a new window the focus; an empty library window was the result.
    Wydruk("a.wyd");
    TFrmLista frm({});
    frm.show();
    EXPECT_EQ(frm.lista->count(), 0) << "listed after the show, not inside it";
    QCoreApplication::processEvents();
    EXPECT_EQ(Nazwy(frm), QStringList({"a"}));
}

TEST_F(FrmListaTest, EmptyLibraryOffersNothingToOpen)
{
    Wydruk("inny.txt");
    auto frm = Okno();
    EXPECT_EQ(frm->lista->count(), 0);
    EXPECT_FALSE(frm->btnPopraw->isEnabled());
    EXPECT_FALSE(frm->btnUsun->isEnabled());
    EXPECT_TRUE(frm->btnDodaj->isEnabled());
    EXPECT_EQ(frm->hb->TextAccept(), "");
    EXPECT_FALSE(frm->hb->AcceptButton()->isVisible());
    Okna okna({});
    QTest::keyClick(frm->lista, Qt::Key_Return);
    QTest::keyClick(frm->lista, Qt::Key_F2);
    QTest::keyClick(frm->lista, Qt::Key_F8);
    QCoreApplication::processEvents();
    EXPECT_EQ(okna.Wykonane(), 0);
    EXPECT_FALSE(okna.Nadmiar()) << "a window opened on an empty library";
    EXPECT_TRUE(frm->isVisible());
}

TEST_F(FrmListaTest, LinesSortedByNameOrTimeAndSelectionKept)
{
    Wydruk("gamma.wyd", QDateTime(QDate(2023, 1, 2), QTime(8, 0)));
    Wydruk("Beta.wyd", QDateTime(QDate(2024, 6, 1), QTime(23, 59)));
    Wydruk("alfa.WYD", QDateTime(QDate(2022, 12, 31), QTime(0, 1)));
    Wydruk("Ala ma kota.wyd", QDateTime(QDate(2025, 1, 1), QTime(12, 0)));
    auto frm = Okno();
    EXPECT_EQ(Nazwy(*frm), QStringList({"Ala ma kota", "alfa", "Beta", "gamma"}));
    EXPECT_EQ(frm->lista->item(2)->text(), "Beta\t2024-06-01 23:59");
    EXPECT_EQ(frm->WybranaNazwa(), "Ala ma kota") << "the first line when nothing was selected";
    EXPECT_EQ(frm->hb->TextAccept(), "Wyświetl");

    Wybierz(*frm, "Beta");
    QTest::mouseClick(frm->rbWgDat, Qt::LeftButton);
    EXPECT_EQ(Nazwy(*frm), QStringList({"alfa", "gamma", "Beta", "Ala ma kota"}));
    EXPECT_EQ(frm->WybranaNazwa(), "Beta");
    EXPECT_FALSE(frm->rbWgDat->focusPolicy() & Qt::TabFocus);
}

TEST_F(FrmListaTest, HiddenAndForeignFilesNotListed)
{
    Wydruk("widoczny.wyd");
    Wydruk(".ukryty.wyd");
    Wydruk("tylko do odczytu.wyd");
    QFile::setPermissions(lib_.path() + "/tylko do odczytu.wyd", QFileDevice::ReadOwner);
    Wydruk("dokument.txt");
    QDir(lib_.path()).mkdir("katalog.wyd");
    auto frm = Okno();
    EXPECT_EQ(Nazwy(*frm), QStringList({"tylko do odczytu", "widoczny"}));
}

TEST_F(FrmListaTest, DateColumnFollowsTheWidth)
{
    Wydruk("a.wyd");
    auto frm = Okno();
    const int avg = QFontMetrics(frm->font()).averageCharWidth();
    EXPECT_EQ(frm->TabStop(), TabStopDaty(frm->lista->width(), avg));
    frm->resize(700, 400);
    EXPECT_EQ(frm->TabStop(), TabStopDaty(frm->lista->width(), avg));
    EXPECT_GT(frm->lista->width(), 600);
    // The dates stay clear of the right edge: 16 characters of the list's font still fit.
    const int data = QFontMetrics(frm->lista->font()).horizontalAdvance("2024-03-05 14:07");
    EXPECT_LE(frm->TabStopPiksele() + data, frm->lista->width());
}

TEST_F(FrmListaTest, DoubleClickOpensTheSelectedPrintout)
{
    Wydruk("Raport.wyd");
    Wydruk("Zestawienie.wyd");
    auto frm = Okno();
    Wybierz(*frm, "Zestawienie");
    QString nazwa, plik;
    bool bezZapisu = true;
    Okna okna({[&](QWidget *w) {
        auto *podglad = qobject_cast<TFrmPodglad *>(w);
        ASSERT_NE(podglad, nullptr);
        nazwa = podglad->NazwaWydruku();
        plik = podglad->SciezkaPliku();
        bezZapisu = podglad->BezZapisu();
        podglad->close();
    }});
    const QRect r = frm->lista->visualItemRect(frm->lista->currentItem());
    // Qt Test's double click on a widget ends with the button held; the user lets it go.
    QTest::mouseDClick(frm->lista->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseRelease(frm->lista->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(okna.Wykonane(), 0) << "the preview opens once the click has ended";
    QCoreApplication::processEvents();
    EXPECT_EQ(okna.Wykonane(), 1);
    EXPECT_EQ(nazwa, "Zestawienie");
    EXPECT_EQ(plik, KatalogProgramu() + "Zestawienie.wyd") << "the file as it lies on disk";
    EXPECT_FALSE(bezZapisu);
    EXPECT_TRUE(frm->isVisible()) << "the library stays after the preview in normal mode";
}

TEST_F(FrmListaTest, RenameMovesTheFileAndSelectsItsNewName)
{
    Wydruk("Stary.wyd");
    Wydruk("Inny.wyd");
    auto frm = Okno();
    Wybierz(*frm, "Stary");
    QString podane;
    Okna okna({[&](QWidget *w) {
        QInputDialog *d = Pytanie(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Zmiana nazwy pliku wydruku");
        EXPECT_EQ(d->labelText(), "Podaj nową nazwę wydruku:");
        podane = d->textValue();
        d->setTextValue("Zmieniony");
        d->accept();
    }});
    QTest::keyClick(frm->lista, Qt::Key_F2);
    EXPECT_EQ(podane, "Stary");
    EXPECT_EQ(Pliki(), QStringList({"Inny.wyd", "Zmieniony.wyd"}));
    EXPECT_EQ(frm->WybranaNazwa(), "Zmieniony");
    EXPECT_FALSE(okna.Nadmiar());
}

TEST_F(FrmListaTest, RenameNeverTakesAnotherPrintoutsName)
{
    struct Row {
        const char *label;
        QString nowa;
    };
    const Row rows[] = {
        {"same name", "Cel"},
        {"differs only in case", "CEL"},
        {"the other file has an upper-case extension", "Drugi"},
    };
    for (const Row &row : rows) {
        for (const QString &f : Pliki())
            QFile::remove(lib_.path() + u'/' + f);
        Wydruk("Zrodlo.wyd");
        Wydruk("Cel.wyd");
        Wydruk("drugi.WYD");
        const QStringList przed = Pliki();
        auto frm = Okno();
        Wybierz(*frm, "Zrodlo");
        QString tytul, tekst;
        Okna okna({[&](QWidget *w) {
                       Pytanie(w)->setTextValue(row.nowa);
                       Pytanie(w)->accept();
                   },
                   [&](QWidget *w) {
                       tytul = w->windowTitle();
                       tekst = Komunikat(w)->Text();
                       w->close();
                   }});
        frm->btnPopraw->Click();
        EXPECT_EQ(tytul, "Błąd - Nie można zmienić nazwy !") << row.label;
        EXPECT_EQ(tekst, Wyswietlony(TekstBleduZmianyNazwy(KatalogProgramu() + "Zrodlo.wyd",
                                                           KatalogProgramu() + row.nowa + ".wyd")))
            << row.label;
        EXPECT_EQ(Pliki(), przed) << row.label;
        EXPECT_EQ(frm->WybranaNazwa(), "Zrodlo") << row.label;
        EXPECT_FALSE(okna.Nadmiar()) << row.label;
    }
}

TEST_F(FrmListaTest, RenameChangingOnlyTheCaseOfItsOwnName)
{
    Wydruk("raport.wyd");
    auto frm = Okno();
    Okna okna({[&](QWidget *w) {
        Pytanie(w)->setTextValue("Raport");
        Pytanie(w)->accept();
    }});
    frm->btnPopraw->Click();
    EXPECT_EQ(Pliki(), QStringList({"Raport.wyd"}));
    EXPECT_EQ(frm->WybranaNazwa(), "Raport");
}

TEST_F(FrmListaTest, UnchangedNameEndsTheRenameSilently)
{
    // Confirming the name as it was showed the rename error.
    Wydruk("Raport.WYD");
    auto frm = Okno();
    Okna okna({[&](QWidget *w) { Pytanie(w)->accept(); }});
    QTest::keyClick(frm->lista, Qt::Key_F2);
    EXPECT_EQ(okna.Wykonane(), 1);
    EXPECT_FALSE(okna.Nadmiar()) << "a message after the unchanged name";
    EXPECT_EQ(Pliki(), QStringList({"Raport.WYD"}));
}

TEST_F(FrmListaTest, RefusedNameAsksAgainWithTheTextKept)
{
    // A name beginning with "." renamed the printout into a hidden file, gone from the list.
    const QString odrzucone[] = {"a/b", "zly?", "   ", "", ".ukryty", ".."};
    for (const QString &tekst : odrzucone) {
        Wydruk("Raport.wyd");
        auto frm = Okno();
        QString tytul, komunikat, ponownie = "-";
        Okna okna({[&](QWidget *w) {
                       Pytanie(w)->setTextValue(tekst);
                       Pytanie(w)->accept();
                   },
                   [&](QWidget *w) {
                       tytul = w->windowTitle();
                       komunikat = Komunikat(w)->Text();
                       w->close();
                   },
                   [&](QWidget *w) {
                       ponownie = Pytanie(w)->textValue();
                       Pytanie(w)->reject();
                   }});
        frm->btnPopraw->Click();
        EXPECT_EQ(tytul, "Błędna nazwa pliku") << tekst.toStdString();
        EXPECT_EQ(komunikat, Wyswietlony(BladNazwy(tekst))) << tekst.toStdString();
        EXPECT_EQ(ponownie, tekst);
        EXPECT_EQ(Pliki(), QStringList({"Raport.wyd"}));
    }
}

TEST_F(FrmListaTest, DeleteAsksAndSelectsTheFirstLine)
{
    Wydruk("a.wyd");
    Wydruk("b.wyd");
    Wydruk("c.wyd");
    auto frm = Okno();
    Wybierz(*frm, "b");
    QString tytul, tekst;
    {
        Okna nie({[&](QWidget *w) {
            tytul = w->windowTitle();
            tekst = Komunikat(w)->Text();
            Komunikat(w)->done(TMsgOkienko::mrNo);
        }});
        QTest::keyClick(frm->lista, Qt::Key_F8);
    }
    EXPECT_EQ(tytul, "Potwierdź usunięcie pliku ?");
    EXPECT_EQ(tekst, "Czy na pewno chcesz usunąć plik\n" + KatalogProgramu() + "b.wyd ?");
    EXPECT_EQ(Pliki().size(), 3);
    EXPECT_EQ(frm->WybranaNazwa(), "b");

    Okna tak({[&](QWidget *w) { Komunikat(w)->done(TMsgOkienko::mrOk); }});
    QTest::keyClick(frm->lista, Qt::Key_F8);
    EXPECT_EQ(Pliki(), QStringList({"a.wyd", "c.wyd"}));
    EXPECT_EQ(Nazwy(*frm), QStringList({"a", "c"}));
    EXPECT_EQ(frm->WybranaNazwa(), "a");
}

TEST_F(FrmListaTest, ActsOnTheRealFileOfTheSelectedLine)
{
    // The file was looked up again from the shown name: the line of ala.WYD deleted ala.wyd, a tab
    // in a name cut its key short, and a name that is not UTF-8 could not be opened at all.
    const QDateTime t1(QDate(2024, 3, 5), QTime(14, 7)), t2(QDate(2023, 1, 2), QTime(8, 0));
    const QString czas = "\t2024-03-05 14:07";
    struct Row {
        const char *label;
        std::string cel, inny; // the file of the chosen line, written at t1, and another at t2
        QString nazwa;         // the chosen line's name as the list shows it
    };
    const Row rows[] = {
        {"upper-case extension beside lower", "ala.WYD", "ala.wyd", "ala"},
        {"lower-case extension beside upper", "ala.wyd", "ala.WYD", "ala"},
        {"tab in the name", "a\tb.wyd", "a.wyd", "a\tb"},
        {"name not UTF-8", "\xff.wyd", "x.wyd", QString(QChar(0xFFFD))},
    };
    enum Akcja { Otworz, ZmienNazwe, Usun };
    for (const Row &row : rows) {
        for (const Akcja akcja : {Otworz, ZmienNazwe, Usun}) {
            SCOPED_TRACE(std::string(row.label) + ", action " + std::to_string(akcja));
            QTemporaryDir dir;
            UstawKatalogProgramu(dir.path());
            WydrukPod(dir.path(), row.cel, t1);
            WydrukPod(dir.path(), row.inny, t2);
            auto frm = Okno();
            const auto linie = frm->lista->findItems(row.nazwa + czas, Qt::MatchExactly);
            ASSERT_EQ(linie.size(), 1);
            frm->lista->setCurrentItem(linie.first());
            const fs::path cel = platform::NativePath(dir.path()) / row.cel;
            std::set<std::string> zostaja{row.inny};
            QString pytanie;
            if (akcja == Otworz) {
                fs::path otwarty;
                Okna okna({[&](QWidget *w) {
                    auto *podglad = qobject_cast<TFrmPodglad *>(w);
                    ASSERT_NE(podglad, nullptr);
                    otwarty = podglad->Plik();
                    EXPECT_EQ(podglad->NazwaWydruku(), row.nazwa);
                    // Left open: it loads, and a load error would be one more window.
                }});
                QTest::keyClick(frm->lista, Qt::Key_Return);
                EXPECT_EQ(otwarty, cel);
                EXPECT_FALSE(okna.Nadmiar()) << "the preview could not load the file";
                zostaja.insert(row.cel);
            } else if (akcja == ZmienNazwe) {
                Okna okna({[&](QWidget *w) {
                    pytanie = Pytanie(w)->textValue();
                    Pytanie(w)->setTextValue("nowy");
                    Pytanie(w)->accept();
                }});
                QTest::keyClick(frm->lista, Qt::Key_F2);
                EXPECT_EQ(pytanie, row.nazwa);
                EXPECT_FALSE(okna.Nadmiar());
                EXPECT_EQ(frm->WybranaNazwa(), "nowy");
                zostaja.insert("nowy.wyd");
            } else {
                Okna okna({[&](QWidget *w) {
                    pytanie = Komunikat(w)->Text();
                    Komunikat(w)->done(TMsgOkienko::mrOk);
                }});
                QTest::keyClick(frm->lista, Qt::Key_F8);
                EXPECT_EQ(pytanie, "Czy na pewno chcesz usunąć plik\n" + platform::DisplayPath(cel) + " ?");
            }
            EXPECT_EQ(PlikiW(dir.path()), zostaja);
        }
    }
}

TEST_F(FrmListaTest, NothingSelectedNothingToRenameOrDelete)
{
    // F8 offered to delete "<library>/.wyd", a hidden file the user never sees.
    Wydruk("a.wyd");
    Wydruk(".wyd");
    auto frm = Okno();
    const QRect r = frm->lista->visualItemRect(frm->lista->currentItem());
    QTest::mouseClick(frm->lista->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    ASSERT_EQ(frm->WybranaNazwa(), "");
    Okna okna({});
    QTest::keyClick(frm->lista, Qt::Key_F8);
    QTest::keyClick(frm->lista, Qt::Key_F2);
    QCoreApplication::processEvents();
    EXPECT_FALSE(okna.Nadmiar()) << "a question with nothing selected";
    EXPECT_EQ(Pliki(), QStringList({".wyd", "a.wyd"}));
}

TEST_F(FrmListaTest, HelpThatCannotBeOpenedSaysWhere)
{
    // F1 without the help file (or a browser) did nothing at all.
    auto frm = Okno();
    QString tytul, tekst;
    Okna okna({[&](QWidget *w) {
        tytul = w->windowTitle();
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(box, nullptr);
        tekst = box->text();
        w->close();
    }});
    QTest::keyClick(frm->lista, Qt::Key_F1);
    EXPECT_EQ(tytul, "Wenoglad");
    EXPECT_TRUE(tekst.startsWith("Nie można otworzyć pomocy: " + KatalogProgramu() + "pomoc.html"))
        << tekst.toStdString();
}

TEST_F(FrmListaTest, KeysWithModifiersGoToTheList)
{
    Wydruk("a.wyd");
    auto frm = Okno();
    Okna okna({});
    QTest::keyClick(frm->lista, Qt::Key_Escape, Qt::ShiftModifier);
    QTest::keyClick(frm->lista, Qt::Key_F8, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frm->isVisible());
    EXPECT_FALSE(okna.Nadmiar());
    QTest::keyClick(frm->lista, Qt::Key_Escape);
    EXPECT_FALSE(frm->isVisible());
}

TEST_F(FrmListaTest, LibraryThatCannotBeSearchedShowsTheErrorAndKeepsTheButtons)
{
    Wydruk("a.wyd");
    auto frm = Okno();
    ASSERT_TRUE(frm->btnUsun->isEnabled());
    UstawKatalogProgramu(lib_.path() + "/nie ma takiego");
    QString tytul, tekst;
    Okna okna({[&](QWidget *w) {
        tytul = w->windowTitle();
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(box, nullptr);
        tekst = box->text();
        w->close();
    }});
    frm->OdswiezListe();
    EXPECT_EQ(tytul, "Wenoglad");
    EXPECT_TRUE(tekst.contains("nie ma takiego")) << tekst.toStdString();
    EXPECT_EQ(frm->lista->count(), 0);
    EXPECT_TRUE(frm->btnUsun->isEnabled());
    EXPECT_EQ(frm->hb->TextAccept(), "Wyświetl");
}

TEST_F(FrmListaTest, FileFromTheCommandLineOpensDirectlyAndEndsTheProgram)
{
    Wydruk("w bibliotece.wyd");
    QTemporaryDir obcy;
    const QString plik = obcy.path() + "/Obcy.wyd";
    wydtest::WriteWyd(plik, wydtest::DeviceDocument());
    QString sciezka;
    bool bezZapisu = true;
    Okna okna({[&](QWidget *w) {
        auto *podglad = qobject_cast<TFrmPodglad *>(w);
        ASSERT_NE(podglad, nullptr);
        sciezka = podglad->SciezkaPliku();
        bezZapisu = podglad->BezZapisu();
        podglad->close();
    }});
    auto frm = Okno({.PlikDoPodgladu = plik});
    EXPECT_EQ(sciezka, plik);
    EXPECT_FALSE(bezZapisu) << "the direct preview stores its settings as usual";
    EXPECT_FALSE(frm->isVisible());
    EXPECT_EQ(frm->lista->count(), 0) << "the library list is never filled in this run";
    frm->FormActivate();
    EXPECT_EQ(okna.Wykonane(), 1);
    EXPECT_FALSE(okna.Nadmiar());
}

// ---- temporary mode --------------------------------------------------------------------------

TEST_F(FrmListaTest, TemporaryModeWithoutPrintoutsSaysSoAndEnds)
{
    QString tytul, tekst;
    Okna okna({[&](QWidget *w) {
        tytul = w->windowTitle();
        tekst = Komunikat(w)->Text();
        w->close();
    }});
    auto frm = Okno({.TrybTemp = true});
    EXPECT_EQ(tytul, "Błąd!");
    EXPECT_EQ(tekst, "Nie znaleziono żadnych wydruków!");
    EXPECT_FALSE(frm->isVisible());
    frm->FormActivate(); // a late activation does not start over
    EXPECT_FALSE(okna.Nadmiar());
}

TEST_F(FrmListaTest, TemporaryModeOpensTheOnlyPrintoutAndEndsAfterIt)
{
    Wydruk("Jedyny.wyd");
    QString nazwa;
    bool bezZapisu = false;
    Okna okna({[&](QWidget *w) {
        auto *podglad = qobject_cast<TFrmPodglad *>(w);
        ASSERT_NE(podglad, nullptr);
        nazwa = podglad->NazwaWydruku();
        bezZapisu = podglad->BezZapisu();
        podglad->close();
    }});
    auto frm = Okno({.TrybTemp = true});
    EXPECT_FALSE(frm->pIkonki->isVisible());
    EXPECT_TRUE(frm->isVisible()) << "the Enter is posted, not sent";
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(nazwa, "Jedyny");
    EXPECT_TRUE(bezZapisu);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_FALSE(okna.Nadmiar());
}

TEST_F(FrmListaTest, TemporaryModeWithTwoPrintoutsKeepsTheList)
{
    Wydruk("Pierwszy.wyd");
    Wydruk("Drugi.wyd");
    auto frm = Okno({.TrybTemp = true});
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(frm->isVisible());
    EXPECT_FALSE(frm->pIkonki->isVisible());
    EXPECT_FALSE(frm->btnPopraw->isEnabled());
    EXPECT_FALSE(frm->btnUsun->isEnabled());
    EXPECT_FALSE(frm->btnDodaj->isEnabled());
    EXPECT_EQ(frm->hb->TextAccept(), "Wyświetl");

    int otwarte = 0;
    Okna okna({[&](QWidget *w) {
                   ++otwarte;
                   w->close();
               },
               [&](QWidget *w) {
                   ++otwarte;
                   w->close();
               }});
    QTest::keyClick(frm->lista, Qt::Key_F2); // the hidden toolbar's keys do nothing
    QTest::keyClick(frm->lista, Qt::Key_Return);
    EXPECT_TRUE(frm->isVisible()) << "each printout can be opened in turn";
    QTest::keyClick(frm->lista, Qt::Key_Down);
    QTest::keyClick(frm->lista, Qt::Key_Return);
    EXPECT_EQ(otwarte, 2);
    EXPECT_TRUE(frm->isVisible());
    EXPECT_EQ(Pliki().size(), 2);
}

} // namespace

TEST_F(FrmListaTest, CopiedFromTheCommandLineAndDroppedPrintoutsJoinTheLibrary)
{
    QTemporaryDir inny;
    Wydruk("b.wyd");
    auto kopiuj = [&](const QString &nazwa) {
        QFile::copy(lib_.path() + "/b.wyd", inny.path() + "/" + nazwa);
        return inny.path() + "/" + nazwa;
    };
    // The entry's Yes: the first refresh copies the file in and selects it.
    const auto frm = Okno(TStanStartowy{.PlikDoSkopiowania = kopiuj("Faktura.wyd")});
    EXPECT_TRUE(Istnieje("Faktura.wyd"));
    EXPECT_TRUE(frm->PlikDoSkopiowania().isEmpty());
    ASSERT_TRUE(frm->lista->currentItem());
    EXPECT_TRUE(frm->lista->currentItem()->text().startsWith("Faktura\t"));

    // Dropped files are added as chosen ones are; what is not a printout or package is skipped.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(kopiuj("Raport.WYD")), QUrl::fromLocalFile(kopiuj("notatka.txt"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frm.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frm.get(), &drop);
    EXPECT_EQ(Pliki(), QStringList({"Faktura.wyd", "Raport.WYD", "b.wyd"}));
    EXPECT_EQ(Nazwy(*frm), QStringList({"b", "Faktura", "Raport"}));
}

// A package dropped on the window that is none: its error box was owned by the active window and
// opened beneath the wait window, which stayed on top, so nobody could read it.
TEST_F(FrmListaTest, AnErrorWhileAddingOpensAboveTheWaitWindow)
{
    QTemporaryDir inny;
    QFile obcy(inny.path() + "/obcy.exe");
    ASSERT_TRUE(obcy.open(QIODevice::WriteOnly));
    obcy.write("MZ nie paczka");
    obcy.close();
    const auto frm = Okno();
    QString tekst;
    Okna okna({[&](QWidget *w) {
        const TMsgOkienko *czekaj = frm->WorkingDlg->Okno();
        ASSERT_TRUE(czekaj && czekaj->isVisible());
        tekst = qobject_cast<QMessageBox *>(w) ? qobject_cast<QMessageBox *>(w)->text() : QString();
        EXPECT_EQ(w->parentWidget(), czekaj) << "a box owned by the wait window is kept above it";
        EXPECT_EQ(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                  czekaj->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        w->close();
    }});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(obcy.fileName())});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frm.get(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frm.get(), &drop);
    EXPECT_EQ(okna.Wykonane(), 1);
    EXPECT_TRUE(tekst.contains(obcy.fileName())) << tekst.toStdString();
    EXPECT_EQ(frm->WorkingDlg->Okno(), nullptr);
}
