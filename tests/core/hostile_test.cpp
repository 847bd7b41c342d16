// Printouts made to hurt: whatever a file holds, the program answers with its pages or a clear
// message, in bounded memory, and one printout never disturbs the next.
#include "tests/support/EmfWriter.h"
#include "tests/support/LayoutHelpers.h"

#include "core/HeaderFormat.h"
#include "core/PrintoutFile.h"
#include "platform/emf/EmfPicture.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>

#include <limits>

using namespace wydtest;

namespace {

QByteArray RichText(char letter)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 " + QByteArray(12, letter) + "}";
}

Document RichTextDocument(char letter)
{
    Document doc = DeviceDocument();
    doc.Root.Title = BlockOf({LineOf({TextAt(100, 1200, RichText(letter), 7)})});
    return doc;
}

// A picture of one 300 x 200 bitmap (240,000 bytes decoded).
QByteArray BitmapPicture()
{
    testing_emf::EmfWriter w(300, 200);
    const QByteArray row(300 * 3, '\x40');
    w.StretchDIBits(QRect(0, 0, 300, 200), QRect(0, 0, 300, 200),
                    testing_emf::MakeDib(300, 200, 24, {}, QList<QByteArray>(200, row)));
    return w.Finish();
}

// `lines` lines of one field each, in one block.
Document ManyLines(int lines)
{
    Document doc = DeviceDocument();
    std::vector<Line> block;
    for (int i = 0; i < lines; ++i)
        block.push_back(TextLine("line " + QByteArray::number(i)));
    doc.Root.Title = BlockOf(block);
    return doc;
}

QString LoadError(const Document &doc, qint64 budget)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath("budget.wyd");
    WriteWyd(path, doc);
    TWydruk loader;
    loader.Tekst().MemoryBudget = budget;
    try {
        loader.LoadFromFile(path);
    } catch (const Exception &e) {
        EXPECT_EQ(loader.Tekst().ModelBytes(), 0) << "a refused printout gives its memory back";
        return e.Message();
    }
    return {};
}

} // namespace

// Two printouts laid out one after the other with rich texts of the same length and width: the
// format-range cache kept a key pointing into the first model's freed text, and the second
// printout was drawn with the first one's layout (or crashed comparing against freed memory).
TEST(Hostile, SecondPrintoutLaysOutItsOwnRichText)
{
    QTemporaryDir dir;
    TWydruk loader; // one loader, as the library's preview reads one printout after another
    std::vector<QString> texts;
    loader.OnNextPage = [&](TWydruk *, platform::PageMetafile *page) {
        texts.push_back(ReadPage(*page).JoinedTexts());
    };
    for (char letter : {'A', 'B'}) {
        const QString path = dir.filePath(QString(QChar(letter)) + ".wyd");
        WriteWyd(path, RichTextDocument(letter));
        loader.LoadFromFile(path);
        loader.BuildPages();
    }
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[1].contains(QString(12, u'B'))) << texts[1].toStdString();
}

// Lookups go through a hash now; the rule stays: the first style whose name or alias matches,
// compared in Windows-1250 upper case, else the default style.
TEST(Hostile, StyleLookupKeepsTheFirstMatch)
{
    Document doc = DeviceDocument();
    doc.Styles = {{.Color = 1, .Name = "Pierwszy", .Alias = "wsp\xF3lny"}, // "wspólny"
                  {.Color = 2, .Name = "WSP\xD3LNY"},
                  {.Color = 3, .Name = "\xB3\xB9ka"}}; // "łąka"
    doc.Root.Title = BlockOf({TextLine("x")});
    const auto loader = Load(doc);
    const TStyle &styles = loader->Tekst().Styles();
    EXPECT_EQ(styles.Find("WSP\xD3LNY")->Color, 1);
    EXPECT_EQ(styles.Find("pierwszy")->Color, 1);
    EXPECT_EQ(styles.Find("\xA3\xA5KA")->Color, 3); // "ŁĄKA"
    EXPECT_EQ(styles.Find("brak"), styles.Default());
}

