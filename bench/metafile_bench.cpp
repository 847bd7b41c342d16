// Recording and playback speed of a dense page: 84 lines of 132 characters in 10 fields a line,
// drawn as the line drawing does it (word-wrapping fields, DT_NOCLIP), then played into a 96-dpi
// page image (794 x 1111) and into PDF pages. Prints pages per second and bytes per recorded page.
#include "platform/metafile/PageMetafile.h"
#include "platform/text/DrawText.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <malloc.h>
#include <time.h>

#include <cstdio>
#include <memory>
#include <vector>

using namespace platform;

namespace {

constexpr int kLines = 84;
constexpr int kFields = 10;

struct Field {
    QString text;
    TRect rect;
    unsigned flags;
};

std::vector<Field> DenseFields(const TFont &font)
{
    std::vector<Field> fields;
    const int lineHeight = font.Height();
    for (int line = 0; line < kLines; ++line) {
        int x = 8;
        for (int f = 0; f < kFields; ++f) {
            const int chars = f < 2 ? 14 : 13; // 2 x 14 + 8 x 13 = 132
            // Names and amounts as a Polish report prints them (a blank as thousands separator).
            QString text;
            if (f % 3 == 0)
                text = QStringLiteral("Zakład nr %1 Łódź").arg(line * 10 + f, 3, 10, QLatin1Char('0'));
            else
                text = QStringLiteral("%1 %2 %3,%4")
                           .arg(10 + line % 89, 2)
                           .arg(100 + (f * 37) % 900, 3)
                           .arg(100 + (line * f) % 900, 3)
                           .arg(10 + f, 2);
            text = text.left(chars).rightJustified(chars, QLatin1Char(' '));
            const int width = font.TextWidth(text);
            const unsigned align = f % 3 == 0 ? 0 : DT_RIGHT;
            fields.push_back({text, TRect{x, 4 + line * lineHeight, x + width, 4 + (line + 1) * lineHeight},
                              DT_EDITCONTROL | DT_NOPREFIX | DT_NOCLIP | DT_WORDBREAK | align});
            x += width;
        }
    }
    return fields;
}

void Record(PageMetafile &page, const TFont &font, const std::vector<Field> &fields)
{
    QPainter p(&page);
    for (const Field &f : fields) {
        TRect r = f.rect;
        DrawTextEx(&p, font, f.text, r, f.flags);
    }
}

// Wall time and the CPU time of this thread: the machine is shared, so both are printed.
struct Stopwatch {
    QElapsedTimer wall;
    double cpuStart = 0;
    static double Cpu()
    {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return double(ts.tv_sec) + ts.tv_nsec / 1e9;
    }
    void Start()
    {
        wall.start();
        cpuStart = Cpu();
    }
    double WallSeconds() const { return wall.nsecsElapsed() / 1e9; }
    double CpuSeconds() const { return Cpu() - cpuStart; }
};

size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // 1.4 mm x 2.9 mm characters at the page zoom: 10 x 20 units, 132 columns across 1429 units.
    const TFont font = CreateFont(-20, -10, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, QStringLiteral("Courier New"));
    const std::vector<Field> fields = DenseFields(font);

    // Recording.
    {
        PageMetafile warm;
        Record(warm, font, fields);
    }
    const int recordPages = 2000;
    Stopwatch recordTime;
    recordTime.Start();
    for (int i = 0; i < recordPages; ++i) {
        PageMetafile page;
        Record(page, font, fields);
    }
    const double recordWall = recordTime.WallSeconds(), recordCpu = recordTime.CpuSeconds();

    // Memory: keep many pages and look at the heap.
    const int keptPages = 300;
    const size_t before = HeapInUse();
    std::vector<std::unique_ptr<PageMetafile>> kept;
    for (int i = 0; i < keptPages; ++i) {
        kept.push_back(std::make_unique<PageMetafile>());
        Record(*kept.back(), font, fields);
    }
    const size_t after = HeapInUse();
    const PageMetafile &page = *kept.front();

    // Playback into a 96-dpi page image.
    QImage image(794, 1111, QImage::Format_ARGB32_Premultiplied);
    const int imagePages = 600;
    Stopwatch imageTime;
    imageTime.Start();
    for (int i = 0; i < imagePages; ++i) {
        image.fill(Qt::white);
        QPainter p(&image);
        page.Play(p, QRectF(0, 0, image.width(), image.height()));
    }
    const double imageWall = imageTime.WallSeconds(), imageCpu = imageTime.CpuSeconds();
    image.save(QStringLiteral("metafile_bench_page.png"));

    // Playback into PDF pages (written to memory).
    const int pdfPages =
        qEnvironmentVariableIntValue("BENCH_PDF_PAGES") > 0 ? qEnvironmentVariableIntValue("BENCH_PDF_PAGES") : 300;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Stopwatch pdfTime;
    pdfTime.Start();
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QSizeF(210, 294), QPageSize::Millimeter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(300);
        QPainter p(&writer);
        const QRectF target(0, 0, writer.width(), writer.height());
        for (int i = 0; i < pdfPages; ++i) {
            if (i > 0)
                writer.newPage();
            page.Play(p, target);
        }
    }
    const double pdfWall = pdfTime.WallSeconds(), pdfCpu = pdfTime.CpuSeconds();

    std::printf("dense page: %d records, %lld bytes by the page's own count\n", page.RecordCount(),
                static_cast<long long>(page.MemoryBytes()));
    std::printf("heap per recorded page:  %.0f bytes (%d pages kept)\n", double(after - before) / keptPages, keptPages);
    std::printf("%-24s %6.0f pages/s wall, %6.0f pages/s of CPU (%d pages)\n", "recording:", recordPages / recordWall,
                recordPages / recordCpu, recordPages);
    std::printf("%-24s %6.0f pages/s wall, %6.0f pages/s of CPU (%d pages)\n",
                "image playback 794x1111:", imagePages / imageWall, imagePages / imageCpu, imagePages);
    std::printf("%-24s %6.0f pages/s wall, %6.0f pages/s of CPU (%d pages, %lld bytes of PDF)\n",
                "PDF playback:", pdfPages / pdfWall, pdfPages / pdfCpu, pdfPages,
                static_cast<long long>(buffer.size()));
    return 0;
}
