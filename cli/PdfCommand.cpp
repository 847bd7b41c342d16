#include "cli/BuildPrintout.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"

#include "platform/base/SaveFile.h"
#include "platform/metafile/RecordColors.h"
#include "platform/pdf/PdfDocument.h"

namespace {

const QSizeF kA4Mm(210, 297);

} // namespace

int RunPdf(const QStringList &args)
{
    ExportOptions options;
    try {
        options = ParseExportOptions(args, {"-o", "--margins", "--mono", "--tryb", "--odwrotnie", "--strony"}, true);
        if (!options.mode && (options.reverse || options.pagesGiven))
            throw Exception(QStringLiteral("Opcje --odwrotnie i --strony działają tylko z opcją --tryb"));
    } catch (const Exception &e) {
        PrintError(QStringLiteral("wenoglad-cli pdf: ") + e.Message());
        return kExitUsage;
    }
    BuiltPrintout printout;
    if (const int code = BuildPrintoutWithPages(options.file, printout))
        return code;
    if (options.mode)
        return RunImposedPdf(options, printout);
    // Written beside the target and renamed at the end, so a failed export leaves no half a file.
    platform::SaveFile file(options.output);
    if (!file.open(QIODevice::WriteOnly)) {
        PrintError(file.ErrorText());
        return kExitCannotOpen;
    }
    const QMarginsF &m = options.margins;
    const QRectF target(m.left(), m.top(), kA4Mm.width() - m.left() - m.right(), kA4Mm.height() - m.top() - m.bottom());
    const platform::RecordCallback change = options.mono ? platform::MonochromeRecords() : platform::RecordCallback();
    platform::PdfDocument pdf(file);
    for (const platform::PageMetafile *page : printout.pages)
        pdf.AddPage(*page, kA4Mm, target, change);
    if (!pdf.Finish() || !file.commit()) {
        PrintError(file.ErrorText());
        return kExitCannotOpen;
    }
    return kExitOk;
}
