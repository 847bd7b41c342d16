#include "library/uFrmLista.h"

#include "adding/Dodawanie.h"
#include "chooser/Explorer.h"
#include "library/RozmowaOkna.h"

#include "library/Biblioteka.h"
#include "library/Wersja.h"
#include "platform/base/Defaults.h"
#include "platform/base/KatalogProgramu.h"
#include "platform/base/NativePath.h"
#include "platform/files/FindFiles.h"
#include "printdialog/uWydrukiDrukuj.h"
#include "ui/BusyCursor.h"
#include "ui/ErrorBox.h"
#include "ui/HintBar.h"
#include "ui/KeyPreview.h"
#include "ui/Pomoc.h"
#include "ui/TabStopDelegate.h"
#include "ui/WenBtn.h"
#include "ui/WinFonts.h"
#include "ui/bajery.h"
#include "ui/okienko.h"
#include "view/uFrmPodglad.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QInputDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {

constexpr int kWysokoscPozycji = 18;
// What each line keeps of its printout: the file name as the system holds it (bytes) and the
// name as shown.
constexpr int kRolaPliku = Qt::UserRole;
constexpr int kRolaNazwy = Qt::UserRole + 1;

// A toolbar button at left, 70 pixels wide as designed or wider when its caption needs it;
// left moves on past it.
TWenBtn *PrzyciskPaska(QWidget *parent, TWenBtnTyp typ, int &left, const QString &opis, const QString &hint)
{
    auto *btn = new TWenBtn(parent);
    btn->SetTyp(typ);
    btn->SetOpis(opis);
    btn->SetHint(hint);
    btn->SetShowHint(true);
    const int width = std::max(70, QFontMetrics(btn->font()).horizontalAdvance(opis) + 6);
    btn->setGeometry(left, 3, width, 32);
    left += width + 2;
    return btn;
}

QRadioButton *PrzyciskSortowania(QWidget *parent, const QString &tekst, int left, int top)
{
    auto *rb = new QRadioButton(tekst, parent);
    rb->setFont(WinFont(QStringLiteral("Arial"), 15));
    // Qt's indicator takes more room than the designed 130 pixels allow for the caption.
    rb->setGeometry(left, top, std::max(130, rb->sizeHint().width()), 17);
    rb->setCursor(Qt::PointingHandCursor);
    return rb;
}

} // namespace

