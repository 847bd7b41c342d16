#include "chooser/ExploratorGeometria.h"
#include "chooser/ExploratorMiejsca.h"
#include "chooser/Explorer.h"
#include "platform/base/Exception.h"
#include "tests/support/FileTree.h"
#include "tests/ui/ModalDriver.h"
#include "ui/HintBar.h"
#include "ui/bajery.h"
#include "ui/okienko.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

TEST(ExplorerTest, SettersKeepTheOptionsConsistent)
{
    // Flags in the order WyborPliku, WyborKatalogu, PlikiWidoczne, PodgladWidoczny, Szukanie.
    struct Row {
        const char *name;
        std::function<void(TExplorer &)> set;
        std::array<bool, 5> expected;
    };
    const Row rows[] = {
        {"defaults", [](TExplorer &) {}, {false, true, false, false, false}},
        {"files chosen show the list", [](TExplorer &e) { e.SetWyborPliku(true); }, {true, true, true, false, false}},
        {"no folder side means files",
         [](TExplorer &e) { e.SetWyborKatalogu(false); },
         {true, false, true, false, false}},
        {"folders again bring the folder side back",
         [](TExplorer &e) {
             e.SetWyborKatalogu(false);
             e.SetWyborPliku(false);
         },
         {false, true, true, false, false}},
        {"preview needs the files", [](TExplorer &e) { e.SetPodgladWidoczny(true); }, {true, true, true, true, false}},
        {"search shows the list", [](TExplorer &e) { e.SetSzukanie(true); }, {false, true, true, false, true}},
        {"no folder side, no search",
         [](TExplorer &e) {
             e.SetSzukanie(true);
             e.SetWyborKatalogu(false);
         },
         {true, false, true, false, false}},
        {"hiding the list ends preview, files and search",
         [](TExplorer &e) {
             e.SetPodgladWidoczny(true);
             e.SetSzukanie(true);
             e.SetPlikiWidoczne(false);
         },
         {false, true, false, false, false}},
        // Nothing would be left to show: the folder side comes back.
        {"hiding the list of a file-only chooser",
         [](TExplorer &e) {
             e.SetWyborKatalogu(false);
             e.SetPlikiWidoczne(false);
         },
         {false, true, false, false, false}},
    };
    for (const Row &row : rows) {
        TExplorer e;
        row.set(e);
        const std::array<bool, 5> got{e.WyborPliku(), e.WyborKatalogu(), e.PlikiWidoczne(), e.PodgladWidoczny(),
                                      e.Szukanie()};
        EXPECT_EQ(got, row.expected) << row.name;
    }
    TExplorer e;
    EXPECT_EQ(e.Filtr, "*.DBF");
    EXPECT_EQ(e.Katalog, QDir::homePath());
    e.SetWysokosc(99);
    EXPECT_EQ(e.Wysokosc(), 100);
    e.SetWysokosc(101);
    EXPECT_EQ(e.Wysokosc(), 101);
}

