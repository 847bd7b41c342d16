#include "cli/BuildPrintout.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"

#include "platform/base/OrderedPool.h"
#include "platform/metafile/PageText.h"

#include <QThread>

#include <cstdio>
#include <iterator>
#include <utility>
#include <vector>

namespace {

constexpr size_t kPagesABatch = 16;

} // namespace

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
    // A page's text is taken on a second core while the pages after it are laid out, in batches:
    // waking the worker for every page would cost more than a short page's text. Nothing is
    // written before the whole printout is built, so a build that fails writes nothing. Once its
    // text is taken a page is cleared: its memory goes to the pages after it, which then need
    // none fresh from the system. The pool, made after the printout, is gone before the pages
    // its worker reads.
    OrderedPool<std::vector<QByteArray>> pool(QThread::idealThreadCount() > 1 ? 1 : 0);
    std::vector<platform::PageMetafile *> batch;
    std::vector<QByteArray> texts;
    const auto take = [&](std::vector<QByteArray> done) {
        texts.insert(texts.end(), std::make_move_iterator(done.begin()), std::make_move_iterator(done.end()));
    };
    const auto submit = [&] {
        pool.Submit([pages = std::exchange(batch, {})] {
            std::vector<QByteArray> done;
            done.reserve(pages.size());
            for (platform::PageMetafile *page : pages) {
                done.push_back(platform::PageText(*page).toUtf8());
                page->Clear();
            }
            return done;
        });
        while (pool.NextReady())
            take(pool.Next());
    };
    printout.onPage = [&](platform::PageMetafile &page) {
        batch.push_back(&page);
        if (batch.size() == kPagesABatch)
            submit();
    };
    if (const int code = BuildPrintout(options.file, printout))
        return code;
    submit();
    while (pool.Pending() > 0)
        take(pool.Next());
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0)
            std::fputc('\f', stdout);
        std::fwrite(texts[i].constData(), 1, size_t(texts[i].size()), stdout);
    }
    return FinishStandardOutput();
}
