#include "ui/bajery.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>

QStringList WrapEditControl(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList paragraphs = normalized.split(QLatin1Char('\n'));
    for (const QString &paragraph : paragraphs) {
        QString rest = paragraph;
        if (rest.isEmpty()) {
            lines << QString();
            continue;
        }
        while (!rest.isEmpty()) {
            if (metrics.horizontalAdvance(rest) <= width) {
                lines << rest;
                break;
            }
            int cut = -1;
            for (int i = rest.size() - 1; i > 0; --i) {
                if (rest.at(i) == QLatin1Char(' ') && metrics.horizontalAdvance(rest.left(i)) <= width) {
                    cut = i;
                    break;
                }
            }
            if (cut > 0) {
                int end = cut;
                while (end > 0 && rest.at(end - 1) == QLatin1Char(' '))
                    --end;
                lines << rest.left(end);
                int next = cut;
                while (next < rest.size() && rest.at(next) == QLatin1Char(' '))
                    ++next;
                rest = rest.mid(next);
                continue;
            }
            // A word wider than the line breaks at the last character that fits (at least one).
            int fit = 1;
            while (fit < rest.size() && metrics.horizontalAdvance(rest.left(fit + 1)) <= width)
                ++fit;
            lines << rest.left(fit);
            rest = rest.mid(fit);
        }
    }
    return lines;
}

Qt::CursorShape SizingCursor(int code)
{
    switch (code) {
    case HTLEFT:
    case HTRIGHT:
        return Qt::SizeHorCursor;
    case HTTOP:
    case HTBOTTOM:
        return Qt::SizeVerCursor;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        return Qt::SizeFDiagCursor;
    default:
        return Qt::SizeBDiagCursor;
    }
}

namespace {

bool IsSizingCode(int code)
{
    return code >= HTLEFT && code <= HTBOTTOMRIGHT;
}

// The one off-screen bitmap every panel paints its second caption into.
QImage &SharedCaption2Buffer(const QSize &size)
{
    static QImage buffer;
    if (buffer.width() < size.width() || buffer.height() < size.height())
        buffer = QImage(size.expandedTo(buffer.size()), QImage::Format_ARGB32_Premultiplied);
    return buffer;
}

} // namespace

TPanelEx::TPanelEx(QWidget *parent) : QFrame(parent)
{
    setMouseTracking(true);
    UpdateMargins();
}

void TPanelEx::SetCaption(const QString &caption)
{
    if (caption_ != caption) {
        caption_ = caption;
        update();
    }
}

void TPanelEx::SetAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    update();
}

void TPanelEx::SetBevelOuter(TPanelBevel bevel)
{
    bevelOuter_ = bevel;
    UpdateMargins();
}

void TPanelEx::SetBevelInner(TPanelBevel bevel)
{
    bevelInner_ = bevel;
    UpdateMargins();
}

void TPanelEx::SetBevelWidth(int width)
{
    bevelWidth_ = std::max(width, 1);
    UpdateMargins();
}

void TPanelEx::SetBorderWidth(int width)
{
    borderWidth_ = std::max(width, 0);
    UpdateMargins();
    UpdateAutoHeight();
}

QColor TPanelEx::Color() const
{
    return palette().color(QPalette::Window);
}

void TPanelEx::SetColor(const QColor &colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
    update();
}

void TPanelEx::SetCaption2(const QString &caption)
{
    if (caption2_ != caption) {
        caption2_ = caption;
        UpdateAutoHeight();
        update();
    }
}

void TPanelEx::SetAutoHeight(bool autoHeight)
{
    autoHeight_ = autoHeight;
    UpdateAutoHeight();
}

void TPanelEx::UpdateMargins()
{
    int m = borderWidth_;
    if (bevelOuter_ != TPanelBevel::None)
        m += bevelWidth_;
    if (bevelInner_ != TPanelBevel::None)
        m += bevelWidth_;
    setContentsMargins(m, m, m, m);
    update();
}

QRect TPanelEx::InnerRect() const
{
    return contentsRect();
}