TEST(ExplorerTest, GeometryOfWidthsTabStopAndPicture)
{
    EXPECT_EQ(ExplorerClientWidth(false, true, 400), 424);
    EXPECT_EQ(ExplorerClientWidth(true, true, 400), 674);
    EXPECT_EQ(ExplorerClientWidth(true, false, 400), 250);
    // (400 - 100) * 4 div 8 dialog units, back to the same pixels; an odd pixel is lost.
    EXPECT_EQ(ExplorerTabStopUnits(400, 100), 150);
    EXPECT_EQ(ExplorerTabStopPixels(ExplorerTabStopUnits(401, 100)), 300);
    struct Row {
        QSize picture, panel;
        QRect expected;
    };
    const Row rows[] = {
        // Wide picture: zoom 200 / 98 by width, 200 x 0.98 / zoom = 96.04, centred in 100 x 100.
        {{200, 100}, {100, 100}, {2, 26, 96, 48}},
        // Tall picture, smaller than the panel: enlarged to 98% of the height less the frame.
        {{10, 20}, {300, 102}, {125, 2, 49, 98}},
        // An empty picture, or a panel with no room inside its frame, places nothing.
        {{0, 10}, {100, 100}, {}},
        {{10, 10}, {2, 50}, {}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(ExplorerPictureFit(row.picture, row.panel), row.expected) << row.picture.width();
}

TEST(ExplorerTest, UserVolumes)
{
    EXPECT_TRUE(ExplorerUserVolume("/media/jan/PENDRIVE", "vfat"));
    EXPECT_TRUE(ExplorerUserVolume("/run/media/jan/DVD", "iso9660"));
    EXPECT_TRUE(ExplorerUserVolume("/srv/share", "nfs4"));
    EXPECT_FALSE(ExplorerUserVolume("/media", "ext4"));
    EXPECT_FALSE(ExplorerUserVolume("/proc", "proc"));
    EXPECT_FALSE(ExplorerUserVolume("/boot/efi", "vfat"));
    EXPECT_FALSE(ExplorerUserVolume("/etc/hosts", "ext4"));
    EXPECT_FALSE(ExplorerUserVolume("/mediabox", "ext4"));
    EXPECT_FALSE(ExplorerUserVolume("/mnt/sandbox/env", "tmpfs"));
    EXPECT_FALSE(ExplorerUserVolume("/media/jan/snap", "squashfs"));
    const std::vector<TExplorerPlace> places{{"/", "/"}, {"~", "/home/jan"}, {"usb", "/media/jan/usb"}};
    EXPECT_EQ(ExplorerPlaceOf(places, "/home/jan/a"), 1);
    EXPECT_EQ(ExplorerPlaceOf(places, "/home/janek"), 0);
    EXPECT_EQ(ExplorerPlaceOf(places, "/media/jan/usb"), 2);
}

// A folder tree in a temporary home folder, so that the chooser starts from it.
class ChooserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        oldHome_ = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home_.path()));
    }
    void TearDown() override { qputenv("HOME", oldHome_); }

    QString Path(const QString &rel) const { return QDir::cleanPath(home_.path() + u'/' + rel); }
    void File(const QString &rel, const QByteArray &bytes = "x") { ASSERT_TRUE(WriteTestFile(Path(rel), bytes)); }
    void Folder(const QString &rel) { ASSERT_TRUE(QDir().mkpath(Path(rel))); }

    // A chooser window set up as TExplorer sets it, not shown.
    std::unique_ptr<TExplorerDlg> Dlg(bool files, const QString &mask = "*.wyd")
    {
        auto dlg = std::make_unique<TExplorerDlg>();
        dlg->WyborPliku = files;
        dlg->PlikiWidoczne = true;
        dlg->files.Mask = mask;
        dlg->UstawTabulator(ExplorerTabStopUnits(400, 100));
        return dlg;
    }
    static QStringList Children(const QTreeWidgetItem *node)
    {
        QStringList names;
        for (int i = 0; i < node->childCount(); ++i)
            names << node->child(i)->text(0);
        return names;
    }
    static QStringList Lines(const QListWidget *lb)
    {
        QStringList lines;
        for (int i = 0; i < lb->count(); ++i)
            lines << lb->item(i)->text();
        return lines;
    }
    static QString Selected(const QTreeWidget *tree) { return tree->currentItem() ? tree->currentItem()->text(0) : ""; }

    QTemporaryDir home_;
    QByteArray oldHome_;
};

// Closes the next message box as soon as it is up, noting what it said; a box that never comes
// leaves the title empty. Work that handles events before the box opens does not disturb it.
struct BoxWatcher {
    QString title, text;
    QTimer timer;
    BoxWatcher()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<TMsgOkienko *>(QApplication::activeModalWidget())) {
                timer.stop();
                title = box->windowTitle();
                text = box->Text();
                box->close();
            }
        });
        timer.start(0);
    }
};

// What a message box said, and closes it.
struct Box {
    QString title, text;
    void operator()(QWidget *w)
    {
        title = w->windowTitle();
        if (auto *box = qobject_cast<TMsgOkienko *>(w))
            text = box->Text();
        w->close();
    }
};

