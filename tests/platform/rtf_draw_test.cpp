// Measuring and drawing rich text into rectangles of a 96-dpi canvas, whole and piece by piece.
#include "platform/richtext/DrawRichText.h"
#include "platform/richtext/RichEditBox.h"
#include "platform/richtext/RichTextLayout.h"
#include "tests/support/EmfWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

using platform::DrawRichText;
using platform::RichTextRect;

namespace {

constexpr float kZoom = 1.8f;

QImage Canvas()
{
    QImage image(1429, 2000, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    return image;
}

// The bounding box of pixels matching pred.
template <typename Pred> QRect InkBox(const QImage &image, Pred pred)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (pred(line[x]))
                box |= QRect(x, y, 1, 1);
    }
    return box;
}
QRect InkBox(const QImage &image)
{
    return InkBox(image, [](QRgb c) { return qGray(c) < 160; });
}

const QByteArray kHead =
    "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1045{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial CE;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\f0\\fs20 ";

QByteArray Doc(const QByteArray &body)
{
    return kHead + body + "\\par\r\n}\r\n";
}

// Paragraphs of Polish text, numbered so that each is different.
QByteArray LongDoc(int paragraphs)
{
    QByteArray body;
    for (int i = 0; i < paragraphs; ++i) {
        body += "\\pard\\qj\\sa120 Akapit " + QByteArray::number(i) +
                ": za\\'bf\\'f3\\'b3\\'e6 g\\'ea\\'9cl\\'b9 ja\\'9f\\'f1, tekst wyjustowany, kt\\'f3ry zajmuje "
                "kilka wierszy w polu, aby strony dzieli\\'b3y si\\'ea mi\\'eadzy wierszami.\\par\r\n";
        if (i % 7 == 3)
            body += "\\trowd\\trgaph108\\clbrdrt\\brdrs\\cellx2000\\cellx4000\\pard\\intbl Kom\\'f3rka\\cell "
                    "Druga kom\\'f3rka z d\\'b3u\\'bfszym tekstem\\cell\\row\\pard ";
    }
    return kHead + body + "}";
}

QByteArray PngHex(QColor colour, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

int Measure(const QByteArray &rtf, RichTextRect rect, int *position = nullptr)
{
    QImage image = Canvas();
    QPainter p(&image);
    return DrawRichText(p, rect, rtf, position, kZoom, false);
}

} // namespace

TEST(DrawRichText, EmptyTextReturnsZeroAndChangesNothing)
{
    QImage image = Canvas();
    QPainter p(&image);
    int position = 17;
    EXPECT_EQ(DrawRichText(p, {0, 0, 1000, 1000}, QByteArray(), &position, kZoom, true), 0);
    EXPECT_EQ(position, 17);
    // A document without text is not empty text, but there is nothing to lay out either.
    EXPECT_EQ(DrawRichText(p, {0, 0, 1000, 1000}, "{\\rtf1}", &position, kZoom, true), 0);
    EXPECT_EQ(position, 0);
    p.end();
    EXPECT_TRUE(InkBox(image).isNull());
}

TEST(DrawRichText, TextThatFitsGivesItsHeightAndEndsContinuation)
{
    const QByteArray rtf = Doc("Jeden wiersz tekstu.\\par Drugi wiersz.");
    const RichTextRect rect{100, 200, 1100, 1900};
    QImage image = Canvas();
    QPainter p(&image);
    int position = 0;
    const int h = DrawRichText(p, rect, rtf, &position, kZoom, true);
    p.end();
    EXPECT_EQ(position, 0);
    // Two lines of 10-point Arial are 2 x 15 px at 96 dpi (the metric of Arial), magnified 1.8 times.
    EXPECT_NEAR(h, 2 * 15 * 1.8, 3);
    EXPECT_EQ(Measure(rtf, rect), h);
    const QRect ink = InkBox(image);
    EXPECT_GE(ink.left(), rect.Left);
    EXPECT_LT(ink.left(), rect.Left + 6);
    EXPECT_GE(ink.top(), rect.Top);
    EXPECT_LE(ink.bottom(), rect.Top + h);
}

