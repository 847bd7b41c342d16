#include "platform/text/GdiFont.h"
#include "platform/text/WindowsFaces.h"

#include <QFontInfo>

#include <gtest/gtest.h>

using namespace platform;

namespace {

TFont Make(int height, int width, const char *face, int weight = 400, bool italic = false)
{
    return CreateFont(height, width, 0, 0, weight, italic, 0, 0, 238, 0, 0, 1, 0, QString::fromUtf8(face));
}

} // namespace

TEST(GdiFont, FacesMapToLiberation)
{
    struct Case {
        const char *face;
        const char *family;
    } cases[] = {
        {"Courier New", "Liberation Mono"},
        {"Courier New CE", "Liberation Mono"},
        {"Arial", "Liberation Sans"},
        {"Arial CE", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Times New Roman CE", "Liberation Serif"},
        {"MS Sans Serif", "Liberation Sans"},
        // The face table the EMF player shares: names the guess from words alone got wrong.
        {"Consolas", "Liberation Mono"},
        {"Cambria", "Liberation Serif"},
        {"Wingdings", "Liberation Sans"},
        {"Nonexistent Face", "Liberation Sans"},
        {"", "Liberation Sans"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.face);
        EXPECT_EQ(SubstituteFace(c.face), c.family);
        // The face really is the Liberation one, not whatever fontconfig would pick.
        EXPECT_EQ(Make(-20, 0, c.face).Face().RawFont().familyName(), c.family);
    }
    // Text documents naming Windows faces get the same faces.
    InstallFontSubstitutions();
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("MS Sans Serif"))).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Times New Roman"))).family(), QStringLiteral("Liberation Serif"));
}

TEST(GdiFont, HeightIsAscentPlusDescent)
{
    // Windows ascent + descent over the em: Mono 2320/2048, Sans 2288/2048, Serif 2268/2048.
    struct Case {
        const char *face;
        int height;
    } cases[] = {{"Courier New", 113}, {"Arial", 112}, {"Times New Roman", 111}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.face);
        const TFont f = Make(-100, 0, c.face);
        EXPECT_EQ(f.Height(), c.height);
        EXPECT_GT(f.Ascent(), f.Height() / 2);
        // A positive height asks for the cell height instead of the character height.
        EXPECT_EQ(Make(c.height, 0, c.face).Face().PixelSize(), 100);
    }
}

TEST(GdiFont, WidthSetsTheAverageCharacterWidth)
{
    for (const char *face : {"Courier New", "Arial", "Times New Roman"}) {
        SCOPED_TRACE(face);
        for (int w : {5, 11, 17}) {
            EXPECT_EQ(Make(-24, -w, face).AverageWidth(), w);
            EXPECT_EQ(Make(-24, w, face).AverageWidth(), w); // GDI takes the width's magnitude
        }
    }
    // Without a width the face keeps its proportions: Courier New's 1229/2048 of 24 pixels.
    EXPECT_EQ(Make(-24, 0, "Courier New").AverageWidth(), 14);
}

TEST(GdiFont, DigitsOfThePageFontFitTheirCells)
{
    // 1.5909 mm x 3.5 mm at 96 dpi and zoom 1.8: w = 11, h = 24.
    const TFont f = Make(-24, -11, "Courier New");
    EXPECT_NEAR(f.TextWidth(QStringLiteral("1234567890")), 110, 1);
    EXPECT_EQ(f.Height(), 27); // round(24 x 1.1328)
    // Proportional faces' digits are wider than their average character.
    EXPECT_GT(Make(-24, -11, "Arial").TextWidth(QStringLiteral("1234567890")), 110);
}

TEST(GdiFont, MeasuresWithoutKerning)
{
    const TFont f = Make(-40, 0, "Arial");
    const FontFace &face = f.Face();
    EXPECT_DOUBLE_EQ(face.TextWidthF(QStringLiteral("AVAV")),
                     2 * (face.TextWidthF(QStringLiteral("A")) + face.TextWidthF(QStringLiteral("V"))));
    EXPECT_EQ(f.TextWidth(QString()), 0);
    // Widths scale with the stretch: Arial's natural average at 40 pixels is 904 / 2048 x 40 = 17.66,
    // so asking for 9 makes every advance 9 / 17.66 of its natural width.
    const TFont narrow = Make(-40, -9, "Arial");
    EXPECT_NEAR(narrow.Face().TextWidthF(QStringLiteral("Wenoglad")),
                face.TextWidthF(QStringLiteral("Wenoglad")) * 9 / (904.0 / 2048 * 40), 1e-3);
}

TEST(GdiFont, StyleAndSharing)
{
    const TFont bold = Make(-20, 0, "Arial", 700, true);
    EXPECT_EQ(bold.Face().Font().weight(), QFont::Bold);
    EXPECT_TRUE(bold.Face().Font().italic());
    EXPECT_EQ(bold.Face().RawFont().weight(), QFont::Bold);
    EXPECT_EQ(bold.Charset(), 238);
    // The same request shares one face: pages built over and over do not pile up fonts.
    EXPECT_EQ(Make(-20, 0, "Arial", 700, true).FacePtr(), bold.FacePtr());
    EXPECT_NE(Make(-20, -7, "Arial", 700, true).FacePtr(), bold.FacePtr());
    TFont coloured = bold;
    coloured.SetColor(Qt::red);
    EXPECT_EQ(bold.Color(), QColor(Qt::black));
    EXPECT_EQ(coloured.FacePtr(), bold.FacePtr());
}
