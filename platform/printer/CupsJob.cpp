#include "platform/printer/CupsJob_p.h"

#include "platform/printer/PdfPrintJob_p.h"
#include "platform/printer/PrinterError.h"

#include <QDir>
#include <QTemporaryFile>

#include <cups/cups.h>

#include <utility>
#include <vector>

namespace platform {

namespace {

// The options a job is sent with: the settings block and the orientation.
std::vector<std::pair<QByteArray, QByteArray>> CupsJobOptions(const TPrintJobSpec &spec)
{
    std::vector<std::pair<QByteArray, QByteArray>> options;
    options.emplace_back("print-color-mode", spec.Settings.Color == DMCOLOR_COLOR ? "color" : "monochrome");
    if (!spec.Settings.Media.isEmpty())
        options.emplace_back("media", spec.Settings.Media.toUtf8());
    if (spec.Settings.Resolution > 0)
        options.emplace_back("printer-resolution",
                             ResolutionValue(spec.Settings.Resolution, spec.Settings.ResolutionY).toUtf8());
    if (!spec.Settings.Sides.isEmpty())
        options.emplace_back("sides", spec.Settings.Sides.toUtf8());
    if (!spec.Settings.MediaSource.isEmpty())
        options.emplace_back("media-source", spec.Settings.MediaSource.toUtf8());
    // CUPS turns a landscape sheet onto the paper by itself; saying so keeps drivers that look at
    // the option from turning it back.
    options.emplace_back("orientation-requested", spec.Orientation == TOrientation::Landscape ? "4" : "3");
    return options;
}

} // namespace

std::unique_ptr<TPrintJob> BeginCupsJob(const TPrintJobSpec &spec, const TSheet &sheet)
{
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/wenoglad-XXXXXX.pdf"));
    if (!file->open())
        throw EPrinter(QStringLiteral("Nie można utworzyć pliku tymczasowego wydruku: %1").arg(file->errorString()));
    const QByteArray queue = spec.Printer.Device.section(QLatin1Char('/'), 0, 0).toUtf8();
    const QByteArray title = spec.Title.toUtf8();
    const auto options = CupsJobOptions(spec);
    return std::make_unique<PdfPrintJob>(
        OrientedPaperMm(sheet, spec.Orientation), spec.Caps, std::move(file),
        [queue, title, options](QFileDevice &pdf) {
            cups_option_t *list = nullptr;
            int count = 0;
            for (const auto &[name, value] : options)
                count = cupsAddOption(name.constData(), value.constData(), count, &list);
            const QByteArray path = QFile::encodeName(pdf.fileName());
            const int id =
                cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.constData(), path.constData(), title.constData(), count, list);
            cupsFreeOptions(count, list);
            if (id == 0)
                throw EPrinter(QString::fromUtf8(cupsLastErrorString()));
        });
}

} // namespace platform
