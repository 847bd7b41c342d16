#include "ui/uWenForm.h"

#include "platform/base/Exception.h"
#include "ui/CaptionButton.h"
#include "ui/HintBar.h"
#include "ui/KeyPreview.h"
#include "ui/WinFonts.h"
#include "ui/bajery.h"
#include "ui/uWenForm_p.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWindow>

namespace {

constexpr int kCaptionHeight = 21;
constexpr int kIconWidth = 18;

const QColor kNavy(0, 0, 128);
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);

// Every control inside parent takes the state; labels keep their own.
void EnableInside(QWidget *parent, bool enabled)
{
    for (QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            continue;
        if (!qobject_cast<QLabel *>(child))
            child->setEnabled(enabled);
        EnableInside(child, enabled);
    }
}

} // namespace

TWenForm::TWenForm(QWidget *owner) : TWenForm(owner, staticMetaObject) {}

TWenForm::TWenForm(QWidget *owner, const QMetaObject &windowClass)
    : QDialog(owner), d_(std::make_unique<TPrivate>(this))
{
    auto *ownerForm = qobject_cast<TWenForm *>(owner);
    if (ownerForm && ownerForm->d_->sub)
        throw Exception(
            QStringLiteral("%1.Create - próba utworzenia drugiego podokna przed zamknięciem poprzedniego (%2)")
                .arg(QString::fromLatin1(windowClass.className()),
                     QString::fromLatin1(ownerForm->d_->sub->metaObject()->className())));

    setWindowFlag(Qt::FramelessWindowHint);
    setFont(WinFont(QStringLiteral("MS Sans Serif"), 11));
    setMouseTracking(true);

    const auto transparent = [](TPanelEx *, int, int, int &code) { code = HTTRANSPARENT; };
    pFrame = new TPanelEx(this);
    pFrame->setObjectName(QStringLiteral("pFrame"));
    pFrame->SetBevelWidth(2);
    pFrame->SetBorderWidth(2);
    pFrame->OnHitTest = transparent;

    pCaption = new TPanelEx(pFrame);
    pCaption->setObjectName(QStringLiteral("pCaption"));
    pCaption->SetBevelOuter(TPanelBevel::Lowered);
    pCaption->SetBorderWidth(1);
    pCaption->setCursor(Qt::PointingHandCursor);
    pCaption->setFont(WinFont(QStringLiteral("MS Sans Serif"), 11, true));
    pCaption->OnHitTest = transparent;

    pCaptionBtns = new TPanelEx(pCaption);
    pCaptionBtns->setObjectName(QStringLiteral("pCaptionBtns"));
    pCaptionBtns->SetBevelOuter(TPanelBevel::None);
    pCaptionBtns->OnHitTest = transparent;
    btnCapHelp = new TCaptionButton(u's', QStringLiteral("Pomoc do elementów ekranu"), pCaptionBtns);
    btnCapHelp->setCheckable(true);
    btnCapMinimize = new TCaptionButton(u'0', QStringLiteral("Minimalizuj"), pCaptionBtns);
    btnCapMaximize = new TCaptionButton(u'1', QStringLiteral("Ctrl+Enter - Maksymalizuj"), pCaptionBtns);
    btnCapClose = new TCaptionButton(u'r', QStringLiteral("Ctrl+F4 - Zamknij"), pCaptionBtns);

    pCapIkona = new TPanelEx(pCaption);
    pCapIkona->setObjectName(QStringLiteral("pCapIkona"));
    pCapIkona->SetBevelOuter(TPanelBevel::None);
    pCapIkona->hide();

    pCapText = new TPanelEx(pCaption);
    pCapText->setObjectName(QStringLiteral("pCapText"));
    pCapText->SetBevelOuter(TPanelBevel::None);
    pCapText->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    pCapText->OnHitTest = transparent;
    d_->SetCaptionColours(true, true);

    hb = new THintBar(pFrame);
    hb->SetTextCancel(QStringLiteral("Zamknij"));
    connect(hb, &THintBar::OnAccept, this, [this] { hbAccept(); });
    connect(hb, &THintBar::OnCancel, this, [this] { hbCancel(); });
    connect(hb, &THintBar::OnHelp, this, [this] { hbHelp(); });

    connect(btnCapHelp, &QToolButton::clicked, this, [this] {
        if (btnCapHelp->isChecked())
            d_->StartHelpMode();
        else
            d_->EndHelpMode();
    });
    connect(btnCapMinimize, &QToolButton::clicked, this, [this] { SetWenWindowState(wsMinimized); });
    connect(btnCapMaximize, &QToolButton::clicked, this,
            [this] { SetWenWindowState(d_->state == wsNormal ? wsMaximized : wsNormal); });
    connect(btnCapClose, &QToolButton::clicked, this, &QWidget::close);

    d_->keys = new TKeyPreview(this);
    d_->keys->OnHelp = [this] { d_->ControlHelp(focusWidget() ? focusWidget() : this); };
    d_->keys->OnKey = [this](const QKeyEvent &key) { return d_->Keys(key); };
    // After the key preview, so that the disabled flag and help mode see keys first.
    qApp->installEventFilter(d_.get());

    d_->LayoutCaptionButtons();
    SetMinWidth(300);
    SetMinHeight(200);
    SetPreferredSize(300, 200);
    Center(300, 200);

    if (ownerForm) {
        d_->owner = ownerForm;
        ownerForm->d_->sub = this;
    }
}

