// Layout and PDF export of the long listing: the 10,000-page printout of the reader benchmark is
// loaded and laid out into pages, 1,000 of them go to PDF, and the same text goes through enscript
// and ps2pdf for comparison. A 1,000-page printout measures the time to the first page. A flat
// listing of one-row item records under a repeated column header is laid out at 1,000 and 10,000
// pages: its time must grow with its length, not faster. Both listings, at 10,000 pages, are also
// laid out by `wenoglad-cli text` and the text it writes by enscript into PostScript, timed alike.
//   layout_bench [PAGES_TO_EXPORT]
//   layout_bench --items [DIR] (the flat listing only; DIR keeps its printouts to look at)
//   layout_bench --first [RUNS] (the first page only, for profiling)
//   layout_bench --pdf [RUNS] [FILE] (the PDF export of 1,000 pages only, for profiling)
//   layout_bench --listing FILE (writes the 10,000-page listing, for profiling `wenoglad-cli text`)
#include "bench/BenchSupport.h"
#include "core/Wydruki.h"
#include "platform/metafile/PageText.h"
#include "platform/pdf/PdfDocument.h"
#include "tests/support/ListingPrintout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace wydtest;

using bench::CpuSeconds;
using bench::HeapInUse;
using bench::StatusKb;

namespace {

double ChildCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs a program to its end; false when it could not run or failed.
bool RunTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::printf("  %s failed: %s\n", qPrintable(program), qPrintable(p.errorString()));
        return false;
    }
    return true;
}

