#include "platform/printer/CupsBackend.h"

#include "platform/printer/CupsDest_p.h"
#include "platform/printer/CupsJob_p.h"
#include "platform/printer/CupsOptions_p.h"

#include <QRegularExpression>

namespace platform {

namespace {

// "600dpi", "600x1200dpi" or "236dpcm" as dots per inch; empty when the text is none of these.
QSize ParseResolution(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^(\\d+)(?:x(\\d+))?(dpi|dpcm)$"));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    const double scale = m.captured(3) == QLatin1String("dpcm") ? 2.54 : 1.0;
    const int x = int(m.captured(1).toInt() * scale + 0.5);
    const int y = m.captured(2).isEmpty() ? x : int(m.captured(2).toInt() * scale + 0.5);
    return {x, y};
}

class CupsBackend : public TPrinterBackend {
public:
    QList<TPrinterInfo> Printers(int &defaultIndex) override
    {
        defaultIndex = -1;
        QList<TPrinterInfo> printers;
        cups_dest_t *dests = nullptr;
        const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
        for (int i = 0; i < count; ++i) {
            const cups_dest_t &d = dests[i];
            QString device = QString::fromUtf8(d.name);
            if (d.instance)
                device += QLatin1Char('/') + QString::fromUtf8(d.instance);
            if (d.is_default)
                defaultIndex = int(printers.size());
            printers.append({device, DestOption(d, "printer-make-and-model"), DestOption(d, "device-uri")});
        }
        cupsFreeDests(count, dests);
        return printers;
    }

    std::optional<TDevMode> DefaultSettings(const TPrinterInfo &printer) override
    {
        const CupsDest dest(printer.Device);
        if (!dest)
            return std::nullopt;
        TDevMode settings;
        settings.Fields = DM_COLOR;
        const QString mode = DestOption(*dest, "print-color-mode");
        const QString model = DestOption(*dest, "ColorModel");
        bool color = DestOption(*dest, "printer-type").toUInt() & CUPS_PRINTER_COLOR;
        if (!mode.isEmpty())
            color = mode == QLatin1String("color") || mode == QLatin1String("auto");
        else if (!model.isEmpty())
            color = !QStringList{"Gray", "Grayscale", "Mono", "Monochrome", "KGray", "Black", "BlackWhite"}.contains(
                model, Qt::CaseInsensitive);
        settings.Color = color ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
        settings.Media = DestOption(*dest, "media");
        const QSize dpi = ParseResolution(DestOption(*dest, "printer-resolution"));
        settings.Resolution = dpi.isEmpty() ? 0 : dpi.width();
        settings.ResolutionY = dpi.isEmpty() || dpi.height() == dpi.width() ? 0 : dpi.height();
        // The program prints the second side itself (two passes with the sheets turned): a job is
        // one-sided unless the user chooses the printer's own two-sided printing for it, whatever the
        // queue's default.
        settings.Sides = QStringLiteral("one-sided");
        return settings;
    }

    QList<TPrinterOption> Options(const TPrinterInfo &printer) override { return CupsQueueOptions(printer.Device); }

    TDeviceCaps Capabilities(const TPrinterInfo &printer, const TDevMode &settings, TOrientation orientation) override
    {
        return SheetCaps(QueueSheet(printer, settings), orientation);
    }

    std::unique_ptr<TPrintJob> BeginJob(const TJobStart &start) override
    {
        return BeginCupsJob(start, QueueSheet(start.Printer, start.Settings));
    }

    std::optional<TQueueState> QueueState(const TPrinterInfo &printer) override
    {
        const CupsDest dest(printer.Device);
        if (!dest)
            return std::nullopt;
        TQueueState state;
        state.Stopped = DestOption(*dest, "printer-state").toInt() == IPP_PSTATE_STOPPED;
        state.AcceptingJobs = DestOption(*dest, "printer-is-accepting-jobs") != QLatin1String("false");
        for (const QString &reason :
             DestOption(*dest, "printer-state-reasons").split(QLatin1Char(','), Qt::SkipEmptyParts))
            if (reason != QLatin1String("none"))
                state.Reasons.append(reason);
        return state;
    }

private:
    // The queue's paper and margins for the settings' media (its default one when they name none)
    // and its resolution: A4 and 600 dpi where the queue says nothing.
    static TSheet QueueSheet(const TPrinterInfo &printer, const TDevMode &settings)
    {
        TSheet sheet;
        if (const QSizeF paper = MediaSizeMm(settings.Media); !paper.isEmpty())
            sheet.PaperMm = paper;
        const CupsDest dest(printer.Device);
        cups_dinfo_t *info = dest ? cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()) : nullptr;
        if (info) {
            // The queue's own default paper: cupsGetDestMediaDefault looks only at the "media" option
            // and takes Letter without one.
            QByteArray media = settings.Media.toUtf8();
            if (media.isEmpty())
                media = DestOption(*dest, "media").toUtf8();
            if (media.isEmpty())
                if (ipp_attribute_t *attr = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest.get(), info, "media"))
                    media = ippGetString(attr, 0, nullptr);
            cups_size_t size{};
            if (!media.isEmpty() &&
                cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest.get(), info, media.constData(), CUPS_MEDIA_FLAGS_DEFAULT,
                                       &size) &&
                size.width > 0 && size.length > 0) {
                sheet.PaperMm = QSizeF(size.width / 100.0, size.length / 100.0);
                sheet.MarginsMm =
                    QMarginsF(size.left / 100.0, size.top / 100.0, size.right / 100.0, size.bottom / 100.0);
            }
        }
        QSize dpi = ParseResolution(dest ? DestOption(*dest, "printer-resolution") : QString());
        if (info && dpi.isEmpty()) {
            if (ipp_attribute_t *attr =
                    cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest.get(), info, "printer-resolution")) {
                ipp_res_t units = IPP_RES_PER_INCH;
                int y = 0;
                const int x = ippGetResolution(attr, 0, &y, &units);
                const double scale = units == IPP_RES_PER_CM ? 2.54 : 1.0;
                dpi = QSize(int(x * scale + 0.5), int(y * scale + 0.5));
            }
        }
        if (info)
            cupsFreeDestInfo(info);
        if (settings.Resolution > 0)
            dpi = QSize(settings.Resolution, settings.ResolutionY > 0 ? settings.ResolutionY : settings.Resolution);
        if (dpi.width() > 0 && dpi.height() > 0) {
            sheet.DpiX = dpi.width();
            sheet.DpiY = dpi.height();
        }
        return sheet;
    }
};

} // namespace

std::unique_ptr<TPrinterBackend> MakeCupsBackend()
{
    return std::make_unique<CupsBackend>();
}

} // namespace platform