TWenForm::~TWenForm()
{
    d_->EndHelpMode();
    // Its handlers reach into d_, which goes before the window's children.
    delete d_->keys;
    if (d_->sub) {
        d_->sub->d_->owner = nullptr;
        delete d_->sub.data();
    }
    if (d_->owner && d_->owner->d_->sub == this)
        d_->owner->d_->sub = nullptr;
}

unsigned TWenForm::BorderIcons() const
{
    return d_->borderIcons;
}

void TWenForm::SetBorderIcons(unsigned icons)
{
    d_->borderIcons = icons;
    d_->LayoutCaptionButtons();
    d_->Relayout();
    // The buttons' enabled states follow the icons.
    if (d_->shown)
        d_->RequestRefresh();
}

void TWenForm::SetCaption(const QString &text)
{
    setWindowTitle(text);
}

int TWenForm::MinWidth() const
{
    return d_->limits.minWidth;
}

int TWenForm::MaxWidth() const
{
    return d_->limits.maxWidth;
}

int TWenForm::MinHeight() const
{
    return d_->limits.minHeight;
}

int TWenForm::MaxHeight() const
{
    return d_->limits.maxHeight;
}

void TWenForm::SetMinWidth(int width)
{
    d_->limits.SetMinWidth(width);
    d_->ApplyLimits();
}

void TWenForm::SetMaxWidth(int width)
{
    d_->limits.SetMaxWidth(width);
    d_->ApplyLimits();
}

void TWenForm::SetMinHeight(int height)
{
    d_->limits.SetMinHeight(height);
    d_->ApplyLimits();
}

void TWenForm::SetMaxHeight(int height)
{
    d_->limits.SetMaxHeight(height);
    d_->ApplyLimits();
}

void TWenForm::SetPreferredSize(int width, int height)
{
    d_->limits.preferredWidth = width;
    d_->limits.preferredHeight = height;
}

void TWenForm::SetWenBounds(const QRect &bounds)
{
    d_->SetOuterBounds(QRect(bounds.topLeft(), d_->limits.Clamp(bounds.size())));
}

void TWenForm::Center(int width, int height)
{
    d_->SetOuterBounds(CenteredBounds(width, height, d_->WorkArea(), d_->limits));
}

int TWenForm::FrameHitTest(const QPoint &pos) const
{
    const int inset = pFrame->BevelWidth() + pFrame->BorderWidth();
    const QRect caption(pCaption->mapTo(this, QPoint(0, 0)), pCaption->size());
    return RestrictHitCode(FrameHitCode(pos, size(), inset, caption), d_->state == wsMaximized, d_->limits);
}

TWenForm::TWenWindowState TWenForm::WenWindowState() const
{
    return d_->state;
}

