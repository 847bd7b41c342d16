#include "cli/BuildPrintout.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"

#include "platform/base/SaveFile.h"
#include "platform/metafile/PageGeometry.h"
#include "print/PageSelection.h"

#include <QDir>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

// The bare page, 210 x 294 mm, at dpi; halves round to the even neighbour.
QSize PageSizeAt(int dpi)
{
    return QSize(int(std::nearbyint(platform::kPageWidthMm / 25.4 * dpi)),
                 int(std::nearbyint(platform::kPageHeightMm / 25.4 * dpi)));
}

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
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::nearbyint(options.dpi / 0.0254)));
    image.setDotsPerMeterY(image.dotsPerMeterX());
    for (int n : pages) {
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                                   QPainter::SmoothPixmapTransform);
            printout.pages[n - 1]->Play(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        // Written under a temporary name in the folder and renamed when whole: a failure (a full
        // disk) leaves every file complete, an earlier one of the same name included.
        const QString path = dir.filePath(QString::number(n) + QStringLiteral(".png"));
        platform::SaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
            PrintError(QStringLiteral("Nie można zapisać strony %1 do pliku %2: %3")
                           .arg(n)
                           .arg(path, file.Cause().isEmpty() ? QStringLiteral("nieznany błąd") : file.Cause()));
            return kExitCannotOpen;
        }
    }
    return kExitOk;
}