int PdfPageCount(const QString &pdf)
{
    QProcess p;
    p.start("pdfinfo", {pdf});
    p.waitForFinished(-1);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const qsizetype at = out.indexOf("Pages:");
    return at < 0 ? -1 : out.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

// Lays the flat item listing out at 1,000 and 10,000 pages; the build's processor time per page
// should be about the same at both sizes.
void ItemListing(const QDir &dir)
{
    double perPage[2] = {};
    const int sizes[2] = {1000, 10000};
    for (int i = 0; i < 2; ++i) {
        const QString path = dir.filePath(QStringLiteral("items-%1.wyd").arg(sizes[i]));
        WriteItemListingPrintout(path, sizes[i]);
        malloc_trim(0);
        const size_t heap0 = HeapInUse();
        int pages = 0;
        TWydruk loader;
        loader.OnNextPage = [&](TWydruk *, platform::PageMetafile *) { ++pages; };
        loader.LoadFromFile(path);
        QElapsedTimer timer;
        timer.start();
        const double cpu0 = CpuSeconds();
        loader.BuildPages();
        const double cpu = CpuSeconds() - cpu0;
        perPage[i] = cpu / std::max(1, pages);
        std::printf("item listing %dx: %d pages built in %.2f s (processor time %.2f s = %.0f pages/s), "
                    "pages %.1f MB\n",
                    sizes[i] / sizes[0], pages, timer.nsecsElapsed() / 1e9, cpu, pages / cpu,
                    (HeapInUse() - heap0) / 1e6);
    }
    std::printf("item listing: processor time per page at 10x is %.2f x that at 1x (goal: about 1)\n",
                perPage[1] / perPage[0]);
}

// The first page of the 1,000-page printout, from the start of loading; the median of `runs` loads.
void FirstPage(const QString &path, int runs)
{
    struct Run {
        double loadMs = 0, firstMs = 0, firstCpuMs = 0, allMs = 0;
    };
    std::vector<Run> done;
    int pages = 0;
    for (int i = 0; i < runs; ++i) {
        Run run;
        TWydruk loader;
        pages = 0;
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = CpuSeconds();
        loader.OnNextPage = [&](TWydruk *, platform::PageMetafile *) {
            if (pages++ == 0) {
                run.firstMs = timer.nsecsElapsed() / 1e6;
                run.firstCpuMs = (CpuSeconds() - cpuStart) * 1000;
            }
        };
        loader.LoadFromFile(path);
        run.loadMs = timer.nsecsElapsed() / 1e6;
        loader.BuildPages();
        run.allMs = timer.nsecsElapsed() / 1e6;
        done.push_back(run);
    }
    const Run cold = done.front();
    std::sort(done.begin(), done.end(), [](const Run &a, const Run &b) { return a.firstCpuMs < b.firstCpuMs; });
    const Run &median = done[done.size() / 2];
    std::printf("1,000-page printout: %d pages; the first load in the process: loaded in %.1f ms, first page after "
                "%.1f ms (%.1f ms of processor time)\n",
                pages, cold.loadMs, cold.firstMs, cold.firstCpuMs);
    std::printf("  median of %d loads: loaded in %.1f ms, first page after %.1f ms (%.1f ms of processor time; "
                "goal <= 50), all after %.1f ms\n",
                runs, median.loadMs, median.firstMs, median.firstCpuMs, median.allMs);
}

// Our PDF writer over the first count pages, A4 with margins: wall and processor seconds.
std::pair<double, double> ExportPdf(const QList<platform::PageMetafile *> &pages, int count, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    const double cpu0 = CpuSeconds();
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    platform::PdfDocument pdf(file);
    for (int i = 0; i < count; ++i)
        pdf.AddPage(*pages[i], QSizeF(210, 297), QRectF(10, 15, 190, 257));
    pdf.Finish();
    return {timer.nsecsElapsed() / 1e9, CpuSeconds() - cpu0};
}

// The PDF export alone, of the file's laid out pages, `runs` times (for profiling the writer).
void PdfOnly(const QString &path, int runs, const QString &out)
{
    TWydruk loader;
    QList<platform::PageMetafile *> pages;
    loader.OnNextPage = [&](TWydruk *, platform::PageMetafile *page) { pages.append(page); };
    loader.LoadFromFile(path);
    loader.BuildPages();
    const int count = std::min(int(pages.size()), 1000);
    for (int i = 0; i < runs; ++i) {
        const auto [wall, cpu] = ExportPdf(pages, count, out);
        std::printf("PDF export: %d pages in %.3f s wall, %.3f s of processor time, %lld bytes\n", count, wall, cpu,
                    static_cast<long long>(QFileInfo(out).size()));
    }
}

// `wenoglad-cli text` of the printout against enscript laying out the text it wrote, both as child
// processes; the ratios of their wall and processor times are the figures (goal: at most 2). Ours
// takes page text on a second core while it lays out, so the two differ.
void TextLayoutAgainstEnscript(const QString &printout, const char *label)
{
    const QString cli = QStringLiteral(WENOGLAD_BUILD_DIR "/cli/wenoglad-cli");
    const QString text = printout + QStringLiteral(".txt"), ps = printout + QStringLiteral(".ps");
    QElapsedTimer timer;
    timer.start();
    double child0 = ChildCpuSeconds();
    QProcess p;
    p.setStandardOutputFile(text);
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(cli, {QStringLiteral("text"), printout});
    if (!p.waitForFinished(-1) || p.exitCode() != 0) {
        std::printf("%s: wenoglad-cli text failed (%s)\n", label, qPrintable(cli));
        return;
    }
    const double oursWall = timer.nsecsElapsed() / 1e9, oursCpu = ChildCpuSeconds() - child0;
    timer.restart();
    child0 = ChildCpuSeconds();
    if (!RunTool("enscript", {"-q", "-B", "-f", "Courier7", "-L", "90", "-p", ps, text}))
        return;
    const double theirWall = timer.nsecsElapsed() / 1e9, theirCpu = ChildCpuSeconds() - child0;
    std::printf("%s: wenoglad-cli text %.2f s (processor time %.2f s), enscript %.2f s (processor time %.2f s); "
                "ours take %.2f x theirs in wall time, %.2f x in processor time (goal <= 2)\n",
                label, oursWall, oursCpu, theirWall, theirCpu, oursWall / theirWall, oursCpu / theirCpu);
    QFile::remove(text);
    QFile::remove(ps);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    if (argc > 1 && std::string(argv[1]) == "--items") {
        ItemListing(QDir(argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.path()));
        return 0;
    }
    if (argc > 1 && std::string(argv[1]) == "--first") {
        // A file named after the runs is kept, and read again by later runs: for profiling the load.
        const QString small = argc > 3 ? QString::fromLocal8Bit(argv[3]) : dir.filePath("listing-1000.wyd");
        if (!QFileInfo::exists(small))
            WriteListingPrintout(small, false, 1000);
        FirstPage(small, argc > 2 ? std::max(1, std::atoi(argv[2])) : 5);
        return 0;
    }
    if (argc > 2 && std::string(argv[1]) == "--listing") {
        // Writes the 10,000-page listing and keeps it, for profiling `wenoglad-cli text` on it.
        WriteListingPrintout(QString::fromLocal8Bit(argv[2]), false);
        return 0;
    }
    if (argc > 1 && std::string(argv[1]) == "--pdf") {
        const QString file = argc > 3 ? QString::fromLocal8Bit(argv[3]) : dir.filePath("listing-1000.wyd");
        if (!QFileInfo::exists(file))
            WriteListingPrintout(file, false, 1000);
        PdfOnly(file, argc > 2 ? std::max(1, std::atoi(argv[2])) : 5, dir.filePath("ours.pdf"));
        return 0;
    }
    const int exportPages = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const QString big = dir.filePath("listing.wyd");
    const QString small = dir.filePath("listing-1000.wyd");
    QElapsedTimer timer;
    timer.start();
    const ListingWritten written = WriteListingPrintout(big, false);
    WriteListingPrintout(small, false, 1000);
    std::printf("wrote the listing: %lld lines, %lld fields, file %.1f MB (%.1f s)\n",
                static_cast<long long>(written.lines), static_cast<long long>(written.fields), written.file / 1e6,
                timer.elapsed() / 1000.0);

    FirstPage(small, 5);

    // Layout of the 10,000-page printout.
    malloc_trim(0);
    const size_t heap0 = HeapInUse();
    const long rss0 = StatusKb("VmRSS:");
    TWydruk loader;
    QList<platform::PageMetafile *> pages;
    loader.OnNextPage = [&](TWydruk *, platform::PageMetafile *Page) { pages.append(Page); };
    timer.restart();
    double cpu0 = CpuSeconds();
    loader.LoadFromFile(big);
    const double loadSeconds = timer.nsecsElapsed() / 1e9;
    const size_t heapModel = HeapInUse();
    loader.BuildPages();
    const double layoutSeconds = timer.nsecsElapsed() / 1e9;
    const double layoutCpu = CpuSeconds() - cpu0;
    const size_t heapPages = HeapInUse();
    const int n = int(pages.size());
    std::printf("layout: %d pages in %.2f s (load %.2f s, build %.2f s) = %.0f pages/s (goal >= 2000); "
                "processor time %.2f s = %.0f pages/s\n",
                n, layoutSeconds, loadSeconds, layoutSeconds - loadSeconds, n / layoutSeconds, layoutCpu,
                n / layoutCpu);
    qsizetype recorded = 0;
    for (const platform::PageMetafile *page : pages)
        recorded += page->MemoryBytes();
    std::printf("memory: model %.1f MB, pages %.1f MB = %.1f KB per page (goal < 50), records alone %.1f KB "
                "per page; peak %.1f MB above the start (goal: 10,000 pages < 600 MB)\n",
                (heapModel - heap0) / 1e6, (heapPages - heapModel) / 1e6, (heapPages - heapModel) / 1024.0 / n,
                recorded / 1024.0 / n, (StatusKb("VmHWM:") - rss0) / 1024.0);

    const int count = std::min(exportPages, n);
    // Our PDF writer.
    const QString ours = dir.filePath("ours.pdf");
    const auto [oursSeconds, oursCpu] = ExportPdf(pages, count, ours);
    const qint64 oursSize = QFileInfo(ours).size();
    std::printf("PDF export: %d pages in %.2f s = %.0f pages/s (processor time %.0f pages/s), %.2f MB, "
                "pdfinfo counts %d pages\n",
                count, oursSeconds, count / oursSeconds, count / oursCpu, oursSize / 1e6, PdfPageCount(ours));

    // A plain QPdfWriter loop over the same pages, for reference.
    const int qtCount = std::min(count, 200);
    {
        const QString qt = dir.filePath("qt.pdf");
        timer.restart();
        QPdfWriter writer(qt);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(300);
        QPainter painter(&writer);
        const QRectF target(10 / 25.4 * 300, 15 / 25.4 * 300, 190 / 25.4 * 300, 257 / 25.4 * 300);
        for (int i = 0; i < qtCount; ++i) {
            if (i > 0)
                writer.newPage();
            pages[i]->Play(painter, target);
        }
        painter.end();
        const double s = timer.nsecsElapsed() / 1e9;
        std::printf("  for reference, QPdfWriter playing the pages: %d pages in %.2f s = %.0f pages/s, %.2f MB\n",
                    qtCount, s, qtCount / s, QFileInfo(qt).size() / 1e6 * count / qtCount);
    }

    // The same text through enscript and ps2pdf.
    const QString text = dir.filePath("listing.txt");
    {
        QFile file(text);
        file.open(QIODevice::WriteOnly);
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                file.write("\f");
            file.write(
                platform::PageText(*pages[i]).toLatin1()); // enscript reads 8-bit text; Polish letters become "?"
        }
    }
    const QString ps = dir.filePath("listing.ps"), theirs = dir.filePath("theirs.pdf");
    timer.restart();
    const double child0 = ChildCpuSeconds();
    const bool ran = RunTool("enscript", {"-q", "-B", "-f", "Courier7", "-L", "90", "-p", ps, text}) &&
                     RunTool("ps2pdf", {ps, theirs});
    const double theirSeconds = timer.nsecsElapsed() / 1e9;
    const double theirCpu = ChildCpuSeconds() - child0;
    if (ran) {
        const qint64 theirSize = QFileInfo(theirs).size();
        const int theirPages = PdfPageCount(theirs);
        std::printf("enscript + ps2pdf: %d pages in %.2f s = %.0f pages/s (processor time %.0f pages/s), %.2f MB\n",
                    theirPages, theirSeconds, theirPages / theirSeconds, theirPages / theirCpu, theirSize / 1e6);
        std::printf("PDF export vs enscript + ps2pdf: %.2f x as fast (goal > 1), size %.2f x theirs (goal <= 1.5)\n",
                    (count / oursSeconds) / (theirPages / theirSeconds), double(oursSize) / double(theirSize));
    } else {
        std::printf("enscript + ps2pdf: not run (install enscript and ghostscript)\n");
    }
    ItemListing(QDir(dir.path()));
    pages.clear();
    loader.Clear();
    TextLayoutAgainstEnscript(big, "text layout, listing of 10,000 pages");
    TextLayoutAgainstEnscript(dir.filePath("items-10000.wyd"), "text layout, item listing of 10,000 pages");
    return n > 0 ? 0 : 1;
}