TEST_F(ChooserTest, ThreeWidthCases)
{
    struct Row {
        bool folderSide, files;
        bool left, right;
        int clientWidth;
    };
    const Row rows[] = {
        {true, true, true, true, 674}, {false, true, false, true, 424}, {true, false, true, false, 250}};
    for (const Row &row : rows) {
        TExplorer e;
        e.SetPlikiWidoczne(row.files);
        e.SetWyborKatalogu(row.folderSide);
        e.SetWysokosc(300);
        ModalDriver driver;
        bool left = false, right = false;
        int width = 0, height = 0;
        driver.Then([&](QWidget *w) {
            auto *dlg = qobject_cast<TExplorerDlg *>(w);
            left = dlg->panLewy->isVisible();
            right = dlg->panPrawy->isVisible();
            width = dlg->panLewy->parentWidget()->width();
            height = dlg->height();
            w->close();
        });
        EXPECT_FALSE(e.Execute());
        EXPECT_EQ(left, row.left) << row.clientWidth;
        EXPECT_EQ(right, row.right) << row.clientWidth;
        EXPECT_EQ(width, row.clientWidth);
        EXPECT_EQ(height, 300);
        EXPECT_FALSE(driver.closedBySafety);
    }
}

TEST_F(ChooserTest, TreeLoadsOneLevelAtATimeWithExpandersOnlyWhereSubfoldersAre)
{
    Folder("a/b/c");
    Folder("a/.ukryty/x");
    Folder("d");
    Folder(".schowany/e");
    File("f/plik.wyd");
    auto dlg = Dlg(false);
    dlg->UstawKatalog(home_.path());
    QTreeWidgetItem *root = dlg->tree->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), home_.path());
    EXPECT_EQ(Children(root), QStringList({"a", "d", "f"}));
    // a waits with a placeholder; d and f (a file only) have nothing to expand.
    EXPECT_EQ(Children(root->child(0)), QStringList({""}));
    EXPECT_EQ(root->child(1)->childCount(), 0);
    EXPECT_EQ(root->child(2)->childCount(), 0);
    dlg->tree->expandItem(root->child(0));
    EXPECT_EQ(Children(root->child(0)), QStringList({"b"}));
    EXPECT_EQ(Children(root->child(0)->child(0)), QStringList({""}));
    // The root stays open.
    dlg->tree->collapseItem(root);
    EXPECT_TRUE(root->isExpanded());

    struct Row {
        QString start, selected, folder;
    };
    const Row rows[] = {
        {Path("a/b"), "b", Path("a/b") + "/"},
        {Path("a/.ukryty/x"), "a", Path("a") + "/"}, // the deepest folder the tree shows
        {Path("nie ma"), home_.path(), home_.path() + "/"},
        {Path("a/b/../b/c"), "c", Path("a/b/c") + "/"},
    };
    for (const Row &row : rows) {
        dlg->UstawKatalog(row.start);
        EXPECT_EQ(Selected(dlg->tree), row.selected) << row.start.toStdString();
        EXPECT_EQ(dlg->WybranyKatalog(), row.folder);
    }
}

TEST_F(ChooserTest, FileListOffersEveryEntryToOnDodajPlik)
{
    File("k/b.wyd");
    File("k/A.WYD");
    File("k/c.wyd");
    File("k/p.exe");
    File("k/x.txt");
    auto dlg = Dlg(true, "*.wyd;*.EXE");
    QStringList offered;
    dlg->OnDodajPlik = [&](const std::filesystem::path &path, QString &opis, bool &akceptuj) {
        const QString plik = QFile::decodeName(QByteArray::fromStdString(path.native()));
        offered << plik;
        if (plik.endsWith("c.wyd"))
            akceptuj = false;
        else if (plik.endsWith("b.wyd"))
            opis = "raport B";
    };
    dlg->UstawKatalog(Path("k"));
    EXPECT_EQ(offered.size(), 4);
    EXPECT_TRUE(offered.contains(Path("k/c.wyd")));
    EXPECT_EQ(Lines(dlg->lb), QStringList({"A.WYD\t", "b.wyd\traport B", "p.exe\t"}));
    EXPECT_EQ(dlg->lb->currentRow(), 0);
    EXPECT_EQ(dlg->files.Files.Count(), 3); // the refused one is not kept either
    EXPECT_EQ(TExplorerDlg::PlikLinii(dlg->lb->item(1)), QFile::encodeName(Path("k/b.wyd")));
}

