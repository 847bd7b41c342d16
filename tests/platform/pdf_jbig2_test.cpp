// 1-bit bands of a sheet in JBIG2 with one symbol dictionary per sheet: every band, whichever coding
// it gets, decodes to exactly its pixels in poppler (pdfimages) and in ghostscript.
#include "platform/pdf/PdfDocument.h"
#include "tests/support/MonoImage.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

using namespace platform;
using namespace wydtest;

namespace {

constexpr double kMmPerPoint = 25.4 / 72;

bool IsInk(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

void Ink(QImage &image, int x, int y)
{
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
        image.setPixel(x, y, image.color(1) == qRgb(0, 0, 0) ? 1 : 0);
}

struct Random {
    uint32_t state;
    uint32_t Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

// A glyph of a font of fixed size: strokes and dots in a cell, some with a descender or a hole.
struct Glyph {
    int w, h;
    std::vector<bool> ink;
};

std::vector<Glyph> Font(uint32_t seed)
{
    Random rnd{seed};
    std::vector<Glyph> glyphs;
    for (int g = 0; g < 24; ++g) {
        Glyph glyph{5 + int(rnd.Next() % 6), 7 + int(rnd.Next() % 8), {}};
        glyph.ink.assign(size_t(glyph.w * glyph.h), false);
        const auto set = [&](int x, int y) { glyph.ink[size_t(y * glyph.w + x)] = true; };
        for (int y = 0; y < glyph.h; ++y) // a stem
            set(g % 3 == 0 ? glyph.w - 1 : 0, y);
        for (int x = 0; x < glyph.w; ++x) // a bowl's top and bottom
            if (g % 2 == 0) {
                set(x, glyph.h / 2);
                set(x, glyph.h - 1);
            }
        if (g % 4 == 1) // a dot apart, as on i and j
            set(glyph.w / 2, 0);
        for (int k = 0; k < 6; ++k)
            set(int(rnd.Next() % uint32_t(glyph.w)), int(rnd.Next() % uint32_t(glyph.h)));
        glyphs.push_back(std::move(glyph));
    }
    return glyphs;
}

// Lines of text on baselines 14 pixels apart, glyphs from font in an order of seed.
QImage Text(int width, int height, bool inkIsOne, uint32_t seed, const std::vector<Glyph> &font)
{
    QImage image = BlankMono(width, height, inkIsOne);
    Random rnd{seed};
    for (int baseline = 15; baseline + 4 < height; baseline += 17)
        for (int x = 2; x + 12 < width; x += 11) {
            if (rnd.Next() % 7 == 0)
                continue; // a space
            const Glyph &g = font[rnd.Next() % font.size()];
            for (int y = 0; y < g.h; ++y)
                for (int gx = 0; gx < g.w; ++gx)
                    if (g.ink[size_t(y * g.w + gx)])
                        Ink(image, x + gx, baseline - g.h + y + (g.h > 12 ? 3 : 0));
        }
    return image;
}

QImage Framed(QImage image)
{
    for (int x = 0; x < image.width(); ++x) {
        Ink(image, x, 0);
        Ink(image, x, image.height() - 1);
        Ink(image, x, 15); // a rule through the first line of text
    }
    for (int y = 0; y < image.height(); ++y) {
        Ink(image, 0, y);
        Ink(image, image.width() - 1, y);
    }
    return image;
}

QImage Solid(int width, int height, bool inkIsOne)
{
    QImage image = BlankMono(width, height, inkIsOne);
    image.fill(inkIsOne ? 1 : 0);
    return image;
}

// One shape, a ring, in a grid: a dictionary of a single symbol, named by no bits at all.
QImage Rings(int width, int height, bool inkIsOne)
{
    QImage image = BlankMono(width, height, inkIsOne);
    for (int y0 = 1; y0 + 4 < height; y0 += 9)
        for (int x0 = 1; x0 + 4 < width; x0 += 7)
            for (int k = 0; k < 4; ++k) {
                Ink(image, x0 + k, y0);
                Ink(image, x0 + 4, y0 + k);
                Ink(image, x0 + 4 - k, y0 + 4);
                Ink(image, x0, y0 + 4 - k);
            }
    return image;
}

// Squares inside each other: shapes whose boxes cover the band many times over.
QImage NestedFrames(int size, bool inkIsOne)
{
    QImage image = BlankMono(size, size, inkIsOne);
    for (int k = 0; 2 * k < size; k += 2)
        for (int i = k; i < size - k; ++i) {
            Ink(image, i, k);
            Ink(image, i, size - 1 - k);
            Ink(image, k, i);
            Ink(image, size - 1 - k, i);
        }
    return image;
}

// Columns of ink one pixel wide, a run each on every row: more runs than a band is labelled with.
QImage Stripes(int width, int height, bool inkIsOne)
{
    QImage image = BlankMono(width, height, inkIsOne);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; x += 2)
            Ink(image, x, y);
    return image;
}

QImage Noise(int width, int height, bool inkIsOne, uint32_t seed)
{
    QImage image = BlankMono(width, height, inkIsOne);
    Random rnd{seed};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (rnd.Next() >> 15 & 1) // the low bits of the generator repeat soon
                Ink(image, x, y);
    return image;
}

QImage Pattern(int width, int height, bool inkIsOne)
{
    QImage image = BlankMono(width, height, inkIsOne);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((x * 7 + y * 3) % 5 < 2 || x == width - 1)
                Ink(image, x, y);
    return image;
}

struct Sheet {
    const char *name;
    QList<QImage> bands;
    // The coding each band should get: j JBIG2 (text, which the dictionary carries), c group 4
    // (what shapes do not pay for), ? either.
    const char *codings;
};

std::vector<Sheet> Sheets()
{
    const std::vector<Glyph> mono = Font(7), sans = Font(1234);
    return {
        {"text over three bands, ink 1",
         {Text(1203, 60, true, 1, mono), Text(1203, 60, true, 2, mono), Text(1203, 60, true, 3, sans)},
         "jjj"},
        {"text, either colour table, widths off 8 and 32",
         {Text(999, 50, false, 4, mono), Text(999, 50, true, 5, mono), Text(1025, 33, false, 6, sans)},
         "jjj"},
        {"text in a frame whose rule crosses it",
         {Framed(Text(801, 70, true, 7, mono)), Text(801, 70, true, 8, mono)},
         "jj"},
        {"a solid block and text", {Solid(640, 48, true), Text(640, 48, true, 9, sans), Solid(77, 5, false)}, "cjc"},
        {"noise and text", {Noise(333, 40, true, 10), Text(333, 40, true, 11, mono), Noise(97, 30, false, 12)}, "?j?"},
        {"a band one pixel wide, one one pixel high", {Pattern(1, 50, true), Pattern(517, 1, false)}, "??"},
        {"one glyph alone", {Text(30, 20, true, 13, mono)}, "?"},
        {"nested frames beside text", {NestedFrames(121, true), Text(121, 121, false, 14, sans)}, "cj"},
        {"more runs than are labelled", {Stripes(4100, 1024, true)}, "?"},
        {"one shape over two bands", {Rings(700, 45, true), Rings(701, 45, false)}, "jj"},
        {"patterns to the last column", {Pattern(64, 20, true), Pattern(65, 21, false), Pattern(31, 9, true)}, "???"},
    };
}

// Writes each sheet's bands one under another at one pixel a point, on paper just large enough.
QString WriteSheets(const QTemporaryDir &dir, const std::vector<Sheet> &sheets)
{
    const QString path = dir.filePath("sheets.pdf");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    PdfDocument pdf(file);
    for (const Sheet &sheet : sheets) {
        int width = 0, height = 0;
        for (const QImage &band : sheet.bands) {
            width = std::max(width, band.width());
            height += band.height();
        }
        pdf.BeginSheet(QSizeF(width * kMmPerPoint, height * kMmPerPoint));
        int y = 0;
        for (const QImage &band : sheet.bands) {
            pdf.DrawImage(band, QRectF(0, y * kMmPerPoint, band.width() * kMmPerPoint, band.height() * kMmPerPoint));
            y += band.height();
        }
    }
    EXPECT_TRUE(pdf.Finish());
    return path;
}

QString Output(const QString &program, const QStringList &args, int *exitCode = nullptr)
{
    QProcess proc;
    proc.setProcessChannelMode(QProcess::MergedChannels);
    proc.start(program, args);
    proc.waitForFinished(60000);
    if (exitCode)
        *exitCode = proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -1;
    return QString::fromUtf8(proc.readAll());
}

// Pixels where got and want differ, got read from (x0, y0) on.
int Wrong(const QImage &got, int x0, int y0, const QImage &want, QString &first)
{
    int wrong = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (IsInk(got, x0 + x, y0 + y) != IsInk(want, x, y) && wrong++ == 0)
                first = QStringLiteral("%1,%2").arg(x).arg(y);
    return wrong;
}

TEST(PdfJbig2, BandsDecodeToTheirPixelsInPoppler)
{
    const std::vector<Sheet> sheets = Sheets();
    QTemporaryDir dir;
    const QString path = WriteSheets(dir, sheets);
    const QString prefix = dir.filePath("img");
    QProcess::execute("pdfimages", {"-png", path, prefix});
    // The coding of each image, in order, from the list's column of them.
    QStringList codings;
    for (const QString &line : Output("pdfimages", {"-list", path}).split('\n'))
        if (line.contains(" image "))
            codings.append(line.simplified().split(' ').value(8));
    int image = 0;
    for (const Sheet &sheet : sheets) {
        for (int b = 0; b < sheet.bands.size(); ++b, ++image) {
            const QImage got(QStringLiteral("%1-%2.png").arg(prefix).arg(image, 3, 10, QLatin1Char('0')));
            const QImage &want = sheet.bands[b];
            ASSERT_EQ(got.size(), want.size()) << sheet.name << ", band " << b;
            QString first;
            EXPECT_EQ(Wrong(got, 0, 0, want, first), 0)
                << sheet.name << ", band " << b << ": first at " << first.toStdString();
            const char coding = sheet.codings[b];
            if (coding != '?') {
                EXPECT_EQ(codings.value(image), coding == 'j' ? "jbig2" : "ccitt") << sheet.name << ", band " << b;
            }
        }
    }
    EXPECT_EQ(codings.size(), image);
    EXPECT_TRUE(codings.contains("jbig2"));
}

TEST(PdfJbig2, BandsDecodeToTheirPixelsInGhostscript)
{
    const std::vector<Sheet> sheets = Sheets();
    QTemporaryDir dir;
    const QString path = WriteSheets(dir, sheets);
    int exitCode = -1;
    const QString log = Output("gs",
                               {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pngmono", "-r72",
                                "-sOutputFile=" + dir.filePath("page-%03d.png"), path},
                               &exitCode);
    EXPECT_EQ(exitCode, 0) << log.toStdString();
    EXPECT_FALSE(log.contains("Error", Qt::CaseInsensitive)) << log.toStdString();
    for (size_t s = 0; s < sheets.size(); ++s) {
        const QImage page(dir.filePath(QStringLiteral("page-%1.png").arg(s + 1, 3, 10, QLatin1Char('0'))));
        ASSERT_FALSE(page.isNull()) << sheets[s].name;
        int y = 0;
        for (int b = 0; b < sheets[s].bands.size(); ++b) {
            const QImage &want = sheets[s].bands[b];
            ASSERT_GE(page.height(), y + want.height()) << sheets[s].name;
            QString first;
            EXPECT_EQ(Wrong(page, 0, y, want, first), 0)
                << sheets[s].name << ", band " << b << ": first at " << first.toStdString();
            y += want.height();
        }
    }
}

} // namespace
