#include "ui/okienko.h"

#include "ui/Glyphs.h"
#include "ui/KeyPreview.h"
#include "ui/SearchAnimation.h"
#include "ui/WinFonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kDesignWidth = 400;
constexpr int kDesignHeight = 219;
constexpr int kLeftColumn = 41;
constexpr int kAniColumn = 41;
constexpr int kRightColumn = 40;
constexpr int kProgressRow = 21;
constexpr int kProgressRow2 = 18;
constexpr int kButtonRow = 50;
constexpr int kTakPanel = 80;
constexpr int kButtonHeight = 26;
constexpr int kTakKey = 36;
constexpr int kTakGap = 6;
constexpr int kPictureColumnHeight = 48; // the 41-pixel pictures with a small margin
// What a window manager's title bar takes besides the title: its icon and up to three buttons.
constexpr int kTitleBarExtras = 110;

const QColor kNavy(0, 0, 128);
const QColor kDarkRed(160, 0, 0);

QLabel *Picture(QWidget *parent, const QPixmap &pixmap, bool visible)
{
    auto *label = new QLabel(parent);
    label->setPixmap(pixmap);
    label->resize(pixmap.size());
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setVisible(visible);
    return label;
}

QPushButton *Button(QWidget *parent, const QString &caption, int width, const QPixmap &glyph = {})
{
    auto *button = new QPushButton(caption, parent);
    button->resize(width, kButtonHeight);
    button->setCursor(Qt::PointingHandCursor);
    if (!glyph.isNull()) {
        button->setIcon(QIcon(glyph));
        button->setIconSize(glyph.size());
    }
    button->hide();
    return button;
}

QChar MnemonicLetter(const QString &caption)
{
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (caption.at(i + 1) != QLatin1Char('&'))
                return caption.at(i + 1).toUpper();
            ++i;
        }
    }
    return {};
}

bool IsModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock || key == Qt::Key_NumLock;
}

