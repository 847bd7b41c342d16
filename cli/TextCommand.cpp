#include "cli/BuildPrintout.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"

#include "platform/base/OrderedPool.h"
#include "platform/metafile/PageText.h"

#include <QThread>

#include <cstdio>
#include <vector>

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
    // A page's text is taken on a second core while the pages after it are laid out. Nothing is
    // written before the whole printout is built, so a build that fails writes nothing. The pool,
    // made after the printout, is gone before the pages its worker reads.
    OrderedPool<QByteArray> pool(QThread::idealThreadCount() > 1 ? 1 : 0);
    std::vector<QByteArray> texts;
    printout.onPage = [&](const platform::PageMetafile &page) {
        pool.Submit([&page] { return platform::PageText(page).toUtf8(); });
        while (pool.NextReady())
            texts.push_back(pool.Next());
    };
    if (const int code = BuildPrintout(options.file, printout))
        return code;
    while (pool.Pending() > 0)
        texts.push_back(pool.Next());
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0)
            std::fputc('\f', stdout);
        std::fwrite(texts[i].constData(), 1, size_t(texts[i].size()), stdout);
    }
    return FinishStandardOutput();
}
