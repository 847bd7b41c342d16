#pragma once
// The print dialog: the user picks the printer, the pages, the mode and the options, and starts
// printing. The preview window hands it the printout's name and its page viewer and shows it
// modally; the dialog keeps its choices in PrintDlgSettings and runs the print engine.
#include "platform/metafile/PageMetafile.h"
#include "printdialog/PodgladArkuszy.h"
#include "ui/uWenForm.h"

#include <QList>

#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class TEmfViewer;
class TPanelEx;
class TWenBtn;
class TWindowPrintHost;

class TWydrukiDrukuj : public TWenForm {
    Q_OBJECT
public:
    explicit TWydrukiDrukuj(QWidget *owner = nullptr);
    ~TWydrukiDrukuj() override;

    // The printout's name (the jobs' title) and the viewer whose pages, current page and margins
    // are printed; both are set before the dialog is shown.
    void SetJobTitle(const QString &title) { jobTitle_ = title; }
    void SetViewer(TEmfViewer *viewer) { viewer_ = viewer; }
    // The pages to print when there is no viewer.
    void SetPages(const QList<const platform::PageMetafile *> &pages) { pages_ = pages; }

    // Whether the user asked to stop the printing under way.
    bool CancelRequested() const { return cancel_; }

    QGroupBox *gbDrukarka;
    QComboBox *cbDrukarki;
    TWenBtn *btnWlasciwosci;
    QGroupBox *gbStrony;
    QRadioButton *rbStrony1;
    QRadioButton *rbStrony2;
    QRadioButton *rbStrony4;
    QLineEdit *edStrony;
    QLabel *Label4;
    QFrame *bvKopie;
    QLabel *Label1;
    QSpinBox *edKopie;
    QCheckBox *cbKolorowy;
    TPanelEx *pOpcje1;
    TWenBtn *btnNormalne;
    TWenBtn *btnZmniejszone;
    TWenBtn *btnKsiazeczka;
    QCheckBox *cbOdwrotnie;
    QLabel *lblOdwrotnie;
    QCheckBox *cbDwustronnie;
    QLabel *lblDwustronnie1;
    QLabel *lblDwustronnie2;
    // Shown in place of the notes when the printer prints both sides itself.
    QCheckBox *cbDwustronnieAuto;
    // The sheets as they will come out, below the options.
    TPodgladArkuszy *podgladArkuszy;
    TWenBtn *btnOpcje2Pokaz;
    TPanelEx *pOpcje2;
    QCheckBox *cbNoAbortProc;
    QLabel *Label3;
    QRadioButton *rbEmfMode;
    QLabel *Label2;
    QRadioButton *rbBmpMode;
    QLabel *Label5;
    TWenBtn *WenBtn1;

protected:
    void UpdateActiveLook() override;
    void DeferredShow() override;
    void hbAccept() override;
    void hbCancel() override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The controls in their steps, top left to bottom right: the printer, the page range, the
    // copies and colour, the print modes and, in the same place, the advanced options.
    void CreateControls();
    void CreatePrinterBox(QWidget *frame);
    void CreatePageBox(QWidget *frame);
    void CreateCopiesBox(QWidget *frame);
    void CreateModePanel(QWidget *frame);
    void CreateAdvancedPanel(QWidget *frame);
    void Otworz();
    void UstawRegulyDostepnosci();
    // Offers the printer's own two-sided printing when the current printer has it, as last chosen
    // for that printer.
    void UstawDwustronnieAuto();
    // Whether this print goes to the printer's own two-sided printing.
    bool DwustronnieAutoWybrane() const;
    void CreateSheetPreview(QWidget *frame);
    // Shows the sheets of the options as they stand.
    void OdswiezPodgladArkuszy();
    void btnTrybClick(TWenBtn *pressed);
    void cbDrukarkiChange(int index);
    void rbStrony4Click();
    void btnWlasciwosciClick();
    void PokazOpcje2(bool show);
    // Copies the controls into the remembered options; the mode only when printing.
    void ZapiszOpcje(bool withMode);

    QString jobTitle_;
    TEmfViewer *viewer_ = nullptr;
    std::optional<QList<const platform::PageMetafile *>> pages_;
    int margLeft_ = 50, margTop_ = 20, margRight_ = 20, margBottom_ = 20;
    int currentPage_ = -1;
    bool cancel_ = false;
    std::unique_ptr<TWindowPrintHost> host_;
};

// The preview's print request: the dialog, without an owner, for the printout named jobTitle and the
// pages of viewer, shown modally and destroyed when it returns.
void PokazDrukowanie(const QString &jobTitle, TEmfViewer *viewer);
