// Text records: glyphs land at the spacing array's advances, alignment and the font's height,
// width and escapement are honoured, and the opaque and clipped options work.
#include "platform/emf/EmfFaces.h"
#include "tests/support/EmfWriter.h"

#include <QFontMetricsF>
#include <QPainter>

#include <gtest/gtest.h>

using testing_emf::EmfWriter;
using testing_emf::Near;
using testing_emf::Render;

namespace {

constexpr quint32 TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24, TA_UPDATECP = 1;
constexpr quint32 ETO_OPAQUE = 2, ETO_CLIPPED = 4;

bool Ink(QRgb p)
{
    return qGray(p) < 160;
}

QRect InkBounds(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Ink(image.pixel(x, y)))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

// Left edges of the runs of columns holding ink.
QList<int> InkColumnStarts(const QImage &image)
{
    QList<int> starts;
    bool previous = false;
    for (int x = 0; x < image.width(); ++x) {
        bool any = false;
        for (int y = 0; y < image.height() && !any; ++y)
            any = Ink(image.pixel(x, y));
        if (any && !previous)
            starts.append(x);
        previous = any;
    }
    return starts;
}

// A 200 x 100 picture with the text written by `draw` in a 40-pixel Arial, black.
QImage Text(const std::function<void(EmfWriter &)> &draw, int height = -40, int width = 0, int escapement = 0)
{
    EmfWriter w(200, 100);
    w.CreateFont(1, height, QStringLiteral("Arial"), width, escapement);
    w.SelectObject(1);
    w.SetBkMode(1);
    draw(w);
    return Render(w.Finish(), QSize(200, 100));
}

TEST(EmfText, SpacingArrayPlacesEachGlyph)
{
    const QImage image = Text([](EmfWriter &w) { w.ExtTextOutW(10, 10, "lll", 0, {}, {45, 60, 10}); });
    const QList<int> starts = InkColumnStarts(image);
    ASSERT_EQ(starts.size(), 3);
    EXPECT_NEAR(starts[1] - starts[0], 45, 1);
    EXPECT_NEAR(starts[2] - starts[1], 60, 1);
}

TEST(EmfText, WithoutSpacingTheFaceAdvancesCount)
{
    const QRect one = InkBounds(Text([](EmfWriter &w) { w.ExtTextOutW(10, 10, "H"); }));
    const QRect two = InkBounds(Text([](EmfWriter &w) { w.ExtTextOutW(10, 10, "HH"); }));
    // Arial's H advances 0.722 em: 28.9 pixels at 40
    EXPECT_NEAR(two.width() - one.width(), 28.9, 1.5);
}

TEST(EmfText, HorizontalAlignment)
{
    const QRect left = InkBounds(Text([](EmfWriter &w) { w.ExtTextOutW(100, 10, "HH"); }));
    const QRect right = InkBounds(Text([](EmfWriter &w) {
        w.SetTextAlign(TA_RIGHT);
        w.ExtTextOutW(100, 10, "HH");
    }));
    const QRect centre = InkBounds(Text([](EmfWriter &w) {
        w.SetTextAlign(TA_CENTER);
        w.ExtTextOutW(100, 10, "HH");
    }));
    EXPECT_NEAR(left.left(), 103, 3);
    EXPECT_NEAR(right.right(), 97, 3);
    EXPECT_NEAR(centre.center().x(), 100, 2);
}

TEST(EmfText, VerticalAlignment)
{
    // Arial: ascent 0.905, descent 0.212, capital height 0.716 of the em
    const QRect top = InkBounds(Text([](EmfWriter &w) { w.ExtTextOutW(10, 40, "H"); }));
    const QRect base = InkBounds(Text([](EmfWriter &w) {
        w.SetTextAlign(TA_BASELINE);
        w.ExtTextOutW(10, 40, "H");
    }));
    const QRect bottom = InkBounds(Text([](EmfWriter &w) {
        w.SetTextAlign(TA_BOTTOM);
        w.ExtTextOutW(10, 80, "H");
    }));
    EXPECT_NEAR(top.top(), 40 + (0.905 - 0.716) * 40, 2);
    EXPECT_NEAR(base.bottom(), 40, 1.5);
    EXPECT_NEAR(bottom.bottom(), 80 - 0.212 * 40, 2);
}

TEST(EmfText, PositiveHeightIsTheCellNegativeTheCharacter)
{
    const QRect character = InkBounds(Text([](EmfWriter &w) { w.ExtTextOutW(10, 10, "H"); }, -40));
    const QRect cell = InkBounds(Text([](EmfWriter &w) { w.ExtTextOutW(10, 10, "H"); }, 40));
    EXPECT_NEAR(character.height(), 0.716 * 40, 1.5);
    EXPECT_NEAR(cell.height(), 0.716 * 40 / 1.1172, 1.5);
}

TEST(EmfText, WidthScalesTheGlyphsAcross)
{
    const QRect normal = InkBounds(Text([](EmfWriter &w) { w.ExtTextOutW(10, 10, "HHHH"); }));
    // an average width of 10 at a 40 em: Arial's own is 0.4414 em, so 10 / 17.66 of the width
    const QRect narrow = InkBounds(Text([](EmfWriter &w) { w.ExtTextOutW(10, 10, "HHHH"); }, -40, 10));
    EXPECT_NEAR(double(narrow.width()) / normal.width(), 10 / (0.4414 * 40), 0.05);
    EXPECT_NEAR(narrow.height(), normal.height(), 1);
}

TEST(EmfText, EscapementTurnsTheLineCounterClockwise)
{
    const QRect up = InkBounds(Text([](EmfWriter &w) { w.ExtTextOutW(20, 95, "HHH"); }, -20, 0, 900));
    EXPECT_GT(up.height(), 2 * up.width());
    EXPECT_LT(up.bottom(), 96);
}

TEST(EmfText, OpaqueOptionFillsTheRectangleEvenWithoutText)
{
    EmfWriter w;
    w.SetBkColor(QColor(0, 0, 255));
    w.ExtTextOutW(0, 0, QString(), ETO_OPAQUE, QRect(10, 10, 30, 30));
    const QImage image = Render(w.Finish());
    EXPECT_TRUE(Near(image.pixel(25, 25), QColor(0, 0, 255)));
    EXPECT_TRUE(Near(image.pixel(45, 45), QColor(255, 255, 255)));
}

TEST(EmfText, ClippedOptionKeepsGlyphsInTheRectangle)
{
    const QRect clipped =
        InkBounds(Text([](EmfWriter &w) { w.ExtTextOutW(10, 10, "HHHH", ETO_CLIPPED, QRect(0, 0, 50, 100)); }));
    EXPECT_FALSE(clipped.isEmpty());
    EXPECT_LT(clipped.right(), 50);
}

TEST(EmfText, OpaqueBackgroundModeFillsTheCell)
{
    for (int mode : {1, 2}) {
        EmfWriter w(200, 100);
        w.CreateFont(1, -40, "Arial");
        w.SelectObject(1);
        w.SetBkColor(QColor(0, 255, 0));
        w.SetBkMode(mode);
        w.ExtTextOutW(10, 10, "H");
        const QImage image = Render(w.Finish(), QSize(200, 100));
        // just right of the H's left stem, inside the cell
        EXPECT_EQ(Near(image.pixel(20, 14), QColor(0, 255, 0)), mode == 2) << mode;
    }
}

TEST(EmfText, TextColour)
{
    const QImage image = Text([](EmfWriter &w) {
        w.SetTextColor(QColor(255, 0, 0));
        w.ExtTextOutW(10, 10, "l");
    });
    int red = 0, black = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 40; ++x) {
            red += Near(image.pixel(x, y), QColor(255, 0, 0), 30);
            black += Near(image.pixel(x, y), QColor(0, 0, 0), 60);
        }
    EXPECT_GT(red, 20);
    EXPECT_EQ(black, 0);
}

