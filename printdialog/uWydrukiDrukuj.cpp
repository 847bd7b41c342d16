#include "printdialog/uWydrukiDrukuj.h"

#include "platform/base/ConvertError.h"
#include "platform/printer/Printer.h"
#include "print/PageSelection.h"
#include "print/PrintDlgError.h"
#include "print/PrintDlgSettings.h"
#include "print/PrintEngine.h"
#include "printdialog/PrintDlgIcons.h"
#include "printdialog/PrinterProperties.h"
#include "printdialog/WindowPrintHost.h"
#include "ui/BusyCursor.h"
#include "ui/ErrorBox.h"
#include "ui/HintBar.h"
#include "ui/Plural.h"
#include "ui/SafeFocus.h"
#include "ui/WenBtn.h"
#include "ui/WinFonts.h"
#include "ui/bajery.h"
#include "ui/okienko.h"
#include "view/EmfViewer.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>

#include <algorithm>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 560; // with the strip of sheets below the options
const QString kFace = QStringLiteral("MS Sans Serif");

QFont Bold()
{
    return WinFont(kFace, 16, true);
}

QFont Plain()
{
    return WinFont(kFace, 11);
}

template <typename T> T *Make(QWidget *parent, const QRect &bounds, const QString &text = {}, bool bold = true)
{
    auto *w = new T(parent);
    w->setGeometry(bounds);
    w->setFont(bold ? Bold() : Plain());
    if constexpr (std::is_base_of_v<QAbstractButton, T> || std::is_same_v<T, QLabel>)
        w->setText(text);
    return w;
}

QLabel *Note(QWidget *parent, QPoint at, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setFont(Plain());
    label->move(at);
    label->adjustSize();
    return label;
}

TWenBtn *ModeButton(QWidget *parent, int x, const QString &caption, const QString &hint, const QPixmap &icon)
{
    auto *btn = new TWenBtn(parent);
    btn->setGeometry(x, 12, 100, 75);
    btn->setFont(Bold());
    btn->SetMargines(5);
    btn->SetOpis(caption);
    btn->SetIkonka(icon);
    btn->SetHint(hint);
    btn->SetShowHint(true);
    btn->setCursor(Qt::PointingHandCursor);
    return btn;
}

TWenBtn *SmallButton(QWidget *parent, const QRect &bounds, int margin, const QString &caption, const QPixmap &icon)
{
    auto *btn = new TWenBtn(parent);
    btn->setGeometry(bounds);
    btn->setFont(Plain());
    btn->SetMargines(margin);
    btn->SetOpis(caption);
    btn->SetIkonka(icon);
    return btn;
}

QFrame *Line(QWidget *parent, int x, int y, int width)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(x, y, width, 2);
    return line;
}

// The face that stands in for the design's one runs wider: a caption that would pass the panel's right
// edge (or run into its border) is narrowed, down to four fifths, rather than cut.
void FitCaptions(QWidget *panel)
{
    constexpr int kRightClearance = 6;
    for (QWidget *w : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<QLabel *>(w) && !qobject_cast<QCheckBox *>(w) && !qobject_cast<QRadioButton *>(w))
            continue;
        const int room = panel->width() - kRightClearance - w->x();
        for (int stretch = 98; stretch >= 80 && w->sizeHint().width() > room; stretch -= 2) {
            QFont font = w->font();
            font.setStretch(stretch);
            w->setFont(font);
        }
        if (qobject_cast<QLabel *>(w))
            w->adjustSize();
        else
            w->resize(std::min(std::max(w->width(), w->sizeHint().width()), room), w->height());
    }
}

// The label of a printer in the list: its device and, when it has one, its port.
QString PrinterLabel(const platform::TPrinterInfo &printer)
{
    return printer.Port.isEmpty() ? printer.Device : QStringLiteral("%1  [%2]").arg(printer.Device, printer.Port);
}

} // namespace

