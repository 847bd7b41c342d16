// Printouts of a few hundred bytes to a few kilobytes that used to hang the layout or take
// gigabytes: writes them (into the folder given as the argument, kept for measuring the command
// line with /usr/bin/time, or into a temporary one) and times the in-process cases.
//   hostile_bench [FOLDER]
#include "bench/BenchSupport.h"
#include "tests/support/EmfWriter.h"
#include "tests/support/WydWriter.h"

#include "core/Wydruki.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <fstream>

using namespace wydtest;

namespace {

constexpr qint64 kEmptyLines = 100'000'000;
constexpr qint64 kPictureBytes = qint64{1} << 30;

Line WideField(int width)
{
    return {.Fields = {{.X = 0, .Width = width, .Text = QByteArray(65535, 'x')}}};
}

// One root record whose title holds `lines` empty lines, streamed.
void WriteEmptyLines(const QString &path)
{
    StreamedWyd file(path, {.Level = 9});
    BodyWriter w(7);
    w.SetSink([&](QByteArrayView bytes) { file.Write(bytes); });
    const Document doc;
    w.Globals(doc).Styles(doc);
    w.Marker(3).BlockRecord({.LineCount = qint32(kEmptyLines)});
    const Line empty;
    for (qint64 i = 0; i < kEmptyLines; ++i)
        w.LineRecord(empty);
    w.BlockRecord({}).Marker(12).I32(0).RecordTail({});
    w.Flush();
    file.Finish();
}

// A picture field whose metafile declares a gigabyte and holds it (zeros after the header).
void WriteHugePicture(const QString &path)
{
    QByteArray emf = testing_emf::EmfWriter(10, 10).Finish();
    qToLittleEndian<quint32>(quint32(kPictureBytes), emf.data() + 48);
    StreamedWyd file(path, {.Level = 9});
    BodyWriter w(7);
    w.SetSink([&](QByteArrayView bytes) { file.Write(bytes); });
    const Document doc;
    w.Globals(doc).Styles(doc);
    w.Marker(3).BlockRecord({.Lines = {{.Fields = {{.Kind = 6, .Picture = emf}}}}});
    w.Flush();
    const QByteArray zeros(1 << 20, '\0');
    for (qint64 left = kPictureBytes - emf.size(); left > 0; left -= zeros.size())
        file.Write(QByteArrayView(zeros).first(std::min<qint64>(left, zeros.size())));
    w.BlockRecord({}).Marker(12).I32(0).RecordTail({});
    w.Flush();
    file.Finish();
}

// A column header with a 2,500 x 2,400 bitmap (24 MB decoded) over 130 pages.
Document RepeatedHeaderPicture()
{
    testing_emf::EmfWriter emf(2500, 2400);
    const QByteArray row(2500 * 3, '\x60');
    emf.StretchDIBits(QRect(0, 0, 2500, 2400), QRect(0, 0, 2500, 2400),
                      testing_emf::MakeDib(2500, 2400, 24, {}, QList<QByteArray>(2400, row)));
    Document doc;
    doc.Root.ColumnHeader.Lines = {{.Fields = {{.Kind = 6, .Picture = emf.Finish()}}}};
    for (int i = 0; i < 130; ++i) {
        Record item;
        item.BreakBefore = 1;
        item.Title.Lines = {{.Fields = {{.X = 1200, .Width = 6000, .Text = "strona"}}}};
        doc.Root.Items.push_back(item);
    }
    return doc;
}

// A letterhead of about 4 MB (a 1,000 x 1,000 bitmap and 250,000 points of lines) in the column
// header of 10,000 pages.
Document LongReportWithLetterhead()
{
    testing_emf::EmfWriter emf(2000, 1400);
    const QByteArray row(1000 * 3, '\x50');
    emf.StretchDIBits(QRect(0, 0, 1000, 1000), QRect(0, 0, 1000, 1000),
                      testing_emf::MakeDib(1000, 1000, 24, {}, QList<QByteArray>(1000, row)));
    QList<QList<QPoint>> lines;
    for (int k = 0; k < 1250; ++k) {
        QList<QPoint> line;
        for (int i = 0; i < 200; ++i)
            line << QPoint(1000 + i * 5, k + (i * 7 + k) % 11);
        lines << line;
    }
    emf.PolyPolyline(lines, true);
    Document doc;
    doc.Root.ColumnHeader.Lines = {{.Fields = {{.Kind = 6, .Picture = emf.Finish()}}}};
    for (int i = 0; i < 10'000; ++i) {
        Record item;
        item.BreakBefore = 1;
        item.Title.Lines = {{.Fields = {{.X = 1200, .Width = 6000, .Text = "pozycja " + QByteArray::number(i)}}}};
        doc.Root.Items.push_back(item);
    }
    return doc;
}

// 100,000 styles and as many fields, each naming another one (the last ones first).
Document ManyStyles()
{
    constexpr int kStyles = 100'000;
    Document doc;
    for (int i = 0; i < kStyles; ++i)
        doc.Styles.push_back({.Name = "s" + QByteArray::number(i)});
    for (int i = kStyles - 1; i >= 0; --i)
        doc.Root.Title.Lines.push_back(
            {.Fields = {{.X = 1200, .Width = 600, .StyleName = "S" + QByteArray::number(i), .Text = "x"}}});
    return doc;
}

// Loads and lays the printout out; seconds of processor time taken (the machine is shared).
double Lay(const QString &path, int *pages = nullptr)
{
    const double start = bench::CpuSeconds();
    TWydruk loader;
    int count = 0;
    loader.OnNextPage = [&](TWydruk *, platform::PageMetafile *) { ++count; };
    try {
        loader.LoadFromFile(path);
        loader.BuildPages();
    } catch (const Exception &e) {
        std::printf("  (%s)\n", e.Message().toUtf8().constData());
    }
    if (pages)
        *pages = count;
    return bench::CpuSeconds() - start;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const auto at = [&](const char *name) { return dir + u'/' + QLatin1String(name); };

    WriteWyd(at("wide_field.wyd"), {.Root = {.Title = {.Lines = {WideField(0)}}}});
    Document twenty;
    twenty.Root.Title.Lines.assign(20, WideField(0));
    WriteWyd(at("wide_fields20.wyd"), twenty);
    WriteWyd(at("many_styles.wyd"), ManyStyles());
    WriteWyd(at("repeated_picture.wyd"), RepeatedHeaderPicture());

    int pages = 0;
    double s = Lay(at("wide_field.wyd"), &pages);
    std::printf("processor time: one field of 65,535 characters, width 0: %.1f ms, %d pages (goal well under 50 ms)\n",
                s * 1e3, pages);
    s = Lay(at("wide_fields20.wyd"), &pages);
    std::printf("20 such fields: %.1f ms, %d pages\n", s * 1e3, pages);
    s = Lay(at("many_styles.wyd"));
    std::printf("100,000 styles and fields naming them: %.2f s\n", s);
    const long before = bench::StatusKb("VmHWM:");
    s = Lay(at("repeated_picture.wyd"), &pages);
    std::printf("header picture of 24 MB on %d pages: %.2f s, peak %.0f MB (%.0f MB before this case)\n", pages, s,
                bench::StatusKb("VmHWM:") / 1024.0, before / 1024.0);

    WriteWyd(at("letterhead.wyd"), LongReportWithLetterhead());
    const QFileInfo letterhead(at("letterhead.wyd"));
    {
        const long start = bench::StatusKb("VmHWM:");
        // The peak of this case alone: the kernel starts the peak again from what is resident now.
        std::ofstream("/proc/self/clear_refs") << "5";
        const double begun = bench::CpuSeconds();
        TWydruk loader;
        QString refused = QStringLiteral("laid out");
        try {
            loader.LoadFromFile(letterhead.filePath());
            loader.BuildPages();
        } catch (const Exception &e) {
            refused = QStringLiteral("refused: ") + e.Message();
        }
        const TPagination &built = loader.Tekst().Pages();
        std::printf("letterhead of about 4 MB on %zu pages (file %lld KB): %s in %.2f s, pages hold %.1f MB "
                    "(%.1f KB a page), model %.1f MB, peak %.0f MB of this case (%.0f MB before it)\n",
                    built.FinishedPages.size(), static_cast<long long>(letterhead.size() / 1024),
                    refused.toUtf8().constData(), bench::CpuSeconds() - begun, built.PageBytes() / 1048576.0,
                    built.PageBytes() / 1024.0 / std::max<size_t>(built.FinishedPages.size(), 1),
                    loader.Tekst().ModelBytes() / 1048576.0, bench::StatusKb("VmHWM:") / 1024.0, start / 1024.0);
    }

    if (argc > 1) {
        // Big to write, quick to refuse: only when they are kept for the command line.
        WriteEmptyLines(at("empty_lines.wyd"));
        WriteHugePicture(at("huge_picture.wyd"));
        std::printf("wrote empty_lines.wyd (%lld empty lines) and huge_picture.wyd (a %lld-byte picture) in %s\n",
                    static_cast<long long>(kEmptyLines), static_cast<long long>(kPictureBytes), argv[1]);
    }
    return 0;
}