TEST_F(ChooserTest, SearchFindsNestedFilesAndEscStopsIt)
{
    File("s/g.wyd");
    File("s/p1/p2/p3/gleboki.wyd");
    File("s/p1/inny.txt");
    File("s/q/r.wyd");
    Folder("pusty/w");
    auto dlg = Dlg(true);
    dlg->UstawKatalog(Path("s"));
    dlg->btnSzukajClick();
    EXPECT_EQ(Lines(dlg->lb), QStringList({"g.wyd\t", "p1/p2/p3/gleboki.wyd\t", "q/r.wyd\t"}));
    EXPECT_EQ(dlg->lb->currentRow(), 0);
    EXPECT_EQ(TExplorerDlg::PlikLinii(dlg->lb->item(1)), QFile::encodeName(Path("s/p1/p2/p3/gleboki.wyd")));
    EXPECT_FALSE(dlg->Szukanie());
    EXPECT_TRUE(dlg->panLewy->isEnabled());
    EXPECT_TRUE(dlg->panSzukanie->isHidden());

    // Esc pressed while the first folder is read: the next folder is not searched.
    bool searchingSeen = false;
    dlg->OnDodajPlik = [&](const std::filesystem::path &, QString &, bool &) {
        if (searchingSeen)
            return;
        searchingSeen = dlg->Szukanie() && !dlg->panLewy->isEnabled() && dlg->panSzukanie->isVisibleTo(dlg.get());
        QCoreApplication::postEvent(dlg.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    };
    dlg->show();
    {
        BoxWatcher none;
        dlg->btnSzukajClick();
        EXPECT_TRUE(none.title.isEmpty()) << none.title.toStdString(); // no "not found" box after a stop
    }
    EXPECT_TRUE(searchingSeen);
    EXPECT_EQ(Lines(dlg->lb), QStringList({"g.wyd\t"})); // what was found before the stop stays
    EXPECT_TRUE(dlg->panLewy->isEnabled());
    EXPECT_TRUE(dlg->isVisible()); // Esc stopped the search, not the window

    dlg->OnDodajPlik = nullptr;
    dlg->UstawKatalog(Path("pusty"));
    BoxWatcher nothing;
    dlg->btnSzukajClick();
    EXPECT_EQ(nothing.title, "Nie znaleziono");
    EXPECT_EQ(nothing.text, "Nie znalazłem w tym katalogu i jego podkatalogach żadnego pliku");
}

TEST_F(ChooserTest, RefusedFolderKeepsTheWindowOpen)
{
    Folder("x/y");
    TExplorer e;
    e.Katalog = Path("x/y");
    QStringList asked;
    e.OnSprawdzKatalog = [&](const QString &katalog, bool &mozeByc) {
        asked << katalog;
        mozeByc = asked.size() > 1;
    };
    bool openAfterRefusal = false;
    ModalDriver driver;
    driver.Then([&](QWidget *w) {
        QTest::keyClick(w, Qt::Key_Return);
        openAfterRefusal = w->isVisible();
        QTest::keyClick(w, Qt::Key_Return);
    });
    EXPECT_TRUE(e.Execute());
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_FALSE(driver.closedBySafety);
    EXPECT_EQ(asked, QStringList({Path("x/y") + "/", Path("x/y") + "/"}));
    EXPECT_EQ(e.Katalog, Path("x/y") + "/");
}

TEST_F(ChooserTest, PlikAndPlikiInListOrder)
{
    File("m/c.wyd");
    File("m/a.wyd");
    File("m/b.wyd");
    Folder("m/pusty");
    TExplorer e;
    e.SetWyborPliku(true);
    e.MultiWybor = true;
    e.Filtr = "*.wyd";
    e.Katalog = Path("m/pusty");
    Box empty;
    bool stayed = false;
    ModalDriver driver;
    driver.Then([&](QWidget *w) {
        auto *dlg = qobject_cast<TExplorerDlg *>(w);
        EXPECT_EQ(dlg->lblPliki->text(), " &Zaznacz pliki:");
        ModalDriver box;
        box.Then(std::ref(empty));
        dlg->hb->AcceptButton()->click();
        stayed = dlg->isVisible();
        // Enter in the tree takes the focus to the file list.
        dlg->UstawKatalog(Path("m"));
        dlg->tree->setFocus();
        QTest::keyClick(dlg->tree, Qt::Key_Return);
        EXPECT_EQ(dlg->focusWidget(), dlg->lb);
        dlg->lb->item(2)->setSelected(true);
        dlg->lb->setCurrentRow(1, QItemSelectionModel::Select);
        QTest::keyClick(dlg->lb, Qt::Key_Return);
    });
    EXPECT_TRUE(e.Execute());
    EXPECT_EQ(empty.title, "Wybierz plik");
    EXPECT_EQ(empty.text, "Nie zaznaczono żadnego pliku !");
    EXPECT_TRUE(stayed);
    EXPECT_EQ(e.Plik, Path("m/b.wyd"));
    EXPECT_EQ(e.Pliki, QStringList({Path("m/a.wyd"), Path("m/b.wyd"), Path("m/c.wyd")}));
    EXPECT_EQ(e.Katalog, Path("m") + "/");
}

TEST_F(ChooserTest, PlaceNotReadyAsksToRetry)
{
    Folder("a");
    auto dlg = Dlg(false);
    dlg->UstawMiejsca({{"/", "/"}, {"~", home_.path()}, {"usb", Path("usb")}}, home_.path());
    dlg->UstawKatalog(Path("a"));
    ModalDriver cancel;
    Box box;
    cancel.Then(std::ref(box));
    dlg->drives->setCurrentIndex(2);
    EXPECT_EQ(box.title, "Błąd");
    EXPECT_EQ(box.text, "Błąd przy odczycie dysku " + Path("usb") + ":");
    // Cancelled: the list goes back to the place of the selected folder, the tree stays.
    EXPECT_EQ(dlg->drives->currentIndex(), 1);
    EXPECT_EQ(dlg->WybranyKatalog(), Path("a") + "/");

    ModalDriver retry;
    retry.Then([&](QWidget *w) {
        Folder("usb/x"); // the medium comes in before the user retries
        static_cast<TMsgOkienko *>(w)->btnOk->click();
    });
    dlg->drives->setCurrentIndex(2);
    EXPECT_TRUE(retry.ran);
    EXPECT_EQ(dlg->WybranyKatalog(), Path("usb") + "/");
    EXPECT_EQ(Children(dlg->tree->topLevelItem(0)), QStringList({"x"}));
}

TEST_F(ChooserTest, ErrorsOfTheEventsAroundTheRunAreShownAndTheRunGoesOn)
{
    TExplorer e;
    QObject *after = nullptr;
    e.BeforeExecute = [](QObject *) { throw Exception("zepsute przed"); };
    e.AfterExecute = [&](QObject *sender) { after = sender; };
    QString errorTitle, errorText;
    bool chooserShown = false;
    ModalDriver error, chooser;
    error.Then([&](QWidget *w) {
        errorTitle = w->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(w))
            errorText = box->text();
        chooser.Then([&](QWidget *c) {
            chooserShown = qobject_cast<TExplorerDlg *>(c) != nullptr;
            QTest::keyClick(c, Qt::Key_Escape);
        });
        w->close();
    });
    EXPECT_FALSE(e.Execute());
    EXPECT_EQ(errorTitle, "Wenoglad");
    EXPECT_EQ(errorText, "zepsute przed.");
    EXPECT_TRUE(chooserShown);
    EXPECT_NE(after, nullptr);
    EXPECT_FALSE(chooser.closedBySafety);
}

