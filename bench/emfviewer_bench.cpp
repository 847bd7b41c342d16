// Paint time of the page viewer over a long printout: 1,000 dense listing pages in a 1200 x 900
// widget, painted offscreen page by page at page width and at page height.
#include "platform/metafile/PageMetafile.h"
#include "platform/text/DrawText.h"
#include "view/EmfViewer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

using namespace platform;

namespace {

constexpr int kPages = 1000;
constexpr int kLinesPerPage = 84;

// A page of a long report: a header and 84 lines of a fixed-width listing, as the layout engine
// would record them line by line.
void RecordListingPage(PageMetafile &page, int number, const TFont &font)
{
    QPainter p(&page);
    TRect header{60, 30, 1370, 60};
    DrawTextEx(&p, font, QStringLiteral("ZESTAWIENIE OBROTÓW ZA OKRES 01.01-31.12        strona %1").arg(number + 1),
               header, DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
    for (int line = 0; line < kLinesPerPage; ++line) {
        const int n = number * kLinesPerPage + line;
        const QString text = QStringLiteral("%1  %2  Kontrahent nr %3 sp. z o.o.  FV/%4/2024  %5  %6  %7")
                                 .arg(n + 1, 6)
                                 .arg(QStringLiteral("2024-%1-%2")
                                          .arg(n % 12 + 1, 2, 10, QLatin1Char('0'))
                                          .arg(n % 28 + 1, 2, 10, QLatin1Char('0')))
                                 .arg(n % 997, 4)
                                 .arg(n % 10000, 5, 10, QLatin1Char('0'))
                                 .arg(double(n % 7919) * 13.37, 12, 'f', 2)
                                 .arg(double(n % 211) * 1.23, 10, 'f', 2)
                                 .arg(n % 3 == 0 ? QStringLiteral("ZAPŁACONO") : QStringLiteral("DO ZAPŁATY"));
        TRect r{60, 80 + line * 22, 1370, 102 + line * 22};
        DrawTextEx(&p, font, text, r, DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
    }
}

// CPU time of this thread. The machine may be shared: wall time then also counts the neighbours, so
// both are printed.
double ThreadMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Figures {
    double average = 0;
    double median = 0;
    double worst = 0;
};

Figures Summary(std::vector<double> times)
{
    Figures f;
    for (double t : times)
        f.average += t;
    f.average /= double(times.size());
    std::sort(times.begin(), times.end());
    f.median = times[times.size() / 2];
    f.worst = times.back();
    return f;
}

void Print(const char *what, const char *clock, const Figures &f)
{
    std::printf("%-26s %-5s average %6.2f ms  median %6.2f ms  worst %6.2f ms\n", what, clock, f.average, f.median,
                f.worst);
}

// Paints the whole widget (children included) once per page number, as scrolling page by page does.
void PaintEveryPage(const char *what, TEmfViewer &viewer, QImage &target)
{
    std::vector<double> cpu;
    std::vector<double> wall;
    QElapsedTimer timer;
    for (int n = 1; n <= kPages; ++n) {
        viewer.SetPageNr(n);
        const double start = ThreadMs();
        timer.start();
        viewer.render(&target);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(ThreadMs() - start);
    }
    Print(what, "cpu", Summary(cpu));
    Print("", "wall", Summary(wall));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const TFont font = CreateFont(-19, -11, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Courier New");

    QElapsedTimer timer;
    timer.start();
    std::vector<std::unique_ptr<PageMetafile>> pages;
    qsizetype bytes = 0;
    for (int i = 0; i < kPages; ++i) {
        pages.push_back(std::make_unique<PageMetafile>());
        RecordListingPage(*pages.back(), i, font);
        bytes += pages.back()->MemoryBytes();
    }
    std::printf("recorded %d pages of %d lines in %.0f ms, %.1f MB of records\n", kPages, kLinesPerPage,
                double(timer.elapsed()), double(bytes) / (1 << 20));

    TEmfViewer viewer;
    viewer.resize(1200, 900);
    viewer.setAttribute(Qt::WA_DontShowOnScreen);
    viewer.show();
    for (const auto &page : pages)
        viewer.AddPage(page.get());
    QImage target(viewer.size(), QImage::Format_RGB32);

    viewer.SetZoomLevel(zoomPageW);
    std::printf("paint time per page step in a %d x %d widget (goal: under 8 ms)\n", viewer.width(), viewer.height());
    viewer.render(&target); // warm the glyph caches once
    PaintEveryPage("zoomPageW, page by page", viewer, target);
    viewer.SetZoomLevel(zoomPageH);
    viewer.render(&target);
    PaintEveryPage("zoomPageH, page by page", viewer, target);

    // The same strip of blank pages: what the background, sheets and copies cost on their own.
    std::vector<std::unique_ptr<PageMetafile>> blank;
    viewer.ClearPages();
    for (int i = 0; i < kPages; ++i) {
        blank.push_back(std::make_unique<PageMetafile>());
        viewer.AddPage(blank.back().get());
    }
    viewer.SetZoomLevel(zoomPageW);
    PaintEveryPage("zoomPageW, blank pages", viewer, target);

    // One page played straight into an image of the size zoomPageH gives it, without the viewer.
    viewer.SetZoomLevel(zoomPageH);
    QImage page(viewer.PageWidth(), viewer.PageHeight(), QImage::Format_RGB32);
    std::vector<double> cpu;
    for (int i = 0; i < 200; ++i) {
        page.fill(Qt::white);
        QPainter p(&page);
        const double start = ThreadMs();
        pages[size_t(i)]->Play(p, QRectF(0, 0, page.width(), page.height()));
        cpu.push_back(ThreadMs() - start);
    }
    Print("one page, Play alone", "cpu", Summary(cpu));
    return 0;
}
