// The print dialog's strip of sheet pictures on a 1,000-page listing: the time from a change of the
// print options (mode, reverse order, two-sided printing, page set) to the first full picture of the
// sheets in view, median of the changes (goal: within 100 ms), and how many page pictures each
// change played against the places in view, which is all it may play.
//   sheetpreview_bench [ROUNDS]
#include "bench/BenchSupport.h"
#include "core/Wydruki.h"
#include "printdialog/PodgladArkuszy.h"
#include "tests/support/ListingPrintout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

PageSelection Range(int first, int last)
{
    PageSelection s;
    for (int p = first; p <= last; ++p)
        s.append(p);
    return s;
}

// Places of page pictures that lie in the strip's view (a side of the normal mode has one place,
// which both halves name).
int PlacesInView(const TPodgladArkuszy &strip)
{
    QList<QRectF> places;
    const QRectF view = strip.viewport()->rect();
    for (int sheet = 0; sheet < int(strip.Arkusze().size()); ++sheet)
        for (const bool back : {false, true})
            for (const bool right : {false, true}) {
                const QRectF place = strip.MiejsceStrony(sheet, back, right);
                if (view.intersects(place) && !places.contains(place))
                    places.append(place);
            }
    return int(places.size());
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir dir;
    const QString wyd = dir.filePath("listing.wyd");
    wydtest::WriteListingPrintout(wyd, false, 1000);
    TWydruk loader;
    QList<const platform::PageMetafile *> pages;
    loader.OnNextPage = [&](TWydruk *, platform::PageMetafile *page) { pages.append(page); };
    loader.LoadFromFile(wyd);
    loader.BuildPages();
    const int n = int(pages.size());
    std::printf("%d pages laid out\n", n);

    TPodgladArkuszy strip;
    strip.resize(720, strip.sizeHint().height());
    strip.show();
    QCoreApplication::processEvents();

    using M = TPrintMode;
    std::vector<double> wall, cpu;
    int worstPlayed = 0, overPlayed = 0, changes = 0;
    double cold = -1;
    for (int round = 0; round < rounds; ++round) {
        // Each round chooses other pages, so that not every picture is kept from the round before.
        const int from = 1 + round * 97 % (n / 2);
        const struct Change {
            const char *name;
            TArkuszeWejscie input;
        } steps[] = {
            {"normal", {pages, Range(1, n), M::Normalne}},
            {"booklet", {pages, Range(1, n), M::Ksiazeczka}},
            {"booklet reversed", {pages, Range(1, n), M::Ksiazeczka, true}},
            {"booklet page set", {pages, Range(from, from + 299), M::Ksiazeczka, true}},
            {"reduced two-sided", {pages, Range(from, n), M::Zmniejszone, false, true}},
            {"normal automatic reversed", {pages, Range(from, n), M::Normalne, true, false, true}},
        };
        for (const Change &step : steps) {
            const int before = strip.ZagraneStrony();
            QElapsedTimer timer;
            timer.start();
            const double cpu0 = bench::CpuSeconds();
            strip.UstawWejscie(step.input);
            const QImage image = strip.grab().toImage();
            const double ms = timer.nsecsElapsed() / 1e6, cpuMs = (bench::CpuSeconds() - cpu0) * 1e3;
            const int played = strip.ZagraneStrony() - before, places = PlacesInView(strip);
            if (round == 0)
                std::printf("  %-26s %6.1f ms (%5.1f ms CPU), %3d sheets, %2d page pictures played, %2d places in "
                            "view\n",
                            step.name, ms, cpuMs, int(strip.Arkusze().size()), played, places);
            if (cold < 0)
                cold = ms;
            wall.push_back(ms);
            cpu.push_back(cpuMs);
            worstPlayed = std::max(worstPlayed, played);
            overPlayed += played > places ? 1 : 0;
            ++changes;
            if (image.isNull())
                return 1;
        }
    }
    const double median = Median(wall);
    std::printf("change to full picture: median %.1f ms wall, %.1f ms CPU over %d changes (goal <= 100 ms: %s); "
                "first, nothing kept: %.1f ms; slowest %.1f ms\n",
                median, Median(cpu), changes, median <= 100 ? "met" : "MISSED", cold,
                *std::max_element(wall.begin(), wall.end()));
    std::printf("page pictures played: at most %d a change; changes that played pages out of view: %d\n", worstPlayed,
                overPlayed);
    std::printf("peak resident memory: %ld KB\n", bench::StatusKb("VmHWM:"));
    return 0;
}
