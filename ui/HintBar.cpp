#include "ui/HintBar.h"

#include "ui/Glyphs.h"
#include "ui/WinFonts.h"

#include <QKeyEvent>
#include <QMetaMethod>
#include <QPainter>

namespace {

const QColor kSilver(192, 192, 192);
const QColor kGrey(128, 128, 128);
const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);

QPixmap Greyed(const QPixmap &glyph)
{
    QImage image = glyph.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int g = 96 + qGray(line[x]) / 2;
            line[x] = qRgba(g, g, g, qAlpha(line[x]) * 3 / 4);
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

THintBarButton::THintBarButton(const QPixmap &glyph, QWidget *parent)
    : QAbstractButton(parent), glyph_(glyph), disabledGlyph_(Greyed(glyph))
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setFont(WinFont(QStringLiteral("MS Sans Serif"), 12, true));
    textColour_ = kYellow;
}

void THintBarButton::SetTextColour(const QColor &colour)
{
    textColour_ = colour;
    update();
}

void THintBarButton::enterEvent(QEnterEvent *event)
{
    hot_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void THintBarButton::leaveEvent(QEvent *event)
{
    hot_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void THintBarButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool pressed = isDown();
    const int shift = pressed ? 1 : 0;
    constexpr int margin = 2;
    constexpr int spacing = 4;
    const QPixmap &glyph = isEnabled() ? glyph_ : disabledGlyph_;
    const int gy = (height() - glyph.height()) / 2 + shift;
    p.drawPixmap(margin + shift, gy, glyph);
    if (!text().isEmpty()) {
        p.setFont(font());
        p.setPen(isEnabled() ? textColour_ : kSilver);
        const int tx = margin + glyph.width() + spacing + shift;
        p.drawText(QRect(tx, shift, width() - tx, height()),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, text());
    }
    // Flat: a thin frame shows only under the pointer.
    if (hot_ && isEnabled()) {
        const QRect r = rect().adjusted(0, 0, -1, -1);
        p.setPen(pressed ? QColor(0x50, 0x50, 0x50) : QColor(0xa0, 0xa0, 0xa0));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(pressed ? QColor(0xa0, 0xa0, 0xa0) : QColor(0x50, 0x50, 0x50));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
}

std::vector<TColourPiece> SplitColourMarks(const QString &text)
{
    static const struct {
        QString name;
        TColourPiece::Mark mark;
    } marks[] = {{QStringLiteral("#RED#"), TColourPiece::Red},
                 {QStringLiteral("#YELLOW#"), TColourPiece::Yellow},
                 {QStringLiteral("#NORMAL#"), TColourPiece::Normal}};
    std::vector<TColourPiece> pieces;
    TColourPiece current;
    int i = 0;
    while (i < text.size()) {
        bool matched = false;
        if (text.at(i) == QLatin1Char('#')) {
            for (const auto &m : marks) {
                if (QStringView(text).mid(i).startsWith(m.name)) {
                    if (!current.text.isEmpty())
                        pieces.push_back(current);
                    current = TColourPiece{QString(), m.mark};
                    i += int(m.name.size());
                    matched = true;
                    break;
                }
            }
        }
        if (!matched)
            current.text += text.at(i++);
    }
    if (!current.text.isEmpty())
        pieces.push_back(current);
    return pieces;
}

THintBar::THintBar(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(false);
    setFocusPolicy(Qt::ClickFocus);
    cancel_ = new THintBarButton(HintBarCancelGlyph(), this);
    accept_ = new THintBarButton(HintBarAcceptGlyph(), this);
    help_ = new THintBarButton(HintBarHelpGlyph(), this);
    help_->setText(QStringLiteral("Pomoc"));
    help_->SetTextColour(Qt::white);
    help_->setToolTip(QStringLiteral("F1"));
    accept_->setToolTip(QStringLiteral("Enter"));
    cancel_->setToolTip(QStringLiteral("Esc"));
    connect(accept_, &QAbstractButton::clicked, this, &THintBar::OnAccept);
    connect(cancel_, &QAbstractButton::clicked, this, &THintBar::OnCancel);
    connect(help_, &QAbstractButton::clicked, this, &THintBar::OnHelp);
    setFixedHeight(24);
    resize(300, 24);
    Relayout();
}

void THintBar::SetBtnWidth(int width)
{
    btnWidth_ = width;
    Relayout();
}

void THintBar::SetActive(bool active)
{
    if (active_ != active) {
        active_ = active;
        ApplyActiveLook();
    }
}

void THintBar::SetHelpButton(bool show)
{
    helpButton_ = show;
    Relayout();
}

void THintBar::SetTextAccept(const QString &text)
{
    accept_->setText(text);
    Relayout();
}

void THintBar::SetTextCancel(const QString &text)
{
    cancel_->setText(text);
    Relayout();
}

void THintBar::SetTextLeft(const QString &text)
{
    textLeft_ = text;
    update();
}

void THintBar::SetTextCenter(const QString &text)
{
    textCenter_ = text;
    update();
}

void THintBar::SetTextRight(const QString &text)
{
    textRight_ = text;
    update();
}

void THintBar::SetErrorState(bool error)
{
    errorState_ = error;
    update();
}

void THintBar::ShowMessageText(const QString &text)
{
    textCenter_ = text;
    errorState_ = false;
    update();
}

void THintBar::ShowLeftText(const QString &text)
{
    textLeft_ = text;
    repaint();
}

bool THintBar::HasAcceptHandler() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&THintBar::OnAccept));
}

