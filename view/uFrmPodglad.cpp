#include "view/uFrmPodglad.h"

#include "core/Wydruki.h"
#include "platform/base/Defaults.h"
#include "platform/base/KatalogProgramu.h"
#include "platform/base/NativePath.h"
#include "platform/metafile/PageMetafile.h"
#include "platform/text/WindowsFaces.h"
#include "ui/BusyCursor.h"
#include "ui/ErrorBox.h"
#include "ui/HintBar.h"
#include "ui/KeyPreview.h"
#include "ui/KrokKomunikatow.h"
#include "ui/Pomoc.h"
#include "ui/WenBtn.h"
#include "ui/WinFonts.h"
#include "ui/bajery.h"
#include "view/EmfViewer.h"
#include "view/PreviewFind.h"
#include "view/RamkaOkna.h"
#include "view/UstawieniaPodgladu.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <memory>
#include <new>

namespace {

constexpr int kSzerokoscMarginesow = 440;
constexpr int kWaskieMarginesy = 75;
constexpr int kProgSzerokosci = 600;
constexpr qint64 kOdstepKrokowMs = 10;

// The desktop work area: the screen less its panels.
QRect ObszarRoboczy()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// The small up or down triangle of a page button, etched when the button is disabled.
void RysujTrojkat(TWenBtn *btn, QPainter &p, const QRect &inner, bool doGory)
{
    const int cx = inner.left() + inner.width() / 2;
    const int cy = inner.top() + inner.height() / 2;
    // Seven pixels wide, four high: the size of the symbol font's triangles at 12 pixels.
    const int base = doGory ? cy + 1 : cy - 2, tip = doGory ? cy - 2 : cy + 1;
    const QPolygon tri({QPoint(cx - 3, base), QPoint(cx + 3, base), QPoint(cx, tip)});
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const auto draw = [&](const QPolygon &poly, const QColor &colour) {
        p.setPen(colour);
        p.setBrush(colour);
        p.drawPolygon(poly);
    };
    if (btn->isEnabled()) {
        draw(tri, btn->palette().color(QPalette::WindowText));
    } else {
        draw(tri.translated(1, 1), btn->palette().color(QPalette::Light));
        draw(tri, btn->palette().color(QPalette::Dark));
    }
    p.restore();
}

// The page counter's place in its panel when the numbers are short.
constexpr int kLicznikX = 68;
constexpr int kLicznikW = 60;

// Width enough for every "n/count" with n of as many digits as count, in any face: digits need
// not all be equally wide.
int SzerokoscLicznika(const QFontMetrics &fm, int count)
{
    int cyfra = 0;
    for (char c = '0'; c <= '9'; ++c)
        cyfra = std::max(cyfra, fm.horizontalAdvance(QLatin1Char(c)));
    const qsizetype cyfry = QString::number(std::max(count, 1)).size();
    return int(2 * cyfry) * cyfra + fm.horizontalAdvance(QLatin1Char('/')) + 1;
}

QLabel *NowaEtykieta(const QString &text, QWidget *parent, int left, int width)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(left, 4, width, 16);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QSpinBox *NowePole(QWidget *parent, int left, int value)
{
    auto *field = new QSpinBox(parent);
    field->setRange(0, 99);
    field->setAlignment(Qt::AlignRight);
    field->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    field->setGeometry(left, 3, 42, 18);
    field->setValue(value);
    return field;
}

TWenBtn *NowyPrzyciskStrony(QWidget *parent, int top, bool doGory)
{
    auto *btn = new TWenBtn(parent);
    btn->setGeometry(130, top, 15, 11);
    btn->SetKolor(3);
    btn->SetMargines(0);
    btn->OnPaint = [doGory](TWenBtn *sender, QPainter &p, const QRect &inner) {
        RysujTrojkat(sender, p, inner, doGory);
    };
    return btn;
}

} // namespace

