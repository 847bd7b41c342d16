// TExplorerDlg: building the window, its layout, keys, accepting and cancelling.
#include "chooser/explorator.h"

#include "ui/HintBar.h"
#include "ui/SafeFocus.h"
#include "ui/SearchAnimation.h"
#include "ui/TabStopDelegate.h"
#include "ui/WinFonts.h"
#include "ui/bajery.h"
#include "ui/okienko.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QToolButton>
#include <QTreeWidget>

namespace {

constexpr int kCaptionHeight = 21;
const QColor kNavy(0, 0, 128);

TPanelEx *Panel(QWidget *parent, const char *name, TPanelBevel outer, int border)
{
    auto *panel = new TPanelEx(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->SetBevelOuter(outer);
    panel->SetBorderWidth(border);
    return panel;
}

QBoxLayout *Box(QBoxLayout::Direction direction, TPanelEx *panel)
{
    auto *box = new QBoxLayout(direction, panel);
    const int m = panel->BorderWidth() + (panel->BevelOuter() == TPanelBevel::None ? 0 : panel->BevelWidth());
    box->setContentsMargins(m, m, m, m);
    box->setSpacing(0);
    return box;
}

QLabel *NavyLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(WinFont(QStringLiteral("MS Sans Serif"), 11, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kNavy);
    label->setPalette(palette);
    return label;
}

// Whether the desktop has something that opens network locations; asked once per run.
bool AskNetworkHandler()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        return false;
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("x-scheme-handler/network")});
    if (!query.waitForFinished(2000))
        return false;
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

bool NetworkHandlerExists()
{
    static const bool exists = AskNetworkHandler();
    return exists;
}

} // namespace

TExplorerDlg::TExplorerDlg(QWidget *owner) : TWenForm(owner, staticMetaObject)
{
    setObjectName(QStringLiteral("ExplorerDlg"));
    CreateControls();

    files.OnAddFile = [this](const TFileObj &file, bool &accept, bool &) { filesAddFile(file, accept); };
    files.OnProgress = [this](int progress, const QString &dir, bool &stop) { filesProgress(progress, dir, stop); };
    dirs.aDirectory = TFindMode::fmYes;
    dirs2.aDirectory = TFindMode::fmYes;

    hb->SetBtnWidth(80);
    hb->SetTextAccept(QStringLiteral("Wybierz"));
    hb->SetTextCancel(QStringLiteral("Zamknij"));
    hb->SetHelpHint(QStringLiteral("F1"));
    hb->SetAcceptHint(QStringLiteral("Enter"));
    hb->SetCancelHint(QStringLiteral("Esc"));

    SetMinWidth(100);
    SetMinHeight(100);
    // After the base window's own key handling, so that this window sees its keys first.
    qApp->installEventFilter(this);
    UstawMiejsca(ExplorerPlaces(), QString());
}

TExplorerDlg::~TExplorerDlg()
{
    qApp->removeEventFilter(this);
}

void TExplorerDlg::CreateControls()
{
    auto *body = new QWidget(pFrame);
    body->setObjectName(QStringLiteral("body"));
    auto *sides = new QHBoxLayout(body);
    sides->setContentsMargins(0, 0, 0, 0);
    sides->setSpacing(0);
    sides->addWidget(CreateFolderSide(body));
    sides->addWidget(CreateFileSide(body), 1);
    CreateSearchPanel();
    ConnectControls();
}

TPanelEx *TExplorerDlg::CreateFolderSide(QWidget *body)
{
    panLewy = Panel(body, "panLewy", TPanelBevel::Lowered, 5);
    panLewy->setFixedWidth(251);
    auto *lewy = Box(QBoxLayout::TopToBottom, panLewy);
    lewy->addWidget(CreateDrivePanel());
    Panel4 = Panel(panLewy, "Panel4", TPanelBevel::None, 0);
    Panel4->setFixedHeight(6);
    lewy->addWidget(Panel4);
    lewy->addWidget(CreateTreePanel(), 1);
    return panLewy;
}

TPanelEx *TExplorerDlg::CreateDrivePanel()
{
    Panel3 = Panel(panLewy, "Panel3", TPanelBevel::None, 0);
    Panel3->setFixedHeight(58);
    auto *p3 = Box(QBoxLayout::TopToBottom, Panel3);
    auto *p3top = new QHBoxLayout;
    Label1 = NavyLabel(Panel3, "Label1", QStringLiteral("Wybierz &dysk:"));
    btnMapuj = new QToolButton(Panel3);
    btnMapuj->setObjectName(QStringLiteral("btnMapuj"));
    btnMapuj->setText(QStringLiteral("Sieć"));
    btnMapuj->setToolTip(QStringLiteral("Mapowanie dysków sieciowych"));
    btnMapuj->setAutoRaise(true);
    btnMapuj->setVisible(NetworkHandlerExists());
    p3top->addWidget(Label1, 1);
    p3top->addWidget(btnMapuj);
    p3->addLayout(p3top);
    drives = new QComboBox(Panel3);
    drives->setObjectName(QStringLiteral("drives"));
    Label1->setBuddy(drives);
    p3->addWidget(drives);
    p3->addStretch(1);
    return Panel3;
}

