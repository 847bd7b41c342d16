#include "ui/Glyphs.h"

#include "ui/WinFonts.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap Canvas(int w, int h)
{
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

void Smooth(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

void Tick(QPainter &p, const QRectF &r, const QColor &colour, qreal width)
{
    QPainterPath path;
    path.moveTo(r.left() + r.width() * 0.12, r.top() + r.height() * 0.55);
    path.lineTo(r.left() + r.width() * 0.40, r.top() + r.height() * 0.82);
    path.lineTo(r.left() + r.width() * 0.90, r.top() + r.height() * 0.18);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void Cross(QPainter &p, const QRectF &r, const QColor &colour, qreal width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
}

} // namespace

QPixmap HintBarCancelGlyph()
{
    QPixmap pm = Canvas(16, 16);
    QPainter p(&pm);
    Smooth(p);
    Cross(p, QRectF(3.5, 3.5, 9, 9), QColor(0x60, 0, 0), 3.6);
    Cross(p, QRectF(3.5, 3.5, 9, 9), QColor(0xff, 0x40, 0x30), 2.2);
    return pm;
}

QPixmap HintBarAcceptGlyph()
{
    QPixmap pm = Canvas(16, 16);
    QPainter p(&pm);
    Smooth(p);
    Tick(p, QRectF(1, 2, 14, 12), QColor(0, 0x50, 0), 3.6);
    Tick(p, QRectF(1, 2, 14, 12), QColor(0x30, 0xe0, 0x30), 2.2);
    return pm;
}

QPixmap HintBarHelpGlyph()
{
    QPixmap pm = Canvas(12, 12);
    QPainter p(&pm);
    Smooth(p);
    p.setPen(QPen(QColor(0xc8, 0xdc, 0xff), 1));
    p.setBrush(QColor(0x20, 0x60, 0xd0));
    p.drawEllipse(QRectF(0.5, 0.5, 11, 11));
    p.setPen(Qt::white);
    p.setFont(WinFont(QStringLiteral("Arial"), 10, true));
    p.drawText(QRectF(0, 0, 12, 12.5), Qt::AlignCenter, QStringLiteral("?"));
    return pm;
}

QPixmap TickGlyph()
{
    QPixmap pm = Canvas(16, 16);
    QPainter p(&pm);
    Smooth(p);
    Tick(p, QRectF(1, 2, 14, 12), QColor(0, 0x90, 0), 2.6);
    return pm;
}

QPixmap CrossGlyph()
{
    QPixmap pm = Canvas(16, 16);
    QPainter p(&pm);
    Smooth(p);
    Cross(p, QRectF(3.5, 3.5, 9, 9), QColor(0xc8, 0x10, 0x10), 2.6);
    return pm;
}

QPixmap NoGlyph()
{
    QPixmap pm = Canvas(16, 16);
    QPainter p(&pm);
    Smooth(p);
    p.setPen(QPen(QColor(0xc8, 0x10, 0x10), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2, 2, 12, 12));
    p.drawLine(QPointF(4.2, 11.8), QPointF(11.8, 4.2));
    return pm;
}

QPixmap QuestionPicture()
{
    QPixmap pm = Canvas(41, 40);
    QPainter p(&pm);
    Smooth(p);
    // A speech bubble with a question mark.
    QPainterPath bubble;
    bubble.addEllipse(QRectF(2.5, 1.5, 36, 31));
    QPainterPath tail;
    tail.moveTo(10, 26);
    tail.lineTo(6, 38.5);
    tail.lineTo(20, 30);
    bubble = bubble.united(tail);
    QLinearGradient fill(0, 0, 0, 40);
    fill.setColorAt(0, QColor(0x6f, 0xa8, 0xf5));
    fill.setColorAt(1, QColor(0x1d, 0x55, 0xc2));
    p.setPen(QPen(QColor(0x10, 0x30, 0x80), 1.2));
    p.setBrush(fill);
    p.drawPath(bubble);
    p.setPen(Qt::white);
    p.setFont(WinFont(QStringLiteral("Times New Roman"), 27, true));
    p.drawText(QRectF(2.5, 2, 36, 31), Qt::AlignCenter, QStringLiteral("?"));
    return pm;
}

QPixmap ExclamationPicture()
{
    QPixmap pm = Canvas(39, 41);
    QPainter p(&pm);
    Smooth(p);
    // A warning triangle with an exclamation mark.
    QPainterPath triangle;
    triangle.moveTo(19.5, 3);
    triangle.lineTo(37, 36);
    triangle.lineTo(2, 36);
    triangle.closeSubpath();
    QLinearGradient fill(0, 3, 0, 36);
    fill.setColorAt(0, QColor(0xff, 0xe8, 0x60));
    fill.setColorAt(1, QColor(0xf2, 0xb8, 0x10));
    p.setPen(QPen(QColor(0x70, 0x50, 0x00), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x18, 0x00));
    QPainterPath bar;
    bar.moveTo(17.2, 13);
    bar.lineTo(21.8, 13);
    bar.lineTo(20.6, 26);
    bar.lineTo(18.4, 26);
    bar.closeSubpath();
    p.drawPath(bar);
    p.drawEllipse(QRectF(17.5, 28, 4, 4));
    return pm;
}
