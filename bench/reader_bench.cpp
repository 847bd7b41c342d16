// Reading speed and model size on a long printout: 10,000 pages, about 840,000 lines of 5 to 8
// fields, written with the test writer and then read back.
//   reader_bench [--records-per-row] [FILE]
// With --records-per-row every row is an item record of its own instead of a line of its
// document's block, the shape that costs the model most per row.
#include "bench/BenchSupport.h"
#include "core/MLineWydruk.h"
#include "core/PrintoutFile.h"
#include "tests/support/ListingPrintout.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <malloc.h>
#include <string>

using namespace wydtest;

using bench::CpuSeconds;
using bench::HeapInUse;
using bench::StatusKb;

namespace {

// Clears the peak-memory mark so that it measures the read alone; false when not allowed.
bool ResetPeak()
{
    std::ofstream refs("/proc/self/clear_refs");
    refs << "5";
    refs.flush();
    return static_cast<bool>(refs);
}

} // namespace

int main(int argc, char **argv)
{
    bool recordPerRow = false;
    QString path;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--records-per-row")
            recordPerRow = true;
        else
            path = QString::fromLocal8Bit(argv[i]);
    }
    QTemporaryDir dir;
    if (path.isEmpty())
        path = dir.filePath("bench.wyd");

    QElapsedTimer timer;
    timer.start();
    const ListingWritten written = WriteListingPrintout(path, recordPerRow);
    std::printf("wrote %lld lines, %lld fields: body %.1f MB, file %.1f MB (%.1f s)%s\n",
                static_cast<long long>(written.lines), static_cast<long long>(written.fields), written.body / 1e6,
                written.file / 1e6, timer.elapsed() / 1000.0, recordPerRow ? ", one record per row" : "");

    // Inflating alone, for comparison with the whole read.
    double inflateSeconds = 0, inflateCpu = 0;
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        file.read(16); // magic and the short header string "Wydruk"
        TInflateStream body(file);
        std::vector<char> sink(1 << 16);
        timer.restart();
        const double cpu0 = CpuSeconds();
        qint64 left = written.body;
        while (left > 0) {
            const qint64 piece = std::min<qint64>(left, static_cast<qint64>(sink.size()));
            body.Read(sink.data(), static_cast<size_t>(piece));
            left -= piece;
        }
        inflateSeconds = timer.nsecsElapsed() / 1e9;
        inflateCpu = CpuSeconds() - cpu0;
    }

    malloc_trim(0);
    const size_t heapBefore = HeapInUse();
    const long rssBefore = StatusKb("VmRSS:");
    const bool peakReset = ResetPeak();
    TMLineWydruk model;
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    timer.restart();
    const double cpu0 = CpuSeconds();
    ReadPrintout(file, model);
    const double readSeconds = timer.nsecsElapsed() / 1e9;
    const double readCpu = CpuSeconds() - cpu0;
    file.close();
    const long peakKb = StatusKb("VmHWM:");
    const size_t modelBytes = HeapInUse() - heapBefore;

    const double mb = written.body / 1e6;
    std::printf("inflate only: %.1f MB/s of inflated body (processor time; %.1f MB/s wall)\n", mb / inflateCpu,
                mb / inflateSeconds);
    std::printf("read: %.2f s processor time, %.1f MB/s of inflated body (goal >= 150); wall %.2f s, %.1f MB/s\n",
                readCpu, mb / readCpu, readSeconds, mb / readSeconds);
    std::printf("model: %.1f MB = %.3f x the inflated body (goal <= 1.2), %.1f bytes per field\n", modelBytes / 1e6,
                static_cast<double>(modelBytes) / static_cast<double>(written.body),
                static_cast<double>(modelBytes) / static_cast<double>(written.fields));
    std::printf("peak memory while reading: %.1f MB above the start, %.1f bytes per field%s\n",
                (peakKb - rssBefore) / 1024.0, (peakKb - rssBefore) * 1024.0 / static_cast<double>(written.fields),
                peakReset ? "" : " (peak mark could not be reset: includes writing)");
    std::printf("check: %d lines counted, %d styles\n", model.TotalLineCount(), model.Styles().Count());
    return model.TotalLineCount() > 0 ? 0 : 1;
}
