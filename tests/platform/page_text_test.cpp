#include "platform/metafile/PageText.h"
#include "platform/metafile/RecordColors.h"
#include "platform/text/DrawText.h"

#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

using namespace platform;

namespace {

TFont Courier(int height = 24)
{
    return CreateFont(-height, -height * 11 / 24, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Courier New");
}

void Text(QPainter &p, const TFont &font, int x, int y, const QString &text)
{
    TRect r{x, y, x + 1000, y + 200};
    DrawTextEx(&p, font, text, r, DT_NOPREFIX | DT_NOCLIP);
}

} // namespace

TEST(PageText, ReadsTopToBottomAndLeftToRight)
{
    PageMetafile page;
    {
        QPainter p(&page);
        Text(p, Courier(), 600, 300, "c");     // second line, right
        Text(p, Courier(), 100, 100, "a");     // first line
        Text(p, Courier(), 100, 300, "b");     // second line, left
        Text(p, Courier(36), 300, 292, "big"); // a larger face on the same line, its baseline lower
        Text(p, Courier(), 100, 500, "d\r\ne");
    }
    EXPECT_EQ(PageText(page).toStdString(), "a\nb big c\nd\ne\n");
}

TEST(PageText, JoinsTouchingRunsAndSeparatesDistantOnes)
{
    const TFont font = Courier();
    const int w = font.TextWidth("ab");
    const struct {
        const char *name;
        int gap;
        const char *expected;
    } rows[] = {
        {"touching: one word", 0, "abcd\n"},
        {"a blank apart", font.TextWidth(" "), "ab cd\n"},
        {"far apart", 500, "ab cd\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        PageMetafile page;
        {
            QPainter p(&page);
            Text(p, font, 100, 100, "ab");
            Text(p, font, 100 + w + row.gap, 100, "cd");
        }
        EXPECT_EQ(PageText(page).toStdString(), row.expected);
    }
}

TEST(PageText, LeavesOutClippedTextAndFollowsTransforms)
{
    PageMetafile page;
    {
        QPainter p(&page);
        // Letters 11 units wide in a box 60 wide: "z" starts at 155, inside; "n" at 166, outside.
        TRect r{100, 100, 160, 200};
        DrawTextEx(&p, Courier(), "widoczne", r, DT_SINGLELINE | DT_NOPREFIX);
        p.setClipRect(QRect(0, 0, 50, 50));
        Text(p, Courier(), 500, 500, "ukryte");
        p.setClipping(false);
        p.translate(0, 1000); // drawn at 0 but lands below the rest
        Text(p, Courier(), 100, 0, "dol");
        p.resetTransform();
        Text(p, Courier(), 100, 600, "srodek");
    }
    EXPECT_EQ(PageText(page).toStdString(), "widocz\nsrodek\ndol\n");
    // Reading the characters' places too cuts the same text.
    QString withBoxes;
    for (const PageTextLine &line : PageTextLines(page, QLatin1Char(' '), true))
        withBoxes += line.text + u'\n';
    EXPECT_EQ(withBoxes, PageText(page));
}

TEST(PageText, AClipPathLeavesOutWhatFallsOutsideIt)
{
    PageMetafile page;
    {
        QPainter p(&page);
        QPainterPath oval;
        oval.addEllipse(QRectF(250, 600, 300, 200));
        p.setClipPath(oval);
        Text(p, Courier(), 330, 690, "owal"); // inside the oval
        Text(p, Courier(), 900, 690, "poza"); // right of it, on the same line
        Text(p, Courier(), 260, 610, "rog");  // in its bounding box, outside the curve
    }
    EXPECT_EQ(PageText(page).toStdString(), "owal\n");
}

TEST(PageText, CharacterPlacesFollowTheGlyphsAndAGapHasNoWidth)
{
    const TFont font = Courier();
    const int w = font.TextWidth("a");
    PageMetafile page;
    {
        QPainter p(&page);
        Text(p, font, 100, 100, "ab");
        Text(p, font, 600, 100, "cd");
    }
    const std::vector<PageTextLine> lines = PageTextLines(page, QChar(0x1F), true);
    ASSERT_EQ(lines.size(), 1u);
    const PageTextLine &line = lines[0];
    EXPECT_EQ(line.text, QStringLiteral("ab\x1F"
                                        "cd"));
    ASSERT_EQ(line.spans.size(), 5u);
    const float expected[5][2] = {{100, 100.f + w},
                                  {100.f + w, 100.f + 2 * w},
                                  {100.f + 2 * w, 100.f + 2 * w},
                                  {600, 600.f + w},
                                  {600.f + w, 600.f + 2 * w}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_NEAR(line.spans[i].first, expected[i][0], 0.5) << i;
        EXPECT_NEAR(line.spans[i].second, expected[i][1], 0.5) << i;
    }
    EXPECT_LT(line.top, 100 + font.Ascent() - 1);
    EXPECT_GT(line.bottom, 100 + font.Ascent());
}

TEST(PageText, RaisedAndLoweredTextStaysOnItsLine)
{
    // Regression: a superscript, its baseline above the line's, came out as a line of its own
    // before the line it belongs to.
    const TFont body = Courier(24), small = Courier(16);
    const int w = body.TextWidth("x");
    const struct {
        const char *name;
        int shift; // of the small text's baseline, up when negative
        const char *expected;
    } rows[] = {
        {"superscript", -9, "słowa x 2\nnext\n"},
        {"subscript", 5, "słowa x 2\nnext\n"},
        {"same baseline", 0, "słowa x 2\nnext\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        PageMetafile page;
        {
            QPainter p(&page);
            Text(p, body, 100, 100, QString::fromUtf8("słowa x"));
            const int baseline = 100 + body.Ascent() + row.shift;
            Text(p, small, 100 + body.TextWidth(QString::fromUtf8("słowa x")) + w, baseline - small.Ascent(), "2");
            Text(p, body, 100, 100 + body.Height(), "next");
        }
        EXPECT_EQ(PageText(page).toStdString(), row.expected);
    }
}

TEST(RecordColors, MonochromeForcesInkAndPaperButKeepsPictures)
{
    PageMetafile page;
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(QColor(0, 200, 0));
    {
        QPainter p(&page);
        TFont red = Courier();
        red.SetColor(Qt::red);
        Text(p, red, 100, 100, "x");
        p.setPen(QPen(Qt::blue, 3));
        p.setBrush(QColor(128, 128, 128));
        p.drawRect(10, 10, 100, 100);
        p.setPen(QPen(QBrush(Qt::yellow), 2, Qt::CustomDashLine));
        p.drawLine(0, 0, 100, 100);
        p.drawImage(QRect(0, 0, 20, 20), picture);
    }
    QList<QColor> texts, pens, brushes;
    QColor pictureColor;
    page.Visit([&](MetaRecord &r) {
        MonochromeRecords()(r);
        if (r.type == EmrHeader || r.type == EmrSetTextColor)
            texts.append(r.color);
        else if (r.type == EmrCreatePen || r.type == EmrExtCreatePen)
            pens.append(r.pen.color());
        else if (r.type == EmrCreateBrushIndirect)
            brushes.append(r.brush.color());
        else if (r.type == EmrStretchDIBits)
            pictureColor = r.image.pixelColor(0, 0);
        return true;
    });
    EXPECT_EQ(texts, QList<QColor>({Qt::black, Qt::black}));
    ASSERT_GE(pens.size(), 2) << "a plain and an extended pen";
    for (const QColor &c : pens)
        EXPECT_EQ(c, QColor(Qt::black));
    ASSERT_FALSE(brushes.isEmpty());
    for (const QColor &c : brushes)
        EXPECT_EQ(c, QColor(Qt::white));
    EXPECT_EQ(pictureColor, QColor(0, 200, 0));
    // The page itself keeps its colours.
    bool stillRed = false;
    page.Visit([&](MetaRecord &r) {
        stillRed = stillRed || (r.type == EmrSetTextColor && r.color == QColor(Qt::red));
        return true;
    });
    EXPECT_TRUE(stillRed);
}
