// The picture class: what it reads from the header, its size in screen pixels, which bytes it
// refuses, and how Draw stretches the frame into a rectangle of any painter.
#include "platform/base/Exception.h"
#include "platform/emf/EmfPicture.h"
#include "tests/support/EmfWriter.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QtEndian>
#include <gtest/gtest.h>

using platform::TEmfPicture;
using testing_emf::EmfWriter;
using testing_emf::Near;

namespace {

const QColor kRed(255, 0, 0), kWhite(255, 255, 255);

QByteArray RedSquare(int size = 100)
{
    EmfWriter w(size, size);
    w.CreateBrush(1, 0, kRed);
    w.SelectObject(1);
    w.SelectObject(0x80000008);
    w.Rectangle(0, 0, size, size);
    return w.Finish();
}

void Put32(QByteArray &b, int at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

TEST(EmfPicture, ReadsTheHeader)
{
    const TEmfPicture picture(EmfWriter(120, 80).Finish());
    const auto &h = picture.Header();
    EXPECT_EQ(h.bounds, QRect(QPoint(0, 0), QPoint(119, 79)));
    EXPECT_EQ(h.frame, QRect(QPoint(0, 0), QPoint(3000, 2000)));
    EXPECT_EQ(h.devicePixels, QSize(1000, 1000));
    EXPECT_EQ(h.deviceMillimetres, QSize(250, 250));
}

TEST(EmfPicture, SizeIsTheFrameInScreenPixels)
{
    struct Row {
        int right, bottom, width, height;
    };
    // hundredths of a millimetre * 96 / 2540, rounded half away from zero
    const Row rows[] = {
        {2540, 1270, 96, 48},
        {21000, 29700, 794, 1123},
        {26, 13, 1, 0}, // 0.98 rounds up, 0.49 down
        {0, 0, 0, 0},
    };
    for (const Row &r : rows) {
        QByteArray bytes = EmfWriter().Finish();
        Put32(bytes, 32, quint32(r.right));
        Put32(bytes, 36, quint32(r.bottom));
        const TEmfPicture picture(bytes);
        EXPECT_EQ(picture.Size(), QSize(r.width, r.height)) << r.right << " x " << r.bottom;
    }
}

TEST(EmfPicture, RefusesBytesThatAreNotAnEmf)
{
    struct Row {
        const char *name;
        std::function<void(QByteArray &)> spoil;
    };
    const Row rows[] = {
        {"empty", [](QByteArray &b) { b.clear(); }},
        {"shorter than a header", [](QByteArray &b) { b.truncate(87); }},
        {"first record not a header", [](QByteArray &b) { Put32(b, 0, 2); }},
        {"wrong signature", [](QByteArray &b) { Put32(b, 40, 0x464D4521); }},
        {"header size below 88", [](QByteArray &b) { Put32(b, 4, 80); }},
        {"header size past the end", [](QByteArray &b) { Put32(b, 4, quint32(b.size() + 4)); }},
        {"a bitmap file", [](QByteArray &b) { b = QByteArray("BM") + QByteArray(200, '\0'); }},
    };
    for (const Row &r : rows) {
        QByteArray bytes = RedSquare();
        r.spoil(bytes);
        try {
            TEmfPicture picture(bytes);
            ADD_FAILURE() << r.name << " was accepted";
        } catch (const EInvalidGraphic &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Metafile is not valid")) << r.name;
        }
    }
}

TEST(EmfPicture, PlaysTheRecordsWhateverTotalSizeTheHeaderDeclares)
{
    // Regression: a declared size smaller than the bytes stopped playback there. The records
    // decide: playing ends at the end record or where the bytes end.
    const QByteArray square = RedSquare();
    const struct {
        const char *name;
        std::function<void(QByteArray &)> change;
    } rows[] = {
        {"as written", [](QByteArray &) {}},
        {"size of the header alone", [](QByteArray &b) { Put32(b, 48, 88); }},
        {"size of zero", [](QByteArray &b) { Put32(b, 48, 0); }},
        {"size beyond the bytes", [](QByteArray &b) { Put32(b, 48, quint32(b.size() + 1000)); }},
        {"cut before the end record", [](QByteArray &b) { b.chop(20); }},
        {"cut inside the end record", [](QByteArray &b) { b.chop(7); }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray bytes = square;
        row.change(bytes);
        QImage image(100, 100, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        TEmfPicture(bytes).Draw(painter, QRectF(0, 0, 100, 100));
        painter.end();
        EXPECT_TRUE(Near(image.pixel(50, 50), kRed));
    }
}

TEST(EmfPicture, DrawStretchesTheFrameIntoTheRectangle)
{
    QImage image(400, 200, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TEmfPicture(RedSquare()).Draw(painter, QRectF(100, 50, 200, 100));
    painter.end();
    EXPECT_TRUE(Near(image.pixel(105, 55), kRed));
    EXPECT_TRUE(Near(image.pixel(295, 145), kRed));
    EXPECT_TRUE(Near(image.pixel(95, 100), kWhite));
    EXPECT_TRUE(Near(image.pixel(305, 100), kWhite));
    EXPECT_TRUE(Near(image.pixel(200, 45), kWhite));
}

TEST(EmfPicture, DrawingStaysInsideTheRectangle)
{
    // The picture paints well beyond its own frame; nothing may spill over the target.
    EmfWriter w;
    w.CreateBrush(1, 0, kRed);
    w.SelectObject(1);
    w.Rectangle(-500, -500, 500, 500);
    QImage image(300, 300, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TEmfPicture(w.Finish()).Draw(painter, QRectF(100, 100, 100, 100));
    painter.end();
    EXPECT_TRUE(Near(image.pixel(150, 150), kRed));
    EXPECT_TRUE(Near(image.pixel(50, 150), kWhite));
    EXPECT_TRUE(Near(image.pixel(250, 250), kWhite));
}

TEST(EmfPicture, HonoursThePaintersTransformAndClip)
{
    QImage image(200, 200, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(2, 2);
    painter.setClipRect(QRectF(0, 0, 25, 50));
    TEmfPicture(RedSquare()).Draw(painter, QRectF(0, 0, 50, 50));
    painter.end();
    EXPECT_TRUE(Near(image.pixel(40, 90), kRed));
    EXPECT_TRUE(Near(image.pixel(60, 90), kWhite));  // clipped by the caller
    EXPECT_TRUE(Near(image.pixel(40, 110), kWhite)); // outside the target
}

TEST(EmfPicture, LeavesThePainterAsItWas)
{
    QImage image(100, 100, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 3));
    painter.setBrush(Qt::yellow);
    painter.translate(5, 7);
    const QTransform before = painter.worldTransform();
    EmfWriter w;
    w.SetWorldTransform(QTransform::fromScale(3, 3));
    w.IntersectClipRect(0, 0, 10, 10);
    w.SetRop2(7);
    w.Rectangle(0, 0, 20, 20);
    TEmfPicture(w.Finish()).Draw(painter, QRectF(0, 0, 50, 50));
    EXPECT_EQ(painter.worldTransform(), before);
    EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
    EXPECT_EQ(painter.brush().color(), QColor(Qt::yellow));
    EXPECT_FALSE(painter.hasClipping());
    EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
}

TEST(EmfPicture, FrameAwayFromTheOriginIsWhatGetsStretched)
{
    QByteArray bytes = RedSquare();
    // frame = device pixels 50..100 on both axes: the lower right quarter fills the target
    Put32(bytes, 24, 50 * 25);
    Put32(bytes, 28, 50 * 25);
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TEmfPicture(bytes).Draw(painter, QRectF(0, 0, 100, 100));
    painter.end();
    EXPECT_TRUE(Near(image.pixel(5, 5), kRed));
    EXPECT_TRUE(Near(image.pixel(95, 95), kRed));
}

TEST(EmfPicture, EmptyFrameFallsBackToTheBounds)
{
    QByteArray bytes = RedSquare();
    for (int at = 24; at < 40; at += 4)
        Put32(bytes, at, 0);
    Put32(bytes, 80, 0); // and no millimetre size either
    const QImage image = testing_emf::Render(bytes);
    EXPECT_TRUE(Near(image.pixel(50, 50), kRed));
}

TEST(EmfPicture, FrameMissingTheDrawingIsMovedOntoIt)
{
    // The drawing and its bounds lie at y -100..0, the frame claims 0..100.
    EmfWriter w;
    w.CreateBrush(1, 0, kRed);
    w.SelectObject(1);
    w.SelectObject(0x80000008);
    w.Rectangle(0, -100, 100, -50);
    QByteArray bytes = w.Finish();
    Put32(bytes, 12, quint32(-100));
    Put32(bytes, 20, quint32(-1));
    const QImage image = testing_emf::Render(bytes);
    EXPECT_TRUE(Near(image.pixel(50, 25), kRed));
    EXPECT_TRUE(Near(image.pixel(50, 75), kWhite));
}

TEST(EmfPicture, AFileCutShortPlaysWhatItHas)
{
    EmfWriter w;
    w.CreateBrush(1, 0, kRed);
    w.SelectObject(1);
    w.Rectangle(0, 0, 50, 50);
    w.Rectangle(50, 50, 100, 100);
    QByteArray bytes = w.Finish();
    bytes.chop(40); // the end record and half the second rectangle
    const QImage image = testing_emf::Render(bytes);
    EXPECT_TRUE(Near(image.pixel(25, 25), kRed));
    EXPECT_TRUE(Near(image.pixel(75, 75), kWhite));
}

TEST(EmfPicture, PlaysIntoAPdfWriter)
{
    EmfWriter w;
    w.CreateFont(1, -12, "Arial");
    w.SelectObject(1);
    w.ExtTextOutW(5, 5, "PDF", 0, {}, {8, 8, 8});
    w.IntersectClipRect(0, 0, 60, 60);
    w.StretchDIBits(QRect(0, 20, 40, 40), QRect(0, 0, 1, 1),
                    testing_emf::MakeDib(1, 1, 24, {}, {QByteArray("\0\0\xff", 3)}), 0x008800C6);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        QPainter painter(&pdf);
        TEmfPicture(w.Finish()).Draw(painter, QRectF(0, 0, 2000, 2000));
    }
    EXPECT_TRUE(buffer.data().startsWith("%PDF"));
    EXPECT_TRUE(buffer.data().contains("/Font"));
}

} // namespace
