// Bitmaps: every DIB layout decodes to the right colours, and each bit-block record puts them
// where it says, with its raster operation.
#include "platform/emf/EmfDib.h"
#include "tests/support/EmfWriter.h"

#include <QtEndian>
#include <gtest/gtest.h>

using testing_emf::DibData;
using testing_emf::EmfWriter;
using testing_emf::MakeDib;
using testing_emf::Near;
using testing_emf::Render;

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255), kYellow(255, 255, 0), kWhite(255, 255, 255),
    kBlack(0, 0, 0);

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

QByteArray Words16(std::initializer_list<quint16> values)
{
    QByteArray b;
    for (quint16 v : values) {
        b.append(char(v & 0xFF));
        b.append(char(v >> 8));
    }
    return b;
}

QByteArray Words32(std::initializer_list<quint32> values)
{
    QByteArray b;
    for (quint32 v : values) {
        char c[4];
        qToLittleEndian(v, c);
        b.append(c, 4);
    }
    return b;
}

// Every layout below holds the same 2 x 2 picture: red, green on the top row; blue, yellow below.
struct Layout {
    const char *name;
    DibData dib;
};

void PrintTo(const Layout &l, std::ostream *os)
{
    *os << l.name;
}

const QList<QRgb> kTable = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)};

std::vector<Layout> Layouts()
{
    return {
        {"Pal1", MakeDib(2, 2, 1, {qRgb(255, 0, 0), qRgb(0, 0, 255)}, {Bytes({0x40}), Bytes({0x80})})},
        {"Pal4", MakeDib(2, 2, 4, kTable, {Bytes({0x01}), Bytes({0x23})})},
        {"Pal8", MakeDib(2, 2, 8, kTable, {Bytes({0, 1}), Bytes({2, 3})})},
        {"Pal8TopDown", MakeDib(2, 2, 8, kTable, {Bytes({0, 1}), Bytes({2, 3})}, true)},
        {"Rgb555", MakeDib(2, 2, 16, {}, {Words16({0x7C00, 0x03E0}), Words16({0x001F, 0x7FE0})})},
        {"Bitfields565", MakeDib(2, 2, 16, {}, {Words16({0xF800, 0x07E0}), Words16({0x001F, 0xFFE0})}, false, 0,
                                 {0xF800, 0x07E0, 0x001F})},
        {"Rgb24", MakeDib(2, 2, 24, {}, {Bytes({0, 0, 255, 0, 255, 0}), Bytes({255, 0, 0, 0, 255, 255})})},
        {"Rgb32", MakeDib(2, 2, 32, {}, {Words32({0xFF0000, 0x00FF00}), Words32({0x0000FF, 0xFFFF00})})},
        {"Bitfields32Swapped", MakeDib(2, 2, 32, {}, {Words32({0x0000FF, 0x00FF00}), Words32({0xFF0000, 0x00FFFF})},
                                       false, 0, {0x000000FF, 0x0000FF00, 0x00FF0000})},
        // RLE rows run from the bottom: blue, yellow first
        {"Rle8", MakeDib(2, 2, 8, kTable, {Bytes({1, 2, 1, 3, 0, 0, 1, 0, 1, 1, 0, 1})}, false, 1)},
        // an absolute run of three, padded to a word; the third pixel falls past the width
        {"Rle8Absolute", MakeDib(2, 2, 8, kTable, {Bytes({0, 3, 2, 3, 9, 0, 0, 0, 1, 0, 1, 1, 0, 1})}, false, 1)},
        {"Rle4", MakeDib(2, 2, 4, kTable, {Bytes({2, 0x23, 0, 0, 1, 0x00, 1, 0x11, 0, 1})}, false, 2)},
    };
}

class DibLayouts : public ::testing::TestWithParam<Layout> {};

