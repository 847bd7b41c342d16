#include "platform/printer/PdfPrinter_p.h"

#include "platform/printer/PdfPrintJob_p.h"
#include "platform/printer/Printer.h"
#include "platform/printer/PrinterError.h"

#include "platform/base/SaveFile.h"

namespace platform {

TPrinterInfo PdfPrinterInfo(const QString &file)
{
    return {kPdfPrinterDevice, QStringLiteral("Wenoglad PDF"), file};
}

TDevMode PdfPrinterSettings()
{
    TDevMode settings;
    settings.Fields = DM_COLOR;
    settings.Color = DMCOLOR_COLOR;
    settings.Media = QStringLiteral("iso_a4_210x297mm");
    return settings;
}

QList<TPrinterOption> PdfPrinterOptions()
{
    const TDevMode defaults = PdfPrinterSettings();
    TPrinterOption media = MakePrinterOption(kOptionMedia);
    for (const char *name : {"iso_a4_210x297mm", "iso_a3_297x420mm", "iso_a5_148x210mm", "iso_b5_176x250mm",
                             "na_letter_8.5x11in", "na_legal_8.5x14in"})
        media.Choices.append({QString::fromLatin1(name), StandardChoiceLabel(kOptionMedia, QString::fromLatin1(name))});
    media.Value = defaults.Media;
    TPrinterOption resolution = MakePrinterOption(kOptionResolution);
    for (const int dpi : {300, 600, 1200})
        resolution.Choices.append(
            {ResolutionValue(dpi, dpi), StandardChoiceLabel(kOptionResolution, ResolutionValue(dpi, dpi))});
    resolution.Value = ResolutionValue(600, 600);
    return {media, resolution};
}

TSheet PdfPrinterSheet(const TDevMode &settings)
{
    TSheet sheet;
    if (const QSizeF paper = MediaSizeMm(settings.Media); !paper.isEmpty())
        sheet.PaperMm = paper;
    if (settings.Resolution > 0) {
        sheet.DpiX = settings.Resolution;
        sheet.DpiY = settings.ResolutionY > 0 ? settings.ResolutionY : settings.Resolution;
    }
    return sheet;
}

std::unique_ptr<TPrintJob> BeginPdfFileJob(const TJobStart &start)
{
    const QString path = start.Printer.Port;
    if (path.isEmpty())
        throw EPrinter(QStringLiteral("Nie wskazano pliku, do którego drukarka PDF ma zapisać wydruk."));
    auto file = std::make_unique<SaveFile>(path);
    if (!file->open(QIODevice::WriteOnly))
        throw EPrinter(QStringLiteral("Nie można utworzyć pliku %1: %2").arg(path, file->Cause()));
    const TSheet sheet = PdfPrinterSheet(start.Settings);
    return std::make_unique<PdfPrintJob>(OrientedPaperMm(sheet, start.Orientation), start.Caps, std::move(file),
                                         [](QFileDevice &out) {
                                             auto &saved = static_cast<SaveFile &>(out);
                                             if (!saved.commit())
                                                 throw EPrinter(saved.ErrorText());
                                         });
}

} // namespace platform
