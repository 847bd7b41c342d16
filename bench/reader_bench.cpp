// Reading speed and model size on a long printout: 10,000 pages, about 840,000 lines of 5 to 8
// fields, written with the test writer and then read back.
//   reader_bench [--records-per-row] [FILE]
// With --records-per-row every row is an item record of its own instead of a line of its
// document's block, the shape that costs the model most per row.
#include "core/MLineWydruk.h"
#include "core/PrintoutFile.h"
#include "tests/support/WydWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <malloc.h>
#include <string>

using namespace wydtest;

namespace {

constexpr int kPages = 10000;
constexpr int kLinesPerPage = 84;

// A deterministic generator, so that every run reads the same printout.
class Random {
public:
    int Below(int n)
    {
        x_ = x_ * 1664525u + 1013904223u;
        return static_cast<int>((x_ >> 8) % static_cast<quint32>(n));
    }

private:
    quint32 x_ = 42;
};

const char *const kNames[] = {
    "Papier ksero A4 80 g/m2 (ryza)", "D\xB3ugopis \xBF" "elowy niebieski", "Segregator A4 szer. 75 mm",
    "Toner HP 85A", "Kawa ziarnista 1 kg", "Herbata czarna 100 szt.", "Woda mineralna 1,5 l",
    "\x8Crodek do mycia szyb 750 ml", "R\xEA" "cznik papierowy ZZ", "Us\xB3uga serwisowa", "Krzes\xB3o biurowe",
    "Zszywacz 24/6", "Koperty C4 (50 szt.)", "Ta\x9Cma pakowa 48 mm", "Mleko UHT 3,2% 1 l",
};

QByteArray Money(qint64 grosze)
{
    QByteArray whole = QByteArray::number(grosze / 100);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, ' ');
    return whole + ',' + QByteArray::number(grosze % 100).rightJustified(2, '0');
}

Line Row(Random &random, int lp)
{
    const int fields = 5 + random.Below(4);
    const qint64 price = 100 + random.Below(100000);
    const int qty = 1 + random.Below(300);
    const QByteArray texts[8] = {QByteArray::number(lp) + ".",
                                 kNames[random.Below(15)],
                                 "T" + QByteArray::number(1000 + random.Below(9000)),
                                 QByteArray::number(qty),
                                 Money(price),
                                 Money(price * qty),
                                 random.Below(2) ? "23%" : "8%",
                                 Money(price * qty * 123 / 100)};
    static const qint32 x[8] = {600, 1000, 4300, 4900, 5500, 6300, 7200, 7700};
    static const qint32 w[8] = {380, 3250, 550, 550, 750, 850, 450, 1200};
    Line line;
    for (int i = 0; i < fields; ++i)
        line.Fields.push_back({.X = x[i], .Width = w[i], .Alignment = static_cast<quint8>(i == 1 ? 0 : 1),
                               .StyleName = "Tabela", .Text = texts[i]});
    return line;
}

struct Written {
    qint64 body = 0, file = 0, lines = 0, fields = 0;
};

// Root (title, column header) -> groups of 40 documents -> documents whose positions are the
// lines of their title block (or item records of one line each) and a summary line.
Written WritePrintout(const QString &path, bool recordPerRow)
{
    StreamedWyd file(path);
    Document doc;
    doc.Styles = {{.FontName = "Arial", .Name = "Normalny"}, {.FontStyle = 1, .FontName = "Arial", .Name = "Naglowek"},
                  {.Name = "Tabela", .Alias = "T"}};
    BodyWriter w(7);
    w.SetSink([&](QByteArrayView bytes) { file.Write(bytes); });
    w.Globals(doc).Styles(doc);
    Record root;
    root.Title.Lines.push_back({.Fields = {{.X = 600, .Width = 8300, .Alignment = 2, .StyleName = "Naglowek",
                                            .Text = "Zestawienie dokument\xF3w sprzeda\xBFy"}}});
    Random headerRandom;
    root.ColumnHeader.Lines.push_back(Row(headerRandom, 0));
    Written out;
    out.lines = 1;
    const qint64 target = qint64{kPages} * kLinesPerPage;
    Random random;
    const int groups = static_cast<int>(target / (40 * 22));
    w.RecordHead(root, groups);
    for (int g = 0; g < groups; ++g) {
        Record group;
        group.Label = "Grupa " + QByteArray::number(g);
        group.Title.Lines.push_back({.Fields = {{.X = 600, .Width = 5000, .StyleName = "Naglowek",
                                                 .Text = "Kontrahent nr " + QByteArray::number(g)}}});
        w.RecordHead(group, 40);
        out.lines += 1;
        for (int d = 0; d < 40; ++d) {
            Record document;
            document.Label = "FV/" + QByteArray::number(g * 40 + d);
            const int rows = 10 + random.Below(21);
            document.Title.Lines.push_back({.Fields = {{.X = 600, .Width = 4000, .StyleName = "Normalny",
                                                        .Text = "Faktura " + document.Label}}});
            std::vector<Line> lines;
            for (int r = 0; r < rows; ++r)
                lines.push_back(Row(random, r + 1));
            for (const Line &l : lines)
                out.fields += static_cast<qint64>(l.Fields.size());
            if (recordPerRow) {
                for (Line &l : lines) {
                    Record row;
                    row.Title.Lines.push_back(std::move(l));
                    document.Items.push_back(std::move(row));
                }
            } else {
                document.Title.Lines.insert(document.Title.Lines.end(), lines.begin(), lines.end());
            }
            document.Summary.Lines.push_back({.Fields = {{.X = 5500, .Width = 3400, .Alignment = 1,
                                                          .StyleName = "Normalny", .Text = "Razem: 12 345,67"}}});
            out.lines += rows + 2;
            out.fields += 2;
            w.RecordTree(document);
        }
        w.RecordTail(group);
    }
    w.RecordTail(root);
    w.Flush();
    out.body = w.Written();
    out.file = file.Finish();
    return out;
}

long StatusKb(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string name;
    long kb = 0;
    while (status >> name) {
        if (name == key) {
            status >> kb;
            return kb;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

// Seconds of processor time this process has used: the machine is shared, so wall time says
// more about the neighbours than about the reader.
double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

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
    const Written written = WritePrintout(path, recordPerRow);
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
    std::printf("model: %.1f MB = %.2f x the inflated body (goal <= 2), %.1f bytes per field\n", modelBytes / 1e6,
                static_cast<double>(modelBytes) / static_cast<double>(written.body),
                static_cast<double>(modelBytes) / static_cast<double>(written.fields));
    std::printf("peak memory while reading: %.1f MB above the start, %.1f bytes per field%s\n",
                (peakKb - rssBefore) / 1024.0, (peakKb - rssBefore) * 1024.0 / static_cast<double>(written.fields),
                peakReset ? "" : " (peak mark could not be reset: includes writing)");
    std::printf("check: %d lines counted, %d styles\n", model.TotalLineCount(), model.Styles().Count());
    return model.TotalLineCount() > 0 ? 0 : 1;
}