TEST(DrawRichText, CanvasStateIsRestored)
{
    QImage image = Canvas();
    QPainter p(&image);
    p.translate(5, 7);
    p.setClipRect(QRect(0, 0, 800, 800));
    p.setPen(QColor(1, 2, 3));
    p.setBrush(Qt::NoBrush);
    QFont font("Liberation Serif");
    font.setPixelSize(31);
    p.setFont(font);
    const QTransform transform = p.worldTransform();
    const QRegion clip = p.clipRegion();
    for (const QByteArray &rtf : {QByteArray(), Doc("tekst"), QByteArray("{\\rtf1 \\'"), LongDoc(40)}) {
        int position = 0;
        DrawRichText(p, {10, 10, 500, 300}, rtf, &position, kZoom, true);
        EXPECT_EQ(p.worldTransform(), transform);
        EXPECT_EQ(p.clipRegion(), clip);
        EXPECT_EQ(p.pen().color(), QColor(1, 2, 3));
        EXPECT_EQ(p.font().pixelSize(), 31);
        EXPECT_EQ(p.font().family(), "Liberation Serif");
    }
}

TEST(DrawRichText, PiecesContinueWithoutLosingOrRepeatingText)
{
    const QByteArray rtf = LongDoc(60);
    const int width = 1000;
    const RichTextRect page{100, 0, 100 + width, 1900};

    // The pieces as DrawRichText hands them out.
    QImage image = Canvas();
    QPainter p(&image);
    std::vector<int> starts{0};
    int sum = 0;
    int position = 0;
    for (int guard = 0; guard < 100; ++guard) {
        const int h = DrawRichText(p, page, rtf, &position, kZoom, true);
        EXPECT_GT(h, 0);
        EXPECT_LE(h, 1900);
        sum += h;
        if (position == 0)
            break;
        EXPECT_GT(position, starts.back());
        starts.push_back(position);
    }
    p.end();
    EXPECT_EQ(position, 0);
    ASSERT_GE(starts.size(), 3u);

    // The same text measured in one piece: the heights add up (each piece rounds once).
    const int whole = Measure(rtf, {100, 0, 100 + width, 1000000});
    EXPECT_NEAR(sum, whole, 2 * int(starts.size()));

    // Every piece starts where a line starts, so no line is drawn twice or skipped.
    const double layoutWidth = std::nearbyint(width / 1.8) * 1440 / 96 / 15.0;
    platform::rtf::RichTextLayout layout(rtf, layoutWidth);
    std::set<int> lineStarts;
    const QTextDocument &doc = layout.Document();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (int i = 0; i < b.layout()->lineCount(); ++i)
            lineStarts.insert(b.position() + b.layout()->lineAt(i).textStart());
    for (int start : starts)
        EXPECT_TRUE(lineStarts.count(start)) << start;
    // And the pieces tile the lines: the next piece starts at the first line the previous left out.
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        const auto fit = layout.FitLines(starts[i], std::nearbyint(1900 / 1.8) * 1440 / 96 / 15.0);
        EXPECT_EQ(fit.next, starts[i + 1]);
    }
}

TEST(DrawRichText, MeasuredAndDrawnAgree)
{
    const QByteArray rtf = LongDoc(25);
    for (int width : {300, 777, 1229}) {
        SCOPED_TRACE(width);
        int measuredPos = 0, drawnPos = 0;
        for (int piece = 0; piece < 50; ++piece) {
            QImage image = Canvas();
            QPainter p(&image);
            const int measured = DrawRichText(p, {0, 0, width, 1500}, rtf, &measuredPos, kZoom, false);
            const int drawn = DrawRichText(p, {0, 0, width, 1500}, rtf, &drawnPos, kZoom, true);
            EXPECT_EQ(measured, drawn);
            EXPECT_EQ(measuredPos, drawnPos);
            if (drawnPos == 0 || measuredPos != drawnPos)
                break;
        }
    }
}

