#include "cli/BuildPrintout.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"
#include "platform/base/OrderedPool.h"

#include "platform/base/SaveFile.h"
#include "platform/metafile/PageGeometry.h"
#include "print/PageSelection.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <deque>

namespace {

// The bare page, 210 x 294 mm, at dpi; halves round to the even neighbour.
QSize PageSizeAt(int dpi)
{
    return QSize(int(std::nearbyint(platform::kPageWidthMm / 25.4 * dpi)),
                 int(std::nearbyint(platform::kPageHeightMm / 25.4 * dpi)));
}

// A page's PNG file, made on a worker thread.
struct EncodedPage {
    QByteArray png;
    bool ok = false;
};

EncodedPage Encode(const QImage &image)
{
    EncodedPage page;
    QBuffer buffer(&page.png);
    page.ok = buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG");
    return page;
}

// Pages rendered but not yet written are held whole: at high resolutions fewer wait at a time.
constexpr qint64 kWaitingBytes = qint64(256) << 20;

} // namespace

int RunPng(const QStringList &args)
{
    ExportOptions options;
    try {
        options = ParseExportOptions(args, {"-o", "--dpi", "--pages"}, true);
    } catch (const Exception &e) {
        PrintError(QStringLiteral("wenoglad-cli png: ") + e.Message());
        return kExitUsage;
    }
    BuiltPrintout printout;
    if (const int code = BuildPrintoutWithPages(options.file, printout))
        return code;

    // A page set is read against the page count, so a range of a billion pages costs no more than
    // the pages there are.
    PageSelection pages;
    try {
        pages = BuildPageSelection(options.pagesGiven ? TPageRange::Zestaw : TPageRange::Wszystkie, options.pages,
                                   qint32(printout.pages.size()), 1);
    } catch (const Exception &e) {
        PrintError(QStringLiteral("wenoglad-cli png: ") + e.Message());
        return kExitUsage;
    }

    const QDir dir(options.output);
    if (!QDir().mkpath(options.output)) {
        PrintError(QStringLiteral("Nie można utworzyć katalogu %1").arg(options.output));
        return kExitCannotOpen;
    }
    const QSize size = PageSizeAt(options.dpi);
    const int dpm = int(std::nearbyint(options.dpi / 0.0254));
    // Pages are played here, one after another, as the pages' fonts are not to be shared between
    // threads; encoding, the larger part, runs on the other cores. One core encodes here as well.
    const int cores = QThread::idealThreadCount();
    OrderedPool<EncodedPage> pool(cores > 1 ? cores : 0);
    const qint64 pageBytes = qint64(size.width()) * size.height() * 4;
    const size_t waiting = size_t(std::clamp<qint64>(kWaitingBytes / std::max<qint64>(pageBytes, 1), 1, cores + 1));
    std::deque<int> numbers;
    const auto writeNext = [&]() {
        const EncodedPage page = pool.Next();
        const int n = numbers.front();
        numbers.pop_front();
        // Written under a temporary name in the folder and renamed when whole: a failure (a full
        // disk) leaves every file complete, an earlier one of the same name included.
        const QString path = dir.filePath(QString::number(n) + QStringLiteral(".png"));
        platform::SaveFile file(path);
        if (!page.ok || !file.open(QIODevice::WriteOnly) || file.write(page.png) != page.png.size() || !file.commit()) {
            PrintError(QStringLiteral("Nie można zapisać strony %1 do pliku %2: %3")
                           .arg(n)
                           .arg(path, file.Cause().isEmpty() ? QStringLiteral("nieznany błąd") : file.Cause()));
            return false;
        }
        return true;
    };
    for (int n : pages) {
        QImage image(size, QImage::Format_RGB32);
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                                   QPainter::SmoothPixmapTransform);
            printout.pages[n - 1]->Play(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        pool.Submit([image = std::move(image)] { return Encode(image); });
        numbers.push_back(n);
        if (pool.Pending() >= waiting && !writeNext())
            return kExitCannotOpen;
    }
    while (pool.Pending() > 0)
        if (!writeNext())
            return kExitCannotOpen;
    return kExitOk;
}
