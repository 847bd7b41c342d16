// Hostile and broken records: each is skipped (or stops playback when its size leaves no way to
// the next record) without crashing or hanging, and the records around it still draw.
#include "platform/emf/EmfPicture.h"
#include "tests/support/EmfWriter.h"

#include <QElapsedTimer>
#include <QtEndian>
#include <climits>
#include <functional>
#include <gtest/gtest.h>

using testing_emf::EmfWriter;
using testing_emf::Near;
using testing_emf::Render;

namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255);

QByteArray Ints(std::initializer_list<qint64> values)
{
    QByteArray b;
    for (qint64 v : values) {
        char c[4];
        qToLittleEndian(quint32(v), c);
        b.append(c, 4);
    }
    return b;
}

struct Case {
    const char *name;
    std::function<void(EmfWriter &)> bad;
    bool continues = true;   // whether the records after the bad one are reached
    bool paintsOver = false; // whether the bad records legitimately paint over the left half
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

class Hostile : public ::testing::TestWithParam<Case> {};

TEST_P(Hostile, SkippedWithoutHarm)
{
    EmfWriter w;
    w.CreateBrush(1, 0, kRed);
    w.CreateBrush(2, 0, kBlue);
    w.SelectObject(1);
    w.SelectObject(0x80000008);
    w.Rectangle(0, 0, 50, 100);
    w.SaveDC();
    GetParam().bad(w);
    w.RestoreDC(-1);
    w.SelectObject(2);
    w.Rectangle(50, 0, 100, 100);
    QElapsedTimer timer;
    timer.start();
    const QImage image = Render(w.Finish());
    EXPECT_LT(timer.elapsed(), 5000);
    if (!GetParam().paintsOver) {
        EXPECT_TRUE(Near(image.pixel(25, 50), kRed));
    }
    if (GetParam().continues) {
        EXPECT_TRUE(Near(image.pixel(75, 50), kBlue)) << std::hex << image.pixel(75, 50);
    }
}

const QByteArray kBounds = Ints({0, 0, 0, 0});

const Case kCases[] = {
    {"PolygonCountPastTheRecord",
     [](EmfWriter &w) {
         w.Raw(3, kBounds + Ints({0x7FFFFFFF, 1, 1, 2, 2}));
     }},
    {"Polygon16CountPastTheRecord",
     [](EmfWriter &w) {
         w.Raw(86, kBounds + Ints({0xFFFFFFFF, 0x00010001}));
     }},
    {"PolyPolygonCountsPastTheTotal",
     [](EmfWriter &w) {
         w.Raw(8, kBounds + Ints({2, 4, 3, 0xFFFFFFFF, 0, 0, 9, 0, 9, 9, 0, 9}));
     }},
    {"PolyPolygonWithHugePolygonCount",
     [](EmfWriter &w) {
         w.Raw(91, kBounds + Ints({0x40000000, 2, 2, 0}));
     }},
    {"PolyDrawTypesMissing",
     [](EmfWriter &w) {
         w.Raw(56, kBounds + Ints({2, 0, 0, 9, 9}));
     }},
    {"BezierWithAWrongCount",
     [](EmfWriter &w) {
         w.Poly(2, {{0, 0}, {9, 9}}, false);
     }},
    {"SelectOutOfRangeIndexes",
     [](EmfWriter &w) {
         for (quint32 i : {0u, 3u, 0xFFFFu, 70000u, 0x7FFFFFFFu, 0x80000063u})
             w.SelectObject(i);
     }},
    {"CreateAtIndexZeroOrFarAway",
     [](EmfWriter &w) {
         w.CreateBrush(0, 0, QColor(0, 255, 0));
         w.CreateBrush(0x7FFFFFFF, 0, QColor(0, 255, 0));
         w.SelectObject(0);
         w.SelectObject(0x7FFFFFFF);
         w.Rectangle(0, 0, 50, 100); // still red
     }},
    {"DeleteOutOfRange",
     [](EmfWriter &w) {
         w.DeleteObject(0xFFFFFFFF);
         w.DeleteObject(0);
     }},
    {"TruncatedCreateFont",
     [](EmfWriter &w) {
         w.Raw(82, Ints({3, -20}));
         w.SelectObject(3);
     }},
    {"FontWithExtremeSizes",
     [](EmfWriter &w) {
         w.CreateFont(3, INT_MIN, "Arial", INT_MAX, INT_MIN);
         w.SelectObject(3);
         w.ExtTextOutW(10, 10, "Hello");
         w.CreateFont(4, INT_MAX, "Arial");
         w.SelectObject(4);
         w.ExtTextOutW(10, 10, "Hello");
     }},
    {"TextCountPastTheRecord",
     [](EmfWriter &w) {
         w.Raw(84, kBounds + Ints({1, 0, 0, 0, 0, 0x7FFFFFFF, 76, 0, 0, 0, 0, 0, 0}) + QByteArray(8, 'A'));
     }},
    {"TextOffsetsPastTheRecord",
     [](EmfWriter &w) {
         w.Raw(84, kBounds + Ints({1, 0, 0, 0, 0, 2, 0xFFFFFFF0, 0, 0, 0, 0, 0, 0xFFFFFFF0}) + QByteArray(8, 'A'));
         w.Raw(83, kBounds + Ints({1, 0, 0, 0, 0, 2, 76, 0, 0, 0, 0, 0, 0x7FFFFFF0}) + QByteArray(8, 'A'));
     }},
    {"PolyTextOutWithHugeCount",
     [](EmfWriter &w) {
         w.Raw(97, kBounds + Ints({1, 0, 0, 0x10000000}));
     }},
    {"RegionCountPastTheRecord",
     [](EmfWriter &w) {
         w.Raw(75, Ints({48, 5, 32, 1, 0x10000000, 0, 0, 0, 9, 9, 0, 0, 9, 9}));
     }},
    {"RegionSizePastTheRecord",
     [](EmfWriter &w) {
         w.Raw(75, Ints({0x7FFFFFFF, 1, 32, 1, 1, 16}));
     }},
    {"FillRegionWithABadBrush",
     [](EmfWriter &w) {
         w.Raw(71, kBounds + Ints({48, 77, 32, 1, 1, 16, 0, 0, 0, 0, 0, 0, 50, 100}));
     }},
    {"RestoreDcExtremes",
     [](EmfWriter &w) {
         w.RestoreDC(INT_MIN);
         w.RestoreDC(INT_MAX);
         w.RestoreDC(0);
     }},
    {"NonFiniteWorldTransforms",
     [](EmfWriter &w) {
         w.SetWorldTransform(QTransform(qInf(), 0, 0, 1, 0, 0));
         w.SetWorldTransform(QTransform(qQNaN(), 0, 0, 1, 0, 0));
         w.ModifyWorldTransform(QTransform(1e30, 0, 0, 1e30, 0, 0), 2);
         w.ModifyWorldTransform(QTransform(1e30, 0, 0, 1e30, 0, 0), 2);
         w.ModifyWorldTransform(QTransform(), 99);
     }},
    {"ZeroAndExtremeExtents",
     [](EmfWriter &w) {
         w.SetMapMode(8);
         w.SetWindowExt(0, 0);
         w.SetViewportExt(INT_MIN, INT_MIN);
         w.SetWindowExt(1, 1);
         w.Raw(31, Ints({1, 0, 1, 0})); // scale by 1/0
         w.SetMapMode(99);
         w.Rectangle(0, 0, 5, 5);
     }},
    {"HugeCoordinatesAndPens",
     [](EmfWriter &w) {
         w.CreatePen(3, 0, INT_MAX, QColor(0, 255, 0));
         w.SelectObject(3);
         w.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
         w.Poly(4, {{INT_MIN, 0}, {INT_MAX, 0}}, false);
         w.ExtCreatePen(4, 0x10000 | 2, 1, QColor(0, 255, 0)); // dotted
         w.SelectObject(4);
         w.Poly(4, {{INT_MIN, 5}, {INT_MAX, 5}}, false);
         w.CreatePen(5, 2, 0, QColor(0, 255, 0)); // cosmetic dots over two billion units
         w.SelectObject(5);
         w.Poly(4, {{INT_MIN, 5}, {INT_MAX, 5}}, false);
         w.SelectObject(0x80000005);
         w.SelectObject(0x80000008);
     },
     true, true},
    {"AngleArcWithNonsense",
     [](EmfWriter &w) {
         const float nan = qQNaN(), big = 1e30f;
         QByteArray b = Ints({10, 10, 0xFFFFFFFF});
         b.append(reinterpret_cast<const char *>(&nan), 4);
         b.append(reinterpret_cast<const char *>(&big), 4);
         w.Raw(41, b);
         b = Ints({10, 10, 5});
         b.append(reinterpret_cast<const char *>(&big), 4);
         b.append(reinterpret_cast<const char *>(&big), 4);
         w.Raw(41, b);
     }},
    {"BitmapOffsetsPastTheRecord",
     [](EmfWriter &w) {
         w.Raw(81, kBounds + Ints({0, 0, 0, 0, 2, 2, 0xFFFFFFF0, 40, 80, 12, 0, 0xCC0020, 50, 50}));
         w.Raw(81, kBounds + Ints({0, 0, 0, 0, 2, 2, 80, 0x7FFFFFFF, 80, 12, 0, 0xCC0020, 50, 50}));
     }},
    {"BitmapWithNegativeSizes",
     [](EmfWriter &w) {
         const auto dib = testing_emf::MakeDib(2, 2, 24, {}, {QByteArray(6, '\x10'), QByteArray(6, '\x10')});
         // StretchDIBits: destination, source rectangle and destination size at their extremes
         const std::initializer_list<qint64> sizes[] = {{0, 0, INT_MIN, INT_MIN, INT_MIN, -5, INT_MIN, INT_MIN},
                                                        {INT_MAX, INT_MAX, 0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                                                        {50, 50, 0, 0, -2, INT_MIN, -50, -50}};
         for (const auto &v : sizes) {
             const qint64 *a = v.begin();
             QByteArray b = kBounds + Ints({a[0], a[1], a[2], a[3], a[4], a[5], 80, dib.info.size(),
                                            80 + dib.info.size(), dib.bits.size(), 0, 0xCC0020, a[6], a[7]});
             w.Raw(81, b + dib.info + dib.bits);
         }
     }},
    {"BitmapClaimingAGiantSize",
     [](EmfWriter &w) {
         auto dib = testing_emf::MakeDib(2, 2, 32, {}, {QByteArray(8, '\x10'), QByteArray(8, '\x10')});
         qToLittleEndian<qint32>(100000, dib.info.data() + 4);
         qToLittleEndian<qint32>(-100000, dib.info.data() + 8);
         w.StretchDIBits(QRect(0, 0, 50, 50), QRect(0, 0, 2, 2), dib);
         qToLittleEndian<qint32>(4000, dib.info.data() + 4);
         qToLittleEndian<qint32>(4000, dib.info.data() + 8);
         w.StretchDIBits(QRect(0, 0, 50, 50), QRect(0, 0, 2, 2), dib); // bits for 2 x 2 only
         w.SetDIBitsToDevice(QPoint(0, 0), QRect(0, 0, 2, 2), dib, 0xFFFFFFF0, 0x7FFFFFFF);
     }},
    {"PatternBrushFromBrokenBitmap",
     [](EmfWriter &w) {
         w.Raw(94, Ints({3, 0, 0xFFFF, 40, 0, 0}));
         w.SelectObject(3);
     }},
    {"PaletteWithWildCounts",
     [](EmfWriter &w) {
         w.Raw(49, Ints({3, 0xFFFF0300}));
         w.Raw(50, Ints({3, 0xFFFFFFF0, 0xFFFFFFFF, 0x00FF00}));
         w.Raw(48, Ints({3}));
     }},
    {"CommentClaimingMoreThanItHas", [](EmfWriter &w) { w.Raw(70, Ints({0x7FFFFFFF}) + "EMF+"); }},
    {"SecondHeaderInTheMiddle", [](EmfWriter &w) { w.Raw(1, QByteArray(100, '\xff')); }},
    {"RecordsCutShortOfTheirFields",
     [](EmfWriter &w) {
         for (quint32 type = 2; type <= 122; ++type)
             if (type != 14)
                 w.Raw(type, {});
     }},
    {"GradientWithBadIndexes",
     [](EmfWriter &w) {
         w.Raw(118, kBounds + Ints({1, 1, 0, 0, 0, 0, 0, 5, 9}));
         w.Raw(118, kBounds + Ints({0x7FFFFFFF, 0x7FFFFFFF, 2}));
     }},
    {"RecordLongerThanTheFile",
     [](EmfWriter &w) {
         w.Bytes(Ints({43, 0x7FFFFFF0, 0, 0, 9, 9}));
     },
     false},
    {"RecordShorterThanItsHeader",
     [](EmfWriter &w) {
         w.Bytes(Ints({43, 4, 0, 0, 9, 9}));
     },
     false},
    {"RecordOfSizeZero",
     [](EmfWriter &w) {
         w.Bytes(Ints({43, 0}));
     },
     false},
};

INSTANTIATE_TEST_SUITE_P(Emf, Hostile, ::testing::ValuesIn(kCases),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(EmfHostile, TextInsideAPathAndClipsOfManyRectanglesStayBounded)
{
    EmfWriter w;
    QList<QRect> rects;
    for (int i = 0; i < 3000; ++i)
        rects.append(QRect(i % 100, i / 100, 1, 1));
    for (int i = 0; i < 20; ++i) {
        w.ExtSelectClipRgn(rects, 2 + i % 3); // or, xor, diff over thousands of rectangles
        w.BeginPath();
        w.ExtTextOutW(0, 0, QString(200, 'W'));
        w.EndPath();
        w.SelectClipPath(1);
    }
    QElapsedTimer timer;
    timer.start();
    Render(w.Finish());
    EXPECT_LT(timer.elapsed(), 10000);
}

} // namespace