TEST(DrawRichText, ContinuationThatCannotAdvanceStops)
{
    // A picture taller than the page: the text before it fits, the picture never will.
    const QByteArray rtf = Doc("Tekst przed obrazem.\\par{\\pict\\emfblip\\picwgoal1440\\pichgoal30000 00}\\par po");
    int position = 0;
    const RichTextRect page{0, 0, 1000, 1900};
    const int first = Measure(rtf, page, &position);
    EXPECT_GT(first, 0);
    EXPECT_GT(position, 0);
    const int second = Measure(rtf, page, &position);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(second, 0);
}

TEST(DrawRichText, Alignments)
{
    struct Case {
        const char *name;
        QByteArray body;
        int left, right; // expected ink edges in device units, -1 when not checked
    };
    const RichTextRect rect{100, 100, 1000, 1900};
    const QByteArray longText = "Wyjustowany tekst, kt\\'f3ry jest na tyle d\\'b3ugi, \\'bfe zajmuje kilka wierszy "
                                "i pokazuje, jak s\\'b3owa rozsuwaj\\'b9 si\\'ea do obu kraw\\'eadzi.";
    const Case cases[] = {
        {"left", "\\ql Tekst", 100, -1},
        {"right", "\\qr Tekst", -1, 1000},
        {"justified first line reaches the right edge", "\\qj " + longText, 100, 1000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage image = Canvas();
        QPainter p(&image);
        DrawRichText(p, rect, Doc(c.body), nullptr, kZoom, true);
        p.end();
        // The first line only: 10-point lines are 27 device units high.
        const QRect ink = InkBox(image.copy(0, 100, 1429, 27)).translated(0, 100);
        if (c.left >= 0) {
            EXPECT_NEAR(ink.left(), c.left, 5);
        }
        if (c.right >= 0) {
            EXPECT_NEAR(ink.right(), c.right, 5);
        }
    }
    QImage centred = Canvas();
    QPainter p(&centred);
    DrawRichText(p, rect, Doc("\\qc Tekst"), nullptr, kZoom, true);
    p.end();
    const QRect ink = InkBox(centred);
    EXPECT_NEAR((ink.left() + ink.right()) / 2.0, 550, 4);

    // Left aligned, the same long text stops short of the right edge.
    QImage ragged = Canvas();
    QPainter q(&ragged);
    DrawRichText(q, rect, Doc("\\ql " + longText), nullptr, kZoom, true);
    q.end();
    EXPECT_LT(InkBox(ragged.copy(0, 100, 1429, 27)).right(), 1000 - 20);
}

TEST(DrawRichText, IndentsAndTabStops)
{
    struct Case {
        const char *name;
        QByteArray body;
        double markTwips; // where the ink of the red X starts, from the rectangle's left
    };
    const Case cases[] = {
        {"left indent", "\\li1440 {\\cf1 X}", 1440},
        {"first-line indent", "\\li720\\fi720 {\\cf1 X}", 1440},
        {"tab stop from the text's left edge", "\\tx2880 a\\tab{\\cf1 X}", 2880},
        {"tab stop in an indented paragraph", "\\li1440\\tx2880 a\\tab{\\cf1 X}", 2880},
        {"hanging indent stops at the left indent", "\\li1440\\fi-720 1.\\tab{\\cf1 X}", 1440},
        {"right tab ends the text at the stop", "\\tqr\\tx4320 a\\tab{\\cf1 XXXXXXXX}\\tab b", -4320},
        {"default tab stops every \\deftab", "a\\tab{\\cf1 X}", 720},
    };
    const RichTextRect rect{100, 100, 1300, 1900};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage image = Canvas();
        QPainter p(&image);
        DrawRichText(p, rect, Doc(c.body), nullptr, kZoom, true);
        p.end();
        const QRect red = InkBox(image, [](QRgb x) { return qRed(x) > 200 && qGreen(x) < 100; });
        ASSERT_FALSE(red.isNull());
        const double at = 100 + std::abs(c.markTwips) / 15.0 * 1.8;
        if (c.markTwips >= 0) {
            EXPECT_NEAR(red.left(), at, 4);
        } else {
            EXPECT_NEAR(red.right(), at, 4);
        }
    }
}