TEST_P(DibLayouts, DecodeToTheirColours)
{
    EmfWriter w;
    w.StretchDIBits(QRect(0, 0, 100, 100), QRect(0, 0, 2, 2), GetParam().dib);
    const QImage image = Render(w.Finish());
    const bool mono = QByteArray(GetParam().name) == "Pal1";
    EXPECT_TRUE(Near(image.pixel(25, 25), kRed)) << std::hex << image.pixel(25, 25);
    EXPECT_TRUE(Near(image.pixel(75, 25), mono ? kBlue : kGreen)) << std::hex << image.pixel(75, 25);
    EXPECT_TRUE(Near(image.pixel(25, 75), kBlue)) << std::hex << image.pixel(25, 75);
    EXPECT_TRUE(Near(image.pixel(75, 75), mono ? kRed : kYellow)) << std::hex << image.pixel(75, 75);
}

INSTANTIATE_TEST_SUITE_P(Emf, DibLayouts, ::testing::ValuesIn(Layouts()),
                         [](const auto &p) { return std::string(p.param.name); });

platform::emf::Dib Decode(const DibData &d, const QList<QRgb> &palette = {}, quint32 usage = 0)
{
    platform::emf::DibBytes b;
    b.info = reinterpret_cast<const uchar *>(d.info.constData());
    b.infoSize = quint32(d.info.size());
    b.bits = reinterpret_cast<const uchar *>(d.bits.constData());
    b.bitsSize = quint32(d.bits.size());
    b.usage = usage;
    return platform::emf::DecodeDib(b, palette);
}

TEST(Dib, RleDeltaSkipsPixelsAndLeavesThemTransparent)
{
    // delta (1, 1): from the bottom-left pixel to the top-right one
    const DibData d = MakeDib(2, 2, 8, kTable, {Bytes({0, 2, 1, 1, 1, 3, 0, 1})}, false, 1);
    const auto dib = Decode(d);
    ASSERT_FALSE(dib.image.isNull());
    EXPECT_EQ(qAlpha(dib.image.pixel(0, 1)), 0);
    EXPECT_EQ(dib.image.pixel(1, 0), qRgb(255, 255, 0));
}

TEST(Dib, PaletteIndexesTakeTheSelectedPalette)
{
    DibData d = MakeDib(2, 1, 8, {}, {Bytes({0, 1})});
    d.info.truncate(40);
    d.info[32] = 2; // two colour entries, as 16-bit palette indexes
    d.info += Words16({1, 0});
    const auto dib = Decode(d, {qRgb(10, 20, 30), qRgb(200, 100, 50)}, 1);
    ASSERT_FALSE(dib.image.isNull());
    EXPECT_EQ(dib.image.pixel(0, 0), qRgb(200, 100, 50));
    EXPECT_EQ(dib.image.pixel(1, 0), qRgb(10, 20, 30));
}

