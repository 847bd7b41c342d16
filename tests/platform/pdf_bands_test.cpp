// Image bands in the PDF writer: 1-bit bands in JBIG2 or CCITT group 4 and colour ones with PNG predictors,
// read back by poppler's own decoders (pdfimages), and white bands left out where nothing lies under.
#include "platform/pdf/PdfDocument.h"
#include "tests/support/MonoImage.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace platform;
using namespace wydtest;

namespace {

// Writes one sheet of 400 x 400 mm on which draw places its images.
QString WriteSheet(const QTemporaryDir &dir, const std::function<void(PdfDocument &)> &draw)
{
    const QString path = dir.filePath("bands.pdf");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    PdfDocument pdf(file);
    pdf.BeginSheet(QSizeF(400, 400));
    draw(pdf);
    pdf.EndSheet();
    EXPECT_TRUE(pdf.Finish());
    return path;
}

// Writes one sheet holding images, each at its rectangle in millimetres.
QString WriteSheet(const QTemporaryDir &dir, const QList<std::pair<QImage, QRectF>> &images)
{
    return WriteSheet(dir, [&](PdfDocument &pdf) {
        for (const auto &[image, target] : images)
            pdf.DrawImage(image, target);
    });
}

QString Output(const QString &program, const QStringList &args)
{
    QProcess proc;
    proc.start(program, args);
    proc.waitForFinished(30000);
    return QString::fromUtf8(proc.readAllStandardOutput());
}

// The images of the file as poppler decodes them, in order.
QList<QImage> Decoded(const QString &pdf)
{
    const QString prefix = QFileInfo(pdf).dir().filePath("img");
    QProcess::execute("pdfimages", {"-png", pdf, prefix});
    QList<QImage> images;
    for (int i = 0;; ++i) {
        const QImage image(QStringLiteral("%1-%2.png").arg(prefix).arg(i, 3, 10, QLatin1Char('0')));
        if (image.isNull())
            return images;
        images.append(image);
    }
}

// Sets the pixels [x, x + n) of row y to ink, whichever index that is.
void Ink(QImage &image, int y, int x, int n)
{
    const uint ink = image.color(1) == qRgb(0, 0, 0) ? 1 : 0;
    for (int i = x; i < x + n && i < image.width(); ++i)
        image.setPixel(i, y, ink);
}

void Paper(QImage &image, int y)
{
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, y, image.color(0) == qRgb(255, 255, 255) ? 0 : 1);
}

// Rows whose runs take every length the code tables distinguish: the terminating codes, each
// make-up code, the shared wide ones and runs longer than the longest code, in both colours.
QImage EveryRunLength(bool inkIsOne)
{
    QImage image = BlankMono(5400, 120, inkIsOne);
    std::vector<int> lengths;
    for (int n = 1; n <= 70; ++n)
        lengths.push_back(n);
    for (int n = 64; n <= 2560; n += 64)
        lengths.insert(lengths.end(), {n - 1, n, n + 1});
    lengths.insert(lengths.end(), {2561, 5119, 5120, 5121});
    int y = 0, x = 0;
    bool ink = false; // ink and paper take turns, so each length comes in both colours
    for (size_t turn = 0; turn < 2; ++turn, ink = !ink) {
        for (int n : lengths) {
            if (x + n > image.width()) {
                ++y;
                x = 0;
            }
            if (ink)
                Ink(image, y, x, n);
            x += n;
            ink = !ink;
        }
    }
    return image;
}

// Text-like rows: each row the one above moved by a few pixels, so that the vertical codes, pass
// mode and horizontal mode all come up.
QImage ShiftedStrokes(bool inkIsOne)
{
    QImage image = BlankMono(1001, 40, inkIsOne); // rows end inside a byte
    constexpr int kShifts = 14;
    const int shifts[kShifts] = {0, 1, -1, 2, -2, 3, -3, 4, -4, 9, 0, 0, 17, -30};
    for (int y = 0; y < image.height(); ++y) {
        const int s = shifts[y % kShifts] * (y / kShifts + 1);
        for (int x = 0; x < 990; x += 23)
            Ink(image, y, std::max(0, x + s + (x / 23) % 5), 3 + (x / 23) % 7);
        if (y % 13 == 7)
            Paper(image, y); // a blank row between strokes: everything above passes
    }
    Ink(image, 5, 1000, 1); // the last pixel alone
    return image;
}

QImage Checkerboard(bool inkIsOne)
{
    QImage image = BlankMono(64, 8, inkIsOne);
    for (int y = 0; y < 8; ++y)
        for (int x = y % 2; x < 64; x += 2)
            Ink(image, y, x, 1);
    return image;
}

