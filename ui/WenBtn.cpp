#include "ui/WenBtn.h"

#include "ui/WenBtnStrips.h"
#include "ui/WinFonts.h"

#include <QEnterEvent>
#include <QKeySequence>
#include <QPainter>
#include <QPointer>
#include <QScopeGuard>
#include <QShortcutEvent>
#include <QStyle>

namespace {

// One paint buffer shared by every button: a button paints into it and copies it out in one step.
QImage &SharedBuffer(const QSize &size)
{
    static QImage buffer;
    if (buffer.width() < size.width() || buffer.height() < size.height())
        buffer = QImage(size.expandedTo(buffer.size()), QImage::Format_ARGB32_Premultiplied);
    return buffer;
}

} // namespace

TWenBtn::TWenBtn(QWidget *parent) : QWidget(parent)
{
    resize(40, 33);
    setCursor(Qt::PointingHandCursor);
    setFont(WinFont(QStringLiteral("Arial"), 11, true));
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    colorDown_ = palette().color(QPalette::Light);
    color_ = palette().color(QPalette::Button);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    (void)TWenBtnImages::Instance();
}

void TWenBtn::SetTyp(TWenBtnTyp typ)
{
    if (typ_ != typ) {
        typ_ = typ;
        update();
    }
}

void TWenBtn::SetKolor(int kolor)
{
    kolor = std::clamp(kolor, 0, kPlateRows - 1);
    if (kolor_ != kolor) {
        kolor_ = kolor;
        update();
    }
}

void TWenBtn::SetOpis(const QString &opis)
{
    if (opis_ != opis) {
        opis_ = opis;
        UpdateShortcut();
        update();
    }
}

void TWenBtn::SetMargines(int margines)
{
    if (margines_ != margines) {
        margines_ = margines;
        update();
    }
}

void TWenBtn::SetColorDown(const QColor &colour)
{
    if (colorDown_ != colour) {
        colorDown_ = colour;
        update();
    }
}

void TWenBtn::SetDown(bool down)
{
    if (down_ != down) {
        down_ = down;
        update();
    }
}

void TWenBtn::SetIkonka(const QPixmap &ikonka)
{
    ikonka_ = ikonka;
    // Cut the enabled and disabled halves once, with the top-left pixel's colour transparent.
    for (QImage &part : ikonkaParts_)
        part = QImage();
    if (!ikonka_.isNull()) {
        const QImage whole = ikonka_.toImage().convertToFormat(QImage::Format_ARGB32);
        const QRgb key = whole.pixel(0, 0);
        const int half = whole.width() / 2;
        for (int state = 0; state < 2; ++state) {
            QImage part = whole.copy(state * half, 0, half, whole.height());
            for (int y = 0; y < part.height(); ++y) {
                auto *line = reinterpret_cast<QRgb *>(part.scanLine(y));
                for (int x = 0; x < part.width(); ++x)
                    if (line[x] == key)
                        line[x] = qRgba(0, 0, 0, 0);
            }
            ikonkaParts_[state] = part;
        }
    }
    update();
}

void TWenBtn::SetShowFrame(bool show)
{
    if (showFrame_ != show) {
        showFrame_ = show;
        update();
    }
}

QColor TWenBtn::Color() const
{
    if (parentColor_ && parentWidget())
        return parentWidget()->palette().color(parentWidget()->backgroundRole());
    return color_;
}

void TWenBtn::SetColor(const QColor &colour)
{
    if (color_ != colour || parentColor_) {
        color_ = colour;
        parentColor_ = false;
        update();
    }
}

void TWenBtn::SetParentColor(bool parentColor)
{
    if (parentColor_ != parentColor) {
        parentColor_ = parentColor;
        update();
    }
}

void TWenBtn::SetHint(const QString &hint)
{
    hint_ = hint;
    setToolTip(showHint_ ? hint_ : QString());
}

void TWenBtn::SetShowHint(bool show)
{
    showHint_ = show;
    setToolTip(showHint_ ? hint_ : QString());
}

void TWenBtn::UpdateShortcut()
{
    if (shortcutId_ != 0)
        releaseShortcut(shortcutId_);
    shortcutId_ = 0;
    const QKeySequence mnemonic = QKeySequence::mnemonic(opis_);
    if (!mnemonic.isEmpty())
        shortcutId_ = grabShortcut(mnemonic);
}

