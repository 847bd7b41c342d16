#include "platform/metafile/PageMetafile.h"
#include "platform/text/DrawText.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <functional>

using namespace platform;

namespace {

// Drawing that reaches across band edges in every way a record can: text with accents above the
// capitals, underlined and stretched text, thick pens with square caps and miter joins ending near
// an edge, hairlines, points, a rotated shape, a picture, a tiled picture and a clipped fill.
void PaintEdges(QPainter &p)
{
    const TFont big = CreateFont(-60, -20, 0, 0, 700, 0, 1, 0, 238, 0, 0, 1, 0, "Arial");
    const TFont wide = CreateFont(-24, -30, 0, 0, 400, 0, 0, 1, 238, 0, 0, 1, 0, "Courier New");
    TRect r{50, 95, 1400, 200};
    DrawTextEx(&p, big, QString::fromUtf8("ŻÓŁĆ Źdźbło ĄĘ gąj"), r, DT_NOPREFIX | DT_NOCLIP);
    r = {60, 301, 1400, 400};
    DrawTextEx(&p, wide, QStringLiteral("stretched and struck out"), r, DT_NOPREFIX | DT_NOCLIP);
    p.setPen(QPen(Qt::black, 12, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawLine(100, 490, 900, 490);
    p.drawPolyline(QPolygon({QPoint(100, 700), QPoint(400, 602), QPoint(700, 700)}));
    p.setPen(QPen(Qt::black, 0));
    p.drawLine(QLineF(50.5, 799.5, 1300.5, 800.5));
    p.drawPoints(QPolygon({QPoint(10, 899), QPoint(20, 900), QPoint(30, 901)}));
    p.setPen(QPen(Qt::darkGray, 5));
    p.setBrush(Qt::gray);
    p.drawRect(QRect(300, 1000, 0, 0));
    p.drawRects(QList<QRectF>{QRectF(400, 1001, 200, 98.5), QRectF(700, 1050, 100, 148)});
    QPainterPath path;
    path.moveTo(900, 1200);
    path.cubicTo(1000, 1100, 1100, 1300, 1200, 1199);
    p.drawPath(path);
    p.save();
    p.translate(200, 1300);
    p.rotate(33);
    p.drawEllipse(QRectF(0, 0, 300, 80));
    p.restore();
    QImage pic(16, 12, QImage::Format_RGB32);
    pic.fill(Qt::black);
    p.drawImage(QRectF(100, 1500.5, 160, 99), pic);
    p.drawTiledPixmap(QRect(400, 1550, 300, 150), QPixmap::fromImage(pic), QPoint(3, 5));
    p.setClipRect(QRect(800, 1600, 300, 300));
    p.fillRect(QRect(700, 1500, 600, 600), Qt::black);
}

// Letters of one face in every row of the page, as a listing has them.
void PaintListing(QPainter &p)
{
    const TFont courier = CreateFont(-13, -7, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Courier New");
    for (int y = 0; y < kPageHeight; y += 17) {
        TRect r{40, y, 1400, y + 17};
        DrawTextEx(&p, courier, QStringLiteral("%1 Pozycja zażółć | 12 345,67").arg(y), r, DT_NOPREFIX);
    }
}

PageMetafile Recorded(const std::function<void(QPainter &)> &paint)
{
    PageMetafile page;
    QPainter p(&page);
    paint(p);
    return page;
}

// The page played in bands of bandHeight rows into a w x h image, each band clipped to its rows as
// a printer's band is, with every record played or only those reaching the band.
QImage InBands(const PageMetafile &page, int w, int h, int bandHeight, bool visibleOnly)
{
    QImage whole(w, h, QImage::Format_RGB32);
    QImage band(w, bandHeight, QImage::Format_RGB32);
    for (int done = 0; done < h; done += bandHeight) {
        const int rows = std::min(bandHeight, h - done);
        band.fill(Qt::white);
        {
            QPainter p(&band);
            p.setClipRect(0, 0, w, rows);
            const QRectF target(0, -done, w, h);
            if (visibleOnly)
                page.EnumerateVisible(p, target, QRectF(0, 0, w, rows), {});
            else
                page.Enumerate(p, target, {});
        }
        for (int y = 0; y < rows; ++y)
            std::copy_n(band.constScanLine(y), band.bytesPerLine(), whole.scanLine(done + y));
    }
    return whole;
}

} // namespace

TEST(PageMetafileBands, PassingOverRecordsOutsideABandKeepsEveryPixel)
{
    const struct {
        const char *name;
        void (*paint)(QPainter &);
        qreal scale;
        int bands;
    } cases[] = {
        {"edges, 300 dpi", PaintEdges, 300.0 / 96, 20},     {"edges, 96 dpi", PaintEdges, 1, 20},
        {"edges, thumbnail", PaintEdges, 0.2, 20},          {"edges, thin bands", PaintEdges, 1, 200},
        {"listing, 300 dpi", PaintListing, 300.0 / 96, 20}, {"listing, thin bands", PaintListing, 1.5, 300},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const PageMetafile page = Recorded(c.paint);
        const int w = int(kPageWidth * c.scale), h = int(kPageHeight * c.scale);
        const int bandHeight = std::max(1, h / c.bands);
        const QImage all = InBands(page, w, h, bandHeight, false);
        EXPECT_EQ(InBands(page, w, h, bandHeight, true), all);
        EXPECT_NE(all, InBands(PageMetafile(), w, h, bandHeight, false)); // the scene drew something
    }
}

TEST(PageMetafileBands, OnlyTheTextReachingTheBandIsPlayed)
{
    // Played into another page, the glyphs that reach the band come out as records again.
    const PageMetafile listing = Recorded(PaintListing);
    const auto playedGlyphs = [&](const QRectF &visible) {
        PageMetafile copy;
        {
            QPainter p(&copy);
            listing.EnumerateVisible(p, QRectF(0, 0, kPageWidth, kPageHeight), visible, {});
        }
        qsizetype glyphs = 0;
        copy.Visit([&](MetaRecord &r) {
            glyphs += r.type == EmrExtTextOutW ? r.glyphs.size() : 0;
            return true;
        });
        return glyphs;
    };
    const qsizetype all = playedGlyphs(QRectF(0, 0, kPageWidth, kPageHeight));
    const qsizetype band = playedGlyphs(QRectF(0, 1000, kPageWidth, 100));
    EXPECT_GT(band, 0);
    EXPECT_LT(band * 10, all);
    EXPECT_EQ(playedGlyphs(QRectF(0, 3 * kPageHeight, kPageWidth, 100)), 0);
}
