#include "cli/BuildPrintout.h"
#include "cli/Commands.h"

#include "platform/metafile/PageText.h"
#include "platform/text/TextMatch.h"

#include <cstdio>

int RunFind(const QStringList &args)
{
    if (args.size() != 2 || platform::TTextMatcher(args[1]).IsEmpty()) {
        PrintError(QStringLiteral("wenoglad-cli find: podaj plik wydruku i szukany tekst"));
        return kExitUsage;
    }
    BuiltPrintout printout;
    if (const int code = BuildPrintout(args[0], printout))
        return code;
    const platform::TTextMatcher matcher(args[1]);
    bool found = false;
    for (qsizetype page = 0; page < printout.pages.size(); ++page) {
        // The page is searched whole, as the preview searches it; each line with a match is printed once.
        const QString text = platform::PageText(*printout.pages[page], platform::kRunGap);
        const platform::TSearchText searched(text);
        int printed = -1;
        for (const platform::TTextSpan &span : matcher.Find(searched)) {
            const auto [line, start] = searched.LineOf(span.Start);
            if (line == printed)
                continue;
            printed = line;
            found = true;
            const QString shown = text.mid(start, text.indexOf(u'\n', start) - start).replace(platform::kRunGap, u' ');
            std::printf("%lld:%d: %s\n", static_cast<long long>(page + 1), line + 1, shown.toUtf8().constData());
        }
    }
    if (const int code = FinishStandardOutput())
        return code;
    return found ? kExitOk : kExitBadPrintout;
}