TEST(DrawRichText, SpaceAfterAndBeforeAddUp)
{
    // 200 twips after the first paragraph and 100 before the second make a gap of 300 twips.
    const QByteArray rtf = Doc("\\sa200 a\\par\\pard\\sb100 b");
    platform::rtf::RichTextLayout layout(rtf, 500);
    const QTextDocument &doc = layout.Document();
    const QRectF first = doc.documentLayout()->blockBoundingRect(doc.begin());
    const QRectF second = doc.documentLayout()->blockBoundingRect(doc.begin().next());
    EXPECT_NEAR(second.top() - first.bottom(), 300 / 15.0, 0.01);
}

TEST(DrawRichText, TableCellsAndBorders)
{
    const QByteArray rtf =
        Doc("\\trowd\\trgaph108\\clbrdrl\\brdrs\\clbrdrr\\brdrs\\cellx2000\\clbrdrr\\brdrs\\cellx5000"
            "\\pard\\intbl A\\cell{\\cf1 B}\\cell\\row\\trowd\\trgaph108\\clbrdrr\\brdrs\\cellx2000\\cellx5000"
            "\\pard\\intbl C\\cell{\\cf1 D}\\cell\\row\\pard po tabeli");
    const RichTextRect rect{100, 100, 1300, 1900};
    QImage image = Canvas();
    QPainter p(&image);
    int position = 0;
    const int h = DrawRichText(p, rect, rtf, &position, kZoom, true);
    p.end();
    EXPECT_EQ(position, 0);
    // Two rows and a paragraph: three lines; borders sit on the boundaries and take no room.
    EXPECT_NEAR(h, 3 * 15 * 1.8, 1);
    const QRect red = InkBox(image, [](QRgb x) { return qRed(x) > 200 && qGreen(x) < 100; });
    // B and D start a gap (108 twips) right of the cell boundary at 2000 twips.
    EXPECT_NEAR(red.left(), 100 + (2000 + 108) / 15.0 * 1.8, 4);
    EXPECT_GT(red.height(), 27); // both rows
    // The border between the cells: a dark column at 2000 twips through the first row.
    const int borderX = int(std::lround(100 + 2000 / 15.0 * 1.8));
    int dark = 0;
    for (int x = borderX - 2; x <= borderX + 2; ++x)
        dark += qGray(image.pixel(x, 100 + 10)) < 128;
    EXPECT_GE(dark, 1);
}

TEST(DrawRichText, EmbeddedPng)
{
    // 10 x 10 pixels shown at 150 x 300 twips: 10 x 20 pixels at 96 dpi, 18 x 36 device units.
    const QByteArray rtf =
        Doc("{\\pict\\pngblip\\picw10\\pich10\\picwgoal150\\pichgoal300 " + PngHex(QColor(0, 200, 0), 10, 10) + "}");
    QImage image = Canvas();
    QPainter p(&image);
    const int h = DrawRichText(p, {200, 300, 1200, 1900}, rtf, nullptr, kZoom, true);
    p.end();
    const QRect green = InkBox(image, [](QRgb x) { return qGreen(x) > 150 && qRed(x) < 80; });
    EXPECT_NEAR(green.left(), 200, 2);
    EXPECT_NEAR(green.width(), 18, 2);
    EXPECT_NEAR(green.height(), 36, 2);
    EXPECT_GE(h, 36);
}

TEST(DrawRichText, ColouredRunsAreDrawnInTheirColour)
{
    QImage image = Canvas();
    QPainter p(&image);
    DrawRichText(p, {0, 0, 1400, 500}, Doc("czarny {\\cf1 czerwony} czarny"), nullptr, kZoom, true);
    p.end();
    const QRect red = InkBox(image, [](QRgb x) { return qRed(x) > 200 && qGreen(x) < 100 && qBlue(x) < 100; });
    const QRect all = InkBox(image);
    ASSERT_FALSE(red.isNull());
    EXPECT_GT(red.left(), all.left() + 20);
    EXPECT_LT(red.right(), all.right() - 20);
}