TFrmPodglad::TFrmPodglad(QWidget *parent) : QDialog(parent)
{
    platform::InstallFontSubstitutions();
    setWindowTitle(QStringLiteral("Wenoglad - Podgląd wydruku"));
    setFont(WinFontPt(QStringLiteral("MS Sans Serif"), 8));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    ramka_ = new TRamkaOkna(this, QSize(350, 500));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    ZbudujGore(column);
    ZbudujPodglad(column);
    ZbudujPasek(column);
    Polacz();
    find = new TPreviewFind(viewer);
    KierujKlawisze();

    FormCreate();
    viewerChange();
}

void TFrmPodglad::ZbudujGore(QVBoxLayout *column)
{
    pGora = new TPanelEx(this);
    pGora->setObjectName(QStringLiteral("pGora"));
    pGora->setFixedHeight(26);
    column->addWidget(pGora);
    auto *row = new QHBoxLayout(pGora);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(0);
    ZbudujMarginesy(row);
    ZbudujPanelStron(row);
}

void TFrmPodglad::ZbudujMarginesy(QHBoxLayout *row)
{
    pMarginesy = new TPanelEx(pGora);
    pMarginesy->setObjectName(QStringLiteral("pMarginesy"));
    pMarginesy->SetBevelOuter(TPanelBevel::Lowered);
    pMarginesy->setFixedWidth(kSzerokoscMarginesow);
    row->addWidget(pMarginesy);
    row->addStretch(1);

    lblMarg = NowaEtykieta(QStringLiteral("Marginesy:"), pMarginesy, 6, 66);
    QFont bold = lblMarg->font();
    bold.setBold(true);
    lblMarg->setFont(bold);
    lblMarg->installEventFilter(this);

    lblMargT = NowaEtykieta(QStringLiteral("&górny ="), pMarginesy, 76, 44);
    margT = NowePole(pMarginesy, 120, defaults::kMarginTop);
    lblMargL = NowaEtykieta(QStringLiteral("&lewy ="), pMarginesy, 168, 36);
    margL = NowePole(pMarginesy, 204, defaults::kMarginLeft);
    lblMargR = NowaEtykieta(QStringLiteral("&prawy ="), pMarginesy, 252, 42);
    margR = NowePole(pMarginesy, 294, defaults::kMarginRight);
    lblMargB = NowaEtykieta(QStringLiteral("&dolny ="), pMarginesy, 342, 48);
    margB = NowePole(pMarginesy, 390, defaults::kMarginBottom);
    lblMargT->setBuddy(margT);
    lblMargL->setBuddy(margL);
    lblMargR->setBuddy(margR);
    lblMargB->setBuddy(margB);
}

void TFrmPodglad::ZbudujPanelStron(QHBoxLayout *row)
{
    pStrony = new TPanelEx(pGora);
    pStrony->setObjectName(QStringLiteral("pStrony"));
    pStrony->SetBevelOuter(TPanelBevel::Lowered);
    row->addWidget(pStrony);
    const QFont arial = WinFont(QStringLiteral("Arial"), 20, true);
    lblStrona1 = new QLabel(QStringLiteral("Strona:"), pStrony);
    lblStrona1->setFont(arial);
    lblStrona = new QLabel(pStrony);
    lblStrona->setFont(arial);
    lblStrona->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblStrona->setVisible(false);
    btnStronaUp = NowyPrzyciskStrony(pStrony, 1, true);
    btnStronaDn = NowyPrzyciskStrony(pStrony, 12, false);
    UlozPanelStron(0);
}