TEST(EmfText, AnsiTextDecodesTheHostCodePage)
{
    const QImage wide = Text([](EmfWriter &w) { w.ExtTextOutW(10, 10, QString::fromUtf8("Łź")); });
    const QImage ansi = Text([](EmfWriter &w) { w.ExtTextOutA(10, 10, QByteArray("\xa3\x9f")); });
    EXPECT_FALSE(InkBounds(ansi).isEmpty());
    EXPECT_EQ(wide, ansi);
}

TEST(EmfText, UpdateCurrentPositionContinuesTheLine)
{
    const QImage once = Text([](EmfWriter &w) { w.ExtTextOutW(10, 10, "HI", 0, {}, {30, 30}); });
    const QImage twice = Text([](EmfWriter &w) {
        w.SetTextAlign(TA_UPDATECP);
        w.MoveTo(10, 10);
        w.ExtTextOutW(0, 0, "H", 0, {}, {30});
        w.ExtTextOutW(0, 0, "I", 0, {}, {30});
    });
    EXPECT_EQ(InkBounds(once), InkBounds(twice));
}

TEST(EmfText, HeightFollowsTheMapping)
{
    const QRect mapped = InkBounds(Text(
        [](EmfWriter &w) {
            w.SetMapMode(8);
            w.SetWindowExt(100, 100);
            w.SetViewportExt(200, 200);
            w.ExtTextOutW(5, 5, "H");
        },
        -20));
    EXPECT_NEAR(mapped.height(), 0.716 * 40, 1.5);
    EXPECT_NEAR(mapped.top(), 10 + (0.905 - 0.716) * 40, 2);
}