TWydrukiDrukuj::TWydrukiDrukuj(QWidget *owner) : TWenForm(owner, staticMetaObject)
{
    setObjectName(QStringLiteral("WydrukiDrukuj"));
    SetCaption(QStringLiteral("Wybierz drukarkę i parametry drukowania"));
    CreateControls();
    SetMinWidth(kWidth);
    SetMaxWidth(kWidth);
    SetMinHeight(kHeight);
    SetMaxHeight(kHeight);
    Center(kWidth, kHeight);

    switch (PrintDlgSettings.Tryb) {
    case TPrintMode::Zmniejszone:
        btnTrybClick(btnZmniejszone);
        break;
    case TPrintMode::Ksiazeczka:
        btnTrybClick(btnKsiazeczka);
        break;
    default:
        btnTrybClick(btnNormalne);
        break;
    }
    cbOdwrotnie->setChecked(PrintDlgSettings.Odwrotnie);
    cbDwustronnie->setChecked(PrintDlgSettings.Dwustronnie);
    cbKolorowy->setChecked(PrintDlgSettings.Kolor);
    edKopie->setValue(PrintDlgSettings.Kopie);
    hb->SetHelpButton(false);
}

TWydrukiDrukuj::~TWydrukiDrukuj() = default;

void TWydrukiDrukuj::CreateControls()
{
    QWidget *frame = pFrame;
    CreatePrinterBox(frame);
    CreatePageBox(frame);
    CreateCopiesBox(frame);
    CreateModePanel(frame);
    CreateAdvancedPanel(frame);
    CreateSheetPreview(frame);
    FitCaptions(pOpcje1);
    FitCaptions(pOpcje2);

    for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{rbStrony1, rbStrony2, rbStrony4, cbKolorowy,
                                                                       cbOdwrotnie, cbDwustronnie, cbDwustronnieAuto,
                                                                       cbNoAbortProc, rbEmfMode, rbBmpMode})
        b->setCursor(Qt::PointingHandCursor);

    connect(cbDrukarki, &QComboBox::activated, this, &TWydrukiDrukuj::cbDrukarkiChange);
    connect(rbStrony4, &QRadioButton::clicked, this, &TWydrukiDrukuj::rbStrony4Click);
    connect(cbDwustronnie, &QCheckBox::toggled, this, [this] { UstawRegulyDostepnosci(); });
    connect(btnWlasciwosci, &TWenBtn::clicked, this, &TWydrukiDrukuj::btnWlasciwosciClick);

    hb->SetTextAccept(QStringLiteral("Drukuj"));
    hb->SetTextCancel(QStringLiteral("Zamknij"));
    hb->SetBtnWidth(90);
}

void TWydrukiDrukuj::CreatePrinterBox(QWidget *frame)
{
    gbDrukarka = Make<QGroupBox>(frame, QRect(15, 35, 615, 71));
    gbDrukarka->setTitle(QStringLiteral("&Wybór i ustawienia drukarki "));
    cbDrukarki = Make<QComboBox>(gbDrukarka, QRect(15, 32, 451, 24));
    cbDrukarki->setMaxVisibleItems(9);
    cbDrukarki->setCursor(Qt::PointingHandCursor);
    btnWlasciwosci = SmallButton(gbDrukarka, QRect(480, 32, 121, 25), 6, QStringLiteral("Wł&aściwości..."), {});
    btnWlasciwosci->setFont(Bold());
}

void TWydrukiDrukuj::CreatePageBox(QWidget *frame)
{
    gbStrony = Make<QGroupBox>(frame, QRect(15, 115, 261, 141));
    gbStrony->setTitle(QStringLiteral(" Zakres stron "));
    rbStrony1 = Make<QRadioButton>(gbStrony, QRect(15, 23, 231, 20), QStringLiteral("&Całość"));
    rbStrony1->setChecked(true);
    rbStrony2 = Make<QRadioButton>(gbStrony, QRect(15, 48, 231, 20), QStringLiteral("&Bieżąca strona"));
    rbStrony2->setEnabled(false);
    rbStrony4 = Make<QRadioButton>(gbStrony, QRect(15, 72, 231, 20), QStringLiteral("&Podany zestaw stron: "));
    edStrony = Make<QLineEdit>(gbStrony, QRect(33, 93, 213, 24));
    edStrony->setEnabled(false);
    edStrony->installEventFilter(this);
    Label4 = Note(gbStrony, QPoint(34, 119), QStringLiteral("(na przykład:  5-10, 12, 15)"));
}