TEST_F(ChooserTest, FolderThatCannotBeReadGivesTheErrorAndTheChooserGoesOn)
{
    // Root reads any folder whatever its mode: a folder removed after the tree showed it fails
    // for everyone.
    File("a/jest.wyd");
    File("a/znika/z.wyd");
    auto dlg = Dlg(true);
    dlg->UstawKatalog(Path("a"));
    QTreeWidgetItem *a = dlg->tree->currentItem();
    ASSERT_EQ(Children(a), QStringList({"znika"}));
    ASSERT_TRUE(QDir(Path("a/znika")).removeRecursively());
    ModalDriver driver;
    Box box;
    driver.Then(std::ref(box));
    dlg->tree->setCurrentItem(a->child(0));
    EXPECT_EQ(box.title, "Błąd !");
    EXPECT_EQ(box.text, "Brak dostępu do katalogu: \n" + Path("a/znika") + "/");
    EXPECT_EQ(dlg->lb->count(), 0);
    dlg->tree->setCurrentItem(a);
    EXPECT_EQ(Lines(dlg->lb), QStringList({"jest.wyd\t"}));
}

TEST_F(ChooserTest, PreviewFitsThePictureIntoItsPanel)
{
    Folder("obrazy");
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(Path("obrazy/czerwony.png")));
    File("obrazy/zepsuty.png", "nie obraz");
    auto dlg = Dlg(true, "*.png");
    dlg->PodgladWidoczny = true;
    dlg->resize(700, 500);
    dlg->panImg->resize(202, 102);
    dlg->UstawKatalog(Path("obrazy"));
    ASSERT_EQ(dlg->lb->currentRow(), 0);
    EXPECT_FALSE(dlg->img->isHidden());
    EXPECT_EQ(dlg->img->geometry(), ExplorerPictureFit({40, 20}, dlg->panImg->size()));
    dlg->lb->setCurrentRow(1);
    EXPECT_TRUE(dlg->img->isHidden());
}

} // namespace

