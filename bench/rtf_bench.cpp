// Lays out and draws a 50-page RTF document page by page through DrawRichText, as the page
// build does with a rich-text field that runs over many pages; prints pages per second.
#include "bench/BenchSupport.h"
#include "platform/richtext/DrawRichText.h"

#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPicture>
#include <cstdio>
#include <ctime>
#include <functional>

using bench::CpuSeconds;
using bench::StatusKb;

namespace {

QByteArray Document(int paragraphs)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1045{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial CE;}"
                     "{\\f1\\froman\\fcharset238 Times New Roman CE;}}{\\colortbl ;\\red255\\green0\\blue0;}"
                     "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1\\f0\\fs20 ";
    for (int i = 0; i < paragraphs; ++i) {
        rtf += "\\pard\\qj\\sa120\\f" + QByteArray::number(i % 2) + " Akapit " + QByteArray::number(i) +
               ": \\b za\\'bf\\'f3\\'b3\\'e6\\b0  g\\'ea\\'9cl\\'b9 ja\\'9f\\'f1, {\\cf1 tekst} wyjustowany, kt\\'f3ry "
               "zajmuje kilka wierszy w polu, aby strony dzieli\\'b3y si\\'ea mi\\'eadzy wierszami, a ka\\'bfdy "
               "wiersz by\\'b3 rozsuni\\'eaty do obu kraw\\'eadzi.\\par\r\n";
        if (i % 10 == 5)
            rtf += "\\trowd\\trgaph108\\clbrdrt\\brdrs\\cellx3000\\clbrdrt\\brdrs\\cellx7000\\pard\\intbl Pozycja "
                   "\\cell Opis pozycji w tabeli\\cell\\row\\pard\r\n";
    }
    return rtf + "}";
}

const platform::RichTextRect kField{70, 0, 1359, 2000};

// Draws every page of rtf on a fresh canvas made by onPage; returns the number of pages and adds
// the processor time spent inside DrawRichText (reading and layout included) to seconds.
int DrawAllPages(const QByteArray &rtf, const std::function<void(const std::function<void(QPainter &)> &)> &onPage,
                 double &seconds)
{
    int pages = 0;
    int position = 0;
    do {
        onPage([&](QPainter &p) {
            const double start = CpuSeconds();
            platform::DrawRichText(p, kField, rtf, &position, 1.8f, true);
            seconds += CpuSeconds() - start;
        });
        ++pages;
    } while (position > 0 && pages < 1000);
    return pages;
}

void ToImage(const std::function<void(QPainter &)> &draw)
{
    static QImage image = [] {
        QImage i(1429, 2000, QImage::Format_ARGB32_Premultiplied);
        i.setDotsPerMeterX(3780);
        i.setDotsPerMeterY(3780);
        return i;
    }();
    image.fill(Qt::white);
    QPainter p(&image);
    draw(p);
}

void ToPicture(const std::function<void(QPainter &)> &draw)
{
    QPicture picture;
    QPainter p(&picture);
    draw(p);
}

// A 96-dpi page that takes every drawing call and keeps nothing: what is left is the cost of
// reading, laying out and issuing the drawing, the part that does not depend on the canvas.
class DiscardingEngine : public QPaintEngine {
public:
    DiscardingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawTextItem(const QPointF &, const QTextItem &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {}
    Type type() const override { return QPaintEngine::User; }
};

class DiscardingPage : public QPaintDevice {
public:
    QPaintEngine *paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return 1429;
        case PdmHeight:
            return 2000;
        case PdmWidthMM:
            return 378;
        case PdmHeightMM:
            return 529;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(m);
        }
    }

private:
    mutable DiscardingEngine engine_;
};

void ToDiscardingPage(const std::function<void(QPainter &)> &draw)
{
    DiscardingPage page;
    QPainter p(&page);
    draw(p);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // Size the document to 50 pages of the field.
    int paragraphs = 200;
    double unused = 0;
    int pages = DrawAllPages(Document(paragraphs), ToPicture, unused);
    paragraphs = paragraphs * 50 / pages;
    while ((pages = DrawAllPages(Document(paragraphs), ToPicture, unused)) < 50)
        paragraphs += 2;
    const QByteArray base = Document(paragraphs);
    std::printf("document: %d paragraphs, %lld bytes, %d pages\n", paragraphs, qlonglong(base.size()), pages);

    using Target = void (*)(const std::function<void(QPainter &)> &);
    const std::pair<const char *, Target> targets[] = {
        {"QImage 1429x2000", ToImage}, {"QPicture", ToPicture}, {"discarding page", ToDiscardingPage}};
    for (const auto &[name, target] : targets) {
        double best = 0, total = 0;
        int totalPages = 0;
        const int runs = 5;
        for (int run = 0; run < runs; ++run) {
            // A text not seen before, so each run reads and lays the document out again.
            const QByteArray rtf = base.chopped(1) + "{\\*\\run " + QByteArray::number(run) + name + "}}";
            double seconds = 0;
            const int n = DrawAllPages(rtf, target, seconds);
            best = std::max(best, n / seconds);
            total += seconds;
            totalPages += n;
        }
        std::printf("%-18s %6.1f pages/s (best of %d), %6.1f pages/s on average (processor time in DrawRichText, "
                    "reading and layout included)\n",
                    name, best, runs, totalPages / total);
    }
    return 0;
}
