#include "ui/SearchAnimation.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace {

void DrawFrame(QPainter &p, int frame, const QSize &size)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    // The page being searched, centred in the column.
    const QRectF page(size.width() / 2.0 - 13, size.height() / 2.0 - 16, 24, 30);
    QPainterPath sheet;
    sheet.moveTo(page.topLeft());
    sheet.lineTo(page.right() - 6, page.top());
    sheet.lineTo(page.right(), page.top() + 6);
    sheet.lineTo(page.bottomRight());
    sheet.lineTo(page.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x50, 0x50, 0x60), 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setPen(QPen(QColor(0xa0, 0xa8, 0xc0), 1.2));
    for (int i = 0; i < 6; ++i) {
        const qreal y = page.top() + 7 + i * 3.7;
        p.drawLine(QPointF(page.left() + 4, y), QPointF(page.right() - (i % 3 == 2 ? 9 : 4), y));
    }
    // The glass circles over the page, one eighth of a turn per frame.
    const qreal angle = 2 * std::numbers::pi * frame / TSearchAnimation::kFrames;
    const QPointF centre(page.center().x() + 6 * std::cos(angle), page.center().y() - 2 + 7 * std::sin(angle));
    p.setPen(QPen(QColor(0x6a, 0x42, 0x10), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(5, 5), centre + QPointF(10.5, 10.5));
    p.setPen(QPen(QColor(0x30, 0x30, 0x38), 2));
    QRadialGradient lens(centre - QPointF(2, 2), 7);
    lens.setColorAt(0, QColor(0xe8, 0xf4, 0xff, 200));
    lens.setColorAt(1, QColor(0x90, 0xc0, 0xf0, 150));
    p.setBrush(lens);
    p.drawEllipse(centre, 6.5, 6.5);
}

} // namespace

TSearchAnimation::TSearchAnimation(QWidget *parent) : QWidget(parent)
{
    timer_.setInterval(kFrameMs);
    connect(&timer_, &QTimer::timeout, this, &TSearchAnimation::NextFrame);
}

void TSearchAnimation::Start()
{
    timer_.start();
}

void TSearchAnimation::Stop()
{
    timer_.stop();
}

void TSearchAnimation::NextFrame()
{
    frame_ = (frame_ + 1) % kFrames;
    update();
}

QImage TSearchAnimation::RenderFrame(int frame, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    DrawFrame(p, frame, size);
    return image;
}

void TSearchAnimation::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    DrawFrame(p, frame_, size());
}
