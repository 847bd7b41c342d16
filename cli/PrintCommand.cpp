#include "cli/BuildPrintout.h"
#include "cli/CliPrintHost.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"

#include "platform/printer/Printer.h"
#include "platform/printer/PrinterError.h"
#include "print/PrintEngine.h"

#include <QFileInfo>

#include <cmath>

namespace {

// Whole millimetres, as the engine takes them.
TMarginsMm WholeMm(const QMarginsF &m)
{
    return {int(std::lround(m.left())), int(std::lround(m.top())), int(std::lround(m.right())),
            int(std::lround(m.bottom()))};
}

TPrintRequest Request(const ExportOptions &options, const BuiltPrintout &printout)
{
    TPrintRequest request;
    for (const platform::PageMetafile *page : printout.pages)
        request.Pages.append(page);
    request.Range = options.pagesGiven ? TPageRange::Zestaw : TPageRange::Wszystkie;
    request.PageSet = options.pages;
    request.Margins = WholeMm(options.margins);
    request.Title = QFileInfo(options.file).completeBaseName();
    return request;
}

TPrintDlgSettings Settings(const ExportOptions &options)
{
    TPrintDlgSettings s;
    s.Tryb = options.mode.value_or(TPrintMode::Normalne);
    s.Odwrotnie = options.reverse;
    s.Dwustronnie = options.twoSided;
    s.DwustronnieAuto = options.printerTwoSided;
    s.Kolor = options.colour;
    s.Kopie = options.copies;
    s.NoEMF = options.bitmap;
    return s;
}

// Makes the queue named exactly queue current, or the system's default when none is named.
bool ChooseQueue(platform::TPrinter &printer, const QString &queue)
{
    const QList<platform::TPrinterInfo> &list = printer.Printers();
    // The virtual PDF printer closes the list; it is for `pdf --tryb`, not for printing.
    const qsizetype queues = list.size() - 1;
    if (queue.isEmpty())
        return printer.PrinterIndex() < queues;
    for (qsizetype i = 0; i < queues; ++i)
        if (list[i].Device == queue) {
            printer.SetPrinterIndex(int(i));
            return true;
        }
    return false;
}

} // namespace

int RunPrint(const QStringList &args)
{
    ExportOptions options;
    try {
        options = ParseExportOptions(args,
                                     {"-d", "--strony", "--tryb", "--dwustronnie", "--dwustronnie-auto", "--odwrotnie",
                                      "--kopie", "--kolor", "--bitmapa", "--margins"},
                                     false);
    } catch (const Exception &e) {
        PrintError(QStringLiteral("wenoglad-cli print: ") + e.Message());
        return kExitUsage;
    }
    if (options.twoSided && options.printerTwoSided) {
        PrintError(QStringLiteral("wenoglad-cli print: --dwustronnie (ręcznie) i --dwustronnie-auto (drukarka) "
                                  "wykluczają się"));
        return kExitUsage;
    }
    // The printer's own two-sided printing needs nobody to turn the sheets, a booklet included.
    const bool turns = !options.printerTwoSided && (options.twoSided || options.mode == TPrintMode::Ksiazeczka);
    if (turns && !TCliPrintHost::CanTurnSheets()) {
        PrintError(QStringLiteral("wenoglad-cli print: druk dwustronny i książeczka wymagają odwrócenia kartek "
                                  "między przebiegami; uruchom polecenie w terminalu"));
        return kExitUsage;
    }
    platform::TPrinter &printer = platform::Printer();
    if (!ChooseQueue(printer, options.queue)) {
        PrintError(options.queue.isEmpty()
                       ? QStringLiteral("wenoglad-cli print: brak domyślnej drukarki; podaj kolejkę opcją -d")
                       : QStringLiteral("wenoglad-cli print: nie ma drukarki \"%1\"").arg(options.queue));
        return kExitUsage;
    }
    if (options.printerTwoSided && !printer.PrintsBothSides()) {
        PrintError(QStringLiteral("wenoglad-cli print: drukarka \"%1\" nie drukuje dwustronnie (jej kolejka nie "
                                  "zna sides=two-sided-...); użyj --dwustronnie, aby drukować dwustronnie ręcznie")
                       .arg(printer.CurrentPrinter().Device));
        return kExitUsage;
    }
    BuiltPrintout printout;
    if (const int code = BuildPrintoutWithPages(options.file, printout))
        return code;

    TCliPrintHost host;
    try {
        TPrintEngine(printer, host, Settings(options)).Print(Request(options, printout));
    } catch (const Exception &e) {
        PrintError(QStringLiteral("wenoglad-cli print: ") + e.Message());
        return kExitUsage;
    }
    return host.Failed() ? kExitPrintFailed : kExitOk;
}

int RunImposedPdf(const ExportOptions &options, const BuiltPrintout &printout)
{
    platform::TPrinter &printer = platform::Printer();
    printer.SetPdfFile(options.output);
    printer.SetPrinterIndex(int(printer.Printers().size() - 1));
    TPrintDlgSettings settings = Settings(options);
    settings.Kolor = !options.mono;
    TCliPrintHost host;
    try {
        TPrintEngine(printer, host, settings).PrintSides(Request(options, printout), options.reverse);
    } catch (const EPrinter &e) {
        PrintError(e.Message());
        return kExitCannotOpen;
    } catch (const Exception &e) {
        PrintError(QStringLiteral("wenoglad-cli pdf: ") + e.Message());
        return kExitUsage;
    }
    return kExitOk;
}
