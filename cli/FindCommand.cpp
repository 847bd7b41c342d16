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
        const std::vector<platform::PageTextLine> lines =
            platform::PageTextLines(*printout.pages[page], platform::kRunGap, false);
        const platform::TSearchText searched(platform::JoinLines(lines));
        int printed = -1;
        for (const platform::TTextSpan &span : matcher.Find(searched)) {
            const platform::PageMatchLine line = platform::MatchLine(lines, searched, span.Start);
            if (line.number == printed)
                continue;
            printed = line.number;
            found = true;
            std::printf("%lld:%d: %s\n", static_cast<long long>(page + 1), line.number + 1,
                        line.text.toUtf8().constData());
        }
    }
    if (const int code = FinishStandardOutput())
        return code;
    return found ? kExitOk : kExitBadPrintout;
}
