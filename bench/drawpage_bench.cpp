// Printing a dense text page in bands at 300 dpi onto an A4 sheet (2480 x 3508 pixels), in 1-bit
// monochrome and in 16-bit colour, into a printer canvas that only counts what it is given: the cost
// of playing the page once per band and of turning each band into the printer's pixels.
#include "bench/BenchSupport.h"
#include "platform/text/DrawText.h"
#include "print/DrawMetafile.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>

using namespace platform;

namespace {

class CountingCanvas : public TPrinterCanvas {
public:
    long pictures = 0;
    long bands = 0;
    long long bytes = 0;
    void DrawPicture(const QRect &, const PageMetafile &, const RecordCallback &) override { ++pictures; }
    void DrawImage(QPoint, const QImage &image) override
    {
        ++bands;
        bytes += image.sizeInBytes();
    }
};

// A report page: a shaded title bar, 80 lines of 120 characters in columns of names and amounts,
// and a rule under every tenth line.
PageMetafile ReportPage()
{
    PageMetafile page;
    QPainter p(&page);
    p.fillRect(QRect(40, 30, 1349, 60), QColor(200, 200, 200));
    TFont title = CreateFont(-40, 0, 0, 0, 700, 0, 0, 0, 238, 0, 0, 1, 0, QStringLiteral("Arial"));
    title.SetColor(QColor(0, 0, 128));
    TRect r{50, 35, 1380, 90};
    DrawTextEx(&p, title, QStringLiteral("Zestawienie obrotów za grudzień"), r, DT_NOPREFIX);
    const TFont font = CreateFont(-20, -10, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, QStringLiteral("Courier New"));
    p.setPen(QPen(Qt::black, 1));
    for (int line = 0; line < 80; ++line) {
        const int y = 110 + line * 23;
        for (int field = 0; field < 8; ++field) {
            const QString text = field == 0
                                     ? QStringLiteral("Zakład nr %1 Łódź").arg(line * 7 % 1000, 3, 10, QChar('0'))
                                     : QStringLiteral("%1 %2,%3")
                                           .arg(1 + (line * 37 + field * 11) % 99, 6)
                                           .arg(100 + (line * field) % 900)
                                           .arg(10 + field);
            TRect cell{40 + field * 165, y, 40 + (field + 1) * 165, y + 23};
            DrawTextEx(&p, font, text, cell, DT_NOPREFIX | (field == 0 ? 0u : unsigned(DT_RIGHT)));
        }
        if (line % 10 == 9)
            p.drawLine(40, y + 22, 1389, y + 22);
    }
    return page;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const PageMetafile page = ReportPage();
    const QRect target(0, 0, 2480, 3508);
    const int pages =
        qEnvironmentVariableIntValue("BENCH_PAGES") > 0 ? qEnvironmentVariableIntValue("BENCH_PAGES") : 40;
    std::printf("report page: %d records; target %d x %d pixels; %d pages a run\n", page.RecordCount(), target.width(),
                target.height(), pages);
    for (const bool mono : {true, false}) {
        CountingCanvas canvas;
        DrawPageOnPrinter(canvas, target, page, mono, true); // glyph caches warm
        QElapsedTimer wall;
        wall.start();
        const double cpu = bench::CpuSeconds();
        for (int i = 0; i < pages; ++i)
            DrawPageOnPrinter(canvas, target, page, mono, true);
        const double wallSeconds = wall.nsecsElapsed() / 1e9, cpuSeconds = bench::CpuSeconds() - cpu;
        std::printf("%-17s %6.1f pages/s wall, %6.1f pages/s of CPU; %ld bands, %lld KB a page\n",
                    mono ? "bands, 1-bit:" : "bands, 16-bit:", pages / wallSeconds, pages / cpuSeconds,
                    canvas.bands / (pages + 1), canvas.bytes / (pages + 1) / 1024);
    }
    std::printf("peak resident memory: %ld KB\n", bench::StatusKb("VmHWM:"));
    return 0;
}
