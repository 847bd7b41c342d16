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
std::vector<std::pair<QByteArray, QByteArray>> CupsJobOptions(const TPrintJobSpec &jobSpec)
{
    std::vector<std::pair<QByteArray, QByteArray>> options;
    options.emplace_back("print-color-mode", jobSpec.Settings.Color == DMCOLOR_COLOR ? "color" : "monochrome");
    if (!jobSpec.Settings.Media.isEmpty())
        options.emplace_back("media", jobSpec.Settings.Media.toUtf8());
    if (jobSpec.Settings.Resolution > 0)
        options.emplace_back("printer-resolution",
                             ResolutionValue(jobSpec.Settings.Resolution, jobSpec.Settings.ResolutionY).toUtf8());
    if (!jobSpec.Settings.Sides.isEmpty())
        options.emplace_back("sides", jobSpec.Settings.Sides.toUtf8());
    if (!jobSpec.Settings.MediaSource.isEmpty())
        options.emplace_back("media-source", jobSpec.Settings.MediaSource.toUtf8());
    // CUPS turns a landscape sheet onto the paper by itself; saying so keeps drivers that look at
    // the option from turning it back.
    options.emplace_back("orientation-requested", jobSpec.Orientation == TOrientation::Landscape ? "4" : "3");
    return options;
}

} // namespace

std::unique_ptr<TPrintJob> BeginCupsJob(const TPrintJobSpec &jobSpec, const TSheet &sheet)
{
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/wenoglad-XXXXXX.pdf"));
    if (!file->open())
        throw EPrinter(QStringLiteral("Nie można utworzyć pliku tymczasowego wydruku: %1").arg(file->errorString()));
    const QByteArray queue = jobSpec.Printer.Device.section(QLatin1Char('/'), 0, 0).toUtf8();
    const QByteArray title = jobSpec.Title.toUtf8();
    const auto options = CupsJobOptions(jobSpec);
    return std::make_unique<PdfPrintJob>(
        OrientedPaperMm(sheet, jobSpec.Orientation), jobSpec.Caps, std::move(file),
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