void TFrmPodglad::ZbudujPodglad(QVBoxLayout *column)
{
    pViewer = new TPanelEx(this);
    pViewer->setObjectName(QStringLiteral("pViewer"));
    pViewer->SetBevelOuter(TPanelBevel::None);
    pViewer->SetBevelInner(TPanelBevel::Lowered);
    pViewer->SetBorderWidth(2);
    column->addWidget(pViewer, 1);
    auto *inner = new QVBoxLayout(pViewer);
    inner->setSpacing(0);
    viewer = new TEmfViewer(pViewer);
    viewer->setObjectName(QStringLiteral("viewer"));
    viewer->setCursor(Qt::PointingHandCursor);
    viewer->setFocusPolicy(Qt::StrongFocus);
    viewer->SetZoomLevel(zoomPageH);
    viewer->SetMargLeft(defaults::kMarginLeft);
    viewer->SetMargRight(defaults::kMarginRight);
    viewer->SetMargTop(defaults::kMarginTop);
    viewer->SetMargBottom(defaults::kMarginBottom);
    viewer->SetShowMarg(false);
    viewer->SetShowPageNr(true);
    viewer->SetPageNr(1);
    inner->addWidget(viewer);
    // The panel's bevels and border decide where its children go.
    pViewer->resize(100, 100);
    const QRect innerRect = pViewer->InnerRect();
    inner->setContentsMargins(innerRect.left(), innerRect.top(), pViewer->width() - innerRect.right() - 1,
                              pViewer->height() - innerRect.bottom() - 1);
}

void TFrmPodglad::ZbudujPasek(QVBoxLayout *column)
{
    hb = new THintBar(this);
    hb->setObjectName(QStringLiteral("hb"));
    hb->setFixedHeight(24);
    hb->SetBtnWidth(85);
    hb->SetTextAccept(QStringLiteral("Drukuj"));
    hb->SetTextCancel(QStringLiteral("Zamknij"));
    hb->SetAcceptHint(QStringLiteral("Enter - Wysłanie wydruku do drukarki"));
    hb->SetCancelHint(QStringLiteral("Esc - Zamknięcie podglądu wydruku"));
    hb->SetHelpHint(PodpowiedzPomocy());
    column->addWidget(hb);

    timerStrona = new QTimer(this);
    timerStrona->setInterval(100);
}

void TFrmPodglad::Polacz()
{
    viewer->OnMove = [this] { viewerMove(); };
    viewer->OnChange = [this] { viewerChange(); };
    connect(hb, &THintBar::OnAccept, this, &TFrmPodglad::hbAccept);
    connect(hb, &THintBar::OnCancel, this, &TFrmPodglad::hbCancel);
    connect(hb, &THintBar::OnHelp, this, &TFrmPodglad::hbHelp);
    connect(timerStrona, &QTimer::timeout, this, &TFrmPodglad::timerStronaTimer);
    for (TWenBtn *btn : {btnStronaUp, btnStronaDn}) {
        connect(btn, &TWenBtn::mouseDown, this, [this, btn] { btnStronaMouseDown(btn); });
        connect(btn, &TWenBtn::mouseUp, this, [this] { btnStronaMouseUp(); });
    }
    // The spin box reports values it sets and acceptable edits; its editor also reports a text
    // that is no number, which counts as 0.
    for (QSpinBox *field : {margT, margL, margR, margB}) {
        connect(field, &QSpinBox::textChanged, this, &TFrmPodglad::margChange);
        connect(field->findChild<QLineEdit *>(), &QLineEdit::textChanged, this, &TFrmPodglad::margChange);
    }
}

void TFrmPodglad::KierujKlawisze()
{
    // Enter, Esc and F1 are the window's, also in a margin field; with the find bar open, Enter in
    // its field finds the next match and Esc closes the bar alone.
    auto *klawisze = new TKeyPreview(this);
    klawisze->OnAccept = [this] {
        if (find->HasFocus())
            find->Next();
        else
            hbAccept();
    };
    klawisze->OnCancel = [this] {
        if (find->IsOpen())
            find->Close();
        else
            hbCancel();
    };
    klawisze->OnHelp = [this] { hbHelp(); };
    klawisze->OnKey = [this](const QKeyEvent &key) { return KlawiszSzukania(key); };
}

