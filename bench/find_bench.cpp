// Finding text in the 10,000-page listing the way the preview does: the pages' text is read into the
// find index once (timed apart: the preview does it when idle, or while a search waits for pages),
// then typed texts are looked for over the whole index.
//   find_bench
#include "bench/BenchSupport.h"
#include "core/Wydruki.h"
#include "tests/support/ListingPrintout.h"
#include "view/PageFind.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace wydtest;

namespace {

// The best of three runs of looking for typed, in milliseconds; count gets the matches.
double BestSearch(TPageFind &find, const QString &typed, int &count)
{
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        find.SetText(typed, 0);
        best = std::min(best, timer.nsecsElapsed() / 1e6);
        count = find.Count();
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString big = dir.filePath("listing.wyd");
    WriteListingPrintout(big, false);
    TWydruk loader;
    QList<platform::PageMetafile *> pages;
    loader.OnNextPage = [&](TWydruk *, platform::PageMetafile *page) { pages.append(page); };
    loader.LoadFromFile(big);
    loader.BuildPages();

    TPageFind find;
    QElapsedTimer timer;
    timer.start();
    const double cpu0 = bench::CpuSeconds();
    for (const platform::PageMetafile *page : pages)
        find.AddPage(*page);
    const double indexSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("index: %d pages in %.2f s = %.0f pages/s (processor %.2f s), %.1f MB = %.1f KB per page\n",
                find.IndexedPages(), indexSeconds, find.IndexedPages() / indexSeconds, bench::CpuSeconds() - cpu0,
                find.MemoryBytes() / 1e6, find.MemoryBytes() / 1024.0 / find.IndexedPages());

    // The last invoice's number occurs once; "T10" begins about one code in ninety.
    const struct {
        QString typed;
        const char *what;
        const char *goal;
    } searches[] = {
        {QStringLiteral("Faktura FV/38159"), "one invoice number", "goal < 200 ms"},
        {QStringLiteral("Kontrahent nr 953"), "one client", "goal < 200 ms"},
        {QStringLiteral("t10"), "a common code, any case", "goal < 1000 ms for 5,000 matches"},
        {QStringLiteral("krzeslo"), "a word typed without its diacritic", "goal < 1000 ms for 5,000 matches"},
        {QStringLiteral("12 345,67"), "an amount split over two fields", ""},
    };
    for (const auto &s : searches) {
        int count = 0;
        const double ms = BestSearch(find, s.typed, count);
        std::printf("find \"%s\" (%s): %d matches, best of 3: %.1f ms %s\n", qPrintable(s.typed), s.what, count, ms,
                    s.goal);
    }
    return 0;
}