TEST(EmfText, YUpMappingKeepsGlyphsUpright)
{
    // In a y-up mode text still reads upright: the H's crossbar is in its middle either way, so
    // compare a T, whose bar must be at the top.
    const QImage image = Text([](EmfWriter &w) {
        w.SetMapMode(8);
        w.SetWindowExt(200, 100);
        w.SetViewportExt(200, -100);
        w.SetViewportOrg(0, 100);
        w.SetTextAlign(TA_BASELINE);
        w.ExtTextOutW(10, 20, "T");
    });
    const QRect ink = InkBounds(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.bottom(), 80, 1.5);
    // the bar: a full-width run of ink on the top row, a narrow stem on the bottom one
    int top = 0, bottom = 0;
    for (int x = ink.left(); x <= ink.right(); ++x) {
        top += Ink(image.pixel(x, ink.top() + 1));
        bottom += Ink(image.pixel(x, ink.bottom() - 1));
    }
    EXPECT_GT(top, 3 * bottom);
}

TEST(EmfText, CharactersTheFaceLacksComeFromTheFallbackFace)
{
    // Hangul in a picture whose face stands in for a Korean one drew as empty boxes; it is drawn as
    // Qt draws it with its own font fallback.
    const QString text = QString::fromUtf8("가나");
    QImage expected(200, 100, QImage::Format_ARGB32);
    expected.fill(Qt::white);
    {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(40);
        font.setHintingPreference(QFont::PreferNoHinting);
        QPainter p(&expected);
        p.setFont(font);
        p.drawText(QPointF(10, 10 + QFontMetricsF(font).ascent()), text);
    }
    const QRect want = InkBounds(expected);
    if (want.width() < 40)
        GTEST_SKIP() << "no installed font has Hangul (scripts/setup installs one)";
    const QRect got = InkBounds(Text([&](EmfWriter &w) { w.ExtTextOutW(10, 10, text); }));
    EXPECT_NEAR(got.left(), want.left(), 2);
    EXPECT_NEAR(got.right(), want.right(), 2);
    EXPECT_NEAR(got.top(), want.top(), 2);
    EXPECT_NEAR(got.bottom(), want.bottom(), 2);
}

TEST(EmfFaces, MapToTheLiberationFaces)
{
    using platform::emf::MapFace;
    struct Row {
        const char *face;
        quint8 pitchAndFamily;
        const char *family;
    };
    const Row rows[] = {
        {"Arial", 0, "Liberation Sans"},
        {"ARIAL", 0, "Liberation Sans"},
        {"Times New Roman", 0, "Liberation Serif"},
        {"Courier New", 0, "Liberation Mono"},
        {"Tahoma", 0, "Liberation Sans"},
        {"", 0, "Liberation Sans"},
        {"Some Roman Face", 0x12, "Liberation Serif"}, // FF_ROMAN
        {"Some Modern Face", 0x31, "Liberation Mono"}, // FF_MODERN, FIXED_PITCH
        {"Some Modern Face", 0x30, "Liberation Mono"}, // FF_MODERN, pitch left to the family
        // Regression: a Korean sans face, FF_MODERN of variable pitch, drew in the typewriter face,
        // its narrow letters spread over the proportional advances ("H e llo W orl d").
        {"맑은 고딕", 0x32, "Liberation Sans"},
        {"Some Fixed Face", 0x01, "Liberation Mono"}, // FIXED_PITCH alone
        {"Some Swiss Face", 0x22, "Liberation Sans"},
        {"Wingdings", 0x02, "Wingdings"}, // no stand-in: its own name
    };
    for (const Row &r : rows)
        EXPECT_EQ(MapFace(r.face, r.pitchAndFamily).family, QString(r.family)) << r.face;
    EXPECT_DOUBLE_EQ(MapFace("Courier New", 0).avgWidth, 1229.0 / 2048);
}

} // namespace
