// Measuring and drawing single fields and lines: positions, fonts, texts and rules as the page
// picture records them.
#include "tests/support/EmfBuilder.h"
#include "tests/support/LayoutHelpers.h"

#include "core/LineDrawing.h"
#include "core/StyleFont.h"
#include "platform/metafile/PageGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace wydtest;
using platform::MmToDevX;
using platform::MmToDevY;

namespace {

// The default style: a 3.5 mm Courier cell is 24 units high and 11 wide; the face is lowered to
// 21 pixels so that its 1.13-em line fits the cell, which makes a line 24 units high again.
constexpr int kLine = 24;

Document OneLine(std::vector<Field> fields)
{
    Document doc = DeviceDocument();
    doc.Root.Title = BlockOf({LineOf(std::move(fields))});
    return doc;
}

PageRecords OnlyPage(const Document &doc)
{
    Built b = Build(doc);
    EXPECT_EQ(b.Pages.size(), 1u);
    return b.Pages.empty() ? PageRecords() : b.Records(0);
}

} // namespace

TEST(Geometry, MillimetreIsSevenUnitsAndThePageIs1429By2000)
{
    EXPECT_EQ(MmToDevX(1), 7);
    EXPECT_EQ(MmToDevY(1), 7);
    Built b = Build(OneLine({TextAt(0, 500, "a")}));
    ASSERT_EQ(b.Pages.size(), 1u);
    EXPECT_EQ(b.Pages[0]->Size(), QSize(1429, 2000));
}

TEST(Geometry, LineSpacingOfOneMillimetreMovesTheNextLineSevenUnitsFurther)
{
    Document doc = DeviceDocument();
    doc.LineSpacing = 1;
    doc.Root.Title = BlockOf({TextLine("first"), TextLine("second")});
    const PageRecords page = OnlyPage(doc);
    ASSERT_TRUE(page.Find("second"));
    EXPECT_EQ(page.Find("first")->Top, 0);
    EXPECT_EQ(page.Find("second")->Top, kLine + 7);
}

TEST(Geometry, FieldAtX1200AtResolution1200DrawsAt180)
{
    Document doc;
    doc.Resolution = 1200;
    doc.Root.Title = BlockOf({LineOf({TextAt(1200, 4000, "here")})});
    const PageRecords page = OnlyPage(doc);
    ASSERT_TRUE(page.Find("here"));
    EXPECT_EQ(page.Find("here")->Origin.x(), 180);
}

TEST(StyleFonts, DefaultCourierKeepsItsWidthAndIsLoweredToItsCell)
{
    const PageRecords page = OnlyPage(OneLine({TextAt(0, 1000, "1234567890")}));
    const TextRun *run = page.Find("1234567890");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->Family, "Liberation Mono");
    // The cell is 24 high, the face's line 24 * 1.1328 = 27: lowered to Trunc(24 / 27 * 24).
    EXPECT_EQ(run->PixelSize, 21);
    // Ten digits in ten 11-unit cells: the width was kept, each digit 11 units.
    EXPECT_NEAR(21 * 1229.0 / 2048 * run->XScale, 11.0, 1e-9);
}

TEST(StyleFonts, ArialWhoseDigitsOverflowTheirCellsGetsNarrower)
{
    Document doc = OneLine({TextAt(0, 1000, "1234567890")});
    doc.Root.Title.Lines[0].Fields[0].StyleName = "wide";
    doc.Styles.push_back({.CharHeight = 5, .CharWidth = 2, .FontName = "Arial", .Name = "wide"});
    const PageRecords page = OnlyPage(doc);
    const TextRun *run = page.Find("1234567890");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->Family, "Liberation Sans");
    // w = MmToDevX(2) = 14; Arial's digits are 1139/904 of its average width, so ten of them
    // come to about 176 units and the width shrinks to Trunc(140 / 176 * 14) = 11.
    const qreal average = run->PixelSize * 904.0 / 2048 * run->XScale;
    EXPECT_NEAR(average, 11.0, 1e-6);
    EXPECT_EQ(run->Color, QColor(Qt::black));
}