TPanelEx *TExplorerDlg::CreateTreePanel()
{
    Panel2 = Panel(panLewy, "Panel2", TPanelBevel::None, 0);
    auto *p2 = Box(QBoxLayout::TopToBottom, Panel2);
    auto *p2top = new QHBoxLayout;
    Label2 = NavyLabel(Panel2, "Label2", QStringLiteral(" Wybierz &katalog:"));
    Label2->setFixedHeight(25);
    btnSzukaj = new QToolButton(Panel2);
    btnSzukaj->setObjectName(QStringLiteral("btnSzukaj"));
    btnSzukaj->setText(QStringLiteral("&Szukaj"));
    btnSzukaj->setToolTip(QStringLiteral("Szukanie odpowiednich plików w podkatalogach zaznaczonego katalogu"));
    btnSzukaj->hide();
    p2top->addWidget(Label2, 1);
    p2top->addWidget(btnSzukaj);
    p2->addLayout(p2top);
    tree = new QTreeWidget(Panel2);
    tree->setObjectName(QStringLiteral("tree"));
    tree->setHeaderHidden(true);
    tree->setIndentation(19);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setIconSize(QSize(16, 13));
    Label2->setBuddy(tree);
    p2->addWidget(tree, 1);
    return Panel2;
}

TPanelEx *TExplorerDlg::CreateFileSide(QWidget *body)
{
    panPrawy = Panel(body, "panPrawy", TPanelBevel::Lowered, 5);
    auto *prawy = Box(QBoxLayout::TopToBottom, panPrawy);
    panPliki = Panel(panPrawy, "panPliki", TPanelBevel::None, 5);
    auto *pliki = Box(QBoxLayout::TopToBottom, panPliki);
    lblPliki = NavyLabel(panPliki, "lblPliki", QString());
    lblPliki->setFixedHeight(18);
    pliki->addWidget(lblPliki);
    splitImg = new QSplitter(Qt::Vertical, panPliki);
    splitImg->setObjectName(QStringLiteral("splitImg"));
    splitImg->setChildrenCollapsible(false);
    lb = new QListWidget(splitImg);
    lb->setObjectName(QStringLiteral("lb"));
    lb->setFont(WinFont(QStringLiteral("MS Sans Serif"), 16));
    lb->setUniformItemSizes(true);
    lineDelegate_ = new TTabStopDelegate(TTabStopDelegate::RowHeight::AtLeast, 16, lb);
    lb->setItemDelegate(lineDelegate_);
    lblPliki->setBuddy(lb);
    panImg = Panel(splitImg, "panImg", TPanelBevel::Lowered, 0);
    panImg->setMinimumHeight(30);
    img = new QLabel(panImg);
    img->setObjectName(QStringLiteral("img"));
    img->setScaledContents(true);
    splitImg->addWidget(lb);
    splitImg->addWidget(panImg);
    splitImg->setStretchFactor(0, 1);
    splitImg->setStretchFactor(1, 0);
    splitImg->setSizes({300, 100});
    pliki->addWidget(splitImg, 1);
    prawy->addWidget(panPliki);
    return panPrawy;
}

void TExplorerDlg::CreateSearchPanel()
{
    panSzukanie = Panel(pFrame, "panSzukanie", TPanelBevel::Raised, 0);
    panSzukanie->SetBevelWidth(2);
    panSzukanie->setFont(WinFont(QStringLiteral("Arial"), 16));
    panSzukanie->resize(450, 101);
    panSzukanie->hide();
    Animate1 = new TSearchAnimation(panSzukanie);
    Animate1->setGeometry(8, 8, 48, 50);
    Label4 = new QLabel(QStringLiteral("Czekaj cierpliwie...\r\nTrwa przeszukiwanie katalogów:").replace("\r\n", "\n"),
                        panSzukanie);
    Label4->setGeometry(64, 6, 378, 40);
    lblSzukKat = new QLabel(panSzukanie);
    lblSzukKat->setFont(WinFont(QStringLiteral("Arial"), 16, true));
    lblSzukKat->setGeometry(64, 46, 378, 20);
    pbSzukanie = new QProgressBar(panSzukanie);
    pbSzukanie->setRange(0, 100);
    pbSzukanie->setTextVisible(false);
    pbSzukanie->setGeometry(8, 72, 340, 20);
    btnPrzerwij = new QPushButton(QStringLiteral("Przerwij"), panSzukanie);
    btnPrzerwij->setObjectName(QStringLiteral("btnPrzerwij"));
    btnPrzerwij->setGeometry(356, 68, 86, 26);
}