bool IsInk(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

TEST(PdfBands, OneBitBandsDecodeToTheirPixels)
{
    const struct {
        const char *name;
        QImage image;
    } rows[] = {
        {"every run length, ink 1", EveryRunLength(true)},
        {"every run length, ink 0", EveryRunLength(false)},
        {"shifted strokes", ShiftedStrokes(true)},
        {"shifted strokes, ink 0", ShiftedStrokes(false)},
        {"checkerboard", Checkerboard(true)},
        {"all ink",
         [] {
             QImage image = BlankMono(77, 3, true);
             for (int y = 0; y < 3; ++y)
                 Ink(image, y, 0, 77);
             return image;
         }()},
        {"one ink pixel on white",
         [] {
             QImage image = BlankMono(8, 2, true);
             Ink(image, 1, 0, 1);
             return image;
         }()},
    };
    for (const auto &row : rows) {
        QTemporaryDir dir;
        const QString path = WriteSheet(dir, {{row.image, QRectF(0, 0, 300, 100)}});
        const QString list = Output("pdfimages", {"-list", path});
        EXPECT_TRUE(list.contains("ccitt") || list.contains("jbig2")) << row.name;
        const QList<QImage> images = Decoded(path);
        ASSERT_EQ(images.size(), 1) << row.name;
        const QImage &got = images[0];
        ASSERT_EQ(got.size(), row.image.size()) << row.name;
        int wrong = 0, firstX = -1, firstY = -1;
        for (int y = 0; y < got.height(); ++y)
            for (int x = 0; x < got.width(); ++x)
                if (IsInk(got, x, y) != IsInk(row.image, x, y) && wrong++ == 0) {
                    firstX = x;
                    firstY = y;
                }
        EXPECT_EQ(wrong, 0) << row.name << ": first at " << firstX << "," << firstY;
    }
}

// Band printing writes each band into the same image, drawn a moment before and perhaps still
// being coded on another core: each drawing keeps the pixels it was given.
TEST(PdfBands, ABandRewrittenAfterDrawingKeepsWhatWasDrawn)
{
    QTemporaryDir dir;
    QImage band = BlankMono(64, 8, true);
    QList<QImage> drawn;
    const QString path = WriteSheet(dir, [&](PdfDocument &pdf) {
        for (int i = 0; i < 12; ++i) {
            band.fill(0);
            Ink(band, i % 8, i * 4, 9);
            drawn.append(band.copy());
            pdf.DrawImage(band, QRectF(0, i * 10, 64, 8));
        }
    });
    const QList<QImage> images = Decoded(path);
    ASSERT_EQ(images.size(), drawn.size());
    for (int i = 0; i < drawn.size(); ++i)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(IsInk(images[i], x, y), IsInk(drawn[i], x, y)) << "band " << i << " at " << x << "," << y;
}

TEST(PdfBands, ColourBandsKeepEveryPixel)
{
    // Colours that change along and across the rows, so that each row filter has work; a flat run
    // and a copy of the row above favour the others.
    QImage band(301, 24, QImage::Format_RGB16);
    for (int y = 0; y < band.height(); ++y)
        for (int x = 0; x < band.width(); ++x)
            band.setPixel(x, y,
                          y == 10 ? band.pixel(x, 9) : qRgb((x * 7 + y) % 256, (x * y) % 256, x < 150 ? 200 : y * 9));
    QTemporaryDir dir;
    const QString path = WriteSheet(dir, {{band, QRectF(0, 0, 301, 24)}});
    const QList<QImage> images = Decoded(path);
    ASSERT_EQ(images.size(), 1);
    const QImage want = band.convertToFormat(QImage::Format_RGB32);
    const QImage got = images[0].convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(got.size(), want.size());
    int wrong = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            wrong += got.pixel(x, y) != want.pixel(x, y) ? 1 : 0;
    EXPECT_EQ(wrong, 0);
}

TEST(PdfBands, WhiteBandsOnBarePaperAreLeftOut)
{
    QImage whiteMono = BlankMono(40, 10, true);
    QImage whiteMonoInkZero = BlankMono(41, 10, false); // rows end inside a byte
    QImage inked = BlankMono(40, 10, true);
    Ink(inked, 3, 5, 4);
    QImage whiteRgb(40, 10, QImage::Format_RGB16);
    whiteRgb.fill(Qt::white);
    QImage almostWhite = whiteRgb;
    almostWhite.setPixel(39, 9, qRgb(255, 255, 0));
    QImage whiteRgb32(40, 10, QImage::Format_RGB32);
    whiteRgb32.fill(Qt::white);
    const QRectF top(0, 0, 40, 10), next(0, 10, 40, 10), over(0, 5, 40, 10);
    const struct {
        const char *name;
        QList<std::pair<QImage, QRectF>> images;
        int written;
    } rows[] = {
        {"white 1-bit, either palette", {{whiteMono, top}, {whiteMonoInkZero, next}}, 0},
        {"white 16-bit", {{whiteRgb, top}}, 0},
        {"one yellow pixel", {{almostWhite, top}}, 1},
        {"ink, then white below it", {{inked, top}, {whiteMono, next}}, 1},
        // White over drawing covers it, so it must be written.
        {"white over ink", {{inked, top}, {whiteMono, over}}, 2},
        {"white over a colour band", {{almostWhite, top}, {whiteRgb, over}}, 2},
        {"32-bit images are never left out", {{whiteRgb32, top}}, 1},
    };
    for (const auto &row : rows) {
        QTemporaryDir dir;
        const QString path = WriteSheet(dir, row.images);
        const QString list = Output("pdfimages", {"-list", path});
        EXPECT_EQ(list.count(QRegularExpression("\\n +1 +\\d+ image")), row.written) << row.name << "\n"
                                                                                     << list.toStdString();
    }
}

} // namespace
