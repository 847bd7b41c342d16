#include "platform/DrawText.h"
#include "platform/PageMetafile.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace platform;

namespace {

// A page with a bit of everything: text in two fonts and colours, a rule, a grey box, a picture.
void PaintScene(QPainter &p)
{
    TFont courier = CreateFont(-24, -11, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Courier New");
    TFont arial = CreateFont(-30, -13, 0, 0, 700, 0, 1, 0, 238, 0, 0, 1, 0, "Arial");
    arial.SetColor(QColor(200, 0, 0));
    p.fillRect(QRect(100, 380, 600, 120), QColor(192, 192, 192));
    TRect r{100, 100, 1300, 200};
    DrawTextEx(&p, courier, QString::fromUtf8("Zażółć gęślą jaźń 1234567890"), r, DT_NOPREFIX | DT_NOCLIP);
    r = {100, 200, 700, 300};
    DrawTextEx(&p, arial, QStringLiteral("Right aligned and clipped to its box"), r, DT_NOPREFIX | DT_RIGHT);
    p.setPen(QPen(QColor(0, 0, 200), 3));
    p.drawLine(100, 350, 1300, 350);
    QImage pic(40, 30, QImage::Format_RGB32);
    pic.fill(QColor(0, 160, 0));
    p.drawImage(QRect(800, 380, 80, 60), pic);
    p.save();
    p.translate(100, 600);
    p.rotate(10);
    p.setBrush(Qt::yellow);
    p.drawEllipse(QRectF(0, 0, 200, 100));
    p.restore();
}

QImage Blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    return img;
}

int DifferentPixels(const QImage &a, const QImage &b)
{
    int diff = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                ++diff;
    return diff;
}

} // namespace

TEST(PageMetafile, PlaysLikeDirectPainting)
{
    QImage direct = Blank(kPageWidth, kPageHeight);
    {
        QPainter p(&direct);
        PaintScene(p);
    }
    PageMetafile page;
    {
        QPainter p(&page);
        PaintScene(p);
    }
    QImage played = Blank(kPageWidth, kPageHeight);
    {
        QPainter p(&played);
        page.Play(p, QRectF(0, 0, kPageWidth, kPageHeight));
    }
    played.save("/tmp/played.png");
    direct.save("/tmp/direct.png");
    EXPECT_EQ(DifferentPixels(direct, played), 0);
}