void TWydrukiDrukuj::CreateCopiesBox(QWidget *frame)
{
    bvKopie = new QFrame(frame);
    bvKopie->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bvKopie->setGeometry(15, 270, 261, 71);
    Label1 = Make<QLabel>(frame, QRect(31, 285, 170, 18), QStringLiteral("&Ilość egzemplarzy:"));
    edKopie = Make<QSpinBox>(frame, QRect(207, 282, 50, 22));
    edKopie->setRange(1, 99);
    edKopie->setValue(1);
    Label1->setBuddy(edKopie);
    cbKolorowy = Make<QCheckBox>(frame, QRect(30, 314, 226, 17), QStringLiteral("Wydruk ko&lorowy"));
}

void TWydrukiDrukuj::CreateModePanel(QWidget *frame)
{
    pOpcje1 = new TPanelEx(frame);
    pOpcje1->setGeometry(290, 122, 340, 220);
    pOpcje1->SetBevelInner(TPanelBevel::Raised);
    pOpcje1->SetBevelOuter(TPanelBevel::Lowered);
    btnNormalne = ModeButton(pOpcje1, 10, QStringLiteral("&Normalnie"), QStringLiteral("Standardowy tryb drukowania."),
                             IconNormalne());
    btnZmniejszone = ModeButton(pOpcje1, 120, QStringLiteral("&Zmniejszone"),
                                QStringLiteral("Wydruk zmniejszony - każda kartka podzielona jest na dwie części\r\n"
                                               "tak, że mieszczą się obok siebie dwie kolejne strony."),
                                IconZmniejszone());
    btnKsiazeczka =
        ModeButton(pOpcje1, 230, QStringLiteral("&Książeczka"),
                   QStringLiteral("W tym trybie, na każdej kartce, po obu jej stronach, zamieszczane są \r\n"
                                  "odpowiednie dwie strony wydruku - w taki sposób, że powstały w efekcie \r\n"
                                  "plik kartek można zgiąć po środku, otrzymując wygodną książeczkę."),
                   IconKsiazeczka());
    for (TWenBtn *btn : {btnNormalne, btnZmniejszone, btnKsiazeczka})
        connect(btn, &TWenBtn::clicked, this, [this, btn] { btnTrybClick(btn); });

    cbOdwrotnie = Make<QCheckBox>(pOpcje1, QRect(12, 100, 300, 17), QStringLiteral("&Odwrotna kolejność"));
    cbOdwrotnie->setToolTip(QStringLiteral("Jeśli opcja jest zaznaczona, kolejne strony będą wysyłane do drukarki \r\n"
                                           "w odwrotnej kolejności, zaczynając od ostatniej (w trybie dwustronnym\r\n"
                                           "dotyczy to tylko drugiego przebiegu - po ponownym włożeniu kartek).\r\n"
                                           "Uwaga: dla poprawnego działania trybu \"Książeczka\" niezbędne jest\r\n"
                                           "prawidłowe ustawienie tej opcji (zależnie od posiadanej drukarki)."));
    lblOdwrotnie = Note(pOpcje1, QPoint(32, 116),
                        QStringLiteral("Zaznacz, jeśli wybrana drukarka nie potrafi sama odwracać\r\n"
                                       "kolejności (jeśli \"wyrzuca\" kartki stroną zadrukowaną do góry)."));
    cbDwustronnie = Make<QCheckBox>(pOpcje1, QRect(12, 150, 300, 17), QStringLiteral("&Druk dwustronny"));
    cbDwustronnie->setToolTip(
        QStringLiteral("Przy druku dwustronnym najpierw zostaną wydrukowane strony nieparzyste,\r\n"
                       "a pozostałe - dopiero po przełożeniu tych samych kartek na drugą stronę."));
    lblDwustronnie1 =
        Note(pOpcje1, QPoint(32, 168), QStringLiteral("Zaznacz, jeśli chcesz wykorzystać obie strony każdej kartki."));
    lblDwustronnie2 =
        Note(pOpcje1, QPoint(32, 166), QStringLiteral("W trybie \"książeczki\" druk dwustronny jest zawsze włączony."));
    lblDwustronnie2->setEnabled(false);
    cbDwustronnieAuto =
        Make<QCheckBox>(pOpcje1, QRect(32, 166, 300, 17), QStringLiteral("Obie strony drukuje sama dr&ukarka"));
    cbDwustronnieAuto->setToolTip(
        QStringLiteral("Drukarka ma moduł druku dwustronnego: wydruk idzie jednym zadaniem, a drukarka\r\n"
                       "sama drukuje drugą stronę każdej kartki. Kopie składa drukarka."));
    cbDwustronnieAuto->hide();
    btnOpcje2Pokaz = SmallButton(pOpcje1, QRect(9, 189, 323, 23), 4,
                                 QStringLiteral("Opcj&e zaawansowane (rozwiązywanie problemów)"), IconPokazOpcje());
    connect(btnOpcje2Pokaz, &TWenBtn::clicked, this, [this] { PokazOpcje2(true); });
}

