#pragma once
// TExplorerDlg: the chooser window of TExplorer. The drive and folder side (a list of places and a
// folder tree loaded one level at a time), the file side (the files of the selected folder, an
// optional picture preview) and the search through the subfolders of the selected folder.
// TExplorer (chooser/Explorer.h) configures it, shows it modally and reads the choice back.
#include "chooser/ExploratorMiejsca.h"
#include "platform/files/FindFiles.h"
#include "ui/uWenForm.h"

#include <QByteArray>

#include <filesystem>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QSplitter;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TPanelEx;
class TSearchAnimation;
class TTabStopDelegate;

// May refuse a chosen folder.
using TExplorerSprawdzKat = std::function<void(const QString &Katalog, bool &MozeByc)>;
// May refuse a file (Akceptuj false) and give its description. The file is named by its bytes,
// which its shown name may not give back.
using TExplorerDodajPlik = std::function<void(const std::filesystem::path &Plik, QString &Opis, bool &Akceptuj)>;

class TExplorerDlg : public TWenForm {
    Q_OBJECT
public:
    explicit TExplorerDlg(QWidget *owner = nullptr);
    ~TExplorerDlg() override;

    // What TExplorer hands over before the folder is set.
    TExplorerSprawdzKat OnSprawdzKatalog;
    TExplorerDodajPlik OnDodajPlik;
    bool WyborPliku = false;
    bool WyborKatalogu = true;
    bool PlikiWidoczne = false;
    bool PodgladWidoczny = false;

    // The selected folder: the place's mount point and the names of the nodes below it, joined
    // with "/", ending with "/"; empty when nothing is selected.
    QString WybranyKatalog() const;
    // The same folder as the system names it (bytes), to act on.
    QByteArray WybranyKatalogSciezka() const;
    // Shows a folder: one that does not exist becomes the home folder; the walk down the tree stops
    // at the first folder the tree does not show (a hidden one, for instance).
    void UstawKatalog(const QString &path);
    void UstawKatalog(const QByteArray &path);
    // The real path (bytes) of a line of the file list.
    static QByteArray PlikLinii(const QListWidgetItem *item);
    // Whether a search is running.
    bool Szukanie() const { return searching_; }

    TPanelEx *panLewy, *Panel3, *Panel4, *Panel2, *panPrawy, *panPliki, *panImg, *panSzukanie;
    QLabel *Label1, *Label2, *lblPliki, *img, *Label4, *lblSzukKat;
    QToolButton *btnMapuj, *btnSzukaj;
    QComboBox *drives;
    QTreeWidget *tree;
    QListWidget *lb;
    QSplitter *splitImg;
    TSearchAnimation *Animate1;
    QProgressBar *pbSzukanie;
    QPushButton *btnPrzerwij;
    TFindFiles files, dirs, dirs2;

    // The places of the drive list, in its order; the first is the file system root. Setting them
    // keeps the place whose mount point is keep selected (else the first) without running the change.
    const std::vector<TExplorerPlace> &Places() const { return places_; }
    void UstawMiejsca(std::vector<TExplorerPlace> places, const QString &keep);

    // Event handlers, public so that the owner and tests can run them as the user would.
    void drivesChange();
    void btnMapujClick();
    void treeChange();
    void lbClick();
    void btnSzukajClick();
    void btnPrzerwijClick() { stop_ = true; }
    void panImgResize();
    // Sets the list's tab stop (dialog units) for the description column.
    void UstawTabulator(int units);

protected:
    void UpdateActiveLook() override;
    void hbAccept() override;
    void hbCancel() override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // explorator.cpp
    // The controls in their steps: the drive and folder side, the file side, the search panel
    // shown over both while a search runs, then the signals.
    void CreateControls();
    TPanelEx *CreateFolderSide(QWidget *body);
    TPanelEx *CreateDrivePanel();
    TPanelEx *CreateTreePanel();
    TPanelEx *CreateFileSide(QWidget *body);
    void CreateSearchPanel();
    void ConnectControls();
    void Rozmiesc();
    bool FormKeyDown(QWidget *target, const QKeyEvent &key);
    // Both sides usable unless a search runs; the file list only when files are chosen.
    void UstawDostepnosc();
    // ExploratorDrzewo.cpp
    void treeExpanding(QTreeWidgetItem *node);
    bool MaPodkatalog(const QByteArray &folder);
    QTreeWidgetItem *NowyWezel(QTreeWidgetItem *parent, const QByteArray &name, bool placeholder);
    // ExploratorPliki.cpp
    void filesAddFile(const TFileObj &file, bool &accept);
    void filesProgress(int progress, const QString &dir, bool &stop);
    // Puts the collected lines into the list, sorted, and empties the collection.
    void WstawLinie();
    void WybierzPierwsza();

    std::vector<TExplorerPlace> places_;
    struct Linia {
        QString tekst;
        QByteArray sciezka;
    };
    std::vector<Linia> linie_;
    TTabStopDelegate *lineDelegate_ = nullptr; // the file list's: descriptions at the tab stop
    bool searching_ = false;
    bool walking_ = false; // UstawKatalog on its way down the tree
    bool stop_ = false;
};
