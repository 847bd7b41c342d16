#include "platform/metafile/PageMetafile.h"
#include "platform/pdf/PdfDocument.h"
#include "platform/pdf/PdfResources.h"
#include "platform/text/DrawText.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform;

namespace {

const QSizeF kA4(210, 297);

TFont Face(const char *name, int height, int width)
{
    return CreateFont(-height, -width, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, name);
}

void Text(QPainter &p, const TFont &font, int x, int y, const QString &text)
{
    TRect r{x, y, 1400, y + 100};
    DrawTextEx(&p, font, text, r, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

QString Output(const QString &program, const QStringList &args)
{
    QProcess proc;
    proc.start(program, args);
    proc.waitForFinished(30000);
    return QString::fromUtf8(proc.readAllStandardOutput());
}

// Writes pages to a PDF file in dir and returns its path.
QString WritePdf(const QTemporaryDir &dir, const QList<PageMetafile> &pages, const QRectF &target,
                 const RecordCallback &change = {})
{
    const QString path = dir.filePath("out.pdf");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    PdfDocument pdf(file);
    for (const PageMetafile &page : pages)
        pdf.AddPage(page, kA4, target, change);
    EXPECT_TRUE(pdf.Finish());
    return path;
}

QImage Render(const QString &pdf, int page, int dpi)
{
    const QString prefix = QFileInfo(pdf).dir().filePath("render");
    QProcess::execute("pdftoppm", {"-r", QString::number(dpi), "-f", QString::number(page), "-l", QString::number(page),
                                   "-singlefile", "-png", pdf, prefix});
    return QImage(prefix + ".png");
}

} // namespace

TEST(PdfDocument, TextOfEveryPageCanBeExtracted)
{
    QList<PageMetafile> pages(2);
    {
        QPainter p(&pages[0]);
        Text(p, Face("Courier New", 24, 11), 100, 100, QString::fromUtf8("Zażółć gęślą jaźń"));
        Text(p, Face("Arial", 30, 13), 100, 300, QStringLiteral("Second line"));
    }
    {
        QPainter p(&pages[1]);
        Text(p, Face("Times New Roman", 28, 12), 100, 100, QStringLiteral("Page two"));
    }
    QTemporaryDir dir;
    const QString pdf = WritePdf(dir, pages, QRectF(10, 15, 190, 257));
    const QString info = Output("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains("595.276 x 841.89 pts (A4)")) << info.toStdString();
    const QString one = Output("pdftotext", {"-f", "1", "-l", "1", pdf, "-"});
    EXPECT_TRUE(one.contains(QString::fromUtf8("Zażółć gęślą jaźń"))) << one.toStdString();
    EXPECT_TRUE(one.contains("Second line")) << one.toStdString();
    EXPECT_FALSE(one.contains("Page two"));
    const QString two = Output("pdftotext", {"-f", "2", "-l", "2", pdf, "-"});
    EXPECT_TRUE(two.contains("Page two")) << two.toStdString();
    const QString fonts = Output("pdffonts", {pdf});
    EXPECT_EQ(fonts.count("CID TrueType"), 3) << fonts.toStdString();
    EXPECT_EQ(fonts.count(" yes yes yes "), 3) << fonts.toStdString(); // embedded, subset, ToUnicode
}

TEST(PdfDocument, DrawingLandsWhereThePagePutsIt)
{
    PageMetafile page;
    {
        QPainter p(&page);
        p.fillRect(QRect(0, 0, 1429, 1000), QColor(255, 0, 0)); // top half red
        p.setPen(QPen(Qt::blue, 20));
        p.drawLine(0, 1500, 1429, 1500);
        QImage pic(4, 4, QImage::Format_RGB32);
        pic.fill(QColor(0, 160, 0));
        p.drawImage(QRect(1000, 1700, 200, 200), pic);
    }
    QTemporaryDir dir;
    // The bare page on a sheet of its own size: page units map straight to the rendering.
    const QString path = dir.filePath("bare.pdf");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        PdfDocument pdf(file);
        pdf.AddPage(page, QSizeF(210, 294), QRectF(0, 0, 210, 294));
        ASSERT_TRUE(pdf.Finish());
    }
    const QImage img = Render(path, 1, 96); // about 794 x 1111
    ASSERT_FALSE(img.isNull());
    const double s = img.width() / 1429.0;
    auto at = [&](int x, int y) { return img.pixelColor(int(x * s), int(y * s)); };
    EXPECT_EQ(at(700, 500), QColor(255, 0, 0));
    EXPECT_EQ(at(700, 1200), QColor(255, 255, 255));
    EXPECT_EQ(at(700, 1500), QColor(0, 0, 255));
    EXPECT_EQ(at(1100, 1800), QColor(0, 160, 0));
}

TEST(PdfDocument, MoreGlyphsThanOneByteCodesHoldStillExtract)
{
    // The first 128 glyphs a font shows get one-byte codes, the rest two-byte ones.
    QString letters;
    for (char32_t c = 0xC0; c < 0x180; ++c)
        if (c != 0xD7 && c != 0xF7) // no signs, so that the line reads as one word
            letters += QChar(char16_t(c));
    PageMetafile page;
    {
        QPainter p(&page);
        const TFont font = Face("Arial", 20, 9);
        for (int i = 0; i < 4; ++i)
            Text(p, font, 20, 100 + 60 * i, letters.mid(i * 48, 48));
    }
    QTemporaryDir dir;
    const QString pdf = WritePdf(dir, {page}, QRectF(0, 0, 210, 297));
    const QString text = Output("pdftotext", {pdf, "-"});
    QString all = text;
    all.remove(QRegularExpression("\\s"));
    EXPECT_EQ(all.toStdString(), letters.toStdString());
}

TEST(PdfDocument, TextKeepsItsWidthAfterOtherDrawing)
{
    // Regression: the horizontal scale of stretched text outlived its text object, so unstretched
    // text drawn after a rule came out stretched.
    PageMetafile page;
    const TFont wide = Face("Courier New", 24, 30); // 30-unit letters from a 24-unit face
    const TFont plain = CreateFont(-40, 0, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Arial");
    {
        QPainter p(&page);
        Text(p, wide, 100, 100, "szeroki");
        p.drawLine(100, 300, 1000, 300);
        Text(p, plain, 100, 400, "Wąski");
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("bare.pdf");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        PdfDocument pdf(file);
        pdf.AddPage(page, QSizeF(210, 294), QRectF(0, 0, 210, 294));
        ASSERT_TRUE(pdf.Finish());
    }
    const QString bbox = Output("pdftotext", {"-bbox", path, "-"});
    const double unit = 595.276 / 1429; // points per page unit
    for (const auto &[word, font] :
         {std::pair{QString("szeroki"), wide}, std::pair{QString::fromUtf8("Wąski"), plain}}) {
        SCOPED_TRACE(word.toStdString());
        const QRegularExpression re("xMin=\"([0-9.]+)\"[^>]*xMax=\"([0-9.]+)\"[^>]*>" + word + "<");
        const QRegularExpressionMatch m = re.match(bbox);
        ASSERT_TRUE(m.hasMatch()) << bbox.toStdString();
        EXPECT_NEAR(m.captured(2).toDouble() - m.captured(1).toDouble(), font.TextWidth(word) * unit, 2.0);
    }
}

TEST(PdfDocument, TextTheClipHidesIsNotWritten)
{
    // Regression: a rich-text field continued on the next page wrote its previous lines, clipped
    // away above it, into the PDF, where search found them and selection copied them.
    PageMetafile page;
    const TFont font = Face("Arial", 24, 11);
    {
        QPainter p(&page);
        p.setClipRect(QRect(0, 200, 1429, 200));
        Text(p, font, 20, 100, "powyzej");        // wholly above the clip
        Text(p, font, 20, 200 - 10, "przyciete"); // its top cut off by the clip's edge
        Text(p, font, 20, 300, "widoczne");
        Text(p, font, 20, 500, "ponizej");
        p.translate(0, 400);
        Text(p, font, 20, -100, "przesuniete"); // inside once the transform is applied
    }
    QTemporaryDir dir;
    const QString text = Output("pdftotext", {WritePdf(dir, {page}, QRectF(0, 0, 210, 297)), "-"});
    EXPECT_FALSE(text.contains("powyzej")) << text.toStdString();
    EXPECT_FALSE(text.contains("ponizej")) << text.toStdString();
    EXPECT_EQ(text.count("przyciete"), 1) << text.toStdString();
    EXPECT_EQ(text.count("widoczne"), 1) << text.toStdString();
    EXPECT_EQ(text.count("przesuniete"), 1) << text.toStdString();
}

TEST(PdfDocument, FacesOfMoreGlyphsThanTwoByteCodesReachKeepTheirText)
{
    // Glyphs past 7FFF (Hangul in most CJK faces) need CIDs of their own; such faces used to be
    // drawn as outlines without text.
    QString family, text;
    for (const QString &f : QFontDatabase::families()) {
        QFont font(f);
        font.setStyleStrategy(QFont::NoFontMerging);
        const QRawFont raw = QRawFont::fromFont(font);
        const QByteArray maxp = raw.fontTable("maxp");
        if (raw.fontTable("glyf").isEmpty() || maxp.size() < 6 || (uchar(maxp[4]) << 8 | uchar(maxp[5])) <= 0x8000)
            continue;
        QString high, low;
        for (char16_t c = 0xAC00; c < 0xD7A4 && high.size() < 3; ++c) {
            const QList<quint32> g = raw.glyphIndexesForString(QString(QChar(c)));
            if (!g.isEmpty() && g[0] >= 0x8000)
                high += QChar(c);
            else if (!g.isEmpty() && g[0] != 0 && low.size() < 3)
                low += QChar(c);
        }
        if (high.size() == 3 && low.size() == 3) {
            family = f;
            text = low + high + "AB";
            break;
        }
    }
    if (family.isEmpty())
        GTEST_SKIP() << "no installed face has Hangul past glyph 7FFF (scripts/setup installs one)";
    PageMetafile page;
    {
        QPainter p(&page);
        QFont font(family);
        font.setPixelSize(40);
        font.setStyleStrategy(QFont::NoFontMerging);
        p.setFont(font);
        p.drawText(QPointF(100, 200), text);
    }
    QTemporaryDir dir;
    const QString path = WritePdf(dir, {page}, QRectF(0, 0, 210, 297));
    EXPECT_EQ(Output("pdftotext", {path, "-"}).trimmed().toStdString(), text.toStdString());
    // The glyphs drawn are the text's: the PDF looks like the page played directly.
    const QImage pdf = Render(path, 1, 96).convertToFormat(QImage::Format_Grayscale8);
    QImage direct(pdf.size(), QImage::Format_Grayscale8);
    direct.fill(Qt::white);
    {
        QPainter p(&direct);
        page.Play(p, QRectF(0, 0, direct.width(), direct.width() * 297.0 / 210));
    }
    int ink = 0, differ = 0;
    for (int y = 0; y < pdf.height(); ++y)
        for (int x = 0; x < pdf.width(); ++x) {
            const bool a = qGray(pdf.pixel(x, y)) < 128, b = qGray(direct.pixel(x, y)) < 128;
            ink += b;
            differ += a != b;
        }
    EXPECT_GT(ink, 100);
    EXPECT_LT(differ, ink / 5);
}

// A world transform of 1e20 in a picture wrote a negative number: the picture came out mirrored.
TEST(PdfDocument, NumbersBeyondRangeKeepTheirSign)
{
    const struct {
        double value;
        const char *starts;
    } rows[] = {{1e20, "9223372036854775"}, {-1e20, "-9223372036854775"}, {1.5, "1.5"}, {-0.25, "-0.25"}};
    for (const auto &row : rows) {
        std::string out;
        PdfNumber(out, row.value);
        EXPECT_EQ(out.rfind(row.starts, 0), 0u) << row.value << " wrote " << out;
    }
}

// Numbers are rounded to thousandths as SaturatingRound rounds them, halves to the even neighbour.
TEST(PdfDocument, NumbersRoundToThousandthsHalvesToEven)
{
    const struct {
        double value;
        const char *written;
    } rows[] = {
        {0.0625, "0.062"},                         // 62.5 thousandths exactly: down to the even 62
        {0.1875, "0.188"},                         // 187.5: up to the even 188
        {-0.0625, "-0.062"},                       // the same below zero
        {-0.1875, "-0.188"},                       //
        {2.0004999, "2"},                          // under a half: down, and no fraction left to write
        {-2.0005001, "-2.001"},                    // over a half: away from zero
        {0.0004, "0"},                             // a tiny value is written as 0, not "-0" or "0."
        {-0.0004, "0"},                            //
        {4503599627370.4965, "4503599627370.496"}, // near 2^62 thousandths, still exact
    };
    for (const auto &row : rows) {
        std::string out;
        PdfNumber(out, row.value);
        EXPECT_EQ(out, row.written) << row.value;
    }
}

TEST(PdfDocument, TwoPagesShareALandscapeSheetEachInItsHalf)
{
    QList<PageMetafile> pages(2);
    {
        QPainter p(&pages[0]);
        p.fillRect(QRect(0, 1000, 3000, 100), Qt::red); // reaches far into the right half: clipped
        Text(p, Face("Arial", 40, 18), 100, 100, "Lewa");
    }
    {
        QPainter p(&pages[1]);
        Text(p, Face("Arial", 40, 18), 100, 100, "Prawa");
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.pdf");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        PdfDocument pdf(file);
        pdf.BeginSheet(QSizeF(297, 210));
        pdf.DrawPage(pages[0], QRectF(10, 10, 128.5, 190));
        pdf.DrawPage(pages[1], QRectF(158.5, 10, 128.5, 190));
        pdf.EndSheet();
        ASSERT_TRUE(pdf.Finish());
    }
    const QString info = Output("pdfinfo", {path});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains("841.89 x 595.276 pts (A4)")) << info.toStdString();
    const QString bbox = Output("pdftotext", {"-bbox", path, "-"});
    const double half = 841.89 / 2;
    const QRegularExpression left("xMax=\"([0-9.]+)\"[^>]*>Lewa<"), right("xMin=\"([0-9.]+)\"[^>]*>Prawa<");
    ASSERT_TRUE(left.match(bbox).hasMatch() && right.match(bbox).hasMatch()) << bbox.toStdString();
    EXPECT_LT(left.match(bbox).captured(1).toDouble(), half);
    EXPECT_GT(right.match(bbox).captured(1).toDouble(), half);
    const QImage img = Render(path, 1, 36); // 421 x 298
    const int bandY = int((10 + 190 * 1050.0 / 2000) / 25.4 * 36);
    EXPECT_EQ(img.pixelColor(100, bandY), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(300, bandY), QColor(255, 255, 255));
}

// The page tree hands the first sheet's paper down; a sheet of other paper keeps its own, and one
// with an image its own resources.
TEST(PdfDocument, EverySheetKeepsItsPaper)
{
    PageMetafile page;
    {
        QPainter p(&page);
        Text(p, Face("Arial", 40, 18), 100, 100, "Strona");
    }
    QImage band(40, 10, QImage::Format_RGB32);
    band.fill(Qt::blue);
    QTemporaryDir dir;
    const QString path = dir.filePath("sheets.pdf");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        PdfDocument pdf(file);
        for (const QSizeF paper : {QSizeF(210, 297), QSizeF(297, 210), QSizeF(210, 297), QSizeF(148, 210)}) {
            pdf.BeginSheet(paper);
            pdf.DrawPage(page, QRectF(10, 10, 100, 140));
            if (paper.width() > 250)
                pdf.DrawImage(band, QRectF(150, 20, 40, 10));
        }
        ASSERT_TRUE(pdf.Finish());
    }
    const QString info = Output("pdfinfo", {"-f", "1", "-l", "4", path});
    const QStringList sizes = {"595.276 x 841.89", "841.89 x 595.276", "595.276 x 841.89", "419.528 x 595.276"};
    for (int i = 0; i < sizes.size(); ++i)
        EXPECT_TRUE(info.contains(QRegularExpression(
            QStringLiteral("Page +%1 size: +%2 pts").arg(i + 1).arg(QRegularExpression::escape(sizes[i])))))
            << i + 1 << info.toStdString();
    EXPECT_EQ(Render(path, 2, 36).pixelColor(int(170 / 25.4 * 36), int(25 / 25.4 * 36)), QColor(Qt::blue));
    EXPECT_TRUE(Output("pdftotext", {"-f", "4", "-l", "4", path, "-"}).contains("Strona"));
}

// Hundreds of sheets put their small objects into several object streams and the table of where
// everything lies into a stream of its own: a strict reader finds every object where the table says.
TEST(PdfDocument, EveryObjectLiesWhereTheTableSays)
{
    QList<PageMetafile> pages(3);
    for (int i = 0; i < pages.size(); ++i) {
        QPainter p(&pages[i]);
        Text(p, Face("Arial", 40, 18), 100, 100, QStringLiteral("Strona %1").arg(i));
    }
    QImage band(40, 10, QImage::Format_RGB32);
    band.fill(Qt::blue);
    QTemporaryDir dir;
    const QString path = dir.filePath("many.pdf");
    const int sheets = 250;
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        PdfDocument pdf(file);
        for (int i = 0; i < sheets; ++i) {
            pdf.BeginSheet(i % 7 == 3 ? QSizeF(297, 210) : kA4);
            pdf.DrawPage(pages[i % 3], QRectF(10, 10, 100, 140));
            if (i % 10 == 0)
                pdf.DrawImage(band, QRectF(150, 20, 40, 10));
        }
        ASSERT_TRUE(pdf.Finish());
    }
    QProcess check;
    check.start("qpdf", {"--check", path});
    ASSERT_TRUE(check.waitForFinished(30000));
    const QString report = QString::fromUtf8(check.readAllStandardOutput() + check.readAllStandardError());
    EXPECT_EQ(check.exitCode(), 0) << report.toStdString();
    EXPECT_TRUE(report.contains("No syntax or stream encoding errors found")) << report.toStdString();
    const QString xref = Output("qpdf", {"--show-xref", path});
    EXPECT_GT(xref.count("compressed; stream = "), sheets) << xref.left(2000).toStdString();
    EXPECT_TRUE(Output("pdfinfo", {path}).contains(QRegularExpression("Pages:\\s+250\\n")));
    EXPECT_TRUE(Output("pdftotext", {"-f", "250", "-l", "250", path, "-"}).contains("Strona 0"));
    EXPECT_EQ(Render(path, 241, 36).pixelColor(int(170 / 25.4 * 36), int(25 / 25.4 * 36)), QColor(Qt::blue));
}