void TWydrukiDrukuj::CreateSheetPreview(QWidget *frame)
{
    podgladArkuszy = new TPodgladArkuszy(frame);
    podgladArkuszy->setGeometry(15, 355, 615, 170);
    const auto refresh = [this] { OdswiezPodgladArkuszy(); };
    for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{rbStrony1, rbStrony2, rbStrony4, cbOdwrotnie,
                                                                       cbDwustronnie, cbDwustronnieAuto})
        connect(b, &QAbstractButton::toggled, this, refresh);
    connect(edStrony, &QLineEdit::textChanged, this, refresh);
}

void TWydrukiDrukuj::OdswiezPodgladArkuszy()
{
    TArkuszeWejscie wejscie;
    wejscie.Pages = pages_.value_or(QList<const platform::PageMetafile *>());
    const TPageRange range = rbStrony2->isChecked()   ? TPageRange::Biezaca
                             : rbStrony4->isChecked() ? TPageRange::Zestaw
                                                      : TPageRange::Wszystkie;
    try {
        wejscie.Selection =
            BuildPageSelection(range, edStrony->text(), qint32(wejscie.Pages.size()), std::max(1, currentPage_));
    } catch (const Exception &) {
        // A page set being typed may not read yet: the strip shows no sheets until it does, and
        // printing says what is wrong with it.
    }
    wejscie.Tryb = btnKsiazeczka->Down()    ? TPrintMode::Ksiazeczka
                   : btnZmniejszone->Down() ? TPrintMode::Zmniejszone
                                            : TPrintMode::Normalne;
    wejscie.Odwrotnie = cbOdwrotnie->isChecked();
    wejscie.Dwustronnie = cbDwustronnie->isEnabled() && cbDwustronnie->isChecked();
    wejscie.DwustronnieAuto = DwustronnieAutoWybrane();
    // The rules are applied again on every activation: the strip keeps its place when nothing changed.
    if (wejscie == podgladArkuszy->Wejscie())
        return;
    podgladArkuszy->UstawWejscie(wejscie);
}