TFrmPodglad::~TFrmPodglad()
{
    // The viewer holds the page copies without owning them.
    viewer->FreePages();
}

void TFrmPodglad::UstawPlik(const QString &path)
{
    sciezkaPliku_ = path;
    plik_ = platform::NativePath(path);
    nazwaWydruku_ = QFileInfo(path).completeBaseName();
}

void TFrmPodglad::UstawWydruk(const QString &name)
{
    UstawPlik(KatalogProgramu() + name + defaults::PrintoutExtensionUpper());
    nazwaWydruku_ = name;
}

void TFrmPodglad::UstawSciezke(const std::filesystem::path &path)
{
    UstawPlik(platform::DisplayPath(path));
    plik_ = path;
}

void TFrmPodglad::BezZapisuUstawien()
{
    bezZapisu_ = true;
}

void TFrmPodglad::FormCreate()
{
    for (QSpinBox *field : {margT, margL, margR, margB})
        field->setFixedHeight(18);
    const QRect obszar = ObszarRoboczy();
    TStanPodgladu stan = DomyslnyStanPodgladu(obszar);
    stan.MargTop = WartoscPola(margT);
    stan.MargLeft = WartoscPola(margL);
    stan.MargRight = WartoscPola(margR);
    stan.MargBottom = WartoscPola(margB);
    WczytajUstawienia(stan, obszar);
    ramka_->Ustaw(stan.Okno);
    if (stan.Zmaksymalizowane)
        setWindowState(windowState() | Qt::WindowMaximized);
    // Signals of the fields are held so that margChange runs once, with all four in place.
    const QSignalBlocker bt(margT), bl(margL), br(margR), bb(margB);
    margT->setValue(stan.MargTop);
    margL->setValue(stan.MargLeft);
    margR->setValue(stan.MargRight);
    margB->setValue(stan.MargBottom);
    margChange();
    FormResize();
}

int TFrmPodglad::WartoscPola(const QSpinBox *field)
{
    bool ok = false;
    const int value = field->cleanText().trimmed().toInt(&ok);
    return ok ? value : 0;
}

void TFrmPodglad::margChange()
{
    viewer->SetMargTop(WartoscPola(margT));
    viewer->SetMargLeft(WartoscPola(margL));
    viewer->SetMargRight(WartoscPola(margR));
    viewer->SetMargBottom(WartoscPola(margB));
}

void TFrmPodglad::FormResize()
{
    const bool waskie = width() < kProgSzerokosci;
    pMarginesy->setFixedWidth(waskie ? kWaskieMarginesy : kSzerokoscMarginesow);
    lblMarg->setCursor(waskie ? Qt::PointingHandCursor : Qt::ArrowCursor);
    for (QSpinBox *field : {margT, margL, margR, margB})
        field->setEnabled(!waskie);
}

void TFrmPodglad::lblMargClick()
{
    if (width() < kProgSzerokosci)
        resize(kProgSzerokosci, height());
}

void TFrmPodglad::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TFrmPodglad::viewerChange()
{
    find->PagesChanged();
    lblStrona->setVisible(viewer->PageCount() > 0);
    viewerMove();
}

void TFrmPodglad::viewerMove()
{
    const int nr = viewer->PageNr(), count = viewer->PageCount();
    const QString text = QStringLiteral("%1/%2").arg(nr).arg(count);
    UlozPanelStron(
        std::max(SzerokoscLicznika(lblStrona->fontMetrics(), count), lblStrona->fontMetrics().horizontalAdvance(text)));
    lblStrona->setText(text);
    btnStronaUp->setEnabled(nr > 1);
    btnStronaDn->setEnabled(nr < count);
    // A button disabled under the held mouse never sees the release: the repeat ends here.
    if (timerStrona->isActive() && !(timerStronaTag < 0 ? btnStronaUp : btnStronaDn)->isEnabled())
        timerStrona->stop();
}