TEST(PdfDocument, BandImagesKeepTheirPixels)
{
    // A 1-bit band is written as 1-bit grey whichever palette index is white; a 16-bit one as RGB.
    QImage blackFirst(40, 20, QImage::Format_Mono);
    blackFirst.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    QImage whiteFirst = blackFirst;
    whiteFirst.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    QImage rgb16(40, 20, QImage::Format_RGB16);
    for (QImage *img : {&blackFirst, &whiteFirst}) {
        img->fill(0);
        for (int y = 0; y < 20; ++y)
            for (int x = 20; x < 40; ++x)
                img->setPixel(x, y, 1);
    }
    rgb16.fill(QColor(0, 0, 255));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            rgb16.setPixelColor(x, y, QColor(255, 255, 0));
    QTemporaryDir dir;
    const QString path = dir.filePath("bands.pdf");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        PdfDocument pdf(file);
        pdf.BeginSheet(QSizeF(100, 100));
        pdf.DrawImage(blackFirst, QRectF(0, 0, 40, 20));
        pdf.DrawImage(whiteFirst, QRectF(0, 30, 40, 20));
        pdf.DrawImage(rgb16, QRectF(0, 60, 40, 20));
        pdf.EndSheet();
        ASSERT_TRUE(pdf.Finish());
    }
    const QString list = Output("pdfimages", {"-list", path});
    EXPECT_EQ(list.count(QRegularExpression("gray +1 +1 ")), 2) << list.toStdString();
    EXPECT_EQ(list.count(QRegularExpression("rgb +3 +8 ")), 1) << list.toStdString();
    const QImage img = Render(path, 1, 254); // ten pixels a millimetre
    const struct {
        int x, y;
        QColor color;
    } rows[] = {{100, 100, Qt::black},
                {300, 100, Qt::white},
                {100, 400, Qt::white},
                {300, 400, Qt::black},
                {100, 700, QColor(255, 255, 0)},
                {300, 700, QColor(0, 0, 255)},
                {500, 100, Qt::white /* beside */}};
    for (const auto &row : rows)
        EXPECT_EQ(img.pixelColor(row.x, row.y), row.color) << row.x << "," << row.y;
}