void TWydrukiDrukuj::CreateAdvancedPanel(QWidget *frame)
{
    pOpcje2 = new TPanelEx(frame);
    pOpcje2->setGeometry(pOpcje1->geometry());
    pOpcje2->SetBorderWidth(3);
    pOpcje2->hide();
    cbNoAbortProc =
        Make<QCheckBox>(pOpcje2, QRect(12, 16, 315, 17), QStringLiteral("Tryb kompatybilności z drukarką HP1000"));
    cbNoAbortProc->setToolTip(
        QStringLiteral("Opcja ta rozwiązuje problem drukowania wszystkiego na jednej kartce,\r\n"
                       "pojawiający się w niektórych przypadkach na drukarkach z serii HP1000.\r\n"
                       "Polecamy o używanie opcji _tylko_ po pojawieniu się tych problemów, gdyż\r\n"
                       "\"efektem ubocznym\" jest całkowite blokowanie WENORa na czas drukowania."));
    Label3 = Note(pOpcje2, QPoint(33, 35),
                  QStringLiteral("Zaznacz, jeśli powstają całkiem zaczernione kartki\r\n"
                                 "(wszystko zostaje nadrukowane na tej samej stronie)."));
    Line(pOpcje2, 12, 72, 315);
    rbEmfMode = Make<QRadioButton>(pOpcje2, QRect(12, 84, 315, 17), QStringLiteral("Wydruk w formie metapliku (EMF)"));
    rbEmfMode->setChecked(true);
    Label2 = Note(pOpcje2, QPoint(31, 101),
                  QStringLiteral("Standardowy tryb drukowania w Wenoru 2001 - w większości\r\n"
                                 "przypadków szybszy i wymagający mniej pamięci dla programu."));
    rbBmpMode = Make<QRadioButton>(pOpcje2, QRect(12, 134, 315, 17), QStringLiteral("Wydruk w formie bitmapy"));
    Label5 =
        Note(pOpcje2, QPoint(31, 151), QStringLiteral("Spróbuj tego ustawienia, jeśli poprzednie sprawia problemy."));
    Line(pOpcje2, 12, 175, 315);
    WenBtn1 = SmallButton(pOpcje2, QRect(9, 189, 322, 23), 5, QStringLiteral("Schowaj zaawansowane opcj&e drukowania"),
                          IconSchowajOpcje());
    connect(WenBtn1, &TWenBtn::clicked, this, [this] { PokazOpcje2(false); });
}

void TWydrukiDrukuj::DeferredShow()
{
    try {
        Otworz();
    } catch (...) {
        HandleUncaughtException(std::current_exception());
        reject();
    }
}

void TWydrukiDrukuj::Otworz()
{
    repaint();
    TBusyCursorGuard busy;
    platform::TPrinter &printer = platform::Printer();
    // Queues come and go while the program runs: the list is read again at every opening.
    printer.Refresh();
    const QList<platform::TPrinterInfo> &printers = printer.Printers();
    if (printers.isEmpty())
        throw Exception(QStringLiteral("Brak zainstalowanej drukarki !"));

    const int before = printer.PrinterIndex();
    int chosen = before;
    cbDrukarki->clear();
    for (int i = 0; i < int(printers.size()); ++i) {
        const QString label = PrinterLabel(printers[i]);
        cbDrukarki->addItem(label);
        if (!PrintDlgSettings.NazwaDruk.isEmpty() && label == PrintDlgSettings.NazwaDruk && chosen == before)
            chosen = i;
    }
    if (chosen != before)
        printer.SetPrinterIndex(chosen);
    cbDrukarki->setCurrentIndex(printer.PrinterIndex());
    UstawDwustronnieAuto();

    cbNoAbortProc->setChecked(PrintDlgSettings.NoAbort);
    rbEmfMode->setChecked(!PrintDlgSettings.NoEMF);
    rbBmpMode->setChecked(PrintDlgSettings.NoEMF);

    if (viewer_) {
        QList<const platform::PageMetafile *> pages;
        for (const platform::PageMetafile *page : viewer_->Pages())
            pages.append(page);
        pages_ = pages;
        margLeft_ = viewer_->MargLeft();
        margTop_ = viewer_->MargTop();
        margRight_ = viewer_->MargRight();
        margBottom_ = viewer_->MargBottom();
    }
    if (!pages_)
        throw EPrintDlgError(QStringLiteral("Nie ustawiono listy stron !"));
    if (pages_->isEmpty())
        throw EPrintDlgError(QStringLiteral("Liczba stron jest równa zeru !"));
    const qsizetype count = pages_->size();
    rbStrony1->setText(
        QStringLiteral("&Całość (%1 %2)")
            .arg(count)
            .arg(PolishPlural(count, QStringLiteral("strona"), QStringLiteral("strony"), QStringLiteral("stron"))));
    currentPage_ = viewer_ ? viewer_->PageNr() : -1;
    rbStrony2->setText(QStringLiteral("&Bieżąca strona (%1)").arg(viewer_ ? currentPage_ : 1));
    UstawRegulyDostepnosci();
}