void TFrmPodglad::UlozPanelStron(int szerokoscLicznika)
{
    // The panel only grows: it keeps its place while the pages are leafed through.
    const int licznikW = std::max({kLicznikW, szerokoscLicznika, szerokoscLicznika_});
    if (licznikW == szerokoscLicznika_)
        return;
    szerokoscLicznika_ = licznikW;
    const int lewy = 3 + lblStrona1->fontMetrics().horizontalAdvance(lblStrona1->text());
    const int licznikX = std::max(kLicznikX, lewy + 3);
    lblStrona1->setGeometry(3, 1, licznikX - 3, 22);
    lblStrona->setGeometry(licznikX, 1, licznikW, 22);
    const int przyciskiX = licznikX + licznikW + 2;
    btnStronaUp->move(przyciskiX, btnStronaUp->y());
    btnStronaDn->move(przyciskiX, btnStronaDn->y());
    pStrony->setFixedWidth(przyciskiX + btnStronaUp->width() + 4);
}

void TFrmPodglad::btnStronaMouseDown(TWenBtn *sender)
{
    timerStronaTag = sender == btnStronaUp ? -1 : 1;
    timerStronaTimer();
    timerStrona->start();
}

void TFrmPodglad::btnStronaMouseUp()
{
    timerStrona->stop();
}

void TFrmPodglad::timerStronaTimer()
{
    viewer->SetPageNr(viewer->PageNr() + timerStronaTag);
}

void TFrmPodglad::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (pokazane_)
        return;
    pokazane_ = true;
    // The application's other windows minimise and restore together with this one.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->installEventFilter(this);
    // Loading starts once the window is on the screen.
    QMetaObject::invokeMethod(this, &TFrmPodglad::Wczytaj, Qt::QueuedConnection);
}

void TFrmPodglad::Wczytaj()
{
    setWindowTitle(QStringLiteral("%1 \"%2\"").arg(windowTitle(), nazwaWydruku_));
    repaint();
    viewer->setFocus(Qt::OtherFocusReason);
    WczytajStrony();
}

void TFrmPodglad::WczytajStrony()
{
    std::exception_ptr error;
    {
        TBusyCursorGuard busy(true);
        try {
            TWydruk loader;
            hb->SetTextAccept(QString());
            hb->ShowLeftText(QStringLiteral("Wczytywanie pliku..."));
            loader.LoadFromFile(plik_);
            hb->ShowLeftText(QStringLiteral("Tworzenie stron..."));
            przerwij_ = false;
            pokazanyPostep_ = -1;
            ostatniKrok_.invalidate();
            loader.OnProgress = [this](TWydruk *sender, bool drukowanie, int postep) {
                drukProgress(sender, drukowanie, postep);
            };
            loader.OnNextPage = [this](TWydruk *sender, platform::PageMetafile *page) { drukNextPage(sender, page); };
            find->SetBuilding(true);
            loader.BuildPages();
            if (!przerwij_)
                hb->SetTextAccept(QStringLiteral("Drukuj"));
        } catch (...) {
            error = std::current_exception();
        }
        hb->ShowLeftText(QString());
        find->SetBuilding(false);
    }
    // Shown after the loader is gone and the cursor restored; the window stays open.
    if (error)
        HandleUncaughtException(error);
}

void TFrmPodglad::drukProgress(TWydruk *sender, bool, int postep)
{
    // A window that is no longer on screen has been closed, whichever way that came.
    if (!isVisible())
        przerwij_ = true;
    if (przerwij_) {
        sender->CancelBuild();
        return;
    }
    // Called after every line: the bar is repainted only when its text changes.
    if (postep != pokazanyPostep_) {
        pokazanyPostep_ = postep;
        hb->ShowLeftText(QStringLiteral("Tworzenie stron... %1%").arg(postep));
    }
    // The window system gets its turn at most every few milliseconds: a turn after every line
    // would cost as much as the build itself, and this is still often enough to show the pages
    // as they come and to notice a Close or Esc at once.
    if (!ostatniKrok_.isValid() || ostatniKrok_.hasExpired(kOdstepKrokowMs)) {
        KrokKomunikatow();
        ostatniKrok_.start();
    }
}