TEST(Dib, ShortBitsLeaveTheMissingRowsWhite)
{
    DibData d = MakeDib(1, 2, 24, {}, {Bytes({0, 0, 255}), Bytes({0, 0, 255})});
    d.bits.truncate(4); // only the bottom row
    const auto dib = Decode(d);
    ASSERT_FALSE(dib.image.isNull());
    EXPECT_EQ(dib.image.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(dib.image.pixel(0, 0), qRgb(255, 255, 255));
}

TEST(Dib, UnreadableHeadersGiveNoImage)
{
    struct Row {
        const char *name;
        std::function<void(DibData &)> spoil;
    };
    const Row rows[] = {
        {"zero width", [](DibData &d) { d.info[4] = 0; }},
        {"negative width", [](DibData &d) { d.info[7] = char(0x80); }},
        {"zero height", [](DibData &d) { d.info[8] = 0; }},
        {"bit count 3", [](DibData &d) { d.info[14] = 3; }},
        {"RLE8 at 24 bits", [](DibData &d) { d.info[16] = 1; }},
        {"header size 20", [](DibData &d) { d.info[0] = 20; }},
        {"header longer than the block", [](DibData &d) { d.info[0] = char(200); }},
        {"a billion pixels",
         [](DibData &d) {
             d.info[6] = 0x10;
             d.info[10] = 0x10;
         }},
    };
    for (const Row &row : rows) {
        DibData d = MakeDib(2, 2, 24, {}, {Bytes({0, 0, 255, 0, 0, 255}), Bytes({0, 0, 255, 0, 0, 255})});
        row.spoil(d);
        EXPECT_TRUE(Decode(d).image.isNull()) << row.name;
    }
}

// A 2 x 2 24-bit source: red, green / blue, yellow.
DibData Source()
{
    return MakeDib(2, 2, 24, {}, {Bytes({0, 0, 255, 0, 255, 0}), Bytes({255, 0, 0, 0, 255, 255})});
}

TEST(Blits, StretchDibitsTakesASourceRectangleCountedFromTheBottom)
{
    EmfWriter w;
    // source rows of a bottom-up DIB count from the bottom: y 1 is the top row
    w.StretchDIBits(QRect(0, 0, 100, 100), QRect(1, 1, 1, 1), Source());
    EXPECT_TRUE(Near(Render(w.Finish()).pixel(50, 50), kGreen));
}

TEST(Blits, NegativeDestinationWidthMirrors)
{
    EmfWriter w;
    w.StretchDIBits(QRect(100, 0, -100, 100), QRect(0, 0, 2, 2), Source());
    const QImage image = Render(w.Finish());
    EXPECT_TRUE(Near(image.pixel(25, 25), kGreen));
    EXPECT_TRUE(Near(image.pixel(75, 25), kRed));
}

TEST(Blits, BitBltCopiesAtOnePixelAUnit)
{
    EmfWriter w;
    w.Blt(76, QRect(10, 10, 2, 2), QRect(0, 0, 2, 2), Source(), 0x00CC0020);
    const QImage image = Render(w.Finish());
    EXPECT_TRUE(Near(image.pixel(10, 10), kRed));
    EXPECT_TRUE(Near(image.pixel(11, 11), kYellow));
    EXPECT_TRUE(Near(image.pixel(13, 13), kWhite));
}

TEST(Blits, StretchBltStretchesTheSourcePart)
{
    EmfWriter w;
    // StretchBlt reads the bitmap as a device context: y 1 is the bottom row
    w.Blt(77, QRect(0, 0, 100, 50), QRect(0, 1, 2, 1), Source(), 0x00CC0020);
    const QImage image = Render(w.Finish());
    EXPECT_TRUE(Near(image.pixel(25, 25), kBlue));
    EXPECT_TRUE(Near(image.pixel(75, 25), kYellow));
    EXPECT_TRUE(Near(image.pixel(50, 75), kWhite));
}

TEST(Blits, WithoutASourceTheBrushPaints)
{
    EmfWriter w;
    w.CreateBrush(1, 0, kBlue);
    w.SelectObject(1);
    w.Blt(77, QRect(0, 0, 50, 50), QRect(), DibData(), 0x00F00021);   // PATCOPY
    w.Blt(76, QRect(50, 50, 50, 50), QRect(), DibData(), 0x00000042); // BLACKNESS
    const QImage image = Render(w.Finish());
    EXPECT_TRUE(Near(image.pixel(25, 25), kBlue));
    EXPECT_TRUE(Near(image.pixel(75, 75), kBlack));
    EXPECT_TRUE(Near(image.pixel(75, 25), kWhite));
}

TEST(Blits, DibPatternBrushTilesItsBitmap)
{
    EmfWriter w;
    w.CreateDibPatternBrush(1, Source());
    w.SelectObject(1);
    w.SelectObject(0x80000008);
    w.Rectangle(0, 0, 100, 100);
    const QImage image = Render(w.Finish());
    // tiles of 2 x 2 device pixels from the origin
    EXPECT_TRUE(Near(image.pixel(40, 40), kRed));
    EXPECT_TRUE(Near(image.pixel(41, 40), kGreen));
    EXPECT_TRUE(Near(image.pixel(40, 41), kBlue));
    EXPECT_TRUE(Near(image.pixel(41, 41), kYellow));
}

TEST(Blits, MonoBrushTakesTheTextAndBackgroundColours)
{
    EmfWriter w;
    w.CreateDibPatternBrush(1, MakeDib(2, 1, 1, {qRgb(0, 0, 0), qRgb(255, 255, 255)}, {Bytes({0x40})}), true);
    w.SelectObject(1);
    w.SelectObject(0x80000008);
    w.SetTextColor(kRed);
    w.SetBkColor(kBlue);
    w.Rectangle(0, 0, 100, 100);
    const QImage image = Render(w.Finish());
    EXPECT_TRUE(Near(image.pixel(40, 40), kRed));
    EXPECT_TRUE(Near(image.pixel(41, 40), kBlue));
}

TEST(Blits, MaskAndPaintPairLeavesTheBackgroundThrough)
{
    // The classic transparent picture: AND a mask (black where the figure is), then OR the figure
    // on black. A blue page must show through the mask's white part.
    EmfWriter w;
    w.CreateBrush(1, 0, kBlue);
    w.SelectObject(1);
    w.Rectangle(0, 0, 100, 100);
    const DibData mask = MakeDib(2, 1, 24, {}, {Bytes({0, 0, 0, 255, 255, 255})});
    const DibData figure = MakeDib(2, 1, 24, {}, {Bytes({0, 0, 255, 0, 0, 0})});
    w.StretchDIBits(QRect(0, 0, 100, 100), QRect(0, 0, 2, 1), mask, 0x008800C6);   // SRCAND
    w.StretchDIBits(QRect(0, 0, 100, 100), QRect(0, 0, 2, 1), figure, 0x00EE0086); // SRCPAINT
    const QImage image = Render(w.Finish());
    EXPECT_TRUE(Near(image.pixel(25, 50), kRed));
    EXPECT_TRUE(Near(image.pixel(75, 50), kBlue));
}

TEST(Blits, SetDibitsToDeviceDrawsItsBandOfScanLines)
{
    EmfWriter w;
    // the two-row source sent as one band with only the bottom scan line
    DibData band = MakeDib(2, 1, 24, {}, {Bytes({255, 0, 0, 0, 255, 255})});
    band.info[8] = 2; // the header keeps the whole height
    w.SetDIBitsToDevice(QPoint(10, 10), QRect(0, 0, 2, 2), band, 0, 1);
    const QImage image = Render(w.Finish());
    EXPECT_TRUE(Near(image.pixel(10, 11), kBlue));
    EXPECT_TRUE(Near(image.pixel(11, 11), kYellow));
    EXPECT_TRUE(Near(image.pixel(10, 10), kWhite)); // the top scan line was not sent
}

TEST(Blits, AlphaBlendMixesByTheConstantAlpha)
{
    EmfWriter w;
    w.AlphaBlend(QRect(0, 0, 100, 100), QRect(0, 0, 2, 2), Source(), 128, false);
    const QImage image = Render(w.Finish());
    EXPECT_TRUE(Near(image.pixel(25, 25), QColor(255, 127, 127), 10)) << std::hex << image.pixel(25, 25);
}

TEST(Blits, AlphaBlendUsesPremultipliedPixelAlpha)
{
    EmfWriter w;
    // left pixel: opaque red; right pixel: fully transparent
    w.AlphaBlend(QRect(0, 0, 100, 100), QRect(0, 0, 2, 1), MakeDib(2, 1, 32, {}, {Words32({0xFFFF0000, 0x00000000})}),
                 255, true);
    const QImage image = Render(w.Finish());
    EXPECT_TRUE(Near(image.pixel(25, 50), kRed));
    EXPECT_TRUE(Near(image.pixel(75, 50), kWhite));
}

} // namespace