void TWenBtn::Click()
{
    // The idle look comes back even when a handler raises; a handler may also delete the button.
    const auto cleanup = qScopeGuard([button = QPointer<TWenBtn>(this)] {
        if (button) {
            button->hot_ = false;
            button->mouseHeld_ = false;
            button->update();
        }
    });
    Q_EMIT clicked();
}

void TWenBtn::ClickIfUsable()
{
    if (isVisible() && isEnabled())
        Click();
}

TWenBtn::TLayout TWenBtn::Layout() const
{
    if (height() > 2 * width())
        return TLayout::Vertical;
    if (height() < 30)
        return TLayout::SideBySide;
    return TLayout::Stacked;
}

QSize TWenBtn::PictureSize() const
{
    if (typ_ == TWenBtnTyp::sbWlasny)
        return {ikonka_.width() / 2, ikonka_.height()};
    return {kPlateWidth, kPlateHeight};
}

QRect TWenBtn::PictureRect() const
{
    const QSize size = PictureSize();
    QPoint pos;
    switch (Layout()) {
    case TLayout::Stacked:
        pos = {(width() - size.width()) / 2, margines_};
        break;
    case TLayout::SideBySide:
        pos = {margines_, (height() - size.height()) / 2};
        break;
    case TLayout::Vertical:
        pos = {(width() - size.width()) / 2, height() - margines_ - size.height()};
        break;
    }
    if (PressedLook())
        pos += QPoint(1, 1);
    return {pos, size};
}

QRect TWenBtn::CaptionRect() const
{
    if (opis_.isEmpty())
        return {};
    QRect area;
    switch (Layout()) {
    case TLayout::Stacked: {
        const int textHeight = QFontMetrics(font()).size(0, QStringLiteral("Aj")).height();
        area = QRect(QPoint(1, height() - textHeight - margines_), QPoint(width() - 2, height() - 2));
        break;
    }
    case TLayout::SideBySide: {
        const int margin = std::max(margines_, 0);
        const int left = OwnPictureEmpty() ? margin : 2 * margin + PictureSize().width();
        area = QRect(left, 0, width() - left, height());
        break;
    }
    case TLayout::Vertical: {
        const int bottom = OwnPictureEmpty() ? height() - margines_ : height() - PictureSize().height() - 2 * margines_;
        area = QRect(0, 0, width(), bottom);
        break;
    }
    }
    if (PressedLook())
        area.translate(1, 1);
    return area;
}

int TWenBtn::EdgeIndex() const
{
    const bool hotEnabled = hot_ && isEnabled();
    if (!showFrame_ && !hotEnabled)
        return -1;
    return 2 * int(hotEnabled) + int(PressedLook());
}

std::array<TEdgeStyle, 4> TWenBtn::EdgeTable(const QPalette &palette)
{
    if (palette.color(QPalette::Midlight) == palette.color(QPalette::Button))
        return {TEdgeStyle{kRaisedInner, false}, TEdgeStyle{kSunkenOuter, false}, TEdgeStyle{kEdgeRaised, true},
                TEdgeStyle{kEdgeSunken, true}};
    return {TEdgeStyle{kRaisedInner, true}, TEdgeStyle{kSunkenOuter, true}, TEdgeStyle{kRaisedInner, false},
            TEdgeStyle{kSunkenOuter, false}};
}

void TWenBtn::PaintCaption(QPainter &p, const QRect &area, int flags, bool rotated) const
{
    const auto draw = [&](const QRect &r, const QColor &colour) {
        p.setPen(colour);
        if (!rotated) {
            p.drawText(r, flags | Qt::TextShowMnemonic | Qt::TextSingleLine, opis_);
            return;
        }
        // Reads upwards from the bottom of the area, centred across the width.
        p.save();
        p.translate(r.left() + r.width() / 2.0, r.bottom() + 1);
        p.rotate(-90);
        const int th = p.fontMetrics().height();
        p.drawText(QRectF(0, -th / 2.0, r.height(), th),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, opis_);
        p.restore();
    };
    if (isEnabled()) {
        draw(area, palette().color(QPalette::WindowText));
    } else {
        draw(area.translated(1, 1), palette().color(QPalette::Light));
        draw(area, palette().color(QPalette::Dark));
    }
}

