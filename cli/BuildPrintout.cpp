#include "cli/BuildPrintout.h"

#include "core/PrintoutFile.h"

#include <cstdio>
#include <new>

#include <unistd.h>

namespace {

// Below this many lines a build is quick and its progress would only clutter standard error.
constexpr int kProgressFromLines = 1000;

} // namespace

void PrintError(const QString &message)
{
    QString text = message;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

int FinishStandardOutput()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return kExitOk;
    PrintError(QStringLiteral("Nie można zapisać na standardowe wyjście"));
    return kExitCannotOpen;
}

int BuildPrintout(const QString &path, BuiltPrintout &out, int firstPages)
{
    TWydruk &loader = *out.loader;
    try {
        loader.LoadFromFile(path);
    } catch (const EFOpenError &e) {
        PrintError(e.Message());
        return kExitCannotOpen;
    } catch (const Exception &e) {
        PrintError(e.Message());
        return kExitBadPrintout;
    } catch (const std::bad_alloc &) {
        PrintError(kPrintoutTooLarge);
        return kExitBadPrintout;
    }

    const bool showProgress = firstPages == 0 && loader.Tekst().TotalLineCount() >= kProgressFromLines;
    const bool terminal = isatty(fileno(stderr)) != 0;
    int shown = -1;
    if (showProgress) {
        loader.OnProgress = [&](TWydruk *, bool drukowanie, int postep) {
            // Into a file or pipe every tenth percent is enough.
            if (!drukowanie || postep == shown || (!terminal && postep % 10 != 0))
                return;
            shown = postep;
            // On a terminal the figure is rewritten in place; elsewhere each goes on its own line.
            std::fprintf(stderr, terminal ? "\rTworzenie stron... %d%%" : "Tworzenie stron... %d%%\n", postep);
            std::fflush(stderr);
        };
    }
    loader.OnNextPage = [&](TWydruk *sender, platform::PageMetafile *Page) {
        if (firstPages > 0 && out.pages.size() >= firstPages)
            return;
        out.pages.append(Page);
        if (out.onPage)
            out.onPage(*Page);
        if (firstPages > 0 && out.pages.size() == firstPages)
            sender->CancelBuild();
    };
    try {
        loader.BuildPages();
    } catch (const Exception &e) {
        if (showProgress && terminal)
            std::fputc('\n', stderr);
        PrintError(e.Message());
        return kExitBadPrintout;
    } catch (const std::bad_alloc &) {
        PrintError(kPrintoutTooLarge);
        return kExitBadPrintout;
    }
    if (showProgress && terminal)
        std::fputc('\n', stderr);
    return kExitOk;
}

int BuildPrintoutWithPages(const QString &path, BuiltPrintout &out, int firstPages)
{
    if (const int code = BuildPrintout(path, out, firstPages))
        return code;
    if (!out.pages.isEmpty())
        return kExitOk;
    PrintError(QStringLiteral("Wydruk nie zawiera żadnej strony"));
    return kExitBadPrintout;
}