TEST(RichEditBox, FormatRangeAnswersLikeTheControl)
{
    platform::TRichEditBox box;
    box.LoadRtf(Doc("a\\par b\\par c"));
    QImage image = Canvas();
    QPainter p(&image);
    // A line is 15 px = 225 twips at 96 dpi: a rectangle of 500 twips takes two.
    auto r = box.FormatRange(p, {0, 100, 3000, 600}, 0, false);
    EXPECT_EQ(r.Answer, 4); // "a", mark, "b", mark: c starts at 4
    EXPECT_EQ(r.FirstNotFitted, 4);
    EXPECT_EQ(r.BottomTwips, 100 + 450);
    r = box.FormatRange(p, {0, 0, 3000, 600}, 4, false);
    EXPECT_EQ(r.Answer, box.TextLength());
    EXPECT_EQ(r.FirstNotFitted, 0);
    EXPECT_EQ(r.BottomTwips, 225);
    // Not even one line fits: nothing is laid out and the answer is where it started.
    r = box.FormatRange(p, {0, 0, 3000, 100}, 2, false);
    EXPECT_EQ(r.Answer, 2);
    EXPECT_EQ(r.BottomTwips, 0);
}

TEST(DrawRichText, WordPadTableLinesUpWithTheParagraphs)
{
    // \trleft-108 with \trgaph108: the first cell's text starts where paragraphs start.
    const QByteArray rtf = Doc("\\trowd\\trgaph108\\trleft-108\\cellx1440\\cellx2880\\pard\\intbl{\\cf1 A}\\cell B"
                               "\\cell\\row\\pard{\\cf1 C}");
    QImage image = Canvas();
    QPainter p(&image);
    DrawRichText(p, {100, 100, 1300, 1900}, rtf, nullptr, kZoom, true);
    p.end();
    const auto isRed = [](QRgb x) { return qRed(x) > 200 && qGreen(x) < 100; };
    const QRect a = InkBox(image.copy(0, 100, 1429, 27), isRed);
    const QRect c = InkBox(image.copy(0, 127, 1429, 27), isRed);
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(c.isNull());
    EXPECT_NEAR(a.left(), 100, 3);
    EXPECT_NEAR(a.left(), c.left(), 2);
}

TEST(DrawRichText, OddRectanglesAndZoomsReturnSanely)
{
    struct Case {
        const char *name;
        RichTextRect rect;
        float zoom;
    };
    const Case cases[] = {
        {"inverted", {500, 500, 100, 100}, kZoom},
        {"empty", {100, 100, 100, 100}, kZoom},
        {"huge", {-2000000000, -2000000000, 2000000000, 2000000000}, kZoom},
        {"zoom zero", {0, 0, 1000, 1000}, 0.0f},
        {"zoom tiny", {0, 0, 1000, 1000}, 1e-30f},
        {"zoom huge", {0, 0, 1000, 1000}, 1e30f},
        {"zoom not a number", {0, 0, 1000, 1000}, std::numeric_limits<float>::quiet_NaN()},
    };
    const QByteArray rtf = LongDoc(3);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage image = Canvas();
        QPainter p(&image);
        int position = 0;
        const int h = DrawRichText(p, c.rect, rtf, &position, c.zoom, true);
        EXPECT_GE(h, 0);
        EXPECT_EQ(p.worldTransform(), QTransform());
        // Whatever happened, a second call with the returned position ends or advances.
        const int before = position;
        DrawRichText(p, c.rect, rtf, &position, c.zoom, true);
        EXPECT_TRUE(position == 0 || position > before);
    }
}

