#include "cli/BuildPrintout.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"

#include "platform/metafile/PageText.h"

#include <cstdio>

int RunText(const QStringList &args)
{
    ExportOptions options;
    try {
        options = ParseExportOptions(args, {}, false);
    } catch (const Exception &e) {
        PrintError(QStringLiteral("wenoglad-cli text: ") + e.Message());
        return kExitUsage;
    }
    BuiltPrintout printout;
    if (const int code = BuildPrintout(options.file, printout))
        return code;
    for (qsizetype i = 0; i < printout.pages.size(); ++i) {
        QByteArray text = platform::PageText(*printout.pages[i]).toUtf8();
        if (i > 0)
            text.prepend('\f');
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    }
    return FinishStandardOutput();
}
