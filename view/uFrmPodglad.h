#pragma once
// TFrmPodglad: the modal window that shows one printout. Once on screen it loads the file, adds
// the pages to its viewer as they are built, reports progress in its hint bar and then offers
// printing. Margins and page panels sit above the viewer; size, position, margins and the print
// options are remembered between runs.
//
// The opener creates it without an owner, calls UstawPlik or UstawWydruk (and BezZapisuUstawien
// in the library's temporary mode), runs exec() and destroys it.
#include "view/EmfViewer.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QString>

#include <filesystem>
#include <functional>

class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QSpinBox;
class QTimer;
class QVBoxLayout;
class THintBar;
class TPanelEx;
class TPreviewFind;
class TRamkaOkna;
class TWenBtn;
class TWydruk;

namespace platform {
class PageMetafile;
}

class TFrmPodglad : public QDialog {
    Q_OBJECT
public:
    explicit TFrmPodglad(QWidget *parent = nullptr);
    ~TFrmPodglad() override;

    // The file to show by its path; the printout's name is the file name without folder and
    // extension.
    void UstawPlik(const QString &path);
    // A printout of the library by its name: KatalogProgramu() + name + ".WYD".
    void UstawWydruk(const QString &name);
    // The file to show by its real name (bytes), which may not be valid UTF-8.
    void UstawSciezke(const std::filesystem::path &path);
    // Closing will not store the settings.
    void BezZapisuUstawien();

    const QString &SciezkaPliku() const { return sciezkaPliku_; }
    const std::filesystem::path &Plik() const { return plik_; }
    const QString &NazwaWydruku() const { return nazwaWydruku_; }
    bool Przerwij() const { return przerwij_; }
    bool BezZapisu() const { return bezZapisu_; }

    // Components, under their designed names.
    TPanelEx *pGora;
    TPanelEx *pMarginesy;
    QLabel *lblMarg, *lblMargT, *lblMargL, *lblMargR, *lblMargB;
    QSpinBox *margT, *margL, *margR, *margB;
    TPanelEx *pStrony;
    QLabel *lblStrona1, *lblStrona;
    TWenBtn *btnStronaUp, *btnStronaDn;
    TPanelEx *pViewer;
    TEmfViewer *viewer;
    THintBar *hb;
    QTimer *timerStrona;
    TPreviewFind *find;     // Ctrl+F: the find bar over the viewer's bottom
    int timerStronaTag = 0; // the step direction while a page button is held: -1 or +1

    // Event handlers, public so that they can be driven like the window system drives them.
    void viewerMove();
    void viewerChange();
    void margChange();
    void lblMargClick();
    void timerStronaTimer();
    void hbAccept();
    void hbCancel();
    void hbHelp();
    // The keys of finding and copying (Ctrl+F, F3, Shift+F3, Shift+Enter, Ctrl+C); true when used.
    bool KlawiszSzukania(const QKeyEvent &key);

public Q_SLOTS:
    void done(int result) override;

Q_SIGNALS:
    // Enter or "Drukuj" once the pages are built: whoever shows the preview opens the print dialog
    // with the printout's name as the job title and this viewer.
    void Drukuj(const QString &jobTitle, TEmfViewer *viewer);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The constructor's steps: the margin fields and page panel above, the viewer, the hint bar
    // below; then the signals, and the keys the window takes before its controls.
    void ZbudujGore(QVBoxLayout *column);
    void ZbudujMarginesy(QHBoxLayout *row);
    void ZbudujPanelStron(QHBoxLayout *row);
    void ZbudujPodglad(QVBoxLayout *column);
    void ZbudujPasek(QVBoxLayout *column);
    void Polacz();
    void KierujKlawisze();
    void FormCreate();
    void FormResize();
    void FormClose();
    // Brings the application's other windows to the minimised state of zrodlo.
    void MinimalizujRazem(const QWidget *zrodlo);
    void Wczytaj();
    void WczytajStrony();
    void drukProgress(TWydruk *sender, bool drukowanie, int postep);
    void drukNextPage(TWydruk *sender, platform::PageMetafile *page);
    // Places the page panel's labels and buttons with the counter at least this wide.
    void UlozPanelStron(int szerokoscLicznika);
    void btnStronaMouseDown(TWenBtn *sender);
    void btnStronaMouseUp();
    static int WartoscPola(const QSpinBox *field);

    QString sciezkaPliku_;       // as shown
    std::filesystem::path plik_; // as loaded
    QString nazwaWydruku_;
    bool przerwij_ = false;
    bool bezZapisu_ = false;
    bool pokazane_ = false;
    int pokazanyPostep_ = -1;     // the percentage the hint bar shows during a build
    QElapsedTimer ostatniKrok_;   // since the last message step of a build
    int szerokoscLicznika_ = 0;   // of lblStrona, in pixels
    TRamkaOkna *ramka_ = nullptr; // places the window by its outer bounds
};