// Folders held as text lost a name that is not UTF-8 (Windows-1250 bytes from a shared disk): such
// a folder was listed but could not be entered, its files not listed, not found by a search.
TEST_F(ChooserTest, FoldersNamedInAnotherCodePageAreEnteredAndSearched)
{
    const QByteArray zamowienia = "Zam\xf3wienia"; // "Zamówienia" in Windows-1250
    const QByteArray wyplaty = "Wyp\xb3"
                               "aty"; // "Wypłaty"
    const QByteArray home = QFile::encodeName(home_.path());
    ASSERT_EQ(::mkdir((home + "/" + zamowienia).constData(), 0700), 0);
    ASSERT_EQ(::mkdir((home + "/" + zamowienia + "/" + wyplaty).constData(), 0700), 0);
    for (const QByteArray &rel : {zamowienia + "/maj.wyd", zamowienia + "/" + wyplaty + "/czerwiec.wyd"}) {
        const int fd = ::open((home + "/" + rel).constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(fd, 0) << rel.toStdString();
        ::close(fd);
    }
    auto dlg = Dlg(true);
    std::vector<std::filesystem::path> offered;
    dlg->OnDodajPlik = [&](const std::filesystem::path &path, QString &, bool &) { offered.push_back(path); };
    dlg->UstawKatalog(home_.path());
    QTreeWidgetItem *root = dlg->tree->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->childCount(), 1);
    QTreeWidgetItem *folder = root->child(0);
    EXPECT_EQ(folder->childCount(), 1) << "a placeholder: the folder below it was seen";

    // Entered: its file is listed, offered by its real path and chosen by it.
    dlg->tree->setCurrentItem(folder);
    EXPECT_EQ(dlg->WybranyKatalogSciezka(), home + "/" + zamowienia + "/");
    ASSERT_EQ(dlg->lb->count(), 1);
    EXPECT_EQ(TExplorerDlg::PlikLinii(dlg->lb->item(0)), home + "/" + zamowienia + "/maj.wyd");
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].native(), (home + "/" + zamowienia + "/maj.wyd").toStdString());

    // Its subfolder is entered in the tree too.
    dlg->tree->expandItem(folder);
    ASSERT_EQ(folder->childCount(), 1);
    dlg->tree->setCurrentItem(folder->child(0));
    ASSERT_EQ(dlg->lb->count(), 1);
    EXPECT_EQ(TExplorerDlg::PlikLinii(dlg->lb->item(0)), home + "/" + zamowienia + "/" + wyplaty + "/czerwiec.wyd");

    // A search from the top finds both printouts, by their real paths.
    dlg->tree->setCurrentItem(root);
    dlg->btnSzukajClick();
    ASSERT_EQ(dlg->lb->count(), 2);
    QSet<QByteArray> found;
    for (int i = 0; i < dlg->lb->count(); ++i)
        found << TExplorerDlg::PlikLinii(dlg->lb->item(i));
    EXPECT_EQ(found, QSet<QByteArray>({home + "/" + zamowienia + "/maj.wyd",
                                       home + "/" + zamowienia + "/" + wyplaty + "/czerwiec.wyd"}));

    // Shown again at a folder given by its bytes.
    dlg->UstawKatalog(home + "/" + zamowienia + "/" + wyplaty);
    EXPECT_EQ(dlg->WybranyKatalogSciezka(), home + "/" + zamowienia + "/" + wyplaty + "/");
}