bool THintBar::HasCancelHandler() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&THintBar::OnCancel));
}

bool THintBar::HasHelpHandler() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&THintBar::OnHelp));
}

void THintBar::Relayout()
{
    const int m = (height() - 20) / 2;
    if (helpButton_) {
        help_->setGeometry(m, m, btnWidth_, 20);
        help_->show();
    } else {
        help_->setGeometry(m, m, btnWidth_, 0);
        help_->hide();
    }
    int right = width() - m;
    for (THintBarButton *button : {cancel_, accept_}) {
        if (button->text().isEmpty()) {
            button->setGeometry(right - btnWidth_, m, btnWidth_, 0);
            button->hide();
            continue;
        }
        button->setGeometry(right - btnWidth_, m, btnWidth_, 20);
        button->show();
        right -= btnWidth_ + 3;
    }
    update();
}

QRect THintBar::TextArea() const
{
    // Computed from the current size: a hidden bar gets its resize event only when shown.
    const int m = (height() - 20) / 2;
    const int left = helpButton_ ? m + btnWidth_ + 3 : m;
    int right = width() - m;
    for (const THintBarButton *button : {cancel_, accept_})
        if (!button->text().isEmpty())
            right -= btnWidth_ + 3;
    return {left, 0, std::max(0, right - left), height()};
}

void THintBar::ApplyActiveLook()
{
    for (THintBarButton *button : {cancel_, accept_, help_})
        button->setEnabled(active_);
    update();
}

QColor THintBar::BarColour() const
{
    return active_ ? QColor(Qt::black) : kGrey;
}

void THintBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Relayout();
}

void THintBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), BarColour());
    const QRect area = TextArea();
    p.setClipRect(area);

    const QFont sideFont = WinFont(QStringLiteral("Arial"), 16, true);
    const QFontMetrics sideMetrics(sideFont);
    const int sideHeight = sideMetrics.size(0, QStringLiteral("Aj")).height();
    const int sideTop = (height() - sideHeight) / 2;
    const QColor sideColour = active_ ? QColor(Qt::white) : kSilver;
    p.setFont(sideFont);
    p.setPen(sideColour);
    const int leftWidth = textLeft_.isEmpty() ? 0 : sideMetrics.horizontalAdvance(textLeft_);
    const int rightWidth = textRight_.isEmpty() ? 0 : sideMetrics.horizontalAdvance(textRight_);
    if (leftWidth > 0)
        p.drawText(QPoint(area.left(), sideTop + sideMetrics.ascent()), textLeft_);
    if (rightWidth > 0)
        p.drawText(QPoint(area.right() + 1 - rightWidth, sideTop + sideMetrics.ascent()), textRight_);

    const auto pieces = SplitColourMarks(textCenter_);
    if (pieces.empty())
        return;
    const QFont centreFont = WinFont(QStringLiteral("MS Sans Serif"), 16, true);
    const QFontMetrics cm(centreFont);
    int total = 0;
    for (const auto &piece : pieces)
        total += cm.horizontalAdvance(piece.text);
    const int spaceLeft = area.left() + leftWidth;
    const int spaceRight = area.right() + 1 - rightWidth;
    int x = spaceLeft + (spaceRight - spaceLeft - total) / 2;
    const int centreHeight = cm.size(0, QStringLiteral("Aj")).height();
    const int baseline = (height() - centreHeight) / 2 + cm.ascent();
    const QColor normal = !active_ ? kSilver : (errorState_ ? kRed : kGreen);
    p.setFont(centreFont);
    for (const auto &piece : pieces) {
        QColor colour = normal;
        if (active_ && piece.mark == TColourPiece::Red)
            colour = kRed;
        else if (active_ && piece.mark == TColourPiece::Yellow)
            colour = kYellow;
        p.setPen(colour);
        p.drawText(QPoint(x, baseline), piece.text);
        if (active_ && errorState_) {
            p.setPen(kYellow);
            p.drawText(QPoint(x + 1, baseline + 1), piece.text);
        }
        x += cm.horizontalAdvance(piece.text);
    }
}

void THintBar::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (HasAcceptHandler())
            accept_->click();
        break;
    case Qt::Key_Escape:
        if (HasCancelHandler())
            cancel_->click();
        break;
    case Qt::Key_F1:
        if (HasHelpHandler())
            help_->click();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