void TWenForm::SetWenWindowState(TWenWindowState state)
{
    if (d_->state == wsNormal)
        d_->normalBounds = frameGeometry();
    const bool minimized = isMinimized();
    if (minimized && state != wsMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    switch (state) {
    case wsNormal: {
        // A minimized window's bounds are not those it had on the screen.
        const QRect current = minimized ? QRect() : frameGeometry();
        const bool usable = d_->normalBounds.isValid() && d_->WorkArea().intersects(d_->normalBounds);
        SetWenBounds(!usable || current == d_->normalBounds ? DefaultNormalBounds() : d_->normalBounds);
        break;
    }
    case wsMaximized:
        if (d_->active)
            raise();
        d_->SetOuterBounds(d_->WorkArea());
        break;
    case wsMinimized:
        setWindowState(windowState() | Qt::WindowMinimized);
        break;
    }
    d_->ResizeHandler();
}

bool TWenForm::Active() const
{
    return d_->active;
}

void TWenForm::SetActive(bool active)
{
    if (d_->active != active) {
        d_->active = active;
        d_->RequestRefresh();
    }
}

bool TWenForm::Disabled() const
{
    return d_->disabled;
}

void TWenForm::SetDisabled(bool disabled)
{
    if (d_->disabled != disabled) {
        d_->disabled = disabled;
        d_->RequestRefresh();
    }
}

TWenForm *TWenForm::OwnerForm() const
{
    return d_->owner;
}

TWenForm *TWenForm::SubWindow() const
{
    return d_->sub;
}

void TWenForm::UpdateActiveLook()
{
    d_->refreshPending = false;
    const bool lit = d_->active && !d_->disabled;
    EnableInside(pFrame, lit);
    if (lit) {
        btnCapHelp->setEnabled(d_->borderIcons & biHelp);
        btnCapMinimize->setEnabled(d_->borderIcons & biMinimize);
        btnCapMaximize->setEnabled(d_->borderIcons & biMaximize);
    }
    d_->SetCaptionColours(d_->active, lit);
    hb->SetActive(lit);
}

QString TWenForm::ShowControlHelp(QWidget *)
{
    return {};
}

QRect TWenForm::DefaultNormalBounds()
{
    return DefaultRestoredBounds(d_->limits, d_->WorkArea());
}

void TWenForm::DeferredShow() {}

void TWenForm::hbAccept() {}

void TWenForm::hbCancel()
{
    close();
}

void TWenForm::hbHelp()
{
    d_->ControlHelp(this);
}

QRect TWenForm::TPrivate::WorkArea() const
{
    const QScreen *screen = q->screen();
    return screen ? screen->availableGeometry() : QRect();
}

void TWenForm::TPrivate::ApplyLimits()
{
    // The window is frameless, so its outer limits are those of the widget; Qt holds every
    // resize to them, the window manager's too.
    q->setMinimumSize(limits.minWidth, limits.minHeight);
    q->setMaximumSize(limits.maxWidth ? limits.maxWidth : QWIDGETSIZE_MAX,
                      limits.maxHeight ? limits.maxHeight : QWIDGETSIZE_MAX);
}

void TWenForm::TPrivate::SetOuterBounds(const QRect &bounds)
{
    const QRect frame = q->frameGeometry(), inner = q->geometry();
    const QMargins border(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                          frame.bottom() - inner.bottom());
    q->setGeometry(bounds.marginsRemoved(border));
    // A hidden window hears of its new size only when it is shown.
    Relayout();
    ResizeHandler();
}

void TWenForm::TPrivate::LayoutCaptionButtons()
{
    const int top = (kCaptionHeight - 4 - q->btnCapClose->height()) / 2;
    int x = 0;
    q->btnCapHelp->setVisible(borderIcons & biHelp);
    if (borderIcons & biHelp) {
        q->btnCapHelp->move(x, top);
        x += q->btnCapHelp->width() + 2;
    }
    q->btnCapMinimize->hide();
    q->btnCapMaximize->setVisible(borderIcons & (biMinimize | biMaximize));
    if (borderIcons & (biMinimize | biMaximize)) {
        q->btnCapMaximize->move(x, top);
        x += q->btnCapMaximize->width();
    }
    q->btnCapClose->move(x, top);
    q->pCaptionBtns->resize(x + q->btnCapClose->width() + 1, q->pCaptionBtns->height());
}

void TWenForm::TPrivate::Relayout()
{
    q->pFrame->setGeometry(q->rect());
    const QRect in = q->pFrame->InnerRect();
    q->pCaption->setGeometry(in.left(), in.top(), in.width(), kCaptionHeight);
    q->hb->setGeometry(in.left(), in.bottom() + 1 - q->hb->height(), in.width(), q->hb->height());
    const QRect bar = q->pCaption->InnerRect();
    const int buttons = q->pCaptionBtns->width();
    q->pCaptionBtns->setGeometry(bar.right() + 1 - buttons, bar.top(), buttons, bar.height());
    int x = bar.left();
    if (!q->pCapIkona->isHidden()) {
        q->pCapIkona->setGeometry(x, bar.top(), kIconWidth, bar.height());
        x += kIconWidth;
    }
    q->pCapText->setGeometry(x, bar.top(), std::max(q->pCaptionBtns->x() - x, 0), bar.height());
}

void TWenForm::TPrivate::ResizeHandler()
{
    if (q->isMinimized())
        state = wsMinimized;
    else
        state = q->frameGeometry() == WorkArea() ? wsMaximized : wsNormal;
    const bool maximized = state == wsMaximized;
    q->btnCapMaximize->setText(maximized ? QStringLiteral("2") : QStringLiteral("1"));
    q->btnCapMaximize->setToolTip(maximized ? QStringLiteral("Ctrl+Enter - Przywróć")
                                            : QStringLiteral("Ctrl+Enter - Maksymalizuj"));
}

void TWenForm::TPrivate::RequestRefresh()
{
    refreshPending = true;
    QCoreApplication::postEvent(q, new QEvent(RefreshEvent()));
}

void TWenForm::TPrivate::SetCaptionColours(bool isActive, bool lit)
{
    QPalette pal = q->pCaption->palette();
    pal.setColor(QPalette::Window, isActive ? kNavy : kGrey);
    pal.setColor(QPalette::WindowText, lit ? QColor(Qt::white) : kSilver);
    q->pCaption->setPalette(pal);
}