int TPanelEx::Caption2Height() const
{
    const QRect area = rect().adjusted(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    const QFontMetrics fm(font());
    return int(WrapEditControl(caption2_, fm, area.width()).size()) * fm.height();
}

void TPanelEx::UpdateAutoHeight()
{
    if (!autoHeight_ || caption2_.isEmpty())
        return;
    // The frame (if any) is the difference between the panel's height and its client height.
    const int wanted = Caption2Height() + 2 * borderWidth_ + 2 * frameWidth();
    if (wanted != height())
        resize(width(), wanted);
}

int TPanelEx::HitTest(const QPoint &pos)
{
    int code = rect().contains(pos) ? HTCLIENT : HTNOWHERE;
    if (OnHitTest)
        OnHitTest(this, pos.x(), pos.y(), code);
    return code;
}

void TPanelEx::PaintNormally(QPainter &p)
{
    p.fillRect(rect(), Color());
    QRect r = rect();
    const auto bevel = [&](TPanelBevel kind) {
        if (kind == TPanelBevel::None)
            return;
        const QColor light = palette().color(QPalette::Light);
        const QColor dark = palette().color(QPalette::Dark);
        const QColor topLeft = kind == TPanelBevel::Raised ? light : dark;
        const QColor bottomRight = kind == TPanelBevel::Raised ? dark : light;
        for (int i = 0; i < bevelWidth_; ++i) {
            p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
            p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
            p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
            p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
            r.adjust(1, 1, -1, -1);
        }
    };
    bevel(bevelOuter_);
    r.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    bevel(bevelInner_);
    if (!caption_.isEmpty()) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(r, int(alignment_ | Qt::AlignVCenter) | Qt::TextSingleLine | Qt::TextShowMnemonic, caption_);
    }
}

void TPanelEx::PaintCaption2(QPainter &screen)
{
    QImage &buffer = SharedCaption2Buffer(size());
    {
        QPainter p(&buffer);
        p.fillRect(rect(), Color());
        p.setFont(font());
        p.setPen(palette().color(QPalette::WindowText));
        const QRect area = rect().adjusted(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
        const QFontMetrics fm(font());
        int y = area.top();
        for (const QString &line : WrapEditControl(caption2_, fm, area.width())) {
            p.drawText(QRect(area.left(), y, area.width(), fm.height()),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
            y += fm.height();
        }
    }
    screen.drawImage(QPoint(0, 0), buffer, rect());
}

void TPanelEx::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    bool erase = caption2_.isEmpty();
    if (OnEraseBkgnd)
        OnEraseBkgnd(this, erase);
    if (erase)
        p.fillRect(rect(), Color());
    p.setFont(font());
    p.setBrush(Color());
    bool paintNormally = true;
    if (OnBeforePaint)
        OnBeforePaint(this, p, paintNormally);
    if (paintNormally) {
        if (caption2_.isEmpty())
            PaintNormally(p);
        else
            PaintCaption2(p);
    }
    if (OnAfterPaint)
        OnAfterPaint(this, p);
}

void TPanelEx::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    UpdateAutoHeight();
}

void TPanelEx::enterEvent(QEnterEvent *event)
{
    Q_EMIT mouseEnter();
    QFrame::enterEvent(event);
}

void TPanelEx::leaveEvent(QEvent *event)
{
    Q_EMIT mouseLeave();
    QFrame::leaveEvent(event);
}

void TPanelEx::mousePressEvent(QMouseEvent *event)
{
    const int code = HitTest(event->position().toPoint());
    if (code == HTTRANSPARENT) {
        event->ignore(); // the parent decides
        return;
    }
    if (code == HTCLIENT || event->button() != Qt::LeftButton) {
        event->accept(); // the panel's own client area: the click stays here
        return;
    }
    event->accept();
    if (code == HTCAPTION || IsSizingCode(code)) {
        dragCode_ = code;
        dragStartGlobal_ = event->globalPosition().toPoint();
        dragStartGeometry_ = geometry();
        return; // OnNCLMouseUp follows when the drag ends, as after a system move loop
    }
    if (OnNCLMouseUp)
        OnNCLMouseUp(this);
}