void TFrmPodglad::drukNextPage(TWydruk *sender, platform::PageMetafile *page)
{
    // The loader's pages die with the loader: the viewer gets a copy. Without memory for it the
    // build stops with the printout's too-large message (no half printout offered for printing).
    try {
        auto copy = std::make_unique<platform::PageMetafile>(*page);
        viewer->AddPage(copy.get());
        copy.release();
    } catch (const std::bad_alloc &) {
        sender->StopTooLarge();
    }
}

void TFrmPodglad::hbAccept()
{
    if (hb->TextAccept().isEmpty())
        return;
    Q_EMIT Drukuj(nazwaWydruku_, viewer);
}

void TFrmPodglad::hbCancel()
{
    przerwij_ = true;
    reject();
}

void TFrmPodglad::hbHelp()
{
    PokazPomoc();
}

bool TFrmPodglad::KlawiszSzukania(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers mods = key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (key.key()) {
    case Qt::Key_F:
        if (mods != Qt::ControlModifier)
            return false;
        find->Open();
        return true;
    case Qt::Key_F3:
        if (mods == Qt::NoModifier)
            find->Next();
        else if (mods == Qt::ShiftModifier)
            find->Previous();
        else
            return false;
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods != Qt::ShiftModifier || !find->HasFocus())
            return false;
        find->Previous();
        return true;
    case Qt::Key_C: {
        if (mods != Qt::ControlModifier)
            return false;
        // A selection in a text field is copied by the field itself.
        const auto *field = qobject_cast<const QLineEdit *>(QApplication::focusWidget());
        if (field && field->hasSelectedText())
            return false;
        const QString text = find->CopyText();
        if (!text.isEmpty())
            QGuiApplication::clipboard()->setText(text);
        return true;
    }
    default:
        return false;
    }
}

bool TFrmPodglad::eventFilter(QObject *watched, QEvent *event)
{
    // The application's other windows are watched only for their minimising and restoring.
    if (watched != this && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow()) {
        if (event->type() == QEvent::WindowStateChange)
            MinimalizujRazem(static_cast<QWidget *>(watched));
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonPress && watched == lblMarg) {
        lblMargClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmPodglad::FormClose()
{
    przerwij_ = true;
    timerStrona->stop();
    if (bezZapisu_)
        return;
    TStanPodgladu stan;
    stan.Zmaksymalizowane = isMaximized();
    stan.Okno = ramka_->Obramowanie();
    stan.MargTop = viewer->MargTop();
    stan.MargLeft = viewer->MargLeft();
    stan.MargRight = viewer->MargRight();
    stan.MargBottom = viewer->MargBottom();
    try {
        ZapiszUstawienia(stan);
    } catch (...) {
        // The window closes all the same.
        HandleUncaughtException(std::current_exception());
    }
}

void TFrmPodglad::done(int result)
{
    if (isVisible())
        FormClose();
    QDialog::done(result);
}

void TFrmPodglad::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        MinimalizujRazem(this);
}

void TFrmPodglad::MinimalizujRazem(const QWidget *zrodlo)
{
    // Minimising the preview minimises the whole application, and restoring any of its windows
    // restores them all: a modal preview left minimised would take every input from the rest.
    const bool zminimalizowane = zrodlo->windowState() & Qt::WindowMinimized;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        const Qt::WindowType typ = w->windowType();
        if (w == zrodlo || !w->isVisible() || (typ != Qt::Window && typ != Qt::Dialog))
            continue;
        if (zminimalizowane == bool(w->windowState() & Qt::WindowMinimized))
            continue;
        if (zminimalizowane)
            w->showMinimized();
        else
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    }
}