QString NormalizeBreaks(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

int TMsgOkienko::TextPixels13()
{
    return PointsToPixels(13);
}

int TMsgOkienko::TextPixels11()
{
    return PointsToPixels(11);
}

QWidget *WlascicielOkienka()
{
    const QWidgetList okna = QApplication::topLevelWidgets();
    for (QWidget *w : okna)
        if (const auto *okienko = qobject_cast<TMsgOkienko *>(w); okienko && okienko->IsWaitWindow() && w->isVisible())
            return w;
    return QApplication::activeWindow();
}

TMsgOkienko::TMsgOkienko(bool waitWindow)
    : QDialog(waitWindow ? QApplication::activeWindow() : WlascicielOkienka()), waitWindow_(waitWindow)
{
    Qt::WindowFlags flags =
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
    if (!waitWindow)
        flags |= Qt::WindowCloseButtonHint;
    else
        flags |= Qt::WindowDoesNotAcceptFocus;
    // A box over a topmost wait window must be topmost too, or it would open beneath it.
    if (parentWidget() == nullptr || parentWidget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    if (waitWindow)
        setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(WinFontPt(QStringLiteral("MS Sans Serif"), 8));
    resize(kDesignWidth, kDesignHeight);

    panLewy = new QWidget(this);
    iqmark1 = Picture(panLewy, QuestionPicture(), true);
    iexclam1 = Picture(panLewy, ExclamationPicture(), false);
    ani = new TSearchAnimation(this);
    ani->hide();

    Panel3 = new QWidget(this);
    Panel2 = new QWidget(Panel3);
    lbl = new QLabel(Panel2);
    lbl->setTextFormat(Qt::PlainText);
    lbl->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lbl->setWordWrap(true);
    lbl->setFont(WinFont(QStringLiteral("Times New Roman"), TextPixels13(), true));
    QPalette textPalette = lbl->palette();
    textPalette.setColor(QPalette::WindowText, kNavy);
    lbl->setPalette(textPalette);

    panPostep = new QWidget(this);
    lblPostep = new QLabel(panPostep);
    lblPostep->setFont(WinFontPt(QStringLiteral("Arial"), 8));
    lblPostep->setTextFormat(Qt::PlainText);
    pbar = new QProgressBar(panPostep);
    pbar->setRange(0, 100);
    pbar->setTextVisible(false);
    panPostep->hide();
    panPostep2 = new QWidget(this);
    lblPostep2 = new QLabel(panPostep2);
    lblPostep2->setFont(WinFontPt(QStringLiteral("Courier New"), 8));
    lblPostep2->setTextFormat(Qt::PlainText);
    panPostep2->hide();

    panPrawy = new QWidget(this);
    iqmark2 = Picture(panPrawy, QuestionPicture(), true);
    iexclam2 = Picture(panPrawy, ExclamationPicture(), false);

    panBtns = new QWidget(this);
    panBtns->setFont(WinFont(QStringLiteral("Arial"), 16, true));
    btnOk = Button(panBtns, QStringLiteral("&Ok"), 80, TickGlyph());
    btnOk->setDefault(true);
    btnNo = Button(panBtns, QStringLiteral("&Nie"), 80, NoGlyph());
    btnCancel = Button(panBtns, QStringLiteral("&Anuluj"), 80, CrossGlyph());
    btnAll = Button(panBtns, QStringLiteral("&Wszystkie"), 100);
    btnExtra = Button(panBtns, QStringLiteral("Extra"), 80);
    BtnExtra2 = Button(panBtns, QStringLiteral("Extra2"), 80);

    panTAK = new QWidget(this);
    panTAK->setFont(WinFont(QStringLiteral("Arial"), 16, true));
    lblTAK = new QLabel(QStringLiteral("Aby potwierdzić, naciśnij kolejno trzy klawisze: T, A, K."), panTAK);
    lblTAK->setFont(WinFontPt(QStringLiteral("MS Sans Serif"), 8, true));
    QPalette takPalette = lblTAK->palette();
    takPalette.setColor(QPalette::WindowText, Qt::blue);
    lblTAK->setPalette(takPalette);
    lblTAK->adjustSize();
    pTAK = new QWidget(panTAK);
    pTAK->resize(3 * kTakKey + 2 * kTakGap, kTakKey);
    int x = 0;
    for (QPushButton **key : {&btnT, &btnA, &btnK}) {
        const QString letter = key == &btnT   ? QStringLiteral("T")
                               : key == &btnA ? QStringLiteral("A")
                                              : QStringLiteral("K");
        *key = new QPushButton(letter, pTAK);
        (*key)->setCheckable(true);
        (*key)->setGeometry(x, 0, kTakKey, kTakKey);
        x += kTakKey + kTakGap;
    }
    btnN = new QPushButton(QStringLiteral("N I E"), panTAK);
    btnN->resize(100, kTakKey);
    for (QPushButton *key : {btnT, btnA, btnK, btnN}) {
        key->setFocusPolicy(Qt::NoFocus);
        key->setCursor(Qt::PointingHandCursor);
    }
    panTAK->hide();

    TimerClose = new QTimer(this);
    TimerClose->setInterval(3000);
    TimerClose->setSingleShot(true);
    connect(TimerClose, &QTimer::timeout, this, &TMsgOkienko::TimerCloseTimer);

    connect(btnOk, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(btnNo, &QPushButton::clicked, this, [this] { done(mrNo); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(btnAll, &QPushButton::clicked, this, [this] { done(mrAll); });
    connect(btnExtra, &QPushButton::clicked, this, [this] { done(mrExtra); });
    connect(BtnExtra2, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(btnN, &QPushButton::clicked, this, [this] { done(mrNo); });
    connect(btnT, &QPushButton::clicked, this, [this] { TypedLetter(QLatin1Char('T')); });
    connect(btnA, &QPushButton::clicked, this, [this] { TypedLetter(QLatin1Char('A')); });
    connect(btnK, &QPushButton::clicked, this, [this] { TypedLetter(QLatin1Char('K')); });

    // The box sees every key before the control that has the focus, and every click in it.
    auto *klawisze = new TKeyPreview(this);
    klawisze->OnCancel = [this] { reject(); };
    klawisze->OnAccept = [this] { Enter(); };
    klawisze->OnKey = [this](const QKeyEvent &key) { return KeyPreview(key); };
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

TMsgOkienko::~TMsgOkienko() = default;

void TMsgOkienko::Zbuduj(const QString &title, const QString &text, int kind, unsigned buttons)
{
    kind_ = kind & ~kAutoClose;
    if (kind_ == kTypedConfirmation) {
        panBtns->hide();
        panTAK->show();
    } else {
        if ((kind_ == kInfo || kind_ == kError) && buttons == 0)
            buttons = bOk;
        if (kind_ == kInfo || kind_ == kError) {
            iqmark1->hide();
            iqmark2->hide();
            iexclam1->show();
            iexclam2->show();
        }
        if (kind_ == kPlain) {
            panLewy->hide();
            panPrawy->hide();
        }
        if (kind_ == kError) {
            QPalette pal = lbl->palette();
            pal.setColor(QPalette::WindowText, kDarkRed);
            lbl->setPalette(pal);
        }
        if (buttons & (bTak | bOk | bPowtorz)) {
            btnOk->show();
            if (buttons & bOk) {
                btnOk->setText(QStringLiteral("&Ok"));
                btnOk->resize(80, kButtonHeight);
            } else if (buttons & bTak) {
                btnOk->setText(QStringLiteral("&Tak"));
                btnOk->resize(80, kButtonHeight);
            } else {
                btnOk->setText(QStringLiteral("&Powtórz"));
                btnOk->resize(90, kButtonHeight);
            }
        }
        if (buttons & bNie)
            btnNo->show();
        if (buttons & bAnuluj) {
            btnCancel->setText(QStringLiteral("&Anuluj"));
            btnCancel->show();
        }
        if (buttons & bCofnij) {
            btnCancel->setText(QStringLiteral("Cofnij"));
            btnCancel->show();
        }
        if (buttons & bWszystkie)
            btnAll->show();
        if (buttons & bExtra) {
            if (!ExtraCaption.isEmpty())
                btnExtra->setText(ExtraCaption);
            if (ExtraWidth > 0)
                btnExtra->resize(ExtraWidth, kButtonHeight);
            btnExtra->show();
        }
        if (buttons & bExtra2) {
            if (!Extra2Caption.isEmpty())
                BtnExtra2->setText(Extra2Caption);
            if (Extra2Width > 0)
                BtnExtra2->resize(Extra2Width, kButtonHeight);
            BtnExtra2->show();
        }
    }
    setWindowTitle(title);
    QString body = text;
    const int tab = int(body.indexOf(QChar(11)));
    if (tab >= 0) {
        body.remove(tab, 1);
        leftAligned_ = true;
        lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    SetText(body);
}

QString TMsgOkienko::Text() const
{
    return lbl->text();
}

void TMsgOkienko::SetText(const QString &text)
{
    lbl->setText(NormalizeBreaks(text));
}

int TMsgOkienko::SideColumnsWidth() const
{
    return (panLewy->isHidden() ? 0 : kLeftColumn) + (ani->isHidden() ? 0 : kAniColumn) +
           (panPrawy->isHidden() ? 0 : kRightColumn);
}

int TMsgOkienko::CentreWidth() const
{
    return width() - SideColumnsWidth();
}

void TMsgOkienko::LayoutText(int &clientWidth, int &centreHeight)
{
    const int sides = SideColumnsWidth();
    const bool multiLine = lbl->text().contains(QLatin1Char('\n'));
    const auto useFont = [this](int pixels) { lbl->setFont(WinFont(QStringLiteral("Times New Roman"), pixels, true)); };
    useFont(TextPixels13());
    int labelWidth = 0;
    int labelHeight = 0;
    if (!multiLine) {
        // One paragraph wraps inside the centre panel, 4 pixels clear of either side.
        lbl->setWordWrap(true);
        labelWidth = clientWidth - sides - 8;
        labelHeight = lbl->heightForWidth(labelWidth);
        if (labelHeight > 200) {
            useFont(TextPixels11());
            labelHeight = lbl->heightForWidth(labelWidth);
        }
    } else {
        // Lines given by the caller do not wrap: the window follows the longest one.
        lbl->setWordWrap(false);
        const auto measure = [&] {
            const QSize size =
                QFontMetrics(lbl->font()).boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft, lbl->text()).size();
            labelWidth = size.width() + 10;
            labelHeight = size.height();
        };
        measure();
        if (labelWidth > 500) {
            useFont(TextPixels11());
            measure();
        }
        if (labelHeight > 200 && lbl->font().pixelSize() != TextPixels11()) {
            useFont(TextPixels11());
            measure();
        }
        labelWidth = std::max(labelWidth, 200);
        clientWidth = labelWidth + 8 + sides;
    }
    lbl->resize(labelWidth, labelHeight);
    centreHeight = labelHeight + 8;
    // A short text must not cut the pictures beside it; the text is then centred vertically.
    if (!panLewy->isHidden() || !panPrawy->isHidden() || !ani->isHidden())
        centreHeight = std::max(centreHeight, kPictureColumnHeight);
}

void TMsgOkienko::Rozmiesc()
{
    int w = kDesignWidth;
    int centreHeight = 0;
    LayoutText(w, centreHeight);
    // A box sized to a short text would let the window manager cut its title.
    const QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    w = std::max(w, QFontMetrics(titleFont).horizontalAdvance(windowTitle()) * 5 / 4 + kTitleBarExtras);

    if (!panBtns->isHidden()) {
        std::vector<QPushButton *> shown;
        int total = 0;
        for (QPushButton *b : {btnAll, btnOk, btnNo, btnExtra, BtnExtra2, btnCancel}) {
            if (!b->isHidden()) {
                shown.push_back(b);
                total += b->width();
            }
        }
        if (w - 30 < total)
            w = total + 30;
        const int gap = (w - total) / (int(shown.size()) + 1);
        int x = gap;
        for (QPushButton *b : shown) {
            b->move(x, (kButtonRow - kButtonHeight) / 2);
            x += b->width() + gap;
        }
    }
    if (!panTAK->isHidden()) {
        w = std::max(w, kDesignWidth);
        lblTAK->adjustSize();
        lblTAK->move((w - lblTAK->width()) / 2, 8);
        const int gap = (w - pTAK->width() - btnN->width()) / 3;
        pTAK->move(gap, 32);
        btnN->move(2 * gap + pTAK->width(), 32);
    }

    int x = 0;
    if (!panLewy->isHidden()) {
        panLewy->setGeometry(0, 0, kLeftColumn, centreHeight);
        for (QLabel *pic : {iqmark1, iexclam1})
            pic->move((kLeftColumn - pic->width()) / 2, std::max(0, (centreHeight - pic->height()) / 2));
        x += kLeftColumn;
    }
    if (!ani->isHidden()) {
        ani->setGeometry(x, 0, kAniColumn, centreHeight);
        x += kAniColumn;
    }
    const int right = w - (panPrawy->isHidden() ? 0 : kRightColumn);
    Panel3->setGeometry(x, 0, right - x, centreHeight);
    Panel2->setGeometry(0, 0, right - x, centreHeight);
    lbl->move((Panel2->width() - lbl->width()) / 2, std::max(4, (centreHeight - lbl->height()) / 2));
    if (!panPrawy->isHidden()) {
        panPrawy->setGeometry(right, 0, kRightColumn, centreHeight);
        for (QLabel *pic : {iqmark2, iexclam2})
            pic->move((kRightColumn - pic->width()) / 2, std::max(0, (centreHeight - pic->height()) / 2));
    }

    int y = centreHeight;
    if (!panPostep->isHidden()) {
        panPostep->setGeometry(0, y, w, kProgressRow);
        const bool withLabel = !lblPostep->isHidden();
        const bool withBar = !pbar->isHidden();
        int labelWidth = 0;
        if (withLabel)
            labelWidth = withBar ? lblPostep->width() : w - 8;
        if (withLabel)
            lblPostep->setGeometry(4, 0, labelWidth, kProgressRow);
        if (withBar) {
            const int left = withLabel ? 4 + labelWidth + 4 : 4;
            pbar->setGeometry(left, 3, w - 4 - left, kProgressRow - 6);
        }
        y += kProgressRow;
    }
    if (!panPostep2->isHidden()) {
        panPostep2->setGeometry(0, y, w, kProgressRow2);
        lblPostep2->setGeometry(4, 0, w - 8, kProgressRow2);
        y += kProgressRow2;
    }
    if (!panBtns->isHidden()) {
        panBtns->setGeometry(0, y, w, kButtonRow);
        y += kButtonRow;
    }
    if (!panTAK->isHidden()) {
        panTAK->setGeometry(0, y, w, kTakPanel);
        y += kTakPanel;
    }
    setFixedSize(w, y);
}

void TMsgOkienko::showEvent(QShowEvent *event)
{
    Rozmiesc();
    QRect over = centreOver_;
    if (!over.isValid()) {
        const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
        over = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    }
    move(over.center() - QPoint(width() / 2, height() / 2));
    if (!waitWindow_) {
        if (!btnOk->isHidden() && !panBtns->isHidden())
            btnOk->setFocus();
        else
            setFocus();
    }
    QDialog::showEvent(event);
}

void TMsgOkienko::TimerCloseTimer()
{
    TimerClose->stop();
    btnOk->click(); // also when the button is not shown
}

void TMsgOkienko::reject()
{
    done(mrCancel);
}

void TMsgOkienko::ResetTak()
{
    for (QPushButton *key : {btnT, btnA, btnK})
        key->setChecked(false);
}

void TMsgOkienko::TypedLetter(QChar letter)
{
    switch (letter.toUpper().unicode()) {
    case 'T':
        btnT->setChecked(true);
        btnA->setChecked(false);
        btnK->setChecked(false);
        return;
    case 'A':
        if (btnT->isChecked()) {
            btnA->setChecked(true);
            btnK->setChecked(false);
        } else {
            ResetTak();
        }
        return;
    case 'K':
        if (btnA->isChecked())
            done(mrOk);
        else
            ResetTak();
        return;
    case 'N':
        done(mrNo);
        return;
    default:
        ResetTak();
    }
}

void TMsgOkienko::Enter()
{
    if (kind_ == kTypedConfirmation && !waitWindow_) {
        ResetTak();
        return;
    }
    // A button that has the focus acts as the default one, as in any dialog.
    auto *focused = qobject_cast<QPushButton *>(focusWidget());
    if (focused && focused != btnOk && focused->parentWidget() == panBtns && !focused->isHidden())
        focused->click();
    else if (!btnOk->isHidden() && !panBtns->isHidden())
        btnOk->click();
}

bool TMsgOkienko::KeyPreview(const QKeyEvent &e)
{
    if (kind_ == kTypedConfirmation && !waitWindow_) {
        if (IsModifierKey(e.key()))
            return false;
        TypedLetter(e.text().isEmpty() ? QChar() : e.text().at(0));
        return true;
    }
    // The underlined letters press their buttons, with or without Alt.
    const Qt::KeyboardModifiers mods = e.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if ((mods & ~Qt::AltModifier & ~Qt::ShiftModifier) == Qt::NoModifier && !e.text().isEmpty() &&
        e.text().at(0).isLetter() && !panBtns->isHidden()) {
        const QChar letter = e.text().at(0).toUpper();
        for (QPushButton *b : {btnAll, btnOk, btnNo, btnExtra, BtnExtra2, btnCancel}) {
            if (!b->isHidden() && MnemonicLetter(b->text()) == letter) {
                b->click();
                return true;
            }
        }
    }
    return false;
}

bool TMsgOkienko::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && kind_ == kTypedConfirmation && !waitWindow_) {
        const bool onKey = watched == btnT || watched == btnA || watched == btnK || watched == btnN;
        if (!onKey)
            ResetTak();
    }
    return QDialog::eventFilter(watched, event);
}

std::unique_ptr<TMsgOkienko> UtworzOkienko(const QString &title, const QString &text, int kind, unsigned buttons)
{
    auto box = std::make_unique<TMsgOkienko>();
    box->Zbuduj(title, text, kind, buttons);
    return box;
}

int PokazOkienko(const QString &title, const QString &text, int kind, unsigned buttons)
{
    std::unique_ptr<TMsgOkienko> box = UtworzOkienko(title, text, kind, buttons);
    if (kind & TMsgOkienko::kAutoClose)
        box->TimerClose->start();
    QPointer<TMsgOkienko> alive(box.get());
    const int answer = box->exec();
    if (!alive)
        (void)box.release(); // its owner window went away and took it along
    return answer;
}

void PokazBlad(const QString &title, const QString &text)
{
    QApplication::beep();
    PokazOkienko(title, text, TMsgOkienko::kError, TMsgOkienko::bOk);
}

void PokazInfo(const QString &title, const QString &text)
{
    PokazOkienko(title, text, TMsgOkienko::kInfo, TMsgOkienko::bOk);
}

bool PytanieTakNie(const QString &title, const QString &text)
{
    return PokazOkienko(title, text, TMsgOkienko::kQuestion, TMsgOkienko::bTak | TMsgOkienko::bNie) ==
           TMsgOkienko::mrOk;
}

bool PytanieOkAnuluj(const QString &title, const QString &text)
{
    return PokazOkienko(title, text, TMsgOkienko::kQuestion, TMsgOkienko::bOk | TMsgOkienko::bAnuluj) ==
           TMsgOkienko::mrOk;
}

bool PytaniePowtorzAnuluj(const QString &title, const QString &text)
{
    return PokazOkienko(title, text, TMsgOkienko::kQuestion, TMsgOkienko::bPowtorz | TMsgOkienko::bAnuluj) ==
           TMsgOkienko::mrOk;
}

bool PotwierdzTAK(const QString &title, const QString &text)
{
    return PokazOkienko(title, text, TMsgOkienko::kTypedConfirmation, 0) == TMsgOkienko::mrOk;
}
