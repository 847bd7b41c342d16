#include "printdialog/PrintDlgIcons.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

constexpr int kMode = 40; // the mode pictures' side
constexpr int kSmall = 9; // the arrows' side

// Draws the picture twice into a strip: in its colours, then in the greys of a disabled control.
QPixmap Strip(int w, int h, const std::function<void(QPainter &, bool enabled)> &draw)
{
    QPixmap strip(2 * w, h);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, false);
    draw(p, true);
    p.translate(w, 0);
    draw(p, false);
    return strip;
}

QColor Ink(bool enabled)
{
    return enabled ? QColor(0, 0, 0) : QColor(128, 128, 128);
}

QColor Paper(bool enabled)
{
    return enabled ? QColor(255, 255, 255) : QColor(212, 208, 200);
}

// A sheet with its shadow and lines of text in the rectangle.
void Sheet(QPainter &p, const QRect &r, bool enabled)
{
    p.fillRect(r.translated(2, 2), enabled ? QColor(128, 128, 128) : QColor(192, 192, 192));
    p.fillRect(r, Paper(enabled));
    p.setPen(Ink(enabled));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void Lines(QPainter &p, const QRect &r, bool enabled, const QColor &heading)
{
    p.setPen(enabled ? heading : Ink(false));
    p.drawLine(r.left(), r.top(), r.left() + r.width() * 2 / 3, r.top());
    p.setPen(enabled ? QColor(64, 64, 64) : Ink(false));
    for (int y = r.top() + 3; y <= r.bottom(); y += 3)
        p.drawLine(r.left(), y, r.right() - ((y / 3) % 3 == 0 ? r.width() / 4 : 0), y);
}

} // namespace

QPixmap IconNormalne()
{
    return Strip(kMode, kMode, [](QPainter &p, bool on) {
        const QRect sheet(9, 2, 22, 32);
        Sheet(p, sheet, on);
        Lines(p, sheet.adjusted(4, 4, -4, -4), on, QColor(0, 0, 160));
    });
}

QPixmap IconZmniejszone()
{
    return Strip(kMode, kMode, [](QPainter &p, bool on) {
        const QRect sheet(2, 8, 34, 24);
        Sheet(p, sheet, on);
        p.setPen(on ? QColor(160, 160, 160) : Ink(false));
        p.drawLine(19, 10, 19, 29);
        Lines(p, QRect(5, 11, 11, 18), on, QColor(0, 0, 160));
        Lines(p, QRect(22, 11, 11, 18), on, QColor(160, 0, 0));
    });
}

QPixmap IconKsiazeczka()
{
    return Strip(kMode, kMode, [](QPainter &p, bool on) {
        // Two pages rising from the fold like an open book, the fold a dark line.
        p.setRenderHint(QPainter::Antialiasing, true);
        const QColor ink = Ink(on), paper = Paper(on);
        QPainterPath left, right;
        left.moveTo(19, 9);
        left.cubicTo(14, 5, 7, 5, 2, 7);
        left.lineTo(2, 32);
        left.cubicTo(7, 30, 14, 30, 19, 34);
        left.closeSubpath();
        right = QTransform(-1, 0, 0, 1, 39, 0).map(left);
        p.setPen(QPen(ink, 1));
        p.setBrush(paper);
        p.drawPath(left);
        p.drawPath(right);
        p.setRenderHint(QPainter::Antialiasing, false);
        Lines(p, QRect(5, 11, 10, 16), on, QColor(0, 0, 160));
        Lines(p, QRect(24, 11, 10, 16), on, QColor(160, 0, 0));
        p.setPen(QPen(ink, 2));
        p.drawLine(19, 9, 19, 34);
    });
}

QPixmap IconPokazOpcje()
{
    return Strip(kSmall, kSmall, [](QPainter &p, bool on) {
        p.setPen(Ink(on));
        p.setBrush(Ink(on));
        // A triangle pointing right: the advanced options come forward.
        p.drawPolygon(QPolygon({QPoint(2, 0), QPoint(6, 4), QPoint(2, 8)}));
    });
}

QPixmap IconSchowajOpcje()
{
    return Strip(kSmall, kSmall, [](QPainter &p, bool on) {
        p.setPen(Ink(on));
        p.setBrush(Ink(on));
        p.drawPolygon(QPolygon({QPoint(6, 0), QPoint(2, 4), QPoint(6, 8)}));
    });
}
