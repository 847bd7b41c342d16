// Page building in the preview window against the loader alone: the 1,000-page listing is loaded
// and laid out by a bare loader, then opened in the real preview window (offscreen), which copies
// every page into its viewer, shows the progress and lets the window system in after every line.
// The two take turns, several times; the best run of each counts, since the machine is shared.
//   preview_bench [RUNS]
#include "bench/BenchSupport.h"
#include "core/Wydruki.h"
#include "tests/support/ListingPrintout.h"
#include "ui/HintBar.h"
#include "view/EmfViewer.h"
#include "view/uFrmPodglad.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

using namespace wydtest;
using bench::CpuSeconds;

namespace {

struct Run {
    double wall = 1e9, cpu = 1e9;
    int pages = 0;
    void Keep(double w, double c, int n)
    {
        wall = std::min(wall, w);
        cpu = std::min(cpu, c);
        pages = n;
    }
};

void LoaderAlone(const QString &path, Run &best)
{
    QElapsedTimer timer;
    timer.start();
    const double cpu0 = CpuSeconds();
    int pages = 0;
    TWydruk loader;
    loader.OnNextPage = [&](TWydruk *, platform::PageMetafile *) { ++pages; };
    loader.LoadFromFile(path);
    loader.BuildPages();
    best.Keep(timer.nsecsElapsed() / 1e9, CpuSeconds() - cpu0, pages);
}

void ThroughPreview(const QString &path, Run &best)
{
    TFrmPodglad frm;
    frm.BezZapisuUstawien();
    frm.UstawPlik(path);
    QElapsedTimer timer;
    timer.start();
    const double cpu0 = CpuSeconds();
    frm.show();
    // The load is posted by the window's first show and runs to its end inside this call.
    QCoreApplication::processEvents();
    const double wall = timer.nsecsElapsed() / 1e9, cpu = CpuSeconds() - cpu0;
    if (frm.hb->TextAccept().isEmpty())
        std::printf("  the preview did not finish its build\n");
    best.Keep(wall, cpu, frm.viewer->PageCount());
    frm.close();
}

double LoadAverage()
{
    std::ifstream in("/proc/loadavg");
    double one = -1;
    in >> one;
    return one;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    // The window reads its settings at creation: keep the user's own store out of it.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("conf"));
    const QString path = dir.filePath("listing-1000.wyd");
    WriteListingPrintout(path, false, 1000);

    std::printf("load average %.2f at the start\n", LoadAverage());
    Run loader, preview;
    for (int i = 0; i < runs; ++i) {
        LoaderAlone(path, loader);
        ThroughPreview(path, preview);
    }
    std::printf("loader alone: %d pages in %.2f s (processor time %.2f s), best of %d\n", loader.pages, loader.wall,
                loader.cpu, runs);
    std::printf("preview window: %d pages in %.2f s (processor time %.2f s), best of %d\n", preview.pages, preview.wall,
                preview.cpu, runs);
    std::printf("preview / loader: %.2f x wall time, %.2f x processor time (goal <= 1.3)\n", preview.wall / loader.wall,
                preview.cpu / loader.cpu);
    std::printf("load average %.2f at the end\n", LoadAverage());
    return preview.pages == loader.pages && loader.pages > 0 ? 0 : 1;
}