TFrmLista::TFrmLista(const TStanStartowy &stan, QWidget *parent) : QWidget(parent, Qt::Window), stan_(stan)
{
    setObjectName(QStringLiteral("FrmLista"));
    setFont(WinFont(QStringLiteral("Arial"), 11, true));

    pIkonki = new TPanelEx(this);
    pIkonki->setObjectName(QStringLiteral("pIkonki"));
    pIkonki->setFixedHeight(38);
    int left = 4;
    btnPopraw = PrzyciskPaska(pIkonki, TWenBtnTyp::sbF2, left, QStringLiteral("Zmień nazwę"),
                              QStringLiteral("F2 - Zmiana nazwy wybranego na liście wydruku"));
    btnDodaj = PrzyciskPaska(pIkonki, TWenBtnTyp::sbF7, left, QStringLiteral("Dodaj wydruk"),
                             QStringLiteral("F7 - Dokopiowanie nowych wydruków z innego katalogu"));
    btnUsun = PrzyciskPaska(pIkonki, TWenBtnTyp::sbF8, left, QStringLiteral("Usuń wydruk"),
                            QStringLiteral("F8 - Usunięcie wybranego wydruku z listy"));
    btnPopraw->setObjectName(QStringLiteral("btnPopraw"));
    btnDodaj->setObjectName(QStringLiteral("btnDodaj"));
    btnUsun->setObjectName(QStringLiteral("btnUsun"));
    Bevel1 = new QFrame(pIkonki);
    Bevel1->setFrameShape(QFrame::VLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(left + 1, 1, 5, 36);
    rbWgNazw = PrzyciskSortowania(pIkonki, QStringLiteral("Sortuj według &nazw"), left + 7, 4);
    rbWgDat = PrzyciskSortowania(pIkonki, QStringLiteral("Sortuj według &dat"), left + 7, 20);
    rbWgNazw->setChecked(true);

    pLista = new TPanelEx(this);
    pLista->setObjectName(QStringLiteral("pLista"));
    pLista->SetBevelInner(TPanelBevel::Lowered);
    pLista->SetBorderWidth(2);
    lista = new QListWidget(pLista);
    lista->setObjectName(QStringLiteral("lista"));
    lista->setFrameShape(QFrame::NoFrame);
    lista->setFont(WinFont(QStringLiteral("Courier New"), 18));
    lista->setSelectionMode(QAbstractItemView::SingleSelection);
    lista->setUniformItemSizes(true);
    lista->setTextElideMode(Qt::ElideNone);
    lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lista->viewport()->setCursor(Qt::PointingHandCursor);
    delegat_ = new TTabStopDelegate(TTabStopDelegate::RowHeight::Exact, kWysokoscPozycji, lista);
    lista->setItemDelegate(delegat_);
    auto *ukladListy = new QVBoxLayout(pLista);
    ukladListy->setContentsMargins(0, 0, 0, 0);
    ukladListy->addWidget(lista);

    hb = new THintBar(this);
    hb->setObjectName(QStringLiteral("hb"));
    hb->setFixedHeight(24);
    hb->SetBtnWidth(85);
    hb->SetTextCancel(QStringLiteral("Zamknij"));
    hb->SetTextAccept(QString());
    hb->SetHelpHint(PodpowiedzPomocy());
    hb->SetAcceptHint(QStringLiteral("Enter - Otwarcie wybranego wydruku"));
    hb->SetCancelHint(QStringLiteral("Esc - Zamknięcie przeglądarki"));

    auto *uklad = new QVBoxLayout(this);
    uklad->setContentsMargins(0, 0, 0, 0);
    uklad->setSpacing(0);
    uklad->addWidget(pIkonki);
    uklad->addWidget(pLista, 1);
    uklad->addWidget(hb);

    setAcceptDrops(true);
    WorkingDlg = new TWorkingDlg(this);
    WorkingDlg->JestPostepLbl = true;
    WorkingDlg->JestPostepLbl2 = false;
    WorkingDlg->JestPostepBar = false;
    WorkingDlg->ScreenCenter = false;

    connect(btnPopraw, &TWenBtn::clicked, this, &TFrmLista::btnPoprawClick);
    connect(btnDodaj, &TWenBtn::clicked, this, &TFrmLista::btnDodajClick);
    connect(btnUsun, &TWenBtn::clicked, this, &TFrmLista::btnUsunClick);
    connect(rbWgNazw, &QRadioButton::clicked, this, &TFrmLista::rbSortowanieWgClick);
    connect(rbWgDat, &QRadioButton::clicked, this, &TFrmLista::rbSortowanieWgClick);
    connect(hb, &THintBar::OnAccept, this, &TFrmLista::hbAccept);
    connect(hb, &THintBar::OnCancel, this, &TFrmLista::hbCancel);
    connect(hb, &THintBar::OnHelp, this, &TFrmLista::hbHelp);
    // A double click anywhere in the list opens the selected line, as the list box did.
    lista->viewport()->installEventFilter(this);
    lista->installEventFilter(this);

    // Keys reach the window before its controls, but not while it closes, while a modal window
    // above it has the user's keys (a key posted here meanwhile is not acted on) or while a mouse
    // button is held.
    auto *klawisze = new TKeyPreview(this);
    klawisze->Active = [this] {
        return isVisible() && !zamykanie_ && !QApplication::activeModalWidget() &&
               QApplication::mouseButtons() == Qt::NoButton;
    };
    klawisze->OnAccept = [this] {
        if (!hb->TextAccept().isEmpty())
            hbAccept();
    };
    klawisze->OnCancel = [this] { hbCancel(); };
    klawisze->OnHelp = [this] { hbHelp(); };
    klawisze->OnKey = [this](const QKeyEvent &key) { return FormKeyDown(key.key(), key.modifiers()); };

    FormCreate();
}

TFrmLista::~TFrmLista() = default;

void TFrmLista::FormCreate()
{
    setMinimumSize(370, 300);
    resize(420, 300);
    if (const QScreen *ekran = screen()) {
        QRect r = rect();
        r.moveCenter(ekran->availableGeometry().center());
        move(r.topLeft());
    }
    // The idle flag (ui/KrokKomunikatow) is true from start-up on; Qt's event loop waits for
    // events by itself, so there is nothing more to install for it here.
    setWindowTitle(QStringLiteral("Wenoglad - Przeglądarka wydruków Wenora") + QStringLiteral("  [") +
                   WersjaProgramu() + QStringLiteral("]"));
    if (stan_.TrybTemp) {
        pIkonki->hide();
        btnPopraw->setEnabled(false);
        btnDodaj->setEnabled(false);
        btnUsun->setEnabled(false);
    }
    FormResize();
}

int TFrmLista::TabStopPiksele() const
{
    return tabStop_ * QFontMetrics(lista->font()).averageCharWidth() / 4;
}

void TFrmLista::FormResize()
{
    // Measured with the window's own font, as the list's drawing surface carries it; the list
    // then counts the stop in quarters of its own (wider) characters, which puts the dates about
    // 180 pixels from the right edge.
    tabStop_ = TabStopDaty(lista->width(), QFontMetrics(font()).averageCharWidth());
    delegat_->SetTabStop(TabStopPiksele());
    lista->viewport()->update();
}

void TFrmLista::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TFrmLista::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TFrmLista::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window manager may show the window without activating it (focus-stealing prevention, or
    // none at all on a bare X server); the library is listed all the same once it is on screen.
    if (!aktywowano_)
        QTimer::singleShot(0, this, [this] {
            if (!aktywowano_ && isVisible())
                FormActivate();
        });
}

void TFrmLista::FormActivate()
{
    if (zamykanie_ || odswiezanie_)
        return;
    aktywowano_ = true;
    if (stan_.PlikDoPodgladu.isEmpty()) {
        rbSortowanieWgClick();
        return;
    }
    zamykanie_ = true;
    {
        auto podglad = std::make_unique<TFrmPodglad>();
        connect(podglad.get(), &TFrmPodglad::Drukuj, &PokazDrukowanie);
        podglad->UstawPlik(stan_.PlikDoPodgladu);
        podglad->exec();
    }
    close();
}

void TFrmLista::rbSortowanieWgClick()
{
    OdswiezListe();
    rbWgNazw->setFocusPolicy(Qt::ClickFocus);
    rbWgDat->setFocusPolicy(Qt::ClickFocus);
}

QString TFrmLista::WybranaNazwa() const
{
    const QListWidgetItem *item = lista->currentItem();
    if (!item || !item->isSelected())
        return QString();
    return item->data(kRolaNazwy).toString();
}

std::filesystem::path TFrmLista::WybranyPlik() const
{
    const QListWidgetItem *item = lista->currentItem();
    if (!item || !item->isSelected())
        return {};
    return platform::NativePath(KatalogProgramu()) / item->data(kRolaPliku).toByteArray().toStdString();
}

void TFrmLista::OdswiezListe()
{
    if (zamykanie_)
        return;
    // The refresh's own messages move the activation; it must not start another refresh.
    odswiezanie_ = true;
    auto trwa = qScopeGuard([this] { odswiezanie_ = false; });
    bool wybrano = false;
    try {
        TBusyCursorGuard zajety;
        std::filesystem::path pamietaj = WybranyPlik().filename();
        // A file from the command line is copied in once, by the first refresh, and then selected.
        if (!stan_.PlikDoSkopiowania.isEmpty()) {
            const std::filesystem::path plik(QFile::encodeName(stan_.PlikDoSkopiowania).toStdString());
            stan_.PlikDoSkopiowania.clear();
            TRozmowaOkna rozmowa(nullptr);
            if (DokopiujWydruk(plik, std::filesystem::path(QFile::encodeName(KatalogProgramu()).toStdString()),
                               rozmowa))
                pamietaj = plik.filename();
        }
        lista->clear();
        TFindFiles ff;
        ff.Directory = KatalogProgramu();
        ff.Mask = defaults::PrintoutMask();
        ff.Recurse = false;
        ff.Execute();
        ff.Files.Sort(rbWgDat->isChecked() ? TFileList::SortByTime : TFileList::SortByNameNoCase);
        for (const TFileObj &plik : ff.Files) {
            auto *item = new QListWidgetItem(LiniaListy(plik.Name, plik.Time), lista);
            item->setData(kRolaPliku, plik.NativeName);
            item->setData(kRolaNazwy, plik.Name);
            if (!wybrano && !pamietaj.empty() && plik.NativeName.toStdString() == pamietaj.native()) {
                lista->setCurrentItem(item);
                wybrano = true;
            }
        }
    } catch (...) {
        // The refresh is over before the error is shown.
        trwa.dismiss();
        odswiezanie_ = false;
        HandleUncaughtException(std::current_exception());
        return;
    }
    const bool niepusta = lista->count() > 0;
    if (!stan_.TrybTemp) {
        btnPopraw->setEnabled(niepusta);
        btnUsun->setEnabled(niepusta);
    }
    hb->SetTextAccept(niepusta ? QStringLiteral("Wyświetl") : QString());
    if (niepusta && !wybrano)
        lista->setCurrentRow(0);
    lista->setFocus();
    if (stan_.TrybTemp) {
        if (!niepusta) {
            PokazInfo(QStringLiteral("Błąd!"), QStringLiteral("Nie znaleziono żadnych wydruków!"));
            Zamknij();
        } else if (lista->count() == 1) {
            QCoreApplication::postEvent(lista, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        }
    }
}

void TFrmLista::PokazWydruk(const std::filesystem::path &plik)
{
    auto podglad = std::make_unique<TFrmPodglad>();
    connect(podglad.get(), &TFrmPodglad::Drukuj, &PokazDrukowanie);
    if (plik.empty())
        podglad->UstawWydruk(QString());
    else
        podglad->UstawSciezke(plik);
    if (stan_.TrybTemp)
        podglad->BezZapisuUstawien();
    podglad->exec();
}

void TFrmLista::hbAccept()
{
    if (zamykanie_)
        return;
    PokazWydruk(WybranyPlik());
    if (stan_.TrybTemp && lista->count() == 1)
        Zamknij();
}

void TFrmLista::hbCancel()
{
    Zamknij();
}

void TFrmLista::hbHelp()
{
    PokazPomoc();
}

void TFrmLista::Zamknij()
{
    zamykanie_ = true;
    close();
}

bool TFrmLista::ZapytajONazwe(QString &tekst)
{
    for (;;) {
        QInputDialog dialog(this);
        dialog.setWindowTitle(QStringLiteral("Zmiana nazwy pliku wydruku"));
        dialog.setLabelText(QStringLiteral("Podaj nową nazwę wydruku:"));
        dialog.setTextValue(tekst);
        dialog.setOkButtonText(QStringLiteral("OK"));
        dialog.setCancelButtonText(QStringLiteral("Cancel"));
        if (dialog.exec() != QDialog::Accepted)
            return false;
        tekst = dialog.textValue();
        const QString blad = BladNazwy(tekst);
        if (blad.isEmpty())
            return true;
        PokazBlad(kTytulBlednejNazwy, blad);
    }
}

void TFrmLista::btnPoprawClick()
{
    const std::filesystem::path plik = WybranyPlik();
    if (plik.empty())
        return;
    const QString stara = WybranaNazwa();
    const QString staraSciezka = platform::DisplayPath(plik);
    QString tekst = stara;
    if (!ZapytajONazwe(tekst) || tekst == stara)
        return;
    const QString nowaSciezka = KatalogProgramu() + tekst + defaults::PrintoutExtension();
    const std::filesystem::path nowyPlik = platform::NativePath(nowaSciezka);
    // The rename never replaces an existing file; the check before it also keeps a name that
    // differs only in case from another printout's, which this library treats as the same name.
    const bool udane =
        !NazwaZajeta(KatalogProgramu(), tekst, staraSciezka) && platform::RenameNoReplace(plik, nowyPlik);
    if (!udane) {
        PokazBlad(kTytulBleduZmianyNazwy, TekstBleduZmianyNazwy(staraSciezka, nowaSciezka));
        return;
    }
    if (QListWidgetItem *item = lista->currentItem()) {
        item->setText(tekst + item->text().mid(stara.size()));
        item->setData(kRolaPliku, QByteArray::fromStdString(nowyPlik.filename().native()));
        item->setData(kRolaNazwy, tekst);
    }
    OdswiezListe();
}

void TFrmLista::btnUsunClick()
{
    const std::filesystem::path plik = WybranyPlik();
    if (plik.empty())
        return;
    if (!PytanieTakNie(kTytulUsuniecia, TekstUsuniecia(platform::DisplayPath(plik))))
        return;
    platform::RemoveFile(plik); // a failed deletion is silent; the refresh shows what is left
    OdswiezListe();
}

void TFrmLista::btnDodajClick()
{
    // The list is brought up to date whether or not the chooser was accepted.
    const auto odswiez = qScopeGuard([this] { OdswiezListe(); });
    TExplorer explorer(this);
    explorer.Caption = QStringLiteral("Dokopiowanie wydruków");
    explorer.Hint = QStringLiteral("Wskaż plik wydruku/paczki");
    if (!ostatniKatalog_.isEmpty()) {
        explorer.Katalog = ostatniKatalog_;
        explorer.KatalogSciezka = ostatniKatalogSciezka_;
    }
    explorer.Filtr = defaults::PrintoutMask().toUpper() + QStringLiteral(";*.EXE");
    explorer.SetWyborPliku(true);
    explorer.MultiWybor = true;
    explorer.SetPlikiWidoczne(true);
    explorer.SetPodgladWidoczny(false);
    explorer.SzerPlikow = 300;
    explorer.SzerOpisow = 0;
    explorer.SetSzukanie(true);
    explorer.SetWyborKatalogu(true);
    explorer.SetWysokosc(400);
    explorer.OnDodajPlik = &ExplorerDodajPlik;
    if (!explorer.Execute())
        return;
    ostatniKatalog_ = explorer.Katalog;
    ostatniKatalogSciezka_ = explorer.KatalogSciezka;
    DodajWybrane(explorer.PlikiSciezki);
}

void TFrmLista::DodajWybrane(const std::vector<std::filesystem::path> &pliki)
{
    WorkingDlg->Tekst = QStringLiteral("Trwa dodawanie wydruków...");
    WorkingDlg->JestPostepLbl = true;
    WorkingDlg->JestPostepBar = false;
    WorkingDlg->Pokaz();
    try {
        TBusyCursorGuard zajety;
        const auto zamknij = qScopeGuard([this] { WorkingDlg->Ukryj(); });
        TRozmowaOkna rozmowa(WorkingDlg);
        DodajPliki(pliki, std::filesystem::path(QFile::encodeName(KatalogProgramu()).toStdString()), rozmowa);
    } catch (...) {
        HandleUncaughtException(std::current_exception());
    }
}

void TFrmLista::dragEnterEvent(QDragEnterEvent *event)
{
    if (!stan_.TrybTemp && event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TFrmLista::dropEvent(QDropEvent *event)
{
    // Dropped printouts and packages are added as chosen ones are, the chooser skipped.
    std::vector<std::filesystem::path> pliki;
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl &url : urls)
        if (url.isLocalFile())
            pliki.emplace_back(QFile::encodeName(url.toLocalFile()).toStdString());
    if (pliki.empty())
        return;
    event->acceptProposedAction();
    DodajWybrane(pliki);
    OdswiezListe();
}

bool TFrmLista::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return false;
    switch (key) {
    case Qt::Key_F2:
        btnPopraw->ClickIfUsable();
        return true;
    case Qt::Key_F7:
        btnDodaj->ClickIfUsable();
        return true;
    case Qt::Key_F8:
        btnUsun->ClickIfUsable();
        return true;
    default:
        return false;
    }
}

bool TFrmLista::eventFilter(QObject *watched, QEvent *event)
{
    // The layout sizes the list after the window's own resize; the stop follows the list.
    if (event->type() == QEvent::Resize && watched == lista)
        FormResize();
    if (event->type() == QEvent::MouseButtonDblClick && watched == lista->viewport()) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            // Opened once the click has ended, so that the button's release does not go to the
            // preview window.
            QTimer::singleShot(0, this, &TFrmLista::hbAccept);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
