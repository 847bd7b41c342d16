#include "tests/support/Letterhead.h"

#include "platform/text/DrawText.h"

#include <QImage>
#include <QPolygonF>

#include <cmath>

namespace wydtest {

void DrawLetterhead(QPainter &p, const QRectF &target, Qt::BrushStyle frame)
{
    p.save();
    p.setClipRect(target.adjusted(10, 10, -10, -10), Qt::IntersectClip);
    p.setPen(QPen(Qt::darkGreen, 5));
    p.setBrush(QBrush(Qt::darkRed, frame));
    p.setBrushOrigin(7, 3);
    p.drawRect(target.adjusted(20, 20, -400, -20));
    QImage logo(8, 8, QImage::Format_RGB32);
    logo.fill(QColor(0, 90, 200));
    logo.setPixelColor(3, 3, Qt::yellow);
    p.drawImage(QRectF(target.right() - 150, target.top() + 20, 120, 120), logo);
    QPolygonF wave;
    for (int i = 0; i < 2000; ++i)
        wave << QPointF(target.left() + 20 + i * 0.5, target.top() + 120 + 20 * std::sin(i / 40.0));
    p.drawPolyline(wave);
    platform::TRect r{int(target.left()) + 300, int(target.top()) + 30, int(target.left()) + 900,
                      int(target.top()) + 90};
    platform::DrawTextEx(&p, platform::CreateFont(-24, -11, 0, 0, 700, 0, 0, 0, 238, 0, 0, 1, 0, "Arial"),
                         QStringLiteral("Firma Przykład Sp. z o.o."), r, platform::DT_NOPREFIX | platform::DT_NOCLIP);
    p.restore();
}

} // namespace wydtest
