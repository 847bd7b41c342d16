#pragma once
// The virtual printer at the end of the printer list: it writes each job into a PDF file, its port.
#include "platform/printer/PrinterBackend.h"
#include "platform/printer/PrinterSheet_p.h"

namespace platform {

TPrinterInfo PdfPrinterInfo(const QString &file);
TDevMode PdfPrinterSettings();
// Paper sizes and resolutions, valued at the defaults of PdfPrinterSettings.
QList<TPrinterOption> PdfPrinterOptions();
// A4 or the settings' media, without hardware margins, at 600 dpi or the settings' resolution.
TSheet PdfPrinterSheet(const TDevMode &settings);
// Writes into a file that replaces the port's when the job ends, so that an abandoned job leaves
// nothing behind. Raises EPrinter when there is no port or the file cannot be made.
std::unique_ptr<TPrintJob> BeginPdfFileJob(const TJobStart &start);

} // namespace platform