TEST(StyleFonts, ColourAndBoldComeFromTheStyle)
{
    Document doc = OneLine({TextAt(0, 1000, "red")});
    doc.Root.Title.Lines[0].Fields[0].StyleName = "RED";
    doc.Styles.push_back({.Color = 0x0000FF, .FontStyle = 1, .Name = "red"});
    const PageRecords page = OnlyPage(doc);
    const TextRun *run = page.Find("red");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->Color, QColor(255, 0, 0));
    EXPECT_TRUE(run->Bold);
}

TEST(StyleFonts, TextIsDecodedByTheStyleCharset)
{
    Document doc = OneLine({TextAt(0, 1000, "\xB9\xE6"), TextAt(500, 500, "\xE1\xE2")});
    doc.Root.Title.Lines[0].Fields[1].StyleName = "cyr";
    doc.Styles.push_back({.Charset = 204, .Name = "cyr"});
    const PageRecords page = OnlyPage(doc);
    EXPECT_TRUE(page.Find(QString::fromUtf8("ąć"))) << page.JoinedTexts().toStdString();
    EXPECT_TRUE(page.Find(QString::fromUtf8("бв"))) << page.JoinedTexts().toStdString();
}

TEST(PageNumbers, PercentNIsThePageNumber)
{
    struct Row {
        const char *name;
        QByteArray text;
        QString third; // what the third page shows
    } rows[] = {
        {"whole", "%n", "3"},
        {"inside", "Strona %n z", "Strona 3 z"},
        {"first only", "%n-%n", "3-%n"},
        {"none", "Strona", "Strona"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        // One page-number line on the root's title and on each of two items that open pages.
        // The number follows another field: drawn first, its zero-high rectangle would clip it.
        Document doc = DeviceDocument();
        const Line number = LineOf({TextAt(0, 100, "x"), TextAt(200, 1200, row.text, 2)});
        doc.Root.Title = BlockOf({number});
        doc.Root.Items.resize(2);
        for (Record &item : doc.Root.Items)
            item.Title = BlockOf({number}, true, true);
        Built b = Build(doc);
        ASSERT_EQ(b.Pages.size(), 3u);
        const PageRecords third = b.Records(2);
        ASSERT_EQ(third.Texts.size(), 2u);
        EXPECT_EQ(third.Texts[1].Text, row.third);
        EXPECT_TRUE(third.Texts[1].Visible());
    }
}

TEST(PageNumbers, AloneInTheirLineAreClippedAway)
{
    const PageRecords page = OnlyPage(OneLine({TextAt(0, 1400, "%n", 2)}));
    ASSERT_EQ(page.Texts.size(), 1u);
    EXPECT_EQ(page.Texts[0].Text, "1");
    EXPECT_FALSE(page.Texts[0].Visible());
}

TEST(PageNumbers, AtMost255CharactersFollowTheNumber)
{
    const QByteArray tail(300, 'x');
    const PageRecords page = OnlyPage(OneLine({TextAt(0, 100000, "%n" + tail, 2)}));
    ASSERT_EQ(page.Texts.size(), 1u);
    EXPECT_EQ(page.Texts[0].Text, "1" + QString(255, u'x'));
}

TEST(FirstField, IsDrawnWithAZeroHighRectangle)
{
    // A bottom-aligned field's single line sits on the rectangle's bottom: for the first field
    // that is its top, so the text stands one line above the row; after a two-row field it
    // stands on that field's second row.
    Field first = TextAt(0, 300, "first");
    first.AlignBottom = 1;
    Field tall = TextAt(400, 300, Rows(2));
    Field after = TextAt(800, 300, "after");
    after.AlignBottom = 1;
    Document doc = DeviceDocument();
    doc.Root.Title = BlockOf({TextLine("top"), LineOf({first, tall, after})});
    const PageRecords page = OnlyPage(doc);
    ASSERT_TRUE(page.Find("first") && page.Find("after"));
    EXPECT_EQ(page.Find("first")->Top, kLine - kLine);
    EXPECT_EQ(page.Find("after")->Top, kLine + kLine);
}

TEST(FirstField, LogoIsCentredOnTheFieldsBeforeIt)
{
    Field logo = TextAt(800, 300, "logo");
    logo.StyleName = "LOGO";
    Field lowerLogo = logo;
    lowerLogo.StyleName = "logo"; // not exactly "LOGO": placed like any other text
    Document doc = DeviceDocument();
    doc.Styles.push_back({.Name = "LOGO"});
    doc.Root.Title = BlockOf({LineOf({TextAt(0, 300, Rows(4)), logo}), LineOf({TextAt(0, 300, Rows(4)), lowerLogo})});
    const PageRecords page = OnlyPage(doc);
    std::vector<int> tops;
    for (const TextRun &t : page.Texts)
        if (t.Text == "logo")
            tops.push_back(t.Top);
    ASSERT_EQ(tops.size(), 2u);
    EXPECT_EQ(tops[0], (4 * kLine - kLine) / 2);
    EXPECT_EQ(tops[1], 4 * kLine);
}

TEST(Alignment, TextKindsPlaceTheirLines)
{
    // Kinds 0 and 5 follow the alignment byte; kind 1 and kinds above 7 are always right
    // aligned; kind 2 adds the alignment to its right-aligned word, so "right" turns into a
    // vertical-centre flag and draws from the left edge.
    struct Row {
        const char *name;
        quint8 kind, alignment;
        int left; // where the text starts, field 200..500
    } rows[] = {
        {"kind 0 left", 0, 0, 200},
        {"kind 0 right", 0, 1, 500 - 3 * 11},
        {"kind 0 centre", 0, 2, (200 + 500 - 33) / 2},
        {"kind 1 whatever its alignment", 1, 0, 500 - 33},
        {"kind 9 as kind 1", 9, 2, 500 - 33},
        {"kind 2 plain", 2, 0, 500 - 33},
        {"kind 2 right", 2, 1, 200},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Field f = TextAt(200, 300, "abc", row.kind);
        f.Alignment = row.alignment;
        const PageRecords page = OnlyPage(OneLine({TextAt(0, 100, Rows(2)), f}));
        const TextRun *run = page.Find("abc");
        ASSERT_TRUE(run);
        EXPECT_EQ(run->Origin.x(), row.left);
    }
}

TEST(Alignment, EndEllipsisShortensOneLine)
{
    Field f = TextAt(0, 110, "abcdefghijklmnop");
    f.EndEllipsis = 1;
    const PageRecords page = OnlyPage(OneLine({f}));
    ASSERT_EQ(page.Texts.size(), 1u);
    EXPECT_EQ(page.Texts[0].Text, "abcdefg...");
}

TEST(Alignment, BottomAndEllipsisTogetherStillMakeOneLine)
{
    // Both ask for a single line; had their flags been summed, DT_SINGLELINE would have carried
    // away and the text would wrap into two lines.
    Field f = TextAt(200, 110, "abcdefghijklmnop");
    f.EndEllipsis = 1;
    f.AlignBottom = 1;
    const PageRecords page = OnlyPage(OneLine({TextAt(0, 100, Rows(2)), f}));
    ASSERT_EQ(page.Texts.size(), 3u);
    EXPECT_EQ(page.Texts[2].Text, "abcdefg...");
    EXPECT_EQ(page.Texts[2].Top, 2 * kLine - kLine);
}

TEST(DotLeaders, FillToNearTheRightEdgeButAreClippedAwayInTheFirstField)
{
    const Field leader = TextAt(200, 1000, "Suma", 5);
    const PageRecords page = OnlyPage(OneLine({leader, TextAt(0, 100, "x"), leader}));
    std::vector<const TextRun *> dots;
    for (const TextRun &t : page.Texts)
        if (t.Text.startsWith(u'.'))
            dots.push_back(&t);
    ASSERT_EQ(dots.size(), 2u);
    // Courier's ten dots are as wide as ten zeros: the leader is 97 dots.
    EXPECT_EQ(dots[1]->Text, QString(97, u'.'));
    // The first field's rectangle has no height: nothing of its leader shows.
    EXPECT_FALSE(dots[0]->Visible());
    EXPECT_TRUE(dots[1]->Visible());
    // Right-aligned into a rectangle that stops 150 units short of the field's right edge and
    // starts after the text and one "X".
    EXPECT_EQ(dots[1]->Clip, QRectF(QPointF(200 + 5 * 11, 0), QPointF(1200 - 150, kLine)));
    EXPECT_NEAR(dots[1]->Origin.x() + 97 * 11, 1200 - 150, 1);
}

TEST(DotLeaders, ProportionalFacesGetSpacedDots)
{
    Field leader = TextAt(200, 1000, "Suma", 5);
    leader.StyleName = "sans";
    Document doc = OneLine({TextAt(0, 100, "x"), leader});
    doc.Styles.push_back({.FontName = "Arial", .Name = "sans"});
    const PageRecords page = OnlyPage(doc);
    QString spaced = ".";
    for (int i = 1; i < 49; ++i)
        spaced += " .";
    EXPECT_TRUE(page.Find(spaced)) << page.JoinedTexts().toStdString();
}

TEST(Rules, EachStyleDrawsItsLines)
{
    // A one-row rule field is 24 units high: the middle is 12 below its top, the double rule's
    // gap 24 div 11 = 2. Digits are 11 wide: D = Round(15.4) = 15, a dash 10 and a space 4.
    struct Row {
        const char *name;
        quint8 style;
        std::vector<QLineF> lines;
        qreal width;
    } rows[] = {
        {"single", 0, {{100, 12, 140, 12}}, 1},
        {"dashed", 1, {{100, 12, 110, 12}, {114, 12, 124, 12}, {128, 12, 138, 12}}, 1},
        {"double",
         2,
         {{100, 10, 115, 10},
          {100, 14, 115, 14},
          {115, 10, 130, 10},
          {115, 14, 130, 14},
          {130, 10, 140, 10},
          {130, 14, 140, 14}},
         1},
        {"thick", 3, {{100, 12, 140, 12}}, 3},
        {"none", 4, {}, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Field rule = TextAt(100, 40, "", 4);
        rule.RuleStyle = row.style;
        Document doc = DeviceDocument();
        doc.Root.Title = BlockOf({LineOf({rule}), TextLine("below")});
        const PageRecords page = OnlyPage(doc);
        std::vector<QLineF> lines;
        for (const LineRun &l : page.Lines) {
            lines.push_back(l.Line);
            EXPECT_EQ(l.Width, row.width);
        }
        EXPECT_EQ(lines, row.lines);
        // Style 4 draws nothing but still takes its height.
        ASSERT_TRUE(page.Find("below"));
        EXPECT_EQ(page.Find("below")->Top, kLine);
    }
}

TEST(Pictures, AreDrawnAcrossThePageWidth)
{
    // A 100 x 50 mm frame is 378 x 189 screen pixels: the picture is 1429 * 189 div 378 = 714
    // units high whatever the field's X and Width.
    Field picture = TextAt(500, 100, "", 6);
    picture.Picture = EmfBuilder(0, 0, 9999, 4999, 400, 200).Rectangle(0, 0, 400, 200, 0x0000FF).Finish();
    Document doc = DeviceDocument();
    doc.Root.Title = BlockOf({LineOf({picture}), TextLine("below")});
    Built b = Build(doc);
    ASSERT_EQ(b.Pages.size(), 1u);
    const QImage img = RenderPage(*b.Pages[0]);
    EXPECT_EQ(QColor(img.pixel(5, 300)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(1423, 300)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(700, 720)), QColor(Qt::white));
    EXPECT_EQ(b.Records(0).Find("below")->Top, 714);
}

TEST(Pictures, WithAnAbsurdFrameMeasureZeroHighAndTheRestStays)
{
    // Regression: such frames laid the printout out to no pages at all.
    const struct {
        const char *name;
        int left, top, right, bottom;
    } rows[] = {
        {"right before left", 9999, 0, 0, 4999},
        {"bottom above top", 0, 4999, 9999, 0},
        {"both turned", 9999, 4999, 0, 0},
        {"height past 2^31", 0, -2000000000, 9999, 2000000000},
        {"width past 2^31", -2000000000, 0, 2000000000, 4999},
        {"turned past 2^31", 0, 2000000000, 9999, -2000000000},
        {"extremes", INT_MIN, INT_MIN, INT_MAX, INT_MAX},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Field picture = TextAt(500, 100, "", 6);
        picture.Picture = EmfBuilder(row.left, row.top, row.right, row.bottom, 400, 200).Finish();
        Document doc = DeviceDocument();
        doc.Root.Title = BlockOf({TextLine("above"), LineOf({picture}), TextLine("below")});
        Built b = Build(doc);
        EXPECT_EQ(b.Pages.size(), 1u);
        const PageRecords page = b.Pages.empty() ? PageRecords() : b.Records(0);
        if (page.Find("above") && page.Find("below"))
            EXPECT_EQ(page.Find("below")->Top, page.Find("above")->Top + kLine);
        else
            ADD_FAILURE() << "text lost";
    }
}

TEST(Rules, FarOutsideThePageCostNothingAndKeepTheirPhase)
{
    // A dashed rule from -10^8 to 10^8 (a broken file): only dashes near the page are
    // recorded, each where the full loop from the left edge would have put it.
    Document doc;
    doc.Resolution = 18; // positions times 10
    Field rule = TextAt(-10000000, 20000000, "", 4);
    rule.RuleStyle = 1;
    doc.Root.Title = BlockOf({LineOf({rule}), LineOf({TextAt(INT_MIN / 2, INT_MAX, "far", 0)})});
    const PageRecords page = OnlyPage(doc);
    ASSERT_FALSE(page.Lines.empty());
    EXPECT_LT(page.Lines.size(), 200u);
    for (const LineRun &l : page.Lines) {
        EXPECT_EQ(std::fmod(l.Line.x1() + 100000000, 14.0), 0.0); // dash 10, space 4
        EXPECT_GT(l.Line.x2(), -2);
        EXPECT_LT(l.Line.x1(), 1429 + 20);
    }
}

TEST(Measuring, HeightsAreCachedUntilTheTextChanges)
{
    auto loader = Load(OneLine({TextAt(0, 110, "one two three")}));
    TPole &pole = loader->Tekst().Root().Title[0][0];
    // Wrapped into 10 columns: "one two" and "three".
    EXPECT_EQ(FieldMeasuredHeight(pole), 2 * kLine);
    pole.MeasuredHeight = 5;
    EXPECT_EQ(FieldMeasuredHeight(pole), 5);
    pole.SetText("one");
    EXPECT_EQ(FieldMeasuredHeight(pole), kLine);
}

TEST(Measuring, LineHeightIsTheTallestFieldButNeverAHiddenOne)
{
    auto loader = Load(OneLine({TextAt(0, 500, Rows(2)), TextAt(600, 500, Rows(5), 3), TextAt(0, 500, "", 4)}));
    TLinia &line = loader->Tekst().Root().Title[0];
    EXPECT_EQ(LineHeight(line), 2 * kLine);
    EXPECT_EQ(line[1].MeasuredHeight, 0); // kind 3 is never measured
}
