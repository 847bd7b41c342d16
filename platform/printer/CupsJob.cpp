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
std::vector<std::pair<QByteArray, QByteArray>> CupsJobOptions(const TJobStart &start)
{
    std::vector<std::pair<QByteArray, QByteArray>> options;
    options.emplace_back("print-color-mode", start.Settings.Color == DMCOLOR_COLOR ? "color" : "monochrome");
    if (!start.Settings.Media.isEmpty())
        options.emplace_back("media", start.Settings.Media.toUtf8());
    if (start.Settings.Resolution > 0)
        options.emplace_back("printer-resolution",
                             ResolutionValue(start.Settings.Resolution, start.Settings.ResolutionY).toUtf8());
    // Said every time: a queue whose default is two-sided would otherwise print a one-sided job, or a
    // pass of two-sided printing done by hand, on both sides of the sheets.
    options.emplace_back("sides", start.OneSided || start.Settings.Sides.isEmpty() ? QByteArray("one-sided")
                                                                                   : start.Settings.Sides.toUtf8());
    if (start.Copies > 1) {
        options.emplace_back("copies", QByteArray::number(start.Copies));
        options.emplace_back("multiple-document-handling", "separate-documents-collated-copies");
    }
    if (!start.Settings.MediaSource.isEmpty())
        options.emplace_back("media-source", start.Settings.MediaSource.toUtf8());
    // CUPS turns a landscape sheet onto the paper by itself; saying so keeps drivers that look at
    // the option from turning it back.
    options.emplace_back("orientation-requested", start.Orientation == TOrientation::Landscape ? "4" : "3");
    return options;
}

// Why a job failed before the server could answer for it, which libcups words only after errno: the
// server cannot be reached, or it does not know the queue.
QString LocalFailure(const QByteArray &queue)
{
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    if (!http)
        return QStringLiteral("nie można połączyć się z serwerem wydruku");
    cups_dest_t *dest = cupsGetNamedDest(http, queue.constData(), nullptr);
    const bool known = dest != nullptr;
    cupsFreeDests(known ? 1 : 0, dest);
    httpClose(http);
    return known ? QStringLiteral("serwer wydruku nie przyjął zadania")
                 : QStringLiteral("serwer wydruku nie zna tej drukarki");
}

// Which printout did not reach which printer and why, in the user's words, then the server's own.
QString Refusal(const QString &printout, const QString &printer, const QByteArray &queue)
{
    const ipp_status_t status = cupsLastError();
    const QString words = QString::fromUtf8(cupsLastErrorString()).trimmed();
    QString why;
    bool fromServer = true;
    switch (status) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
    case IPP_STATUS_ERROR_PRINTER_IS_DEACTIVATED:
        why = QStringLiteral("drukarka nie przyjmuje teraz zadań");
        break;
    case IPP_STATUS_ERROR_NOT_FOUND:
        why = QStringLiteral("serwer wydruku nie zna tej drukarki");
        break;
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
        why = QStringLiteral("brak uprawnień do drukowania na niej");
        break;
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        why = QStringLiteral("serwer wydruku jest niedostępny");
        break;
    case IPP_STATUS_ERROR_INTERNAL:
        why = LocalFailure(queue);
        fromServer = false;
        break;
    default:
        why = QStringLiteral("serwer wydruku nie przyjął zadania");
        break;
    }
    QString text =
        QStringLiteral("Wydruk \"%1\" nie został wydrukowany na drukarce \"%2\": %3.").arg(printout, printer, why);
    if (fromServer && !words.isEmpty())
        text += QStringLiteral("\rOdpowiedź serwera wydruku: ") + words;
    return text;
}

} // namespace

std::unique_ptr<TPrintJob> BeginCupsJob(const TJobStart &start, const TSheet &sheet)
{
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/wenoglad-XXXXXX.pdf"));
    if (!file->open())
        throw EPrinter(QStringLiteral("Nie można utworzyć pliku tymczasowego wydruku: %1").arg(file->errorString()));
    const QByteArray queue = start.Printer.Device.section(QLatin1Char('/'), 0, 0).toUtf8();
    const QByteArray title = start.Title.toUtf8();
    const auto options = CupsJobOptions(start);
    return std::make_unique<PdfPrintJob>(
        OrientedPaperMm(sheet, start.Orientation), start.Caps, std::move(file),
        [queue, title, options, printout = start.Title, device = start.Printer.Device](QFileDevice &pdf) {
            cups_option_t *list = nullptr;
            int count = 0;
            for (const auto &[name, value] : options)
                count = cupsAddOption(name.constData(), value.constData(), count, &list);
            const QByteArray path = QFile::encodeName(pdf.fileName());
            const int id =
                cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.constData(), path.constData(), title.constData(), count, list);
            cupsFreeOptions(count, list);
            if (id == 0)
                throw EPrinter(Refusal(printout, device, queue));
        });
}

} // namespace platform