void TWenBtn::PaintTo(QPainter &p) const
{
    const QRect whole = rect();
    p.fillRect(whole, down_ ? colorDown_ : Color());
    const bool pressed = PressedLook();
    const bool enabled = isEnabled();

    const QRect pic = PictureRect();
    if (typ_ == TWenBtnTyp::sbWlasny) {
        const QImage &part = ikonkaParts_[enabled ? 0 : 1];
        if (!part.isNull())
            p.drawImage(pic.topLeft(), part);
    } else {
        const auto &images = TWenBtnImages::Instance();
        p.drawImage(pic.topLeft(), images.Plate(kolor_, enabled));
        p.drawImage(pic.topLeft() + QPoint(1, 2), images.Symbol(static_cast<int>(typ_), enabled));
    }

    if (!opis_.isEmpty()) {
        p.setFont(font());
        const QRect area = CaptionRect();
        switch (Layout()) {
        case TLayout::Stacked:
            PaintCaption(p, area, Qt::AlignHCenter | Qt::AlignVCenter, false);
            break;
        case TLayout::SideBySide:
            PaintCaption(p, area, (margines_ < 0 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter, false);
            break;
        case TLayout::Vertical:
            PaintCaption(p, area, 0, true);
            break;
        }
    }

    if (OnPaint) {
        QRect inner(1, 1, width() - 2, height() - 2);
        if (pressed)
            inner.translate(1, 1);
        OnPaint(const_cast<TWenBtn *>(this), p, inner);
    }

    const int edge = EdgeIndex();
    if (edge >= 0) {
        DrawEdge(p, whole, EdgeTable(palette())[static_cast<size_t>(edge)], TSystemColours::FromPalette(palette()));
    } else {
        const QWidget *parent = parentWidget();
        const QColor outline =
            parent ? parent->palette().color(parent->backgroundRole()) : palette().color(QPalette::Window);
        p.setPen(outline);
        p.setBrush(Qt::NoBrush);
        p.drawRect(whole.adjusted(0, 0, -1, -1));
    }
}

QImage TWenBtn::Render() const
{
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    PaintTo(p);
    return image;
}

void TWenBtn::paintEvent(QPaintEvent *)
{
    QImage &buffer = SharedBuffer(size());
    {
        QPainter bp(&buffer);
        bp.setClipRect(rect());
        PaintTo(bp);
    }
    QPainter p(this);
    p.drawImage(QPoint(0, 0), buffer, rect());
}

bool TWenBtn::event(QEvent *e)
{
    if (e->type() == QEvent::Shortcut) {
        auto *se = static_cast<QShortcutEvent *>(e);
        if (se->shortcutId() == shortcutId_) {
            if (parentWidget() == nullptr || parentWidget()->isVisible())
                ClickIfUsable();
            return true;
        }
    }
    return QWidget::event(e);
}

void TWenBtn::enterEvent(QEnterEvent *)
{
    Q_EMIT mouseEnter();
    hot_ = true;
    update();
}

void TWenBtn::leaveEvent(QEvent *)
{
    Q_EMIT mouseLeave();
    hot_ = false;
    update();
}

void TWenBtn::mouseMoveEvent(QMouseEvent *e)
{
    if (rect().contains(e->position().toPoint()) && !hot_) {
        hot_ = true;
        update();
    }
}

void TWenBtn::mousePressEvent(QMouseEvent *e)
{
    Q_EMIT mouseDown(e->button(), e->modifiers(), e->position().toPoint());
    if (e->button() == Qt::LeftButton) {
        mouseHeld_ = true;
        update();
    }
}

void TWenBtn::mouseReleaseEvent(QMouseEvent *e)
{
    const bool wasHeld = mouseHeld_;
    if (e->button() == Qt::LeftButton) {
        mouseHeld_ = false;
        update();
    }
    Q_EMIT mouseUp(e->button(), e->modifiers(), e->position().toPoint());
    if (e->button() == Qt::LeftButton && wasHeld && rect().contains(e->position().toPoint()))
        Click();
}

void TWenBtn::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange || e->type() == QEvent::PaletteChange || e->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(e);
}