void TExplorerDlg::ConnectControls()
{
    connect(drives, &QComboBox::currentIndexChanged, this, [this] { drivesChange(); });
    connect(btnMapuj, &QToolButton::clicked, this, [this] { btnMapujClick(); });
    connect(tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *node) { treeExpanding(node); });
    connect(tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *node) {
        // A place's own folder stays open.
        if (!node->parent())
            tree->expandItem(node);
    });
    connect(tree, &QTreeWidget::currentItemChanged, this, [this] { treeChange(); });
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!WyborPliku)
            hbAccept();
    });
    connect(lb, &QListWidget::currentRowChanged, this, [this] { lbClick(); });
    connect(lb, &QListWidget::itemDoubleClicked, this, [this] { hbAccept(); });
    connect(btnSzukaj, &QToolButton::clicked, this, [this] { btnSzukajClick(); });
    connect(btnPrzerwij, &QPushButton::clicked, this, [this] { btnPrzerwijClick(); });
    connect(splitImg, &QSplitter::splitterMoved, this, [this] { panImgResize(); });
}

void TExplorerDlg::Rozmiesc()
{
    const QRect in = pFrame->InnerRect();
    auto *body = panLewy->parentWidget();
    body->setGeometry(in.left(), in.top() + kCaptionHeight, in.width(), in.height() - kCaptionHeight - hb->height());
    panSzukanie->move((width() - panSzukanie->width()) / 2, (height() - panSzukanie->height()) / 2);
}

void TExplorerDlg::resizeEvent(QResizeEvent *event)
{
    TWenForm::resizeEvent(event);
    Rozmiesc();
}

bool TExplorerDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == this && isEnabled())
        return FormKeyDown(static_cast<QWidget *>(watched), *static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::Resize && watched == panImg)
        panImgResize();
    return TWenForm::eventFilter(watched, event);
}

bool TExplorerDlg::FormKeyDown(QWidget *target, const QKeyEvent &key)
{
    if (key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (key.key() == Qt::Key_Escape && searching_) {
        stop_ = true;
        return true;
    }
    // Enter in the folder tree while files are chosen goes on to the file list.
    const bool inTree = target == tree || tree->isAncestorOf(target);
    if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && inTree && WyborPliku && !searching_) {
        SafeSetFocus(lb);
        return true;
    }
    return false;
}

void TExplorerDlg::UpdateActiveLook()
{
    TWenForm::UpdateActiveLook();
    if (Active() && !Disabled())
        UstawDostepnosc();
}

void TExplorerDlg::UstawDostepnosc()
{
    panLewy->setEnabled(!searching_);
    panPrawy->setEnabled(!searching_);
    lb->setEnabled(WyborPliku);
}

void TExplorerDlg::hbAccept()
{
    if (searching_)
        return;
    if (!WyborPliku) {
        bool mozeByc = true;
        if (OnSprawdzKatalog)
            OnSprawdzKatalog(WybranyKatalog(), mozeByc);
        if (mozeByc)
            done(QDialog::Accepted);
        return;
    }
    const QListWidgetItem *current = lb->currentItem();
    const bool chosen =
        current && (lb->selectionMode() == QAbstractItemView::ExtendedSelection || current->isSelected());
    if (lb->count() == 0 || !chosen) {
        PokazBlad(QStringLiteral("Wybierz plik"), QStringLiteral("Nie zaznaczono żadnego pliku !"));
        return;
    }
    done(QDialog::Accepted);
}

void TExplorerDlg::hbCancel()
{
    if (searching_) {
        stop_ = true;
        return;
    }
    TWenForm::hbCancel();
}

void TExplorerDlg::closeEvent(QCloseEvent *event)
{
    // A running search is stopped first; the window closes afterwards on request.
    if (searching_) {
        stop_ = true;
        event->ignore();
        return;
    }
    TWenForm::closeEvent(event);
}

void TExplorerDlg::btnMapujClick()
{
    QProcess::startDetached(QStringLiteral("xdg-open"), {QStringLiteral("network:///")});
    const int index = drives->currentIndex();
    UstawMiejsca(ExplorerPlaces(), index >= 0 ? places_[size_t(index)].MountPoint : QString());
}