void TPanelEx::mouseMoveEvent(QMouseEvent *event)
{
    if (dragCode_ == HTNOWHERE) {
        const int code = HitTest(event->position().toPoint());
        if (code == HTTRANSPARENT) {
            event->ignore();
            return;
        }
        std::optional<Qt::CursorShape> shape;
        if (OnSetCursor)
            OnSetCursor(this, code, shape);
        if (!shape && IsSizingCode(code))
            shape = SizingCursor(code);
        if (shape) {
            if (!cursorOverridden_) {
                hadOwnCursor_ = testAttribute(Qt::WA_SetCursor);
                ownCursor_ = cursor();
                cursorOverridden_ = true;
            }
            setCursor(*shape);
        } else if (cursorOverridden_) {
            // Back to the panel's own cursor.
            cursorOverridden_ = false;
            if (hadOwnCursor_)
                setCursor(ownCursor_);
            else
                unsetCursor();
        }
        QFrame::mouseMoveEvent(event);
        return;
    }
    const QPoint delta = event->globalPosition().toPoint() - dragStartGlobal_;
    QRect dragged = dragStartGeometry_;
    if (dragCode_ == HTCAPTION) {
        dragged.translate(delta);
        if (OnPanelMove)
            OnPanelMove(this, dragged);
        move(dragged.topLeft());
        return;
    }
    const bool left = dragCode_ == HTLEFT || dragCode_ == HTTOPLEFT || dragCode_ == HTBOTTOMLEFT;
    const bool right = dragCode_ == HTRIGHT || dragCode_ == HTTOPRIGHT || dragCode_ == HTBOTTOMRIGHT;
    const bool top = dragCode_ == HTTOP || dragCode_ == HTTOPLEFT || dragCode_ == HTTOPRIGHT;
    const bool bottom = dragCode_ == HTBOTTOM || dragCode_ == HTBOTTOMLEFT || dragCode_ == HTBOTTOMRIGHT;
    if (left)
        dragged.setLeft(dragged.left() + delta.x());
    if (right)
        dragged.setRight(dragged.right() + delta.x());
    if (top)
        dragged.setTop(dragged.top() + delta.y());
    if (bottom)
        dragged.setBottom(dragged.bottom() + delta.y());
    if (minWidth_ > 0 && dragged.width() < minWidth_) {
        // Dragging the left edge keeps the right edge where it is, so the panel does not jump.
        if (left)
            dragged.setLeft(dragged.right() + 1 - minWidth_);
        else
            dragged.setWidth(minWidth_);
    }
    if (OnPanelResize)
        OnPanelResize(this, dragged);
    setGeometry(dragged.normalized());
}

void TPanelEx::EndSizeMove()
{
    dragCode_ = HTNOWHERE;
    if (minWidth_ > 0 && width() < minWidth_)
        resize(minWidth_, height());
    if (OnExitSizeMove)
        OnExitSizeMove(this);
    if (OnNCLMouseUp)
        OnNCLMouseUp(this);
}

void TPanelEx::mouseReleaseEvent(QMouseEvent *event)
{
    if (dragCode_ != HTNOWHERE && event->button() == Qt::LeftButton) {
        event->accept();
        EndSizeMove();
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

void TPanelEx::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int code = HitTest(event->position().toPoint());
    if (code == HTTRANSPARENT) {
        event->ignore();
        return;
    }
    if (code != HTCLIENT && event->button() == Qt::LeftButton) {
        event->accept();
        if (OnNCLMouseDblClk)
            OnNCLMouseDblClk(this);
        return;
    }
    QFrame::mouseDoubleClickEvent(event);
}

void TPanelEx::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT keyDown(event);
    if (!event->text().isEmpty())
        Q_EMIT keyPress(event->text());
    QFrame::keyPressEvent(event);
}

void TPanelEx::keyReleaseEvent(QKeyEvent *event)
{
    Q_EMIT keyUp(event);
    QFrame::keyReleaseEvent(event);
}

bool TPanelEx::focusNextPrevChild(bool next)
{
    if (OnNextDlgCtl)
        OnNextDlgCtl(this, next);
    return QFrame::focusNextPrevChild(next);
}
