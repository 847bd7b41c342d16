#pragma once
// TFrmLista: the program's main window, the list of the printouts stored in the library folder
// (KatalogProgramu), by name or by time. From here a printout is opened in the preview window,
// renamed or deleted. Closing it ends the program.
//
// Its start-up state comes from the command line, as the program entry decides it: the temporary
// mode shows the library without its toolbar and ends when nothing or one printout is left to
// show; a file for the preview opens at the first activation and the window closes after it.
#include "library/StanStartowy.h"

#include <QWidget>

#include <filesystem>
#include <vector>

class QFrame;
class QListWidget;
class QRadioButton;
class THintBar;
class TPanelEx;
class TTabStopDelegate;
class TWenBtn;
class TWorkingDlg;

class TFrmLista : public QWidget {
    Q_OBJECT
public:
    explicit TFrmLista(const TStanStartowy &stan, QWidget *parent = nullptr);
    ~TFrmLista() override;

    bool TrybTemp() const { return stan_.TrybTemp; }
    const QString &PlikDoSkopiowania() const { return stan_.PlikDoSkopiowania; }
    const QString &PlikDoPodgladu() const { return stan_.PlikDoPodgladu; }

    // The date column's tab stop in quarters of the list's average character width, as last
    // computed, and the same in pixels, as the list draws it.
    int TabStop() const { return tabStop_; }
    int TabStopPiksele() const;

    // Components, under their designed names.
    TPanelEx *pIkonki;
    TWenBtn *btnPopraw, *btnDodaj, *btnUsun;
    QFrame *Bevel1;
    QRadioButton *rbWgNazw, *rbWgDat;
    TPanelEx *pLista;
    QListWidget *lista;
    THintBar *hb;
    TWorkingDlg *WorkingDlg;

    // Operations, public so that they can be driven like the window system drives them.
    void FormActivate();
    void FormResize();
    void rbSortowanieWgClick();
    void hbAccept();
    void hbCancel();
    void hbHelp();
    void btnPoprawClick();
    void btnUsunClick();
    void btnDodajClick();
    // Adds printouts and packages (".WYD", ".EXE") into the library with the wait window.
    void DodajWybrane(const std::vector<std::filesystem::path> &pliki);
    void OdswiezListe();
    QString WybranaNazwa() const;
    // The real file of the selected line, empty when nothing is selected. Each line keeps its
    // file's name as the system holds it: two names may show alike ("ala.wyd", "ala.WYD") and a
    // name need not be valid UTF-8.
    std::filesystem::path WybranyPlik() const;
    // Opens the preview on a file of the library; an empty path stands for the empty name.
    void PokazWydruk(const std::filesystem::path &plik);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void FormCreate();
    // The toolbar's function keys, seen before the focused control; true when consumed.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Asks for a name until it is cancelled (false) or passes the character test.
    bool ZapytajONazwe(QString &tekst);
    void Zamknij();

    TStanStartowy stan_;
    int tabStop_ = 0;
    TTabStopDelegate *delegat_ = nullptr; // the list's, drawing the dates at the stop
    QString ostatniKatalog_;              // the folder the add's chooser last accepted in this run
    QByteArray ostatniKatalogSciezka_;    // the same folder's real name
    bool aktywowano_ = false;             // the first activation (or its stand-in after showing) has run
    bool zamykanie_ = false;              // closing: no more refreshes, keys or previews
    bool odswiezanie_ = false;            // a refresh runs (its messages may change the activation)
};