void TWydrukiDrukuj::UstawRegulyDostepnosci()
{
    rbStrony2->setEnabled(currentPage_ > 0);
    cbDwustronnie->setEnabled(!btnKsiazeczka->Down());
    const bool offered = !cbDwustronnieAuto->isHidden();
    lblDwustronnie1->setVisible(!offered && cbDwustronnie->isEnabled());
    lblDwustronnie2->setVisible(!offered && !cbDwustronnie->isEnabled());
    // Two-sided printing first, manual or a booklet's; then who turns the sheets.
    cbDwustronnieAuto->setEnabled(btnKsiazeczka->Down() || cbDwustronnie->isChecked());
    OdswiezPodgladArkuszy();
}

void TWydrukiDrukuj::UstawDwustronnieAuto()
{
    platform::TPrinter &printer = platform::Printer();
    const bool offered = printer.PrintsBothSides();
    cbDwustronnieAuto->setVisible(offered);
    cbDwustronnieAuto->setChecked(offered &&
                                  PrintDlgSettings.DwustronnieAutoDrukarki.contains(printer.CurrentPrinter().Device));
    UstawRegulyDostepnosci();
}

bool TWydrukiDrukuj::DwustronnieAutoWybrane() const
{
    return !cbDwustronnieAuto->isHidden() && cbDwustronnieAuto->isEnabled() && cbDwustronnieAuto->isChecked();
}

void TWydrukiDrukuj::UpdateActiveLook()
{
    TWenForm::UpdateActiveLook();
    if (Active() && !Disabled())
        UstawRegulyDostepnosci();
}

void TWydrukiDrukuj::btnTrybClick(TWenBtn *pressed)
{
    for (TWenBtn *btn : {btnNormalne, btnZmniejszone, btnKsiazeczka})
        btn->SetDown(btn == pressed);
    UstawRegulyDostepnosci();
}

void TWydrukiDrukuj::cbDrukarkiChange(int index)
{
    platform::Printer().SetPrinterIndex(index);
    UstawDwustronnieAuto();
    cbNoAbortProc->setChecked(false);
    rbEmfMode->setChecked(true);
    rbBmpMode->setChecked(false);
}

void TWydrukiDrukuj::rbStrony4Click()
{
    SafeSetFocus(edStrony);
}

bool TWydrukiDrukuj::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edStrony && event->type() == QEvent::FocusIn)
        rbStrony4->setChecked(true);
    return TWenForm::eventFilter(watched, event);
}

void TWydrukiDrukuj::PokazOpcje2(bool show)
{
    if (show)
        pOpcje2->setGeometry(pOpcje1->geometry());
    pOpcje1->setVisible(!show);
    pOpcje2->setVisible(show);
}

void TWydrukiDrukuj::btnWlasciwosciClick()
{
    bool colour = cbKolorowy->isChecked();
    try {
        if (EditPrinterProperties(this, platform::Printer(), colour))
            cbKolorowy->setChecked(colour);
    } catch (...) {
        HandleUncaughtException(std::current_exception());
    }
}

