#include "cli/BuildPrintout.h"
#include "cli/Commands.h"

#include "platform/metafile/PageText.h"
#include "platform/text/TextMatch.h"

#include <cstdio>

int RunFind(const QStringList &args)
{
    if (args.size() != 2 || args[1].isEmpty()) {
        PrintError(QStringLiteral("wenoglad-cli find: podaj plik wydruku i szukany tekst"));
        return kExitUsage;
    }
    BuiltPrintout printout;
    if (const int code = BuildPrintout(args[0], printout))
        return code;
    const platform::TTextMatcher matcher(args[1]);
    bool found = false;
    for (qsizetype page = 0; page < printout.pages.size(); ++page) {
        const QStringList lines = platform::PageText(*printout.pages[page], platform::kRunGap).split(u'\n');
        for (qsizetype line = 0; line < lines.size(); ++line) {
            if (matcher.Find(lines[line]).isEmpty())
                continue;
            found = true;
            std::printf("%lld:%lld: %s\n", static_cast<long long>(page + 1), static_cast<long long>(line + 1),
                        QString(lines[line]).replace(platform::kRunGap, QLatin1Char(' ')).toUtf8().constData());
        }
    }
    if (const int code = FinishStandardOutput())
        return code;
    return found ? kExitOk : kExitBadPrintout;
}