TEST(DrawRichText, EmfPictureKeepsItsBox)
{
    // 1440 x 720 twips: 96 x 48 pixels at 96 dpi. The line holding it is at least that high.
    const QByteArray rtf = Doc("{\\pict\\emfblip\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 01000000}");
    const int h = Measure(rtf, {0, 0, 1000, 1900});
    EXPECT_GE(h, int(48 * 1.8));
    EXPECT_LE(h, int(48 * 1.8) + 10);
}

TEST(DrawRichText, EmfPictureIsPlayedIntoItsBox)
{
    // A red rectangle filling the picture's frame shows inside the 96 x 48 pixel box, zoomed 1.8.
    testing_emf::EmfWriter emf(200, 100);
    emf.CreateBrush(1, 0, Qt::red);
    emf.SelectObject(1);
    emf.CreatePen(2, 5, 0, Qt::red); // PS_NULL: no outline
    emf.SelectObject(2);
    emf.Rectangle(0, 0, 200, 100);
    const QByteArray rtf = Doc("{\\pict\\emfblip\\picwgoal1440\\pichgoal720 " + emf.Finish().toHex() + "}");
    QImage page(1000, 1000, QImage::Format_ARGB32_Premultiplied);
    page.setDotsPerMeterX(3780);
    page.setDotsPerMeterY(3780);
    page.fill(Qt::white);
    QPainter p(&page);
    DrawRichText(p, {0, 0, 1000, 1000}, rtf, nullptr, kZoom, true);
    p.end();
    EXPECT_EQ(page.pixelColor(86, 43), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(400, 43), QColor(Qt::white));
}

TEST(DrawRichText, TwipsFollowTheCanvasResolution)
{
    // The same text on a canvas of twice the resolution takes twice the device units.
    const QByteArray rtf = LongDoc(4);
    QImage fine(2858, 4000, QImage::Format_ARGB32_Premultiplied);
    fine.setDotsPerMeterX(2 * 3780);
    fine.setDotsPerMeterY(2 * 3780);
    QPainter p(&fine);
    const int doubled = DrawRichText(p, {0, 0, 2000, 3800}, rtf, nullptr, kZoom, false);
    p.end();
    EXPECT_NEAR(doubled, 2 * Measure(rtf, {0, 0, 1000, 1900}), 3);
}

TEST(DrawRichText, TableAfterSpacedParagraphEndsWithItsLastRow)
{
    // Regression: the last row's border was drawn at the table frame's bottom, which counts the
    // space before the table a second time. Lines: "a" 0-15, 20 px after it, the row 35-50.
    const QByteArray rtf = Doc("\\sa300 a\\par\\pard\\trowd\\clbrdrb\\brdrs\\cellx2000\\pard\\intbl b\\cell\\row"
                               "\\pard c");
    QImage image = Canvas();
    QPainter p(&image);
    DrawRichText(p, {100, 100, 1000, 1900}, rtf, nullptr, kZoom, true);
    p.end();
    // Rows of dark pixels across the cell, away from the letters.
    std::vector<int> lines;
    for (int y = 100; y < 300; ++y) {
        int dark = 0;
        for (int x = 150; x < 300; ++x)
            dark += qGray(image.pixel(x, y)) < 128;
        if (dark > 140)
            lines.push_back(y);
    }
    ASSERT_FALSE(lines.empty());
    EXPECT_NEAR(lines.front(), 100 + 35 * 1.8, 2); // the row's top border
    EXPECT_NEAR(lines.back(), 100 + 50 * 1.8, 2);  // and its bottom border
}

TEST(RichTextLayout, ContentPastTheWorkBoundIsNotKept)
{
    // Far more text than any field holds: what lies past the bound is read but not laid out, so
    // the layout ends in bounded time.
    QByteArray body;
    const QByteArray line(999, 'x');
    for (int i = 0; i < 4200; ++i)
        body += line + "\\par ";
    const platform::rtf::RichTextLayout layout(Doc(body), 600);
    EXPECT_LE(layout.TextLength(), 4'000'000);
    EXPECT_GE(layout.TextLength(), 3'990'000);
}