void TWydrukiDrukuj::ZapiszOpcje(bool withMode)
{
    if (withMode)
        PrintDlgSettings.Tryb = btnKsiazeczka->Down()    ? TPrintMode::Ksiazeczka
                                : btnZmniejszone->Down() ? TPrintMode::Zmniejszone
                                                         : TPrintMode::Normalne;
    PrintDlgSettings.NazwaDruk = cbDrukarki->currentText();
    PrintDlgSettings.Odwrotnie = cbOdwrotnie->isChecked();
    PrintDlgSettings.Dwustronnie = cbDwustronnie->isChecked();
    PrintDlgSettings.DwustronnieAuto = DwustronnieAutoWybrane();
    if (!cbDwustronnieAuto->isHidden()) {
        const QString printer = platform::Printer().CurrentPrinter().Device;
        QStringList &chosen = PrintDlgSettings.DwustronnieAutoDrukarki;
        chosen.removeAll(printer);
        if (cbDwustronnieAuto->isChecked())
            chosen.append(printer);
    }
    PrintDlgSettings.NoAbort = cbNoAbortProc->isChecked();
    PrintDlgSettings.Kolor = cbKolorowy->isChecked();
    PrintDlgSettings.NoEMF = rbBmpMode->isChecked();
    PrintDlgSettings.Kopie = edKopie->value();
}

void TWydrukiDrukuj::hbAccept()
{
    ZapiszOpcje(true);
    TPrintRequest request;
    request.Pages = pages_.value_or(QList<const platform::PageMetafile *>());
    request.Range = rbStrony2->isChecked()   ? TPageRange::Biezaca
                    : rbStrony4->isChecked() ? TPageRange::Zestaw
                                             : TPageRange::Wszystkie;
    request.PageSet = edStrony->text();
    request.CurrentPage = currentPage_;
    request.Margins = {margLeft_, margTop_, margRight_, margBottom_};
    request.Title = jobTitle_;

    host_ = std::make_unique<TWindowPrintHost>(this);
    TPrintEngine engine(platform::Printer(), *host_, PrintDlgSettings);
    try {
        engine.PrepareColour();
    } catch (...) {
        HandleUncaughtException(std::current_exception());
        return;
    }
    cancel_ = false;
    pFrame->setEnabled(false);
    const auto cleanUp = qScopeGuard([this] {
        host_->ProgressEnd();
        repaint();
        pFrame->setEnabled(true);
    });
    TBusyCursorGuard busy;
    try {
        engine.SelectPages(request);
    } catch (const EPrintDlgError &e) {
        PokazBlad(QStringLiteral("Błąd w podanym zestawie stron !"), e.Message());
        pFrame->setEnabled(true);
        SafeSetFocus(edStrony);
        return;
    } catch (const EConvertError &) {
        // A number the page set cannot hold: the general error box, then back to the field to mend it.
        HandleUncaughtException(std::current_exception());
        pFrame->setEnabled(true);
        SafeSetFocus(edStrony);
        return;
    } catch (...) {
        HandleUncaughtException(std::current_exception());
        return;
    }
    try {
        engine.PrintSelected(request);
    } catch (...) {
        HandleUncaughtException(std::current_exception());
        return;
    }
    done(QDialog::Accepted);
}

void TWydrukiDrukuj::hbCancel()
{
    // Esc while printing is a close request like any other: it becomes the cancel request.
    if (pFrame->isEnabled())
        ZapiszOpcje(false);
    close();
}

void TWydrukiDrukuj::closeEvent(QCloseEvent *event)
{
    // While printing, closing is how the user asks to stop: the engine reads it after every page.
    if (!pFrame->isEnabled()) {
        event->ignore();
        cancel_ = true;
        if (host_)
            host_->Cancel = true;
        return;
    }
    TWenForm::closeEvent(event);
}

void PokazDrukowanie(const QString &jobTitle, TEmfViewer *viewer)
{
    TWydrukiDrukuj dialog;
    dialog.SetJobTitle(jobTitle);
    dialog.SetViewer(viewer);
    dialog.exec();
}
