#include "print/DrawMetafile.h"

#include "platform/text/DrawText.h"
#include "tests/support/PageRecords.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace platform;

namespace {

const QColor kGrey(160, 160, 160);

// Keeps every call a page drawing makes on the printer, and can paint them onto a sheet.
class RecordingCanvas : public TPrinterCanvas {
public:
    struct Call {
        bool picture = false;
        QRect target; // pictures
        PageMetafile page;
        RecordCallback change;
        QPoint topLeft; // images
        QImage image;
    };
    std::vector<Call> calls;

    void DrawPicture(const QRect &target, const PageMetafile &page, const RecordCallback &change) override
    {
        calls.push_back({true, target, page, change, {}, {}});
    }
    void DrawImage(QPoint topLeft, const QImage &image) override
    {
        calls.push_back({false, {}, {}, {}, topLeft, image});
    }

    // On a sheet of the bands' format, so that direct drawing loses the same precision.
    QImage Sheet(QSize size, QImage::Format format) const
    {
        QImage sheet(size, format);
        sheet.fill(Qt::white);
        QPainter p(&sheet);
        for (const Call &call : calls) {
            if (call.picture)
                call.page.Enumerate(p, call.target, call.change);
            else
                p.drawImage(call.topLeft, call.image);
        }
        return sheet;
    }
};

// Red text, a grey box under it and a green picture, with edges on many rows, so a band placed a
// row off shows.
PageMetafile TestPage()
{
    PageMetafile page;
    QPainter p(&page);
    p.fillRect(QRect(100, 300, 900, 500), kGrey);
    TFont font = CreateFont(-60, 0, 0, 0, 700, 0, 0, 0, 238, 0, 0, 1, 0, "Arial");
    font.SetColor(Qt::red);
    for (int line = 0; line < 12; ++line) {
        TRect r{100, 100 + line * 150, 1300, 200 + line * 150};
        DrawTextEx(&p, font, QStringLiteral("Zażółć %1 gęślą jaźń").arg(line), r, DT_NOPREFIX);
    }
    p.setPen(QPen(Qt::blue, 5));
    p.drawLine(50, 50, 1400, 1950);
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(Qt::green);
    p.drawImage(QRect(1100, 300, 200, 200), picture);
    return page;
}

// Pixels dark in one image and light in the other.
int DifferentPixels(const QImage &a, const QImage &b)
{
    int diff = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            diff += (qGray(a.pixel(x, y)) < 128) != (qGray(b.pixel(x, y)) < 128);
    return diff;
}

int CountPixels(const QImage &img, const std::function<bool(QRgb)> &test)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += test(img.pixel(x, y));
    return n;
}

bool Red(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

} // namespace

TEST(DrawPageOnPrinter, CutsTheTargetIntoTwentyBandsAndTheRest)
{
    struct Row {
        const char *name;
        int height;
        bool bitmap;
        int bands; // 0: drawn as a picture
        int lastRows;
    };
    const Row rows[] = {
        {"a multiple of twenty leaves the last band empty", 2000, true, 20, 100},
        {"the rest goes in a short last band", 2010, true, 21, 10},
        {"one row a band", 39, true, 39, 1},
        {"under twenty rows there is no band height", 19, true, 0, 0},
        {"without the bitmap flag", 2000, false, 0, 0},
    };
    const PageMetafile page = TestPage();
    for (const Row &row : rows) {
        for (const bool mono : {false, true}) {
            SCOPED_TRACE(testing::Message() << row.name << (mono ? " (mono)" : " (colour)"));
            const QRect target(37, 53, 150, row.height);
            RecordingCanvas canvas;
            DrawPageOnPrinter(canvas, target, page, mono, row.bitmap);
            if (row.bands == 0) {
                ASSERT_EQ(canvas.calls.size(), 1u);
                EXPECT_TRUE(canvas.calls[0].picture);
                EXPECT_EQ(canvas.calls[0].target, target);
                EXPECT_EQ(bool(canvas.calls[0].change), mono);
                continue;
            }
            ASSERT_EQ(int(canvas.calls.size()), row.bands);
            int top = target.top();
            for (const RecordingCanvas::Call &call : canvas.calls) {
                EXPECT_FALSE(call.picture);
                EXPECT_EQ(call.topLeft, QPoint(target.left(), top));
                EXPECT_EQ(call.image.width(), target.width());
                EXPECT_EQ(call.image.format(), mono ? QImage::Format_Mono : QImage::Format_RGB16);
                top += call.image.height();
            }
            EXPECT_EQ(canvas.calls.back().image.height(), row.lastRows);
            EXPECT_EQ(top, target.top() + target.height()); // the last band ends at the bottom
        }
    }
}

TEST(DrawPageOnPrinter, BandsTogetherShowThePageAsDrawnDirectly)
{
    const PageMetafile page = TestPage();
    const QSize size(800, 1130);
    const QRect target(20, 10, 715, 1005); // 50-row bands and a last one of 5
    for (const bool mono : {false, true}) {
        SCOPED_TRACE(mono ? "mono" : "colour");
        const QImage::Format format = mono ? QImage::Format_RGB32 : QImage::Format_RGB16;
        RecordingCanvas bands, direct;
        DrawPageOnPrinter(bands, target, page, mono, true);
        DrawPageOnPrinter(direct, target, page, mono, false);
        const QImage banded = bands.Sheet(size, format);
        const QImage picture = direct.Sheet(size, format);
        // A band a row off moves thousands of text edges across the threshold.
        EXPECT_LT(DifferentPixels(banded, picture), 100);
        EXPECT_EQ(CountPixels(picture, Red) > 1000, !mono);
        if (!mono) {
            EXPECT_GT(CountPixels(banded, Red), 1000);
            EXPECT_EQ(banded.pixel(620, 210), qRgb(0, 255, 0)); // the picture keeps its colour
            continue;
        }
        // Pure black and white; the grey box is paper, the red text ink.
        EXPECT_EQ(CountPixels(banded, [](QRgb c) { return c != qRgb(0, 0, 0) && c != qRgb(255, 255, 255); }), 0);
        EXPECT_EQ(banded.pixel(400, 300), qRgb(255, 255, 255));
        EXPECT_GT(CountPixels(banded.copy(60, 60, 600, 40), [](QRgb c) { return c == qRgb(0, 0, 0); }), 500);
    }
}

TEST(DrawPageOnPrinter, AMonochromePrintLeavesThePageInItsColours)
{
    const PageMetafile page = TestPage();
    const QImage before = wydtest::RenderPage(page);
    RecordingCanvas mono;
    DrawPageOnPrinter(mono, QRect(0, 0, 300, 420), page, true, true);
    EXPECT_EQ(wydtest::RenderPage(page), before);
    EXPECT_GT(CountPixels(before, Red), 1000);
}

TEST(DrawMetafileRecolored, ForcesPaperOnFillsAndInkOnTextAndLines)
{
    const PageMetafile page = TestPage();
    QImage img(715, 1000, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        DrawMetafileRecolored(p, img.rect(), page, Qt::yellow, Qt::blue);
    }
    EXPECT_EQ(img.pixel(450, 380), qRgb(255, 255, 0)); // the grey box
    EXPECT_EQ(img.pixel(600, 200), qRgb(0, 255, 0));   // the picture is left alone
    EXPECT_EQ(CountPixels(img, Red), 0);
    EXPECT_GT(CountPixels(img, [](QRgb c) { return c == qRgb(0, 0, 255); }), 1000);
}
