#include "cli/BuildPrintout.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"
#include "cli/PageSet.h"

#include "platform/metafile/PageGeometry.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

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
        // A set that cannot name any page fails before the printout is laid out.
        if (options.pagesGiven)
            CheckPageSet(options.pages, INT32_MAX);
    } catch (const Exception &e) {
        PrintError(QStringLiteral("wenoglad-cli png: ") + e.Message());
        return kExitUsage;
    }
    BuiltPrintout printout;
    if (const int code = BuildPrintout(options.file, printout))
        return code;

    QList<int> pages;
    if (options.pagesGiven) {
        try {
            pages = ParsePageSet(options.pages, int(printout.pages.size()));
        } catch (const Exception &e) {
            PrintError(QStringLiteral("wenoglad-cli png: ") + e.Message());
            return kExitUsage;
        }
    } else {
        for (int n = 1; n <= printout.pages.size(); ++n)
            pages.append(n);
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
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
            PrintError(QStringLiteral("Nie można zapisać strony %1 do pliku %2").arg(n).arg(path));
            return kExitCannotOpen;
        }
    }
    return kExitOk;
}