// A column header with a picture repeats on every page; each page decoded the bitmap again and
// held its own copy, so a small file could take gigabytes.
TEST(Hostile, PagesRepeatingAPictureShareIt)
{
    Document doc = DeviceDocument();
    doc.Root.ColumnHeader = BlockOf({LineOf({{.Kind = 6, .Picture = BitmapPicture()}})});
    for (int i = 0; i < 5; ++i) {
        Record item;
        item.BreakBefore = 1;
        item.Title = BlockOf({TextLine("item")});
        doc.Root.Items.push_back(item);
    }
    const Built b = Build(doc);
    ASSERT_GE(b.Pages.size(), 5u);
    const qint64 bitmap = 300 * 200 * 4;
    EXPECT_LT(b.Loader->Tekst().Pages().PageBytes(), 2 * bitmap);
}

// A vector letterhead in a column header: every page drew the picture's records anew, so a long
// printout held thousands of copies of them.
TEST(Hostile, PagesRepeatingAHeaderPictureHoldItsRecordsOnce)
{
    testing_emf::EmfWriter w(2000, 400);
    QList<QList<QPoint>> waves(40);
    for (int k = 0; k < 40; ++k)
        for (int x = 0; x < 2000; x += 8)
            waves[k] << QPoint(x, 20 + 9 * k + (x / 8 + k) % 7);
    w.PolyPolyline(waves, true);
    const QByteArray picture = w.Finish();
    const auto build = [&](int pages) {
        Document doc = DeviceDocument();
        doc.Root.ColumnHeader = BlockOf({LineOf({{.Kind = 6, .Picture = picture}})});
        for (int i = 0; i < pages; ++i) {
            Record item;
            item.BreakBefore = i > 0;
            item.Title = BlockOf({TextLine("item " + QByteArray::number(i))});
            doc.Root.Items.push_back(item);
        }
        return Build(doc);
    };
    const Built few = build(2), many = build(32);
    ASSERT_EQ(few.Pages.size(), 2u);
    ASSERT_EQ(many.Pages.size(), 32u);
    const qint64 fewBytes = few.Loader->Tekst().Pages().PageBytes();
    const qint64 manyBytes = many.Loader->Tekst().Pages().PageBytes();
    EXPECT_GT(fewBytes, 10'000 * 16); // the picture's points
    EXPECT_LT((manyBytes - fewBytes) / 30, fewBytes / 20);

    // Every page shows the picture as a page with the picture drawn straight onto it does.
    platform::PageMetafile straight;
    {
        QPainter p(&straight);
        const platform::TEmfPicture emf(picture);
        const int width = straight.Size().width();
        emf.Draw(p, QRectF(0, 0, width, qint64(width) * emf.Height() / emf.Width()));
    }
    const QImage alone = RenderPage(straight);
    const QRect header(0, 0, alone.width(), 250); // above the item's text
    for (size_t i : {size_t(0), size_t(1), size_t(31)})
        EXPECT_TRUE(RenderPage(*many.Pages[i]).copy(header) == alone.copy(header)) << i;
}

TEST(Hostile, PrintoutPastTheBudgetIsRefusedWhileReading)
{
    // 2,000 lines take about 100 KB of model.
    EXPECT_EQ(LoadError(ManyLines(2000), 32 * 1024), kPrintoutTooLarge);
    EXPECT_EQ(LoadError(ManyLines(2000), 4 << 20), QString());
    // Style names count as well: 2,000 fields, each with a name of its own, take over 500 KB.
    Document named = ManyLines(2000);
    for (Line &line : named.Root.Title.Lines)
        line.Fields[0].StyleName = QByteArray(200, 'n') + line.Fields[0].Text;
    EXPECT_EQ(LoadError(named, 256 * 1024), kPrintoutTooLarge);
    // A picture is charged before its bytes are read.
    Document picture = DeviceDocument();
    picture.Root.Title = BlockOf({LineOf({{.Kind = 6, .Picture = BitmapPicture()}})});
    EXPECT_EQ(LoadError(picture, 100 * 1024), kPrintoutTooLarge);
}

// Past the budget the build ends like a cancelled one: the pages so far were delivered and stay
// valid, then the message comes.
TEST(Hostile, BuildPastTheBudgetKeepsItsPagesAndSaysWhy)
{
    std::unique_ptr<TWydruk> loader = Load(ManyLines(3000)); // 37 pages of about 1.7 KB
    TMLineWydruk &model = loader->Tekst();
    model.MemoryBudget = model.ModelBytes() + 20 * 1024;
    std::vector<platform::PageMetafile *> pages;
    loader->OnNextPage = [&](TWydruk *, platform::PageMetafile *page) { pages.push_back(page); };
    try {
        loader->BuildPages();
        ADD_FAILURE() << "built past the budget";
    } catch (const ETooLarge &e) {
        EXPECT_EQ(e.Message(), kPrintoutTooLarge);
    }
    ASSERT_FALSE(pages.empty());
    EXPECT_LT(pages.size(), 30u); // stopped early
    EXPECT_TRUE(ReadPage(*pages.front()).JoinedTexts().startsWith("line 0|"));

    // A receiver without memory for a page stops the build the same way.
    model.MemoryBudget = DefaultMemoryBudget();
    pages.clear();
    loader->OnNextPage = [&](TWydruk *sender, platform::PageMetafile *page) {
        pages.push_back(page);
        if (pages.size() == 2)
            sender->StopTooLarge();
    };
    EXPECT_THROW(loader->BuildPages(), ETooLarge);
    EXPECT_LE(pages.size(), 3u); // the partly drawn page comes too
}

// A header name declaring two gigabytes was read whole before it was compared.
TEST(Hostile, HeaderNameOfAnotherLengthIsNotReadAtAll)
{
    QByteArray bytes = "WENOR2001\xFF";
    bytes += QByteArray(4, '\0');
    qToLittleEndian<qint32>(std::numeric_limits<qint32>::max(), bytes.data() + 10);
    bytes += "Wydruk";
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_FALSE(CheckHeader(buffer, "Wydruk"));
    EXPECT_EQ(buffer.pos(), 14);
}

// A NaN or negative spacing stacked lines on each other: 600 lines on two pages.
TEST(Hostile, LineSpacingThatIsNoDistanceIsZero)
{
    for (float spacing : {std::numeric_limits<float>::quiet_NaN(), -5.0f, 0.0f}) {
        Document doc = ManyLines(600);
        doc.LineSpacing = spacing;
        const Built b = Build(doc);
        EXPECT_EQ(b.Loader->Tekst().LineSpacing, 0.0f) << spacing;
        EXPECT_EQ(b.Pages.size(), 8u) << spacing; // 83 lines of 24 units a page
    }
}

// Sizes and positions far beyond any page convert to the nearest int the page can hold instead
// of overflowing (caught by the undefined-behaviour sanitizer).
TEST(Hostile, HugeSizesAndPositionsStillLayOut)
{
    Document doc = DeviceDocument();
    doc.Styles = {{.CharHeight = 1e30f, .CharWidth = 3e38f, .Name = "wielki"}};
    doc.Root.Title =
        BlockOf({LineOf({{.X = std::numeric_limits<qint32>::max(), .Width = -1, .StyleName = "wielki", .Text = "x"}}),
                 TextLine("after")});
    const Built b = Build(doc);
    ASSERT_FALSE(b.Pages.empty());
    EXPECT_TRUE(b.Texts().back().endsWith("after"));
}

// Regression: characters 1,536 mm wide drawn at a low resolution (png at 10 dpi, the thumbnail of
// 128 pixels) crashed inside the glyph painter: FreeType could not render glyphs so long and so
// thin, and Qt then read the glyph image that was never made. They are drawn as outlines.
TEST(Hostile, GlyphsTooLongForTheFontEngineAreStillDrawn)
{
    const struct {
        const char *font;
        float width; // mm
    } rows[] = {{"Arial", 1536}, {"Courier New", 3000}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.font);
        Document doc;
        doc.Styles = {{.CharWidth = row.width, .FontName = row.font, .Name = "szeroki"}};
        doc.Root.Title.Lines = {{.Fields = {{.X = 600, .Width = 8000, .StyleName = "szeroki", .Text = "Wenor"}}}};
        const Built b = Build(doc);
        ASSERT_EQ(b.Pages.size(), 1u);
        // 10 dpi and the thumbnail's 128 pixels.
        for (const QSize size : {QSize(83, 116), QSize(91, 128)}) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
                b.Pages[0]->Play(painter, QRectF(QPointF(0, 0), QSizeF(size)));
            }
            bool inked = false;
            for (int x = 0; x < size.width() && !inked; ++x)
                for (int y = 0; y < 8 && !inked; ++y)
                    inked = image.pixel(x, y) != qRgb(255, 255, 255);
            EXPECT_TRUE(inked) << size.height();
        }
    }
}
